#include "dialogs/control_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/text.h"
#include "dialogs/class_names.h"
#include "dialogs/reader_fields.h"
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
ControlReading readShortStatement(const StatementFields& statement, std::size_t which,
                                  BaseUnits fontUnits, SymbolUse* symbols) {
  ControlReading reading;
  const ShortStatement& row = kShortStatements[which];
  const bool icon = row.keyword == "ICON";
  const auto& fields = statement.values;
  const std::size_t required = (row.hasText ? 1 : 0) + 1 + (icon ? 2 : 4);
  if (fields.size() < required || (icon && fields.size() == required + 1)) return reading;
  for (std::size_t i = 0; i < required + (icon && fields.size() > required ? 2 : 0); ++i)
    if (fields[i].code.empty()) return reading;

  KeptStatement kept;
  kept.text = std::string(statement.raw);
  kept.statement = which;
  kept.keyword = statement.keywordAt;
  std::size_t f = 0;
  const StatementFields::Value* text = row.hasText ? &fields[f++] : nullptr;
  if (text) kept.textField = text->span;
  const StatementFields::Value& id = fields[f++];
  kept.idField = id.span;
  std::array<const StatementFields::Value*, 4> coordinates{};
  for (std::size_t i = 0; i < 4; ++i)
    if (i < 2 || !icon || fields.size() > required) {
      coordinates[i] = &fields[f++];
      kept.coordinates[i] = coordinates[i]->span;
    }
  const StatementFields::Value* styleField = f < fields.size() ? &fields[f++] : nullptr;
  if (styleField) kept.style = styleField->span;

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  const std::uint32_t base = kControlBaseStyle | row.impliedStyle;
  c.compiledStyle =
      styleField ? compiledField(styleField->code, base, symbols) : base | row.defaultStyle;
  if (!c.compiledStyle) reading.notices.push_back(invalidStyleNotice(styleField->code));
  const std::uint32_t style = c.compiledStyle.value_or(base | row.defaultStyle);
  const ClassRow* classes = classRow(row.scriptClass, style);
  c.live = icon ? ControlClass::Placeholder : classes->live;
  c.liveStyle = adjusted(*classes, style, c);
  if (icon)
    c.caption = std::string(row.keyword);
  else if (text)
    c.caption = fieldText(text->code);
  c.id = readKept(id.code, c.idAsWritten, symbols);
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    if (coordinates[i]) *targets[i] = readKept(coordinates[i]->code, c.coordinates[i], symbols);
  c.rect = toPixels(units, fontUnits);
  if (icon) c.rect.width = c.rect.height = kIconPixels;
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  if (f < fields.size()) c.tail = std::string(statement.raw.substr(fields[f].commaAt));
  keepStatement(c, std::move(kept));
  return reading;
}

// A CONTROL statement the writer cannot write afresh with the same meaning, kept as written: a
// class the class table lacks (a placeholder) or a text that is not quoted (an image's name).
ControlReading readKeptControl(const StatementFields& statement, BaseUnits base,
                               SymbolUse* symbols) {
  ControlReading reading;
  const auto& fields = statement.values;
  if (fields.size() < 8) return reading;
  for (std::size_t i = 0; i < 8; ++i)
    if (i != 3 && fields[i].code.empty()) return reading;
  const std::string_view classField = fields[2].code;
  const std::string_view styleText = fields[3].code;
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
    reading.notices.push_back(unsupportedControlNotice(unquotedName(classField)));
  if (row) {
    c.live = row->live;
    if (style || row->adjust != StyleAdjust::None) c.liveStyle = adjusted(*row, tested, c);
    if (liveClass(c.live).receivesText) c.caption = fieldText(fields[0].code);
  } else {
    c.live = ControlClass::Placeholder;
    c.liveStyle = c.compiledStyle;
    c.caption = unquotedName(classField);
  }
  c.id = readKept(fields[1].code, c.idAsWritten, symbols);
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    *targets[i] = readKept(fields[4 + i].code, c.coordinates[i], symbols);
  c.rect = toPixels(units, base);
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  if (fields.size() > 8) c.tail = std::string(statement.raw.substr(fields[8].commaAt));

  KeptStatement kept;
  kept.text = std::string(statement.raw);
  kept.statement = kShortStatements.size();
  kept.textField = fields[0].span;
  kept.idField = fields[1].span;
  for (std::size_t i = 0; i < 4; ++i) kept.coordinates[i] = fields[4 + i].span;
  kept.style = fields[3].span;
  kept.classField = fields[2].span;
  kept.keyword = statement.keywordAt;
  keepStatement(c, std::move(kept));
  return reading;
}

}  // namespace

ControlReading readBodyStatement(const StatementFields& statement, BaseUnits base,
                                 SymbolUse* symbols) {
  if (statement.cutShort) return {};
  // Every CONTROL statement is kept as written: an unchanged control is put back byte for byte
  // (its spacing, its class's letter case, its style's spelling), a changed one has only its
  // changed fields rewritten.
  if (isKeyword(statement.keyword, "CONTROL")) {
    // One the kept reading refuses (fields it cannot find) stays as written, a line of the body.
    return readKeptControl(statement, base, symbols);
  }
  for (std::size_t i = 0; i < kShortStatements.size(); ++i)
    if (isKeyword(statement.keyword, kShortStatements[i].keyword))
      return readShortStatement(statement, i, base, symbols);
  return {};
}

std::string unsupportedControlNotice(std::string_view scriptClass) {
  std::string text = "Controllo ";
  text += scriptClass;
  text += " non supportato.";
  return text;
}

void reindent(KeptStatement& kept, std::string_view indentation) {
  const std::size_t was = kept.keyword;
  const auto move = [&](FieldSpan& span) {
    span.begin = span.begin - was + indentation.size();
    span.end = span.end - was + indentation.size();
  };
  kept.text = std::string(indentation) + kept.text.substr(was);
  if (kept.textField) move(*kept.textField);
  move(kept.idField);
  for (auto& c : kept.coordinates)
    if (c) move(*c);
  if (kept.style) move(*kept.style);
  if (kept.classField) move(*kept.classField);
  kept.keyword = indentation.size();
}

std::string scriptClassName(const DialogControl& control) {
  std::string name;
  if (control.statement && control.statement->statement < kShortStatements.size())
    return std::string(kShortStatements[control.statement->statement].scriptClass);
  if (control.statement && control.statement->classField) {
    name = unquotedName(spanText(control.statement->text, *control.statement->classField));
  } else {
    name = std::string(liveClass(control.live).classWritten);
  }
  const std::string upper = upperAscii(name);
  for (const ShortStatement& row : kShortStatements)
    if (upper == row.scriptClass) return upper;
  return name;
}

DialogUnitRect unitsAsWritten(const DialogControl& control, BaseUnits base) {
  DialogUnitRect units = toDialogUnits(control.rect, base);
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
