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

bool sameName(std::string_view a, std::string_view b) {
  return equalsIgnoringCase(a, b);
}

namespace {

// An entry's sort key, read once: its name's value when it is a number, its name, its type code
// and its place in the text (for equal keys).
struct SortKey {
  std::optional<std::uint64_t> number;
  std::string_view name;
  ResourceType type = ResourceType::Dialog;
  std::string_view code;
  std::size_t order = 0;
};

int compareKeys(const SortKey& a, const SortKey& b) {
  if (a.number && b.number) {
    if (*a.number != *b.number) return *a.number < *b.number ? -1 : 1;
  } else if (a.number || b.number) {
    return a.number ? -1 : 1;
  }
  const std::size_t n = std::min(a.name.size(), b.name.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char p = static_cast<unsigned char>(upperByte(a.name[i]));
    const unsigned char q = static_cast<unsigned char>(upperByte(b.name[i]));
    if (p != q) return p < q ? -1 : 1;
  }
  if (a.name.size() != b.name.size()) return a.name.size() < b.name.size() ? -1 : 1;
  return 0;
}

}  // namespace

int compareNames(std::string_view a, std::string_view b) {
  SortKey x, y;
  x.number = numericName(a);
  x.name = a;
  y.number = numericName(b);
  y.name = b;
  return compareKeys(x, y);
}

ResourceIndex indexResources(std::string_view text) {
  return indexResources(text, readStatements(text));
}

ResourceIndex indexResources(std::string_view text, const std::vector<Statement>& statements) {
  std::vector<SortKey> keys;
  for (const Statement& s : statements)
    if (s.listed) {
      const std::string_view name = s.name(text);
      keys.push_back({numericName(name), name, *s.listed, typeCode(*s.listed), s.begin});
    }
  std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
    if (const int c = compareKeys(a, b); c != 0) return c < 0;
    if (a.code != b.code) return a.code < b.code;
    return a.order < b.order;
  });
  ResourceIndex index;
  index.reserve(keys.size());
  for (const SortKey& k : keys) index.push_back({std::string(k.name), k.type, k.order});
  return index;
}

}  // namespace kolvre
