#include "document/scanner.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/text.h"
#include "document/statements.h"

namespace kolvre {

namespace {

// The value of a name written as a number, or nothing for any other name.
std::optional<std::uint64_t> numericName(std::string_view name) {
  if (name.empty() || name.front() < '0' || name.front() > '9') return std::nullopt;
  std::uint64_t value = 0;
  std::size_t i = 0;
  int base = 10;
  if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
    base = 16;
    i = 2;
  }
  for (; i < name.size(); ++i) {
    const char c = lowerByte(name[i]);
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) {
      // A number may end with L or U, as in C.
      if ((c == 'l' || c == 'u') && i + 1 == name.size()) break;
      return std::nullopt;
    }
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return value;
}

}  // namespace

int compareNames(std::string_view a, std::string_view b) {
  const std::optional<std::uint64_t> x = numericName(a);
  const std::optional<std::uint64_t> y = numericName(b);
  if (x && y) {
    if (*x != *y) return *x < *y ? -1 : 1;
  } else if (x || y) {
    return x ? -1 : 1;
  }
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char p = static_cast<unsigned char>(upperByte(a[i]));
    const unsigned char q = static_cast<unsigned char>(upperByte(b[i]));
    if (p != q) return p < q ? -1 : 1;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;
}

bool sameName(std::string_view a, std::string_view b) {
  return equalsIgnoringCase(a, b);
}

ResourceIndex ARESOURCES(std::string_view text) {
  ResourceIndex index;
  for (const Statement& s : readStatements(text))
    if (s.listed) index.push_back({std::string(s.name(text)), *s.listed, s.begin});
  std::stable_sort(index.begin(), index.end(), [](const IndexEntry& a, const IndexEntry& b) {
    if (const int c = compareNames(a.name, b.name); c != 0) return c < 0;
    return a.code() < b.code();
  });
  return index;
}

}  // namespace kolvre
