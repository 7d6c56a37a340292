#include "document/edit.h"

#include <algorithm>

#include "syntax/statements.h"

namespace kolvre {

bool matchesKey(const IndexEntry& entry, const ResourceKey& key) {
  return entry.type == key.type && sameName(entry.name, key.name) &&
         (key.type != ResourceType::Other || sameName(entry.typeWord, key.typeWord));
}

ResourceKey keyAt(const ResourceIndex& index, std::size_t position) {
  const IndexEntry& entry = index[position];
  ResourceKey key{entry.name, entry.type, 0, entry.typeWord};
  for (std::size_t i = 0; i < position; ++i)
    if (matchesKey(index[i], key)) ++key.occurrence;
  return key;
}

std::optional<std::size_t> findEntry(const ResourceIndex& index, const ResourceKey& key) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (!matchesKey(index[i], key)) continue;
    if (seen++ == key.occurrence) return i;
  }
  return std::nullopt;
}

std::optional<ResourceKey> keyForHeader(std::string_view name, std::string_view typeWord) {
  if (name.empty() || typeWord.empty()) return std::nullopt;
  // A type word as the index reads it (DIALOGEX is a dialog), or a type code.
  if (const std::optional<ResourceType> type = listedType(typeWord))
    return ResourceKey{std::string(name), *type, 0, {}};
  for (const ResourceTypeInfo& info : kResourceTypes)
    if (!info.code.empty() && typeWord == info.code)
      return ResourceKey{std::string(name), info.type, 0, {}};
  return keyForWrittenHeader(name, typeWord);
}

std::optional<ResourceKey> keyForWrittenHeader(std::string_view name, std::string_view typeWord) {
  if (name.empty() || typeWord.empty()) return std::nullopt;
  const ResourceType type = typeOfWord(typeWord);
  return ResourceKey{std::string(name), type, 0,
                     type == ResourceType::Other ? std::string(typeWord) : std::string()};
}

std::optional<ResourceKey> keyOfText(std::string_view text) {
  for (const Statement& s : readStatements(text)) {
    const std::optional<ResourceType> type = entryType(s, text);
    if (!type) continue;
    if (*type == ResourceType::StringTable)
      return ResourceKey{stringTableName(text, s), *type, 0, {}};
    return ResourceKey{std::string(s.name(text)), *type, 0,
                       *type == ResourceType::Other ? std::string(s.type(text)) : std::string()};
  }
  return std::nullopt;
}

Splice narrowedSplice(std::size_t at, std::string_view before, std::string after) {
  std::size_t head = 0;
  const std::size_t shorter = std::min(before.size(), after.size());
  while (head < shorter && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < shorter - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  after.erase(after.size() - tail);
  after.erase(0, head);
  return {at + head, at + before.size() - tail, std::move(after)};
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
