#include "syntax/vocabulary.h"

#include <algorithm>
#include <cstddef>

#include "base/text.h"
#include "syntax/statements.h"
#include "syntax/style_vocabulary.h"

namespace kolvre {

namespace {

// The vocabulary as a table, its words grouped by length and first letter: a lookup compares
// a word with the few entries of its group only.
constexpr std::size_t kLongestWord = 15;

struct WordEntry {
  std::string_view word;  // upper case
  std::uint32_t classes = 0;
  int resource = -1;  // the index in kResourceKeywords
};

struct WordTable {
  std::array<WordEntry, 96> entries{};
  std::size_t size = 0;
  // The entries of each length and first letter: [first[n][l], first[n][l + 1]).
  std::array<std::array<std::uint8_t, 27>, kLongestWord + 1> first{};

  constexpr void add(std::string_view word, std::uint32_t classes, int resource = -1) {
    for (std::size_t i = 0; i < size; ++i) {
      if (entries[i].word != word) continue;
      entries[i].classes |= classes;
      if (resource >= 0) entries[i].resource = resource;
      return;
    }
    entries[size++] = {word, classes, resource};
  }
  template <std::size_t N>
  constexpr void addAll(const std::array<std::string_view, N>& list, std::uint32_t classes) {
    for (std::string_view w : list) add(w, classes);
  }
};

constexpr std::size_t groupOf(std::size_t length, char firstLetter) {
  return length * 26 + static_cast<std::size_t>(firstLetter - 'A');
}

constexpr WordTable kWordTable = [] {
  using namespace words;
  WordTable t;
  t.add("BEGIN", kBegin);
  t.add("END", kEnd);
  t.add("STRINGTABLE", kStringTable);
  t.add("LANGUAGE", kLanguage);
  t.add("VERSION", kVersion);
  t.add("CHARACTERISTICS", kCharacteristics);
  for (std::size_t i = 0; i < kResourceKeywords.size(); ++i)
    t.add(kResourceKeywords[i].word, kResourceType, static_cast<int>(i));
  t.addAll(kMemoryOptionWords, kMemoryOption);
  t.addAll(kControlWords, kControl);
  t.addAll(kHeaderWords, kHeader);
  t.addAll(kVersionFields, kVersionField);
  t.add("MENUITEM", kMenuItem);
  t.add("POPUP", kPopup);
  t.add("SEPARATOR", kSeparator);
  t.add("BLOCK", kBlock);
  t.add("VALUE", kValue);
  t.add("BUTTON", kButton);
  t.add("NOT", kNot);
  std::sort(t.entries.begin(), t.entries.begin() + static_cast<std::ptrdiff_t>(t.size),
            [](const WordEntry& a, const WordEntry& b) {
              return groupOf(a.word.size(), a.word.front()) <
                     groupOf(b.word.size(), b.word.front());
            });
  // first[n][l]: the first entry of length n whose letter is l or later.
  std::size_t e = 0;
  for (std::size_t n = 0; n <= kLongestWord; ++n)
    for (std::size_t l = 0; l <= 26; ++l) {
      while (e < t.size &&
             groupOf(t.entries[e].word.size(), t.entries[e].word.front()) < n * 26 + l)
        ++e;
      t.first[n][l] = static_cast<std::uint8_t>(e);
    }
  return t;
}();

static_assert([] {
  for (std::size_t i = 0; i < kWordTable.size; ++i) {
    const std::string_view w = kWordTable.entries[i].word;
    if (w.size() > kLongestWord || w.front() < 'A' || w.front() > 'Z') return false;
    for (char c : w)
      if (upperByte(c) != c) return false;
  }
  return kWordTable.size < kWordTable.entries.size();
}());

// The entry of `word` among those that have one of the classes `among`, or nothing.
const WordEntry* findWord(std::string_view word, std::uint32_t among) {
  if (word.empty() || word.size() > kLongestWord) return nullptr;
  const char letter = upperByte(word.front());
  if (letter < 'A' || letter > 'Z') return nullptr;
  const auto& row = kWordTable.first[word.size()];
  const std::size_t l = static_cast<std::size_t>(letter - 'A');
  for (std::size_t i = row[l]; i < row[l + 1]; ++i) {
    const WordEntry& entry = kWordTable.entries[i];
    if (!(entry.classes & among)) continue;
    // The table's words are upper case.
    std::size_t k = 1;
    while (k < word.size() && upperByte(word[k]) == entry.word[k]) ++k;
    if (k == word.size()) return &entry;
  }
  return nullptr;
}

}  // namespace

std::uint32_t wordClasses(std::string_view word, std::uint32_t among) {
  const WordEntry* entry = findWord(word, among);
  return entry ? entry->classes & among : 0;
}

int resourceKeywordIndex(std::string_view word) {
  const WordEntry* entry = findWord(word, words::kResourceType);
  return entry ? entry->resource : -1;
}

std::string doubledQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '"') out += '"';
  }
  return out;
}

std::string undoubledQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
  }
  return out;
}

std::optional<std::string_view> quotedText(std::string_view literal, bool wide) {
  if (wide && literal.starts_with('L')) literal.remove_prefix(1);
  if (!stringClosed(literal)) return std::nullopt;
  return literal.substr(1, literal.size() - 2);
}

std::optional<std::string> stringsText(std::string_view field) {
  std::string text;
  Lexer lexer(field, 0, false);
  Token t = lexer.next();
  if (t.kind == TokenKind::End) return std::nullopt;
  for (; t.kind != TokenKind::End; t = lexer.next()) {
    const auto inner = t.kind == TokenKind::String ? quotedText(t.of(field)) : std::nullopt;
    if (!inner) return std::nullopt;
    text += undoubledQuotes(*inner);
  }
  return text;
}

std::string fieldText(std::string_view field) {
  return stringsText(field).value_or(std::string(field));
}

std::string quotedFileName(std::string_view literal) {
  if (literal.empty()) return {};
  std::string_view inside = literal.substr(1);
  if (!leftOpen(literal, Token{TokenKind::String, 0, literal.size(), false}) && !inside.empty())
    inside.remove_suffix(1);  // the closing quote
  std::string out;
  out.reserve(inside.size());
  for (std::size_t i = 0; i < inside.size(); ++i) {
    const char c = inside[i];
    const char next = i + 1 < inside.size() ? inside[i + 1] : '\0';
    if ((c == '\\' && (next == '\\' || next == '"')) || (c == '"' && next == '"')) {
      out += next;
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool opensBodyLine(std::string_view line) {
  return line.starts_with('{') || equalsIgnoringCase(line, "BEGIN");
}

std::optional<std::uint32_t> compilerNameValue(std::string_view name) {
  for (const VocabularyName& row : kStyleVocabulary)
    if (equalsIgnoringCase(row.name, name)) return row.value;
  return std::nullopt;
}

}  // namespace kolvre
