// The close check of modal forms (checkFormClose): a cancelled form may ask before dropping its
// changes, a confirmed one checks its fields in order and stays open on the first one that fails.
// The form is abstract here; the widget layer fills it and answers its hooks.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"

namespace kolvre {

// How a form was asked to close: its buttons set 1 (confirm) or 2 (cancel) before closing it;
// Esc and the close box leave it unset.
enum class CloseRequest : int { Unset = 0, Confirm = 1, Cancel = 2 };

enum class FieldKind { StaticText, Meter, Combo, Date, Number, Other };

// The date field that holds no date (an empty text counts the same).
inline constexpr std::string_view kEmptyDate = "  /  /  ";

// The background of a failing field while its message is up: platform colour 255 (0x00BBGGRR),
// pure red.
inline constexpr unsigned kFailColour = 255;

inline constexpr std::string_view kQuestionDropChanges = "Annullo le modifiche?";
inline constexpr std::string_view kBadDateMessage = "Data non valida.";
inline constexpr std::string_view kNumberTooLargeMessage = "Numero troppo grande.";
inline constexpr std::string_view kBadFieldMessage = "Campo non valido.";

inline constexpr int kNoPage = -1;

struct FormField {
  FieldKind kind = FieldKind::Other;
  // The folder page holding the field, or kNoPage. Fields of one page are listed together.
  int page = kNoPage;
  // The field is checked only while this gives true; empty: always.
  std::function<bool()> when;
  // The field's own check; empty: none.
  std::function<bool()> check;
  // The message of a failed check; empty: "Campo non valido.". A check may set it.
  std::string_view failMessage;
  bool modified = false;
  std::string dateText = std::string(kEmptyDate);  // date fields: the text shown
  bool numberFits = true;                          // number fields: the value fits the field
};

struct Form {
  std::vector<FormField> fields;
  CloseRequest closeRequest = CloseRequest::Unset;
  bool modified = false;  // changes not tied to one field

  // Hooks for the widget layer, each optional, called in this order during a confirm:
  // the focused control gives up its focus so that it stores its value...
  std::function<void()> commitFocus;
  // ...a folder shows the page whose fields come next...
  std::function<void(int page)> showPage;
  // ...a combo box takes its window text as its value before it is checked...
  std::function<void(std::size_t field)> takeComboText;
  // ...and a failing field gets the focus and the fail colour while its message is up, then
  // its own colour back and the focus.
  std::function<void(std::size_t field)> onFailBegin;
  std::function<void(std::size_t field)> onFailEnd;
  // After a refused cancel: the focus goes back where it was.
  std::function<void()> restoreFocus;

  // Set while a close check of this form runs.
  bool checking = false;
};

// True when the form or any of its fields was modified.
bool isModified(const Form& form);

// A "dd/mm/yy" date that exists; two-digit years are read as 1950 to 2049.
bool isValidShortDate(std::string_view text);

// The close check: true when the form may close. Messages go through `ui`.
bool checkFormClose(UserInterface& ui, Form& form, bool askOnCancel);

}  // namespace kolvre
