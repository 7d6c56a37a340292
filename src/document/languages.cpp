#include "document/languages.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/text.h"
#include "document/language_names.h"
#include "syntax/statements.h"
#include "syntax/symbols.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// The ISO 639 code of each primary language the table knows, and the tag of its default
// sublanguage where the language is spoken in several regions ("en-US").
struct PrimaryTag {
  std::uint16_t primary;
  std::string_view tag;
  std::string_view defaultTag;  // empty: the tag alone
};
constexpr std::array<PrimaryTag, 62> kPrimaryTags{{
    {0x01, "ar", "ar-SA"}, {0x02, "bg", ""},      {0x03, "ca", ""}, {0x04, "zh", "zh-TW"},
    {0x05, "cs", ""},      {0x06, "da", ""},      {0x07, "de", ""}, {0x08, "el", ""},
    {0x09, "en", "en-US"}, {0x0a, "es", ""},      {0x0b, "fi", ""}, {0x0c, "fr", ""},
    {0x0d, "he", ""},      {0x0e, "hu", ""},      {0x0f, "is", ""}, {0x10, "it", ""},
    {0x11, "ja", ""},      {0x12, "ko", ""},      {0x13, "nl", ""}, {0x14, "nb", ""},
    {0x15, "pl", ""},      {0x16, "pt", "pt-BR"}, {0x17, "rm", ""}, {0x18, "ro", ""},
    {0x19, "ru", ""},      {0x1a, "hr", ""},      {0x1b, "sk", ""}, {0x1c, "sq", ""},
    {0x1d, "sv", ""},      {0x1e, "th", ""},      {0x1f, "tr", ""}, {0x20, "ur", ""},
    {0x21, "id", ""},      {0x22, "uk", ""},      {0x23, "be", ""}, {0x24, "sl", ""},
    {0x25, "et", ""},      {0x26, "lv", ""},      {0x27, "lt", ""}, {0x29, "fa", ""},
    {0x2a, "vi", ""},      {0x2b, "hy", ""},      {0x2c, "az", ""}, {0x2d, "eu", ""},
    {0x2f, "mk", ""},      {0x36, "af", ""},      {0x37, "ka", ""}, {0x38, "fo", ""},
    {0x39, "hi", ""},      {0x3a, "mt", ""},      {0x3c, "ga", ""}, {0x3e, "ms", ""},
    {0x3f, "kk", ""},      {0x41, "sw", ""},      {0x43, "uz", ""}, {0x45, "bn", ""},
    {0x49, "ta", ""},      {0x52, "cy", ""},      {0x56, "gl", ""}, {0x5e, "am", ""},
    {0x63, "ps", ""},      {0x92, "ku", ""},
}};

// Sublanguages other than the default whose region the tag names.
struct RegionTag {
  std::uint16_t primary;
  std::uint16_t sub;
  std::string_view tag;
};
constexpr std::array<RegionTag, 30> kRegionTags{{
    {0x04, 0x02, "zh-CN"}, {0x04, 0x03, "zh-HK"}, {0x04, 0x04, "zh-SG"},   {0x07, 0x02, "de-CH"},
    {0x07, 0x03, "de-AT"}, {0x07, 0x04, "de-LU"}, {0x09, 0x02, "en-GB"},   {0x09, 0x03, "en-AU"},
    {0x09, 0x04, "en-CA"}, {0x09, 0x05, "en-NZ"}, {0x09, 0x06, "en-IE"},   {0x09, 0x07, "en-ZA"},
    {0x0a, 0x02, "es-MX"}, {0x0a, 0x03, "es-ES"}, {0x0a, 0x0b, "es-AR"},   {0x0c, 0x02, "fr-BE"},
    {0x0c, 0x03, "fr-CA"}, {0x0c, 0x04, "fr-CH"}, {0x10, 0x02, "it-CH"},   {0x13, 0x02, "nl-BE"},
    {0x14, 0x02, "nn"},    {0x16, 0x02, "pt-PT"}, {0x1a, 0x02, "sr-Latn"}, {0x1a, 0x03, "sr-Cyrl"},
    {0x1a, 0x05, "bs"},    {0x1d, 0x02, "sv-FI"}, {0x2c, 0x02, "az-Cyrl"}, {0x43, 0x02, "uz-Cyrl"},
    {0x0c, 0x05, "fr-LU"}, {0x3e, 0x02, "ms-BN"},
}};

std::string hex(unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%x", value);
  return buffer;
}

