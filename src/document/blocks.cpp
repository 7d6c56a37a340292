#include "document/blocks.h"

#include "document/scanner.h"
#include "document/statements.h"

namespace kolvre {

std::optional<BlockExtent> blockAt(std::string_view text, std::size_t offset) {
  for (const Statement& s : readStatements(text))
    if (s.begin == offset && s.listed) return BlockExtent{s.begin, s.end, s.complete};
  return std::nullopt;
}

std::optional<BlockExtent> locateBlock(std::string_view text, std::string_view name, ResType type,
                                       std::size_t occurrence) {
  for (const Statement& s : readStatements(text)) {
    if (s.listed != type || !sameName(s.name(text), name)) continue;
    if (occurrence == 0) return BlockExtent{s.begin, s.end, s.complete};
    --occurrence;
  }
  return std::nullopt;
}

}  // namespace kolvre
