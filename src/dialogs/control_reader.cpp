#include "dialogs/control_reader.h"

#include <algorithm>
#include <cstdint>

#include "base/text.h"
#include "dialogs/class_names.h"
#include "dialogs/reader_fields.h"
#include "dialogs/statement_words.h"
#include "dialogs/styles.h"
#include "syntax/lexer.h"
#include "syntax/vocabulary.h"

namespace kolvre {

using namespace reader_fields;

namespace {

constexpr std::uint32_t kNoIntegralHeight = styleNameValue("LBS_NOINTEGRALHEIGHT");
constexpr std::uint32_t kComboTypeBits = 3;  // CBS_DROPDOWNLIST: the combo box kinds

std::string_view spanText(std::string_view raw, const FieldSpan& span) {
  return raw.substr(span.begin, span.end - span.begin);
}

// Where the keyword of a statement as written ends.
std::size_t keywordEnd(std::string_view raw) {
  std::size_t at = 0;
  while (at < raw.size() && isSpace(raw[at])) ++at;
  while (at < raw.size() && !isSpace(raw[at]) && raw[at] != '"' && raw[at] != ',') ++at;
  return at;
}

// The row of the class table for a class and a style; nothing when the table lacks the class.
const ClassRow* classRow(std::string_view scriptClass, std::uint32_t style) {
  const auto row = std::find_if(kClassTable.begin(), kClassTable.end(), [&](const ClassRow& r) {
    return scriptClass.starts_with(r.scriptClass) && (style & r.typeMask) == r.typeValue;
  });
  return row == kClassTable.end() ? nullptr : &*row;
}

// The class table's adjustment of a style read.
std::uint32_t adjusted(const ClassRow& row, std::uint32_t style, DialogControl& c) {
  if (row.adjust == StyleAdjust::DropDownList && (style & kComboTypeBits) != kComboTypeBits) {
    c.dropDown = true;
    return style + 1;
  }
  if (row.adjust == StyleAdjust::NoIntegralHeight) return style | kNoIntegralHeight;
  return style;
}

// A style field as the compiler reads it from `base`; an empty field adds nothing.
std::optional<std::uint32_t> compiledField(std::string_view field, std::uint32_t base,
                                           SymbolUse* symbols) {
  if (trimSpace(field).empty()) return base;
  const auto compiled = compileStyle(field, base);
  return compiled ? compiled : symbolStyle(field, base, symbols);
}

// A style field as the live control takes it: its vocabulary's names, or the script's symbols.
std::optional<std::uint32_t> liveField(std::string_view field, SymbolUse* symbols) {
  const auto written = parseStyle(field);
  return written ? written : symbolStyle(field, 0, symbols);
}

// The class a class field names, in capitals as the class table compares it.
std::string classOf(std::string_view field, const SymbolUse* symbols) {
  return upperAscii(namedClass(field, symbols ? symbols->table : nullptr));
}

// The text of a statement's text field: a quoted text with its doubled quotes undone, or
// anything else (an icon's name) as written.
std::string fieldCaption(std::string_view field) {
  std::string caption;
  std::string_view rest = field;
  while (!rest.empty()) {
    // The next quoted piece, as the lexer reads a string: up to the first quote that is neither
    // doubled nor escaped.
    if (rest.front() != '"') return std::string(field);
    const std::size_t end = lexing::stringEnd(rest, 0);
    if (end < 2 || rest[end - 1] != '"') return std::string(field);
    const std::size_t close = end - 1;
    caption += undoubledQuotes(rest.substr(1, close - 1));
    rest = trimSpace(rest.substr(close + 1));
  }
  return caption;
}

// Fills a kept statement's values from the control read from it.
void keepStatement(DialogControl& c, KeptStatement kept) {
  kept.caption = c.caption;
  kept.id = c.id;
  kept.rect = c.rect;
  kept.comboHeight = c.comboHeight;
  kept.liveStyle = c.liveStyle;
  kept.dropDown = c.dropDown;
  c.statement = std::move(kept);
}

// A short control statement (kShortStatements[which]) as written, on one line or several.
// `code` is `raw` with its comments blanked: the fields are read from it, the text kept is `raw`.
ControlReading readShortStatement(std::string_view raw, std::string_view code, std::size_t which,
                                  SymbolUse* symbols) {
  ControlReading reading;
  const ShortStatement& row = kShortStatements[which];
  const bool icon = row.keyword == "ICON";
  const std::vector<FieldSpan> fields = fieldSpans(code, keywordEnd(code));
  const std::size_t required = (row.hasText ? 1 : 0) + 1 + (icon ? 2 : 4);
  if (fields.size() < required || (icon && fields.size() == required + 1)) return reading;
  for (std::size_t i = 0; i < required + (icon && fields.size() > required ? 2 : 0); ++i)
    if (fields[i].begin == fields[i].end) return reading;

  KeptStatement kept;
  kept.text = std::string(raw);
  kept.statement = which;
  std::size_t f = 0;
  if (row.hasText) kept.textField = fields[f++];
  kept.idField = fields[f++];
  for (std::size_t i = 0; i < 4; ++i)
    if (i < 2 || !icon || fields.size() > required) kept.coordinates[i] = fields[f++];
  if (f < fields.size()) kept.style = fields[f++];

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  const std::uint32_t base = kControlBaseStyle | row.impliedStyle;
  c.compiledStyle = kept.style ? compiledField(spanText(code, *kept.style), base, symbols)
                               : base | row.defaultStyle;
  if (!c.compiledStyle) reading.notices.push_back(invalidStyleNotice(spanText(code, *kept.style)));
  const std::uint32_t style = c.compiledStyle.value_or(base | row.defaultStyle);
  const ClassRow* classes = classRow(row.scriptClass, style);
  c.live = icon ? ControlClass::Placeholder : classes->live;
  c.liveStyle = adjusted(*classes, style, c);
  if (icon)
    c.caption = std::string(row.keyword);
  else if (kept.textField)
    c.caption = fieldCaption(spanText(code, *kept.textField));
  c.id = readKept(spanText(code, kept.idField), c.idAsWritten, symbols);
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    if (kept.coordinates[i])
      *targets[i] = readKept(spanText(code, *kept.coordinates[i]), c.coordinates[i], symbols);
  c.rect = toPixels(units);
  if (icon) c.rect.width = c.rect.height = kIconPixels;
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  if (f < fields.size()) c.tail = std::string(raw.substr(code.rfind(',', fields[f].begin)));
  keepStatement(c, std::move(kept));
  return reading;
}

// A CONTROL statement the writer cannot write afresh with the same meaning, kept as written: a
// class the class table lacks (a placeholder) or a text that is not quoted (an image's name).
ControlReading readKeptControl(std::string_view raw, std::string_view code, SymbolUse* symbols) {
  ControlReading reading;
  const std::vector<FieldSpan> fields = fieldSpans(code, keywordEnd(code));
  if (fields.size() < 8) return reading;
  for (std::size_t i = 0; i < 8; ++i)
    if (i != 3 && fields[i].begin == fields[i].end) return reading;
  const std::string_view classField = spanText(code, fields[2]);
  const std::string_view styleText = spanText(code, fields[3]);
  const std::string scriptClass = classOf(classField, symbols);

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  c.compiledStyle = compiledField(styleText, kControlBaseStyle, symbols);
  // A class of the table takes its style as any CONTROL statement does; a placeholder, having no
  // look of its own to choose, the style it compiles to.
  const std::optional<std::uint32_t> style = liveField(styleText, symbols);
  const std::uint32_t tested = style.value_or(kDefaultControlStyle);
  const ClassRow* row = classRow(scriptClass, tested);
  if (!style)
    reading.notices.push_back(invalidStyleNotice(styleText));
  else if (!row)
    reading.notices.push_back(unsupportedControlNotice(withoutQuotes(classField)));
  if (row) {
    c.live = row->live;
    if (style || row->adjust != StyleAdjust::None) c.liveStyle = adjusted(*row, tested, c);
    if (liveClass(c.live).receivesText) c.caption = fieldCaption(spanText(code, fields[0]));
  } else {
    c.live = ControlClass::Placeholder;
    c.liveStyle = c.compiledStyle;
    c.caption = withoutQuotes(classField);
  }
  c.id = readKept(spanText(code, fields[1]), c.idAsWritten, symbols);
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    *targets[i] = readKept(spanText(code, fields[4 + i]), c.coordinates[i], symbols);
  c.rect = toPixels(units);
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  if (fields.size() > 8) c.tail = std::string(raw.substr(code.rfind(',', fields[8].begin)));

  KeptStatement kept;
  kept.text = std::string(raw);
  kept.statement = kShortStatements.size();
  kept.textField = fields[0];
  kept.idField = fields[1];
  for (std::size_t i = 0; i < 4; ++i) kept.coordinates[i] = fields[4 + i];
  kept.style = fields[3];
  keepStatement(c, std::move(kept));
  return reading;
}

}  // namespace

ControlReading readBodyStatement(std::string_view raw, std::string_view code, std::string_view text,
                                 SymbolUse* symbols) {
  // Every CONTROL statement is kept as written: an unchanged control is put back byte for byte
  // (its spacing, its class's letter case, its style's spelling), a changed one has only its
  // changed fields rewritten.
  if (isWord(text, "CONTROL")) {
    // One the kept reading refuses (fields it cannot find) stays as written, a line of the body.
    return readKeptControl(raw, code, symbols);
  }
  for (std::size_t i = 0; i < kShortStatements.size(); ++i)
    if (isWord(text, kShortStatements[i].keyword)) return readShortStatement(raw, code, i, symbols);
  return {};
}

std::string unsupportedControlNotice(std::string_view scriptClass) {
  std::string text = "Controllo ";
  text += scriptClass;
  text += " non supportato.";
  return text;
}

ControlReading readStatementLine(std::string_view line) {
  const std::string code = blankComments(line);
  const std::string text = readable(code);
  // A line that ends with "," or "|" goes on in a line that is not there: cut short, it is
  // not read (as in a body).
  if (text.ends_with(',') || text.ends_with('|')) return {};
  return readBodyStatement(line, code, text);
}

std::string scriptClassName(const DialogControl& control) {
  std::string name;
  if (control.statement && control.statement->statement < kShortStatements.size())
    return std::string(kShortStatements[control.statement->statement].scriptClass);
  if (control.statement) {
    const FieldSpan& span = *control.statement->textField;
    const std::vector<FieldSpan> fields = fieldSpans(control.statement->text, span.end);
    name = withoutQuotes(spanText(control.statement->text, fields[2]));
  } else {
    name = std::string(liveClass(control.live).classWritten);
  }
  const std::string upper = upperAscii(name);
  for (const ShortStatement& row : kShortStatements)
    if (upper == row.scriptClass) return upper;
  return name;
}

DialogUnitRect unitsAsWritten(const DialogControl& control) {
  DialogUnitRect units = toDialogUnits(control.rect);
  if (control.live == ControlClass::ComboBox) units.height = control.comboHeight;
  if (control.statement && control.statement->statement < kShortStatements.size() &&
      kShortStatements[control.statement->statement].keyword == "ICON") {
    const auto& size = control.statement->coordinates;
    units.width = size[2] ? readNumber(spanText(control.statement->text, *size[2])).value : 0;
    units.height = size[3] ? readNumber(spanText(control.statement->text, *size[3])).value : 0;
  }
  return units;
}

}  // namespace kolvre
