#include "dialogs/styles.h"

#include "base/text.h"
#include "messages/messages.h"
#include "syntax/symbols.h"

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
  return compilerNumber(term, false);
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

std::optional<std::uint32_t> parseStyle(std::string_view text) {
  const std::vector<OrTerm> terms = orTerms(text);
  if (terms.size() == 1 && terms[0].begin == terms[0].end) return 0;
  std::uint32_t style = 0;
  for (const OrTerm& term : terms) {
    const auto value = term.negated ? std::nullopt : termValue(term.of(text));
    if (!value) return std::nullopt;
    style |= *value;
  }
  return style;
}

std::optional<std::uint32_t> compileStyle(std::string_view text, std::uint32_t base) {
  const Evaluation e = evaluate(text, nullptr, base);
  if (!e.undefined.empty()) return std::nullopt;
  return e.value;
}

std::string invalidStyleNotice(std::string_view styleText) {
  for (const OrTerm& t : orTerms(styleText)) {
    const std::string_view term = t.of(styleText);
    if (isWordTerm(term) && !compilerNameValue(term))
      return std::string(kInvalidStyleWord) + std::string(term) + ".";
  }
  return std::string(kInvalidStyleNotice);
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
