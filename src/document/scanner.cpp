#include "document/scanner.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/text.h"
#include "document/languages.h"
#include "document/lexer.h"
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

ResourceIndex indexResources(std::string_view text, ListedKinds kinds) {
  return indexResources(text, readStatements(text), kinds);
}

std::string stringTableName(std::string_view text, const Statement& s) {
  // Every ID stands before its string: the code tokens since the last string, the body's
  // opener or the last comma after an ID; the first and the last such run are the names.
  Lexer lexer(text.substr(0, s.end), s.begin, false);
  lexer.nextCode();  // STRINGTABLE
  bool inBody = false;
  std::size_t runBegin = std::string_view::npos, runEnd = 0;
  std::string_view first, last;
  for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode()) {
    const std::string_view word = t.of(text);
    if (!inBody) {
      inBody = word == "{" || isKeyword(word, "BEGIN");
      continue;
    }
    if (t.kind == TokenKind::Directive) continue;
    if (t.kind == TokenKind::String) {
      if (runBegin != std::string_view::npos) {
        last = text.substr(runBegin, runEnd - runBegin);
        if (first.empty()) first = last;
      }
      runBegin = std::string_view::npos;
      continue;
    }
    if (word == "}" || isKeyword(word, "END")) break;
    if (word == "," && runBegin != std::string_view::npos) continue;  // before the string
    if (isKeyword(word, "L") && t.end < text.size() && text[t.end] == '"') continue;  // L"..."
    if (runBegin == std::string_view::npos) runBegin = t.begin;
    runEnd = t.end;
  }
  if (first.empty()) return std::string(kEmptyTableName);
  if (first.data() == last.data()) return std::string(first);
  std::string name(first);
  name += "..";
  name += last;
  return name;
}

ResourceIndex indexResources(std::string_view text, const std::vector<Statement>& statements,
                             ListedKinds kinds) {
  const bool all = kinds == ListedKinds::All;
  const auto indexed = [all](const Statement& s) {
    return s.listed ||
           (all && (s.kind == StatementKind::Resource || s.kind == StatementKind::StringTable));
  };
  // String tables' names are made first: the sort keys look into them.
  std::vector<std::string> tableNames;
  for (const Statement& s : statements)
    if (indexed(s) && s.kind == StatementKind::StringTable)
      tableNames.push_back(stringTableName(text, s));
  std::vector<SortKey> keys;
  std::vector<std::size_t> statementOf;
  std::size_t table = 0;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    if (!indexed(s)) continue;
    const ResourceType type = *entryType(s, text);
    const std::string_view name =
        s.kind == StatementKind::StringTable ? std::string_view(tableNames[table++]) : s.name(text);
    const std::string_view code = type == ResourceType::Other ? s.type(text) : typeCode(type);
    keys.push_back({numericName(name), name, type, code, s.begin});
    statementOf.push_back(i);
  }
  std::vector<std::size_t> order(keys.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
    const SortKey& a = keys[x];
    const SortKey& b = keys[y];
    if (const int c = compareKeys(a, b); c != 0) return c < 0;
    if (a.code != b.code) return a.code < b.code;
    return a.order < b.order;
  });
  const std::vector<std::string> languages = statementLanguages(text, statements);
  ResourceIndex index;
  index.reserve(keys.size());
  for (std::size_t k : order) {
    const SortKey& key = keys[k];
    IndexEntry e{std::string(key.name), key.type, key.order, {}, {}};
    if (key.type == ResourceType::Other) e.typeWord = std::string(key.code);
    e.language = languages[statementOf[k]];
    index.push_back(std::move(e));
  }
  return index;
}

}  // namespace kolvre
