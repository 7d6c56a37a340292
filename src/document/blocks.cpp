#include "document/blocks.h"

#include <algorithm>

#include "syntax/statements.h"

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

}  // namespace kolvre
