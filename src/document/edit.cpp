#include "document/edit.h"

namespace kolvre {

ResourceKey keyAt(const ResourceIndex& index, std::size_t position) {
  const IndexEntry& entry = index[position];
  ResourceKey key{entry.name, entry.type, 0};
  for (std::size_t i = 0; i < position; ++i)
    if (index[i].type == entry.type && index[i].name == entry.name) ++key.occurrence;
  return key;
}

std::optional<std::size_t> findEntry(const ResourceIndex& index, const ResourceKey& key) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (index[i].type != key.type || index[i].name != key.name) continue;
    if (seen++ == key.occurrence) return i;
  }
  return std::nullopt;
}

std::optional<ResourceKey> keyForHeader(std::string_view name, std::string_view typeWord) {
  if (name.empty() || typeWord.empty()) return std::nullopt;
  // A keyword as the scanner reads it (DIALOGEX is a dialog), or a type code.
  for (const ResTypeInfo& info : kResTypes)
    if (typeWord.starts_with(info.keyword) || typeWord == info.code)
      return ResourceKey{std::string(name), info.type, 0};
  return std::nullopt;
}

std::optional<ResourceKey> keyOfText(std::string_view text) {
  // The first header the scanner finds, as the index will hold it.
  const std::vector<HeaderLine> lines = scanHeaderLines(text);
  if (lines.empty()) return std::nullopt;
  return ResourceKey{std::string(lines.front().name), lines.front().type, 0};
}

std::string applySplices(std::string_view text, const std::vector<Splice>& splices) {
  std::size_t size = text.size();
  for (const Splice& s : splices) size = size - (s.end - s.begin) + s.inserted.size();
  std::string out;
  out.reserve(size);
  std::size_t from = 0;
  for (const Splice& s : splices) {
    out.append(text.substr(from, s.begin - from));
    out.append(s.inserted);
    from = s.end;
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace kolvre
