#include "document/blocks.h"

#include <algorithm>

namespace kolvre {

namespace {

// Where the line that holds `pos` ends: its CR LF, or the end of the text.
std::size_t crLfFrom(std::string_view text, std::size_t pos) {
  const std::size_t at = text.find("\r\n", pos);
  return at == std::string_view::npos ? text.size() : at;
}

// Where a block ends whose closing "}" or END ends at `closeEnd`. The rest of that line stays
// with the block when it holds text before the next line feed: moved away on its own, it would
// start a line, which could then read as a barrier, and the line would be broken in two.
std::size_t afterClosingLine(std::string_view text, std::size_t closeEnd) {
  std::size_t p = closeEnd;
  while (p < text.size() && (isBlank(text[p]) || text[p] == '\r')) ++p;
  if (p == text.size() || text[p] == '\n') return closeEnd;
  std::size_t end = crLfFrom(text, p);
  while (isBlank(text[end - 1])) --end;
  return end;
}

// Where a block that starts at `begin` and is cut short before `at` ends: before the white
// space in front of `at`.
std::size_t cutBefore(std::string_view text, std::size_t begin, std::size_t at) {
  while (at > begin + 1 && isSpace(text[at - 1])) --at;
  return at;
}

}  // namespace

BlockEnd blockEndIn(std::string_view text, std::size_t begin, std::size_t limit,
                    std::span<const MarkedLine> marks) {
  enum class Body { None, Braces, BeginEnd } body = Body::None;
  std::size_t depth = 0;         // BEGINs not yet closed
  std::size_t sections = 0;      // conditional sections open inside the body
  std::size_t outerSection = 0;  // where the outermost of them starts
  std::size_t language = limit;  // the first LANGUAGE line before the body opens
  auto cut = [&](std::size_t at) -> BlockEnd {
    if (body == Body::None)
      at = std::min(at, language);
    else if (sections > 0)
      at = outerSection;
    return {cutBefore(text, begin, at), body != Body::None};
  };
  auto close = [&](std::size_t closeEnd) -> BlockEnd {
    if (sections > 0) return cut(outerSection);
    return {afterClosingLine(text, closeEnd), false};
  };
  for (const MarkedLine& line : marks) {
    switch (line.mark) {
      case LineMark::CloseBrace:
        return close(line.start + 1);
      case LineMark::OpenBrace:
        if (body == Body::None) body = Body::Braces;
        break;
      case LineMark::Begin:
        if (body == Body::None) {
          body = Body::BeginEnd;
          depth = 1;
        } else if (body == Body::BeginEnd) {
          ++depth;
        }
        break;
      case LineMark::End:
        if (body == Body::BeginEnd && --depth == 0) return close(line.word + 3);
        break;
      case LineMark::If:
        if (body == Body::None) return cut(line.start);
        if (sections++ == 0) outerSection = line.start;
        break;
      case LineMark::Else:
        if (body == Body::None || sections == 0) return cut(line.start);
        break;
      case LineMark::EndIf:
        if (body == Body::None || sections == 0) return cut(line.start);
        --sections;
        break;
      case LineMark::Language:
        if (body != Body::None) return cut(line.start);
        language = std::min(language, line.start);
        break;
      case LineMark::LanguageAfterBlank:
        return cut(line.start);
    }
  }
  return cut(limit);
}

BlockExtent blockExtentAt(std::string_view text, const std::vector<HeaderLine>& lines,
                          std::size_t i) {
  const std::size_t begin = lines[i].offset;
  const std::size_t limit = i + 1 < lines.size() ? lines[i + 1].offset : text.size();
  const std::size_t bodyFrom = std::min(crLfFrom(text, begin) + 2, limit);
  const std::vector<MarkedLine> marks = markedLines(text, bodyFrom, limit);
  return {begin, blockEndIn(text, begin, limit, marks).end};
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
