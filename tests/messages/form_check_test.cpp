#include "messages/form_check.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;

// Logs each message box among the form's hook calls.
class LoggingUi : public ScriptedUi {
 public:
  std::vector<std::string> log;
  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override {
    log.push_back("message " + std::string(text));
    return ScriptedUi::messageBox(text, kind, title);
  }
};

FormField field(FieldKind kind, std::function<bool()> check = {}, int page = kNoPage) {
  FormField f;
  f.kind = kind;
  f.check = std::move(check);
  f.page = page;
  return f;
}

FormField dateField(std::string text) {
  FormField f = field(FieldKind::Date);
  f.dateText = std::move(text);
  return f;
}

Form confirmed(std::vector<FormField> fields) {
  Form form;
  form.fields = std::move(fields);
  form.closeRequest = CloseRequest::Confirm;
  return form;
}

const auto kFails = [] { return false; };

TEST(CloseCheckCancel, OnlyAModifiedFormAskedOnCancelAsksAndNoKeepsItOpen) {
  for (CloseRequest request : {CloseRequest::Unset, CloseRequest::Cancel}) {
    ScriptedUi ui;
    Form form;
    form.closeRequest = request;
    form.fields = {field(FieldKind::Other, kFails), field(FieldKind::Other, {}, 2)};
    EXPECT_TRUE(checkFormClose(ui, form, true));  // unmodified; checks run only on confirm
    form.fields[1].modified = true;               // a change on a folder page counts
    EXPECT_TRUE(checkFormClose(ui, form, false));
    EXPECT_TRUE(ui.messages.empty());

    int restored = 0;
    form.restoreFocus = [&] { ++restored; };
    ui.buttons = {kIdNo, kIdYes};
    EXPECT_FALSE(checkFormClose(ui, form, true));
    EXPECT_EQ(restored, 1);
    EXPECT_TRUE(checkFormClose(ui, form, true));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Annullo le modifiche?");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::YesNoDefaultNo);
  }
}

TEST(CloseCheckConfirm, EachRuleFailsWithItsOwnMessageAndSkippedFieldsPass) {
  FormField tooLarge = field(FieldKind::Number);
  tooLarge.numberFits = false;
  FormField datedCheck = dateField("30/02/04");  // the date is reported, not the check
  datedCheck.check = kFails;
  FormField unchecked = dateField("99/99/99");
  unchecked.when = [] { return false; };
  const std::pair<FormField, std::string> rows[] = {
      {dateField("31/04/99"), "Data non valida."},
      {dateField("12/  /  "), "Data non valida."},  // half typed is not empty
      {datedCheck, "Data non valida."},
      {tooLarge, "Numero troppo grande."},
      {field(FieldKind::Combo, kFails), "Campo non valido."},
      {dateField("  /  /  "), ""},
      {dateField(""), ""},
      {field(FieldKind::StaticText, kFails), ""},
      {field(FieldKind::Meter, kFails), ""},
      {unchecked, ""},
  };
  for (const auto& [f, text] : rows) {
    ScriptedUi ui;
    Form form = confirmed({f});
    EXPECT_EQ(checkFormClose(ui, form, false), text.empty()) << text;
    EXPECT_EQ(ui.messageTexts(),
              text.empty() ? std::vector<std::string>{} : std::vector<std::string>{text});
  }
}

TEST(CloseCheckConfirm, TheFirstFailureIsRedWhileItsMessageIsUpAndLaterFieldsWait) {
  LoggingUi ui;
  bool laterChecked = false;
  Form form = confirmed({dateField("01/01/01"), field(FieldKind::Other, kFails),
                         field(FieldKind::Other, [&] { return laterChecked = true; })});
  // The focused field stores its value before any check.
  form.commitFocus = [&] { form.fields[0].dateText = "32/01/01"; };
  form.onFailBegin = [&](std::size_t i) { ui.log.push_back("red " + std::to_string(i)); };
  form.onFailEnd = [&](std::size_t i) { ui.log.push_back("restore " + std::to_string(i)); };
  EXPECT_FALSE(checkFormClose(ui, form, true));
  EXPECT_EQ(ui.log, (std::vector<std::string>{"red 0", "message Data non valida.", "restore 0"}));
  EXPECT_FALSE(laterChecked);
  EXPECT_EQ(kFailColour, 0x0000FFu);  // 0x00BBGGRR: pure red
  // The request is cleared: a later Esc closes without checking again.
  EXPECT_TRUE(checkFormClose(ui, form, false));
}

TEST(CloseCheckConfirm, PagesAreShownOnceInOrderAndAComboTakesItsTextFirst) {
  std::vector<std::string> log;
  auto logged = [&](std::string what, bool result = true) {
    return [&log, what, result] {
      log.push_back(what);
      return result;
    };
  };
  FormField combo = field(FieldKind::Combo, logged("check combo"), 0);
  combo.when = logged("when combo");
  Form form = confirmed(
      {field(FieldKind::Other, logged("check")), field(FieldKind::StaticText, {}, 0), combo,
       field(FieldKind::Other, logged("check 0"), 0), field(FieldKind::StaticText, {}, 1),
       field(FieldKind::Other, logged("fail 2", false), 2),
       field(FieldKind::Other, logged("check 3"), 3)});
  form.showPage = [&](int page) { log.push_back("page " + std::to_string(page)); };
  form.takeComboText = [&](std::size_t i) { log.push_back("take " + std::to_string(i)); };
  ScriptedUi ui;
  EXPECT_FALSE(checkFormClose(ui, form, false));
  EXPECT_EQ(log, (std::vector<std::string>{"check", "page 0", "take 2", "when combo", "check combo",
                                           "check 0", "page 1", "page 2", "fail 2"}));
}

TEST(CloseCheckNesting, TheSameFormRefusesASecondCheckButAFormOpenedByACheckCloses) {
  ScriptedUi ui;
  Form inner = confirmed({field(FieldKind::Other)});
  Form outer;
  bool nested = true;
  bool innerClosed = false;
  outer = confirmed({field(FieldKind::Other, [&] {
    nested = checkFormClose(ui, outer, false);
    innerClosed = checkFormClose(ui, inner, false);
    return true;
  })});
  EXPECT_TRUE(checkFormClose(ui, outer, false));
  EXPECT_FALSE(nested);
  EXPECT_TRUE(innerClosed);

  // A check that throws does not leave the form refusing every later close.
  Form throwing =
      confirmed({field(FieldKind::Other, []() -> bool { throw std::runtime_error(""); })});
  EXPECT_THROW(checkFormClose(ui, throwing, false), std::runtime_error);
  EXPECT_TRUE(checkFormClose(ui, throwing, false));
}

TEST(ShortDate, OnlyDatesThatExistInTheFormDdMmYyAreValid) {
  const std::pair<const char*, bool> rows[] = {
      {"01/01/00", true},  {"31/12/99", true},  {"29/02/00", true},    {"29/02/04", true},
      {"29/02/01", false}, {"31/04/99", false}, {"30/04/99", true},    {"32/01/99", false},
      {"00/01/99", false}, {"01/13/99", false}, {" 1/01/99", false},   {"01-01-99", false},
      {"1/1/99", false},   {"  /  /  ", false}, {"01/01/1999", false},
  };
  for (const auto& [text, valid] : rows) EXPECT_EQ(isValidShortDate(text), valid) << text;
}

}  // namespace
}  // namespace kolvre
