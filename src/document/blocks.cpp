#include "document/blocks.h"

#include <algorithm>

#include "document/scanner.h"
#include "document/statements.h"

namespace kolvre {

std::optional<BlockExtent> blockAt(const std::vector<Statement>& statements, std::size_t offset) {
  const auto it = std::lower_bound(statements.begin(), statements.end(), offset,
                                   [](const Statement& s, std::size_t at) { return s.begin < at; });
  if (it == statements.end() || it->begin != offset ||
      (it->kind != StatementKind::Resource && it->kind != StatementKind::StringTable))
    return std::nullopt;
  return BlockExtent{it->begin, it->end, it->complete};
}

std::optional<BlockExtent> blockAt(std::string_view text, std::size_t offset) {
  return blockAt(readStatements(text), offset);
}

std::optional<BlockExtent> locateBlock(std::string_view text, std::string_view name,
                                       ResourceType type, std::size_t occurrence,
                                       std::string_view typeWord) {
  for (const Statement& s : readStatements(text)) {
    if (entryType(s, text) != type) continue;
    if (type == ResourceType::Other && !sameName(s.type(text), typeWord)) continue;
    if (type == ResourceType::StringTable ? stringTableName(text, s) != name
                                          : !sameName(s.name(text), name))
      continue;
    if (occurrence == 0) return BlockExtent{s.begin, s.end, s.complete};
    --occurrence;
  }
  return std::nullopt;
}

}  // namespace kolvre
