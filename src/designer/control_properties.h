// The control properties form ("Proprietà controllo"): its fields and rules as data, the form
// filled from a control, its check, and the control the confirmed form gives.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    {PropertyFieldId::Caption, "Testo:", "", false, false, false},
    {PropertyFieldId::Id, "Id:", "99999", false, false, false},
    {PropertyFieldId::ClassName, "Classe:", "", false, true, false},
    {PropertyFieldId::X, "X", "9999", false, false, false},
    {PropertyFieldId::Y, "Y", "9999", false, false, false},
    {PropertyFieldId::Width, "L", "9999", true, false, false},
    {PropertyFieldId::Height, "H", "9999", true, false, false},
    {PropertyFieldId::Style, "Stile:", "", true, false, true},
}};
inline constexpr std::size_t kCaptionMaxLength = 1024;

// The form's values, as texts, and what it shows of the statement besides them.
struct ControlProperties {
  std::string caption;    // the text; a placeholder's (an icon's name) as written
  std::string id;         // the number, or the symbol or expression the id is written as
  std::string className;  // the class the statement stands for (BUTTON for PUSHBUTTON)
  std::string x;          // dialog units, as the statement gives them
  std::string y;
  std::string width;
  std::string height;
  // The style field as written; the style the statement compiles to when it gives none.
  std::string style;

  // Shown, never edited.
  std::string keyword;  // CONTROL, or the short statement's keyword (PUSHBUTTON)
  std::string idValue;  // the id's value when the id is written as a symbol or an expression
  // The style a short statement (or a placeholder's CONTROL statement) compiles its style field
  // from, so that NOT takes away from it; none: the style field is the whole style.
  std::optional<std::uint32_t> styleBase;
  // Fields shown that this control cannot change (an icon's size is the icon's own).
  std::vector<PropertyFieldId> fixed;
  bool isFixed(PropertyFieldId field) const;

  bool operator==(const ControlProperties&) const = default;
};

// What the form shows beside a field: a value of the statement, read-only, between `before` and
// `after`; nothing when the value is empty.
struct PropertyNote {
  PropertyFieldId field;
  std::string ControlProperties::*value;
  std::string_view before;
  std::string_view after;
};
inline constexpr std::array<PropertyNote, 2> kPropertyNotes{{
    {PropertyFieldId::Id, &ControlProperties::idValue, "= ", ""},
    {PropertyFieldId::ClassName, &ControlProperties::keyword, "(", ")"},
}};
// The note beside `field`; empty when there is none.
std::string propertyNote(const ControlProperties& form, PropertyFieldId field);
// The value of one field.
std::string& propertyValue(ControlProperties& form, PropertyFieldId field);

// The form filled from a control: from its statement as written (a short statement, a CONTROL
// statement), or from the control line the writer gives a control the designer made; `base`:
// the base units of its dialog.
ControlProperties controlProperties(const DialogControl& control, BaseUnits base);

// Why the form may not be confirmed: the field and its message ("Campo non valido.",
// "Numero troppo grande.", "Stile non valido: WS_FOO."). `shown` is the form as filled, so an id or
// a style still as written (a symbol) is accepted.
struct PropertyFault {
  PropertyFieldId field;
  std::string message;
};
std::optional<PropertyFault> checkProperties(const ControlProperties& form,
                                             const ControlProperties& shown);

// The control after a confirmed form that passed checkProperties: only the fields that differ
// from `shown` change it (a caption loses its trailing blanks; a combo box's height and style
// follow the reader's rules for it). A form confirmed as shown gives the control back unchanged.
DialogControl withProperties(const DialogControl& control, const ControlProperties& edited,
                             const ControlProperties& shown, BaseUnits base);

}  // namespace kolvre
