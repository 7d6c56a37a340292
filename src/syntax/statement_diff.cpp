#include "syntax/statement_diff.h"

#include <algorithm>

#include "base/text.h"

namespace kolvre {

namespace {

// The pairs of statements that stand unchanged in both runs, [0, n) of `before` and [0, m) of
// `after` (`same` tells), as the shortest edit script finds them (Myers' greedy algorithm). Empty
// with `found` false when more than `most` statements were added and taken away.
template <typename Same>
std::vector<std::pair<std::size_t, std::size_t>> unchangedPairs(std::size_t n, std::size_t m,
                                                                std::size_t most, Same same,
                                                                bool& found) {
  const auto N = static_cast<std::ptrdiff_t>(n), M = static_cast<std::ptrdiff_t>(m);
  const auto limit = static_cast<std::ptrdiff_t>(std::min(most, n + m));
  const std::ptrdiff_t offset = limit + 1;
  std::vector<std::ptrdiff_t> v(static_cast<std::size_t>(2 * limit + 3), 0);
  std::vector<std::vector<std::ptrdiff_t>> trace;
  found = false;
  std::ptrdiff_t d = 0;
  for (; d <= limit && !found; ++d) {
    trace.push_back(v);
    for (std::ptrdiff_t k = -d; k <= d; k += 2) {
      std::ptrdiff_t x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                             ? v[offset + k + 1]
                             : v[offset + k - 1] + 1;
      std::ptrdiff_t y = x - k;
      while (x < N && y < M && same(static_cast<std::size_t>(x), static_cast<std::size_t>(y))) {
        ++x;
        ++y;
      }
      v[offset + k] = x;
      if (x >= N && y >= M) {
        found = true;
        break;
      }
    }
  }
  std::vector<std::pair<std::size_t, std::size_t>> pairs;
  if (!found) return pairs;
  // Back from the end: each step's snake gives its pairs.
  std::ptrdiff_t x = N, y = M;
  for (std::ptrdiff_t step = d - 1; step >= 0; --step) {
    const std::vector<std::ptrdiff_t>& w = trace[static_cast<std::size_t>(step)];
    const std::ptrdiff_t k = x - y;
    const bool down = k == -step || (k != step && w[offset + k - 1] < w[offset + k + 1]);
    const std::ptrdiff_t prevK = down ? k + 1 : k - 1;
    const std::ptrdiff_t prevX = step == 0 ? 0 : w[offset + prevK];
    const std::ptrdiff_t prevY = step == 0 ? 0 : prevX - prevK;
    const std::ptrdiff_t startX = step == 0 ? 0 : (down ? prevX : prevX + 1);
    while (x > startX && y > (step == 0 ? 0 : startX - k)) {
      --x;
      --y;
      pairs.emplace_back(static_cast<std::size_t>(x), static_cast<std::size_t>(y));
    }
    x = prevX;
    y = prevY;
  }
  std::reverse(pairs.begin(), pairs.end());
  return pairs;
}

}  // namespace

bool sameStatement(const Statement& before, const Statement& after, std::ptrdiff_t moved) {
  const auto at = [moved](std::size_t offset) { return offset + moved; };
  // Only a resource's and a string table's name and type are offsets; the others hold 0.
  const bool named =
      before.kind == StatementKind::Resource || before.kind == StatementKind::StringTable;
  return at(before.begin) == after.begin && at(before.end) == after.end &&
         before.kind == after.kind && before.listed == after.listed &&
         before.complete == after.complete && before.fromHeader == after.fromHeader &&
         (!named ||
          (at(before.nameEnd) == after.nameEnd && at(before.typeBegin) == after.typeBegin &&
           at(before.typeEnd) == after.typeEnd));
}

StatementMatch matchStatements(std::string_view before,
                               const std::vector<Statement>& beforeStatements,
                               std::string_view after,
                               const std::vector<Statement>& afterStatements, std::size_t most) {
  // The bytes both texts begin and end with.
  const std::size_t head = commonHead(before, after);
  const std::size_t tail = commonTail(before, after, std::min(before.size(), after.size()) - head);
  const auto moved =
      static_cast<std::ptrdiff_t>(after.size()) - static_cast<std::ptrdiff_t>(before.size());
  StatementMatch match;
  // Those wholly in the unchanged head, and those wholly in the unchanged tail (a byte away from
  // the change, so that what stands before them is the same too).
  std::size_t& first = match.first;
  while (first < beforeStatements.size() && first < afterStatements.size() &&
         beforeStatements[first].end <= head &&
         sameStatement(beforeStatements[first], afterStatements[first], 0))
    ++first;
  std::size_t last = 0;  // counted from the end
  while (last < beforeStatements.size() - first && last < afterStatements.size() - first) {
    const Statement& b = beforeStatements[beforeStatements.size() - 1 - last];
    const Statement& a = afterStatements[afterStatements.size() - 1 - last];
    if (b.begin < before.size() - tail + 1 || !sameStatement(b, a, moved)) break;
    ++last;
  }
  match.beforeEnd = beforeStatements.size() - last;
  match.afterEnd = afterStatements.size() - last;
  match.pairs = unchangedPairs(
      match.beforeEnd - first, match.afterEnd - first, most,
      [&](std::size_t i, std::size_t j) {
        const Statement& b = beforeStatements[first + i];
        const Statement& a = afterStatements[first + j];
        return sameStatement(
                   b, a,
                   static_cast<std::ptrdiff_t>(a.begin) - static_cast<std::ptrdiff_t>(b.begin)) &&
               b.of(before) == a.of(after);
      },
      match.found);
  for (auto& [b, a] : match.pairs) {
    b += first;
    a += first;
  }
  return match;
}

}  // namespace kolvre
