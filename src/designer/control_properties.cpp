#include "designer/control_properties.h"

#include <cstdint>
#include <vector>

#include "base/text.h"
#include "designer/control_ids.h"
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

// The fields of a control line after its caption (the caption's closing quote starts them).
std::vector<std::string_view> lineFieldsAfterCaption(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t open = line.find('"');
  if (open == std::string_view::npos) return fields;
  std::size_t close = open + 1;
  while (close < line.size()) {
    if (line[close] == '"') {
      if (close + 1 < line.size() && line[close + 1] == '"') {
        close += 2;
        continue;
      }
      break;
    }
    ++close;
  }
  std::string_view rest = close < line.size() ? line.substr(close + 1) : std::string_view{};
  for (;;) {
    const std::size_t comma = rest.find(',');
    fields.push_back(trimBlanks(rest.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return fields;
}

std::string withoutQuotes(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

// The reader's rule for a combo box's style: the live control is always a drop-down list, and
// dropDown remembers a combo box that was not one.
void setComboStyle(DialogControl& control, std::uint32_t style) {
  control.dropDown = (style & kComboTypeBits) != kComboTypeBits;
  control.liveStyle = control.dropDown ? style + 1 : style;
}

}  // namespace

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

ControlProperties controlProperties(const DialogControl& control) {
  ControlProperties form;
  form.caption = control.caption.substr(0, kCaptionMaxLength);
  form.id = idText(control);
  const std::string line = controlStatement(control);
  const std::vector<std::string_view> fields = lineFieldsAfterCaption(line);
  if (fields.size() > 3) {
    form.className = withoutQuotes(fields[2]);
    form.style = std::string(fields[3]);
  }
  form.x = std::to_string(pixelsToDuX(control.rect.x));
  form.y = std::to_string(pixelsToDuY(control.rect.y));
  form.width = std::to_string(pixelsToDuX(control.rect.width));
  // A combo box's height is that of its list, as the line writes it.
  form.height =
      std::to_string(control.live == ControlClass::ComboBox ? control.comboHeight
                                                            : pixelsToDuY(control.rect.height));
  return form;
}

std::optional<PropertyFault> checkProperties(const ControlProperties& form,
                                             const ControlProperties& shown) {
  ControlProperties values = form;
  for (const PropertyField& field : kPropertyFields) {
    if (field.readOnly) continue;
    const std::string& value = propertyValue(values, field.id);
    if (field.required && trimSpace(value).empty())
      return PropertyFault{field.id, kBadFieldMessage};
    if (field.id == PropertyFieldId::Id && value == shown.id) continue;  // as shown, a symbol too
    if (!field.picture.empty()) {
      const auto n = fieldNumber(value, field.picture);
      if (!n) return PropertyFault{field.id, kBadFieldMessage};
      if (!n->fits) return PropertyFault{field.id, kNumberTooLargeMessage};
    }
    if (field.id == PropertyFieldId::Style && !parseStyle(value))
      return PropertyFault{field.id, kInvalidStyleNotice};
  }
  return std::nullopt;
}

DialogControl withProperties(const DialogControl& control, const ControlProperties& edited,
                             const ControlProperties& shown) {
  DialogControl c = control;
  if (edited.caption != shown.caption) c.caption = std::string(trimTrailingBlanks(edited.caption));
  if (edited.id != shown.id) c.id = checkedNumber(edited.id);
  if (edited.x != shown.x) c.rect.x = duToPixelsX(checkedNumber(edited.x));
  if (edited.y != shown.y) c.rect.y = duToPixelsY(checkedNumber(edited.y));
  if (edited.width != shown.width) c.rect.width = duToPixelsX(checkedNumber(edited.width));
  if (edited.height != shown.height) {
    const int height = checkedNumber(edited.height);
    c.rect.height = duToPixelsY(height);
    // The line writes a combo box's height from its list's height.
    if (c.live == ControlClass::ComboBox) c.comboHeight = height;
  }
  if (edited.style != shown.style) {
    const std::uint32_t style = *parseStyle(edited.style);
    if (c.live == ControlClass::ComboBox)
      setComboStyle(c, style);
    else
      c.liveStyle = style;
  }
  return c;
}

}  // namespace kolvre
