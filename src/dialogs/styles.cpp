#include "dialogs/styles.h"

#include <charconv>

#include "base/text.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kPopup = styleNameValue("WS_POPUP");
constexpr std::uint32_t kChild = styleNameValue("WS_CHILD");
constexpr std::uint32_t kCaption = styleNameValue("WS_CAPTION");
constexpr std::uint32_t kCenterOrRight = styleNameValue("ES_CENTER") | styleNameValue("ES_RIGHT");

// A name read without regard to case must select one row.
constexpr bool namesAreDistinct() {
  for (std::size_t i = 0; i < kStyleNames.size(); ++i)
    for (std::size_t j = i + 1; j < kStyleNames.size(); ++j)
      if (equalsIgnoringCase(kStyleNames[i].name, kStyleNames[j].name)) return false;
  return true;
}
static_assert(namesAreDistinct(), "two style names differ only in letter case");

// A name read without regard to case must select one value: the vocabulary's names are in
// capitals (so two of them differ in more than case), and none is written twice (the test
// Styles.VocabularyMatchesTheHeaders; comparing every pair here is past clang's constant steps).
constexpr bool vocabularyIsInCapitals() {
  for (const VocabularyName& row : kStyleVocabulary)
    for (char c : row.name)
      if (upperByte(c) != c) return false;
  return true;
}
static_assert(vocabularyIsInCapitals(), "a name of the vocabulary in small letters");

// The writer puts down names of the vocabulary, with their values.
constexpr bool writerValuesAreTheHeaders() {
  for (const StyleName& row : kStyleNames) {
    bool found = false;
    for (const VocabularyName& word : kStyleVocabulary)
      found = found || (word.name == row.name && word.value == row.value);
    if (!found) return false;
  }
  return true;
}
static_assert(writerValuesAreTheHeaders(), "a writer's name with another value");

// A Type row compares the low bits whole, so its value must lie within them.
constexpr bool typesFitTheTypeBits() {
  for (const StyleName& row : kStyleNames)
    if (row.test == StyleTest::Type && (row.value & ~kStyleTypeBits) != 0) return false;
  return true;
}
static_assert(typesFitTheTypeBits(), "a Type value outside the type bits");

// The value of one term of a style text: a name of the vocabulary or a number.
std::optional<std::uint32_t> termValue(std::string_view term) {
  if (const auto value = compilerNameValue(term)) return value;
  return parseStyleNumber(term);
}

// A term that names something: a letter or "_", then letters, digits and "_".
bool isWordTerm(std::string_view term) {
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (term.empty() || digit(term[0])) return false;
  for (char c : term) {
    const char small = lowerByte(c);
    if (!(small >= 'a' && small <= 'z') && !digit(c) && c != '_') return false;
  }
  return true;
}

bool testHolds(const StyleName& row, std::uint32_t style) {
  switch (row.test) {
    case StyleTest::Mask:
      return (style & row.value) == row.value;
    case StyleTest::Type:
      return (style & kStyleTypeBits) == row.value;
    case StyleTest::ReadOnly:
      return false;
  }
  return false;
}

// `written`: the bits of the names of the same text already put down.
bool leftOut(const StyleName& row, std::uint32_t style, bool dialog, std::uint32_t written) {
  switch (row.omit) {
    case StyleOmit::Never:
      return false;
    case StyleOmit::InDialog:
      return dialog;
    case StyleOmit::InControl:
      return !dialog;
    case StyleOmit::InDialogWhenCovered:
      return dialog && (written & row.value) == row.value;
    case StyleOmit::BesideCenterOrRight:
      return (style & kCenterOrRight) != 0;
  }
  return false;
}

// The names of one family that apply to the style, in table order, each followed by " | ".
std::string familyNames(StyleFamily family, std::uint32_t style, bool dialog) {
  std::string text;
  std::uint32_t written = 0;
  for (const StyleName& row : kStyleNames) {
    if (row.family != family || !testHolds(row, style) || leftOut(row, style, dialog, written))
      continue;
    text += row.name;
    text += " | ";
    written |= row.value;
  }
  return text;
}