// A LANGUAGE statement's two values as written, after its keyword: the text up to the first
// top-level comma, and the rest.
struct LanguageValues {
  std::string_view primary;
  std::string_view sub;
};

// The two values of the LANGUAGE statement (or header statement) `node` of a statement's tree:
// its first field, and the fields after the first comma, as written.
LanguageValues valuesOf(std::string_view own, const StatementTree& tree, std::size_t node) {
  const std::vector<std::size_t> fields = childrenOfKind(tree, node, NodeKind::Field);
  LanguageValues v;
  std::size_t sub = 0;
  // A comma before the first field: the first value is missing.
  const TreeNode* first = fields.empty() ? nullptr : &tree.nodes[fields[0]];
  if (first && tokenText(own, tree.tokens[first->first - 1]) != ",") {
    v.primary = nodeText(own, tree, *first);
    sub = 1;
  }
  if (sub < fields.size()) {
    const std::size_t begin = tree.beginOf(tree.nodes[fields[sub]]);
    v.sub = own.substr(begin, tree.endOf(tree.nodes[fields.back()]) - begin);
  }
  return v;
}

std::string tagOfValues(const LanguageValues& v) {
  const std::optional<std::uint16_t> primary = languageValue(v.primary);
  const std::optional<std::uint16_t> sub = languageValue(v.sub);
  if (primary && sub) return languageTag({*primary, *sub});
  std::string written(trimSpace(v.primary));
  written += ',';
  written += trimSpace(v.sub);
  return written;
}

}  // namespace

std::optional<std::uint16_t> languageValue(std::string_view value) {
  value = trimSpace(value);
  if (value.empty()) return std::nullopt;
  if (value.front() >= '0' && value.front() <= '9') {
    const auto number = compilerNumber(value, false);
    if (!number || *number > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(*number);
  }
  for (const LanguageName& n : kLanguageNames)
    if (n.name == value) return n.value;
  return std::nullopt;
}

std::string languageTag(LanguageId id) {
  if (id.primary == 0) return {};
  for (const RegionTag& r : kRegionTags)
    if (r.primary == id.primary && r.sub == id.sub) return std::string(r.tag);
  for (const PrimaryTag& p : kPrimaryTags) {
    if (p.primary != id.primary) continue;
    if (id.sub == 1 && !p.defaultTag.empty()) return std::string(p.defaultTag);
    if (id.sub <= 1) return std::string(p.tag);
    return std::string(p.tag) + "-" + hex(id.sub);
  }
  return hex(id.primary) + "-" + hex(id.sub);
}

std::string languageTagOf(std::string_view statementText) {
  Statement s;
  s.kind = StatementKind::Language;
  s.end = statementText.size();
  return tagOfValues(valuesOf(statementText, readStatementTree(statementText, s), 0));
}

std::optional<std::string> ownLanguageTag(std::string_view own, const StatementTree& tree) {
  for (const std::size_t header : childrenOfKind(tree, 0, NodeKind::HeaderStatement))
    if (isKeyword(tokenText(own, tree.tokens[tree.nodes[header].first]), "LANGUAGE"))
      return tagOfValues(valuesOf(own, tree, header));
  return std::nullopt;
}

std::optional<std::string> ownLanguageTag(std::string_view text, const Statement& s) {
  if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable)
    return std::nullopt;
  // The index asks every resource for its language: a look for the word among the header's
  // tokens first, which costs far less than reading each header's tree (which reads the values).
  if (!headerHoldsWord(text, s, "LANGUAGE")) return std::nullopt;
  // The header alone: the statement up to its body's opener.
  Statement header = s;
  if (const auto opener = resourceContent(text, s).opener) header.end = opener->end;
  return ownLanguageTag(header.of(text), readStatementTree(text, header));
}

std::vector<std::string> statementLanguages(std::string_view text,
                                            const std::vector<Statement>& statements,
                                            const std::vector<bool>& skipped) {
  std::vector<std::string> tags(statements.size());
  std::string kept, any;  // the last LANGUAGE the compiler keeps, and the last of all
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    const bool isSkipped = i < skipped.size() && skipped[i];
    if (s.kind == StatementKind::Language) {
      any = languageTagOf(s.of(text));
      if (!isSkipped) kept = any;
      continue;
    }
    if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable) continue;
    std::optional<std::string> own = ownLanguageTag(text, s);
    tags[i] = own ? std::move(*own) : isSkipped ? any : kept;
  }
  return tags;
}

}  // namespace kolvre
