#include "document/statement_check.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "base/text.h"
#include "syntax/statement_diff.h"

namespace kolvre {

namespace {

// A statement as the check compares it: its kind, whether it is closed, and its bytes.
std::string keyOf(std::string_view text, const Statement& s) {
  std::string key;
  key.reserve(s.end - s.begin + 2);
  key += static_cast<char>('0' + static_cast<int>(s.kind));
  key += s.complete ? '+' : '-';
  key += s.of(text);
  return key;
}

// The most statements added and taken away that are matched one by one; past that the
// statements between the unchanged ends are compared as a whole.
constexpr std::size_t kMostMatched = 256;

bool overlaps(const Statement& s, const std::vector<Range>& ranges) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [&](const Range& r) { return s.begin < r.second && r.first < s.end; });
}

}  // namespace

bool mayReadOtherwise(std::string_view text, const std::vector<Statement>& statements) {
  if (!statements.empty() && statements.back().end == text.size()) return true;
  return std::any_of(statements.begin(), statements.end(),
                     [](const Statement& s) { return !s.complete; });
}

bool keepsOtherStatements(std::string_view before, const std::vector<Statement>& beforeStatements,
                          std::string_view after, const std::vector<Range>& rewritten,
                          std::optional<std::size_t> added) {
  const std::vector<Statement> a = rereadStatements(before, beforeStatements, after);
  const std::vector<Statement>& b = beforeStatements;
  // Statements read alike at the ends, and between them those that only moved, need no closer
  // look; a statement that may be rewritten is looked at all the same.
  const StatementMatch match = matchStatements(before, b, after, a, kMostMatched);
  std::vector<bool> pairedBefore(b.size(), false), pairedAfter(a.size(), false);
  for (const auto& [i, j] : match.pairs) {
    if (overlaps(b[i], rewritten)) continue;
    pairedBefore[i] = true;
    pairedAfter[j] = true;
  }
  // The rest: each kept statement of `before` must be found among those of `after`.
  std::unordered_map<std::string, std::size_t> kept;
  std::size_t keptCount = 0;
  for (std::size_t i = match.first; i < match.beforeEnd; ++i) {
    if (pairedBefore[i] || overlaps(b[i], rewritten)) continue;
    ++kept[keyOf(before, b[i])];
    ++keptCount;
  }
  std::size_t others = 0;
  for (std::size_t i = match.first; i < match.afterEnd; ++i) {
    if (pairedAfter[i]) continue;
    const auto it = kept.find(keyOf(after, a[i]));
    if (it != kept.end() && it->second > 0) {
      --it->second;
      --keptCount;
    } else {
      ++others;
    }
  }
  if (keptCount != 0) return false;
  return !added || others == *added;
}

}  // namespace kolvre
