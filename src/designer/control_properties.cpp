#include "designer/control_properties.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/text.h"
#include "designer/control_ids.h"
#include "dialogs/control_reader.h"
#include "dialogs/dialog_units.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/styles.h"
#include "messages/form_check.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kComboTypeBits = 3;  // CBS_DROPDOWNLIST

std::string_view trimTrailingBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A number of a form field: an optional minus and digits. Nothing when it is not one; `fits`
// says whether its digits fit the picture's.
struct FieldNumber {
  int value = 0;
  bool fits = true;
};
std::optional<FieldNumber> fieldNumber(std::string_view text, std::string_view picture) {
  text = trimBlanks(text);
  if (text.empty()) return FieldNumber{};
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  FieldNumber n;
  long long value = 0;
  std::size_t digits = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    if (digits > 0 || c != '0') ++digits;
    if (digits <= 9) value = value * 10 + (c - '0');
  }
  n.fits = digits <= picture.size();
  n.value = static_cast<int>(negative ? -value : value);
  return n;
}

// The value of a number field that passed the check.
int checkedNumber(std::string_view text) {
  return fieldNumber(text, "99999")->value;
}

// The reader's rule for a combo box's style: the live control is always a drop-down list, and
// dropDown remembers a combo box that was not one.
void setComboStyle(DialogControl& control, std::uint32_t style) {
  control.dropDown = (style & kComboTypeBits) != kComboTypeBits;
  control.liveStyle = control.dropDown ? style + 1 : style;
}

std::string_view spanText(const KeptStatement& kept, const FieldSpan& span) {
  return std::string_view(kept.text).substr(span.begin, span.end - span.begin);
}

// The style writer of a script class a short statement stands for (STATIC, BUTTON, ...).
StyleWriter writerOfClass(std::string_view scriptClass) {
  for (const LiveClassInfo& info : kLiveClasses)
    if (info.classWritten == scriptClass) return info.style;
  return StyleWriter::WindowFlags;
}

// The style field of a form: valid when the statement can compile it.
std::optional<std::uint32_t> formStyle(std::string_view text,
                                       const std::optional<std::uint32_t>& base) {
  return base ? compileStyle(text, *base) : parseStyle(text);
}

// The text and style fields of a statement kept as written.
void fillFromStatement(ControlProperties& form, const DialogControl& control) {
  const KeptStatement& kept = *control.statement;
  const bool shortForm = kept.statement < kShortStatements.size();
  form.keyword = shortForm ? kShortStatements[kept.statement].keyword : "CONTROL";
  // A placeholder's text (an icon's name, a class the preview lacks) is written as it stood.
  if (control.live == ControlClass::Placeholder && kept.textField) {
    form.caption = spanText(kept, *kept.textField);
    form.fixed.push_back(PropertyFieldId::Caption);
  }
  if (shortForm) {
    const ShortStatement& row = kShortStatements[kept.statement];
    form.styleBase = kControlBaseStyle | row.impliedStyle;
    if (row.keyword == "ICON") {
      form.fixed.push_back(PropertyFieldId::Width);
      form.fixed.push_back(PropertyFieldId::Height);
    }
    if (!kept.style && control.compiledStyle)
      form.style = styleText(writerOfClass(row.scriptClass), *control.compiledStyle);
  } else if (control.live == ControlClass::Placeholder) {
    form.styleBase = kControlBaseStyle;
  }
  if (kept.style) form.style = spanText(kept, *kept.style);
}

}  // namespace

bool ControlProperties::isFixed(PropertyFieldId field) const {
  return std::find(fixed.begin(), fixed.end(), field) != fixed.end();
}

std::string propertyNote(const ControlProperties& form, PropertyFieldId field) {
  for (const PropertyNote& note : kPropertyNotes) {
    const std::string& value = form.*note.value;
    if (note.field == field && !value.empty())
      return std::string(note.before) + value + std::string(note.after);
  }
  return {};
}

