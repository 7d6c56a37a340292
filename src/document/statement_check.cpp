#include "document/statement_check.h"

#include <algorithm>
#include <string>
#include <unordered_map>

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

bool sameAt(const Statement& a, const Statement& b, std::ptrdiff_t shift) {
  return a.kind == b.kind && a.complete == b.complete &&
         static_cast<std::ptrdiff_t>(a.begin) + shift == static_cast<std::ptrdiff_t>(b.begin) &&
         static_cast<std::ptrdiff_t>(a.end) + shift == static_cast<std::ptrdiff_t>(b.end);
}

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
  const std::vector<Statement> afterStatements = readStatements(after);
  const std::vector<Statement>& b = beforeStatements;
  const std::vector<Statement>& a = afterStatements;
  // The bytes both texts share at their start and at their end: statements wholly inside them
  // at the same places read alike and need no closer look.
  const std::size_t shortest = std::min(before.size(), after.size());
  const std::size_t head = static_cast<std::size_t>(
      std::mismatch(before.begin(), before.begin() + shortest, after.begin()).first -
      before.begin());
  const std::size_t tail = static_cast<std::size_t>(
      std::mismatch(before.rbegin(), before.rbegin() + (shortest - head), after.rbegin()).first -
      before.rbegin());
  std::size_t first = 0;
  while (first < b.size() && first < a.size() && b[first].end <= head &&
         sameAt(b[first], a[first], 0))
    ++first;
  const std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(after.size()) - static_cast<std::ptrdiff_t>(before.size());
  std::size_t lastB = b.size();
  std::size_t lastA = a.size();
  while (lastB > first && lastA > first && b[lastB - 1].begin >= before.size() - tail &&
         sameAt(b[lastB - 1], a[lastA - 1], shift)) {
    --lastB;
    --lastA;
  }
  // In between, each kept statement of `before` must be found among those of `after`.
  std::unordered_map<std::string, std::size_t> kept;
  std::size_t keptCount = 0;
  for (std::size_t i = first; i < lastB; ++i) {
    if (overlaps(b[i], rewritten)) continue;
    ++kept[keyOf(before, b[i])];
    ++keptCount;
  }
  std::size_t others = 0;
  for (std::size_t i = first; i < lastA; ++i) {
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