// Drops the separator after the last name.
std::string withoutLastSeparator(std::string text) {
  text.resize(text.size() < 3 ? 0 : text.size() - 3);
  return text;
}

// A control's text: its family's names, then the window flags.
std::string controlText(StyleFamily family, std::uint32_t style) {
  return withoutLastSeparator(familyNames(family, style, false) + windowStyleNames(style));
}

}  // namespace

std::optional<std::uint32_t> parseStyleNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  // from_chars takes no sign for an unsigned number and reports a value past 32 bits.
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint32_t> parseStyle(std::string_view text) {
  if (trimSpace(text).empty()) return 0;
  std::uint32_t style = 0;
  for (;;) {
    const std::size_t bar = text.find('|');
    const auto value = termValue(trimSpace(text.substr(0, bar)));
    if (!value) return std::nullopt;
    style |= *value;
    if (bar == std::string_view::npos) return style;
    text.remove_prefix(bar + 1);
  }
}

std::optional<std::uint32_t> compileStyle(std::string_view text, std::uint32_t base) {
  std::uint32_t style = base;
  for (;;) {
    const std::size_t bar = text.find('|');
    std::string_view term = trimSpace(text.substr(0, bar));
    bool remove = false;
    if (term.size() > 4 && equalsIgnoringCase(term.substr(0, 3), "NOT") && isSpace(term[3])) {
      remove = true;
      term = trimSpace(term.substr(4));
    }
    std::optional<std::uint32_t> value = compilerNameValue(term);
    if (!value) {
      // A number may carry the C suffixes of a long or an unsigned constant.
      std::string_view digits = term;
      while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' ||
                                 digits.back() == 'U' || digits.back() == 'u'))
        digits.remove_suffix(1);
      value = parseStyleNumber(digits);
    }
    if (!value) return std::nullopt;
    style = remove ? style & ~*value : style | *value;
    if (bar == std::string_view::npos) return style;
    text.remove_prefix(bar + 1);
  }
}

std::string invalidStyleNotice(std::string_view styleText) {
  for (;;) {
    const std::size_t bar = styleText.find('|');
    std::string_view term = trimSpace(styleText.substr(0, bar));
    if (term.size() > 4 && equalsIgnoringCase(term.substr(0, 3), "NOT") && isSpace(term[3]))
      term = trimSpace(term.substr(4));
    if (isWordTerm(term) && !compilerNameValue(term))
      return std::string(kInvalidStyleWord) + std::string(term) + ".";
    if (bar == std::string_view::npos) return std::string(kInvalidStyleNotice);
    styleText.remove_prefix(bar + 1);
  }
}

std::optional<std::uint32_t> readStyle(UserInterface& ui, std::string_view text) {
  const auto style = parseStyle(text);
  if (!style) inform(ui, invalidStyleNotice(text));
  return style;
}

std::string windowStyleNames(std::uint32_t style, bool dialog) {
  return familyNames(StyleFamily::Window, style, dialog);
}

std::string dialogStyleNames(std::uint32_t style) {
  // A child dialog is neither a pop-up nor captioned.
  if ((style & kChild) == kChild) style &= ~(kPopup | kCaption);
  return withoutLastSeparator(familyNames(StyleFamily::Dialog, style, true) +
                              windowStyleNames(style, true));
}

std::string buttonStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::Button, style);
}
std::string comboBoxStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::ComboBox, style);
}
std::string editStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::Edit, style);
}
std::string listBoxStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::ListBox, style);
}
std::string scrollBarStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::ScrollBar, style);
}
std::string staticStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::Static, style);
}
std::string treeViewStyleNames(std::uint32_t style) {
  return controlText(StyleFamily::TreeView, style);
}

}  // namespace kolvre