std::string& propertyValue(ControlProperties& form, PropertyFieldId field) {
  switch (field) {
    case PropertyFieldId::Caption:
      return form.caption;
    case PropertyFieldId::Id:
      return form.id;
    case PropertyFieldId::ClassName:
      return form.className;
    case PropertyFieldId::X:
      return form.x;
    case PropertyFieldId::Y:
      return form.y;
    case PropertyFieldId::Width:
      return form.width;
    case PropertyFieldId::Height:
      return form.height;
    case PropertyFieldId::Style:
      return form.style;
  }
  return form.caption;
}

ControlProperties controlProperties(const DialogControl& control, BaseUnits base) {
  ControlProperties form;
  form.caption = control.caption.substr(0, kCaptionMaxLength);
  form.id = idText(control);
  if (hasSymbolicId(control)) form.idValue = std::to_string(control.id);
  form.className = scriptClassName(control);
  if (control.statement) {
    fillFromStatement(form, control);
  } else {
    // A control the designer made or read from a plain CONTROL line: the line the writer gives.
    form.keyword = "CONTROL";
    form.style = std::string(trimBlanks(controlStyleField(control)));
  }
  // A combo box's height is that of its list; an icon without a size shows 0, 0.
  const DialogUnitRect units = unitsAsWritten(control, base);
  form.x = std::to_string(units.x);
  form.y = std::to_string(units.y);
  form.width = std::to_string(units.width);
  form.height = std::to_string(units.height);
  return form;
}

std::optional<PropertyFault> checkProperties(const ControlProperties& form,
                                             const ControlProperties& shown) {
  ControlProperties values = form;
  ControlProperties was = shown;
  for (const PropertyField& field : kPropertyFields) {
    if (field.readOnly || shown.isFixed(field.id)) continue;
    const std::string& value = propertyValue(values, field.id);
    if (field.required && trimSpace(value).empty())
      return PropertyFault{field.id, std::string(kBadFieldMessage)};
    // As shown, a symbol too.
    if ((field.id == PropertyFieldId::Id || field.id == PropertyFieldId::Style) &&
        value == propertyValue(was, field.id))
      continue;
    if (!field.picture.empty()) {
      const auto n = fieldNumber(value, field.picture);
      if (!n) return PropertyFault{field.id, std::string(kBadFieldMessage)};
      if (!n->fits) return PropertyFault{field.id, std::string(kNumberTooLargeMessage)};
    }
    if (field.id == PropertyFieldId::Style && !formStyle(value, shown.styleBase))
      return PropertyFault{field.id, invalidStyleNotice(value)};
  }
  return std::nullopt;
}

DialogControl withProperties(const DialogControl& control, const ControlProperties& edited,
                             const ControlProperties& shown, BaseUnits base) {
  DialogControl c = control;
  const auto changed = [&](std::string ControlProperties::*field, PropertyFieldId id) {
    return edited.*field != shown.*field && !shown.isFixed(id);
  };
  if (changed(&ControlProperties::caption, PropertyFieldId::Caption))
    c.caption = std::string(trimTrailingBlanks(edited.caption));
  if (changed(&ControlProperties::id, PropertyFieldId::Id)) c.id = checkedNumber(edited.id);
  if (changed(&ControlProperties::x, PropertyFieldId::X))
    c.rect.x = duToPixelsX(checkedNumber(edited.x), base);
  if (changed(&ControlProperties::y, PropertyFieldId::Y))
    c.rect.y = duToPixelsY(checkedNumber(edited.y), base);
  if (changed(&ControlProperties::width, PropertyFieldId::Width))
    c.rect.width = duToPixelsX(checkedNumber(edited.width), base);
  if (changed(&ControlProperties::height, PropertyFieldId::Height)) {
    const int height = checkedNumber(edited.height);
    c.rect.height = duToPixelsY(height, base);
    // The line writes a combo box's height from its list's height.
    if (c.live == ControlClass::ComboBox) c.comboHeight = height;
  }
  if (changed(&ControlProperties::style, PropertyFieldId::Style)) {
    const std::uint32_t style = *formStyle(edited.style, shown.styleBase);
    if (c.live == ControlClass::ComboBox)
      setComboStyle(c, style);
    else
      c.liveStyle = style;
  }
  return c;
}

}  // namespace kolvre
