// The control properties form ("Proprietà controllo"): its fields and rules as data, the form
// filled from a control, its check, and the control the confirmed form gives.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The form's fields, numbered as the form's own ids.
enum class PropertyFieldId : int {
  Caption = 101,
  Id = 102,
  ClassName = 103,
  X = 104,
  Y = 105,
  Width = 106,
  Height = 107,
  Style = 108,
};

struct PropertyField {
  PropertyFieldId id;
  std::string_view label;
  std::string_view picture;  // digits a number field holds ("99999"); empty: text
  bool required;             // must not be empty
  bool readOnly;
  bool multiLine;
};
inline constexpr std::string_view kPropertiesTitle = "Proprietà controllo";
inline constexpr std::array<PropertyField, 8> kPropertyFields{{
    {PropertyFieldId::Caption, "Caption:", "", false, false, false},
    {PropertyFieldId::Id, "Id:", "99999", false, false, false},
    {PropertyFieldId::ClassName, "Classe:", "", false, true, false},
    {PropertyFieldId::X, "X", "9999", false, false, false},
    {PropertyFieldId::Y, "Y", "9999", false, false, false},
    {PropertyFieldId::Width, "L", "9999", true, false, false},
    {PropertyFieldId::Height, "H", "9999", true, false, false},
    {PropertyFieldId::Style, "Stile:", "", true, false, true},
}};
inline constexpr std::size_t kCaptionMaxLength = 1024;

// The form's values, as texts.
struct ControlProperties {
  std::string caption;
  std::string id;         // the number, or the symbol the id is written as
  std::string className;  // the class of the control line, quotes removed
  std::string x;          // dialog units
  std::string y;
  std::string width;
  std::string height;
  std::string style;  // the style names joined by " | "
  bool operator==(const ControlProperties&) const = default;
};
// The value of one field.
std::string& propertyValue(ControlProperties& form, PropertyFieldId field);

// The form filled from a control, through its control line.
ControlProperties controlProperties(const DialogControl& control);

// Why the form may not be confirmed: the field and its message ("Campo non valido.",
// "Numero troppo grande.", "Stile non valido."). `shown` is the form as filled, so an id still
// showing its symbol is accepted.
struct PropertyFault {
  PropertyFieldId field;
  std::string_view message;
};
std::optional<PropertyFault> checkProperties(const ControlProperties& form,
                                             const ControlProperties& shown);

// The control after a confirmed form that passed checkProperties: only the fields that differ
// from `shown` change it (a caption loses its trailing blanks; a combo box's height and style
// follow the reader's rules for it).
DialogControl withProperties(const DialogControl& control, const ControlProperties& edited,
                             const ControlProperties& shown);

}  // namespace kolvre
