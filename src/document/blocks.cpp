#include "document/blocks.h"

#include <cstring>
#include <string>

namespace kolvre {

namespace {}  // namespace

std::size_t headerPosition(std::string_view text, std::string_view name, std::string_view keyword) {
  std::string needle;
  needle.reserve(name.size() + keyword.size() + 1);
  needle.append(name).append(" ").append(keyword);
  if (text.starts_with(needle)) return 1;
  needle.insert(needle.begin(), '\n');
  const std::size_t at = text.find(needle);
  return at == std::string_view::npos ? 0 : at + 2;
}

std::size_t blockLength(std::string_view text, std::size_t headerPos) {
  if (headerPos == 0 || headerPos > text.size()) return 2;
  const std::size_t at = text.find("\r\n}", headerPos - 1);
  if (at == std::string_view::npos) return 2;
  const std::size_t p = at - (headerPos - 1) + 1;
  return p + 2;
}

std::optional<std::size_t> braceBlockLength(std::string_view text, std::size_t headerPos) {
  if (headerPos == 0 || headerPos > text.size()) return std::nullopt;
  const std::size_t at = text.find('}', headerPos - 1);
  if (at == std::string_view::npos) return std::nullopt;
  return at - (headerPos - 1) + 1;
}

BlockExtent blockExtentAt(std::string_view text, const std::vector<HeaderLine>& lines,
                          std::size_t i) {
  const std::size_t begin = lines[i].offset;
  const std::size_t limit = i + 1 < lines.size() ? lines[i + 1].offset : text.size();
  // The closing "}" must start a line (CR LF before it) and stand before the next header.
  const char* base = text.data();
  std::size_t from = begin + 2;
  while (from < limit) {
    const void* hit = std::memchr(base + from, '}', limit - from);
    if (!hit) break;
    const std::size_t brace = static_cast<const char*>(hit) - base;
    if (base[brace - 2] == '\r' && base[brace - 1] == '\n') return {begin, brace + 1};
    from = brace + 1;
  }
  std::size_t end = limit;
  while (end > begin + 1 && isSpace(base[end - 1])) --end;
  return {begin, end};
}

std::optional<BlockExtent> locateBlock(std::string_view text, std::string_view name, ResType type,
                                       std::size_t occurrence) {
  const std::vector<HeaderLine> lines = scanHeaderLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const HeaderLine& h = lines[i];
    if (h.locatable && h.type == type && h.name == name) {
      if (occurrence == 0) return blockExtentAt(text, lines, i);
      --occurrence;
    }
  }
  return std::nullopt;
}

}  // namespace kolvre
