#include "messages/form_check.h"

#include <optional>

#include "messages/messages.h"

namespace kolvre {

namespace {

// Marks the form as being checked for the length of one check, also when a hook throws.
class CheckingScope {
 public:
  explicit CheckingScope(Form& form) : form_(form) { form_.checking = true; }
  ~CheckingScope() { form_.checking = false; }
  CheckingScope(const CheckingScope&) = delete;
  CheckingScope& operator=(const CheckingScope&) = delete;

 private:
  Form& form_;
};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int twoDigits(std::string_view text, std::size_t at) {
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The message of the first rule the field breaks, or none.
std::optional<std::string_view> failure(const FormField& field) {
  if (field.kind == FieldKind::Date && field.dateText != kEmptyDate && !field.dateText.empty() &&
      !isValidShortDate(field.dateText))
    return kBadDateMessage;
  if (field.kind == FieldKind::Number && !field.numberFits) return kNumberTooLargeMessage;
  if (field.check && !field.check())
    return field.failMessage.empty() ? kBadFieldMessage : field.failMessage;
  return std::nullopt;
}

bool confirmChecks(UserInterface& ui, Form& form) {
  form.closeRequest = CloseRequest::Unset;
  if (form.commitFocus) form.commitFocus();
  int shownPage = kNoPage;
  // By index: hooks may update the fields while the loop runs.
  for (std::size_t i = 0; i < form.fields.size(); ++i) {
    const int page = form.fields[i].page;
    if (page != kNoPage && page != shownPage) {
      shownPage = page;
      if (form.showPage) form.showPage(page);
    }
    const FieldKind kind = form.fields[i].kind;
    if (kind == FieldKind::StaticText || kind == FieldKind::Meter) continue;
    if (kind == FieldKind::Combo && form.takeComboText) form.takeComboText(i);
    const FormField& field = form.fields[i];
    if (field.when && !field.when()) continue;
    const std::optional<std::string_view> message = failure(field);
    if (!message) continue;
    if (form.onFailBegin) form.onFailBegin(i);
    showMessage(ui, *message, MessageKind::Info);
    if (form.onFailEnd) form.onFailEnd(i);
    return false;
  }
  return true;
}

}  // namespace

bool isModified(const Form& form) {
  if (form.modified) return true;
  for (const FormField& field : form.fields)
    if (field.modified) return true;
  return false;
}

bool isValidShortDate(std::string_view text) {
  if (text.size() != 8 || text[2] != '/' || text[5] != '/') return false;
  for (std::size_t at : {0u, 1u, 3u, 4u, 6u, 7u})
    if (!isDigit(text[at])) return false;
  const int day = twoDigits(text, 0);
  const int month = twoDigits(text, 3);
  const int year = twoDigits(text, 6);
  if (month < 1 || month > 12 || day < 1) return false;
  // Within 1950 to 2049 every year divisible by four is a leap year.
  const bool leap = year % 4 == 0;
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= last;
}

// The guard against nesting belongs to the form: a second close request for the same form while
// its message box is up is refused, while a form opened by one of its hooks (a check that asks
// through a form of its own) can still close.
bool checkFormClose(UserInterface& ui, Form& form, bool askOnCancel) {
  if (form.checking) return false;
  const CheckingScope scope(form);
  if (form.closeRequest == CloseRequest::Confirm) return confirmChecks(ui, form);
  if (!askOnCancel || !isModified(form)) return true;
  if (showMessage(ui, kQuestionDropChanges, MessageKind::YesNoDefaultNo).accepted()) return true;
  if (form.restoreFocus) form.restoreFocus();
  return false;
}

}  // namespace kolvre
