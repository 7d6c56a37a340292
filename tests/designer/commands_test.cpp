// The designer's commands: delete, new controls and ids, renumbering, properties, widen and
// autosize.
#include "designer/commands.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "designer/control_ids.h"
#include "designer/control_kinds.h"
#include "designer/control_properties.h"
#include "designer/designer_fixture.h"

namespace kolvre {
namespace {

using namespace testing;

// --- delete ---

TEST(DesignerDelete, EverySelectedControlGoesAndKeptLinesStay) {
  TestDesigner d(lines({button(101, 0, 0), "// commento", button(102, 0, 30), button(103, 0, 60),
                        button(104, 0, 90)}));
  d.band({0, 0}, {10, duToPixelsY(60, kFixedBaseUnits) + 1});  // 101, 102 and 103
  d.designer.keyDown(key(DesignerKey::Delete), {});
  ASSERT_EQ(d.model.controls.size(), 1u);
  EXPECT_EQ(d.host.status.rfind("Dialog: ", 0), 0u) << d.host.status;  // no deleted control's id
  EXPECT_EQ(d.at(0).id, 104);
  EXPECT_NE(d.text().find("// commento"), std::string::npos);
  EXPECT_TRUE(d.designer.takeRefresh().rebuild);
}

// --- new controls and ids ---

TEST(DesignerNew, IdsFollowTheLargestAndNeverGoBelow101) {
  TestDesigner d(lines({button(57, 0, 0), button(12, 0, 30)}));
  EXPECT_EQ(d.commands().nextId(), 101);
  d.commands().newControl("TButton", {40, 40});
  d.commands().newControl("TButton", {40, 80});
  d.commands().newControl("TSay", {40, 120});
  ASSERT_EQ(d.model.controls.size(), 5u);
  EXPECT_EQ(d.at(2).id, 101);
  EXPECT_EQ(d.at(3).id, 102);
  EXPECT_EQ(d.at(4).id, -1);
  EXPECT_EQ(d.at(2).rect, (PixelRect{40, 40, 70, 25}));
  EXPECT_EQ(d.designer.current(), 4u);
  EXPECT_TRUE(handlesShown(d.designer));
  EXPECT_EQ(d.designer.undoSteps(), 3u);
}

TEST(DesignerNew, IdsWrittenAsSymbolsDoNotCount) {
  TestDesigner d(lines(
      {controlLine("OK", 0, "BUTTON", testing::kButtonStyle, 0, 0, 40, 14), button(140, 0, 30)}));
  d.model.controls[0].idAsWritten = KeptText<int>{"600+1", 600};
  d.at(0).id = 600;
  EXPECT_EQ(d.commands().nextId(), 141);
}

TEST(DesignerNew, EveryKindIsWrittenAsAControlLineThatReadsBackAsItsClass) {
  TestDesigner d("");
  for (const NewControlKind& kind : kNewControlKinds) {
    d.commands().newControl(kind.name, {0, 0});
    const DialogControl& made = d.model.controls.back();
    // Read back as a paste reads a line, as the block's body reads it.
    const ControlReading back =
        readStatementLine(controlStatement(made, kFixedBaseUnits), kFixedBaseUnits);
    ASSERT_EQ(back.kind, ControlReading::Kind::Control) << kind.name;
    EXPECT_EQ(back.control.live, kind.live) << kind.name;
    EXPECT_EQ(pixelsToDuX(back.control.rect.width, kFixedBaseUnits),
              pixelsToDuX(made.rect.width, kFixedBaseUnits))
        << kind.name;
  }
  EXPECT_NE(d.text().find("\"TCheckBox\", 105, \"BUTTON\", BS_AUTOCHECKBOX | BS_LEFTTEXT"),
            std::string::npos);
  EXPECT_NE(d.text().find("\"\", 106, \"COMBOBOX\", CBS_DROPDOWNLIST"), std::string::npos);
}

// --- renumbering ---

TEST(DesignerRenumber, SelectedControlsCountOnFromTheFirst) {
  TestDesigner d(
      lines({button(310, 0, 0), controlLine("x", -1, "STATIC", testing::kStaticStyle, 0, 20, 20, 8),
             button(120, 0, 40), button(500, 0, 60), button(999, 100, 0)}));
  for (std::size_t i = 0; i < 4; ++i) d.at(i).selected = true;
  d.commands().renumberSelected(std::nullopt);
  EXPECT_EQ(d.at(0).id, 310);
  EXPECT_EQ(d.at(1).id, -1);
  EXPECT_EQ(d.at(2).id, 311);
  EXPECT_EQ(d.at(3).id, 312);
  EXPECT_EQ(d.at(4).id, 999);
}

TEST(DesignerRenumber, ARangeIsNumberedInListOrder) {
  TestDesigner d(
      lines({button(205, 0, 0), button(230, 0, 20), button(150, 0, 40), button(260, 0, 60)}));
  d.commands().renumberRange(201, 299, 1);
  EXPECT_EQ(d.at(0).id, 201);
  EXPECT_EQ(d.at(1).id, 202);
  EXPECT_EQ(d.at(2).id, 150);
  EXPECT_EQ(d.at(3).id, 203);
  EXPECT_EQ(d.host.status, "Id: 202   x 0, y 20 \u2014 40 \u00d7 14");
}

TEST(DesignerRenumber, ASymbolicIdIsKept) {
  std::string named = button(0, 0, 20);
  named.replace(named.find(", 0, "), 5, ", IDC_NOME, ");
  TestDesigner d(lines({button(205, 0, 0), named, button(230, 0, 40)}));
  for (DialogControl& c : d.model.controls) c.selected = true;
  d.commands().renumberSelected(std::nullopt);
  EXPECT_EQ(d.at(2).id, 206);
  EXPECT_NE(d.text().find("IDC_NOME"), std::string::npos);
  d.commands().renumberRange(0, 99, std::nullopt);
  EXPECT_NE(d.text().find("IDC_NOME"), std::string::npos);
}

// --- properties ---

TEST(DesignerProperties, ACaptionWithCommasShowsClassAndStyleAndSurvives) {
  TestDesigner d(
      controlLine("Uno, due, tre", 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14));
  d.host.answer = [](ControlProperties form) {
    form.x = "30";
    return form;
  };
  ASSERT_TRUE(d.commands().editProperties(0));
  const ControlProperties& shown = d.host.shownForms.at(0);
  EXPECT_EQ(shown.caption, "Uno, due, tre");
  EXPECT_EQ(shown.className, "BUTTON");
  EXPECT_EQ(shown.style, "BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE");
  EXPECT_EQ(shown.id, "101");
  EXPECT_EQ(shown.y, "20");
  EXPECT_EQ(d.at(0).caption, "Uno, due, tre");
  EXPECT_EQ(d.at(0).rect.x, duToPixelsX(30, kFixedBaseUnits));
  EXPECT_EQ(d.designer.undoSteps(), 1u);
}

TEST(DesignerProperties, ConfirmAppliesEveryField) {
  TestDesigner d(controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14));
  d.host.answer = [](ControlProperties form) {
    form.caption = "Annulla  ";
    form.id = "2";
    form.width = "50";
    form.height = "15";
    form.style = "BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP";
    return form;
  };
  ASSERT_TRUE(d.commands().editProperties(0));
  EXPECT_EQ(controlStatement(d.at(0), kFixedBaseUnits),
            " CONTROL \"Annulla\", 2, \"BUTTON\", BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | "
            "WS_TABSTOP, 10, 20, 50, 15");
}

TEST(DesignerProperties, ACancelOrAFaultChangesNothing) {
  TestDesigner d(controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14));
  const std::string before = d.text();
  EXPECT_FALSE(d.commands().editProperties(0));  // cancelled
  struct Case {
    std::string ControlProperties::*field;
    std::string value;
    std::string message;
  };
  const Case cases[] = {
      {&ControlProperties::width, "", "Campo non valido."},
      {&ControlProperties::style, " ", "Campo non valido."},
      {&ControlProperties::x, "12345", "Numero troppo grande."},
      {&ControlProperties::id, "123456", "Numero troppo grande."},
      {&ControlProperties::y, "1a", "Campo non valido."},
      {&ControlProperties::style, "WS_NIENTE", "Stile non valido: WS_NIENTE."},
  };
  for (const Case& c : cases) {
    d.ui.messages.clear();
    d.host.answer = [&](ControlProperties form) {
      form.*c.field = c.value;
      return form;
    };
    EXPECT_FALSE(d.commands().editProperties(0)) << c.value;
    EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{c.message}) << c.value;
  }
  EXPECT_EQ(d.text(), before);
  EXPECT_EQ(d.designer.undoSteps(), 0u);
}

TEST(DesignerProperties, AComboBoxHeightAndKindReachTheLine) {
  TestDesigner d(controlLine("", 101, "COMBOBOX", testing::kComboStyle, 10, 20, 80, 60));
  d.host.answer = [](ControlProperties form) {
    EXPECT_EQ(form.height, "60");
    form.height = "90";
    form.style = "CBS_DROPDOWN | WS_CHILD | WS_VISIBLE";
    return form;
  };
  ASSERT_TRUE(d.commands().editProperties(0));
  EXPECT_EQ(controlStatement(d.at(0), kFixedBaseUnits),
            " CONTROL \"\", 101, \"COMBOBOX\", CBS_DROPDOWN | WS_CHILD | WS_VISIBLE, 10, 20, 80, "
            "90");
  EXPECT_TRUE(d.at(0).dropDown);
}

// The form as filled from every kind of statement, and confirmed as shown: nothing changes.
TEST(DesignerProperties, EveryStatementShowsItsOwnFieldsAndAnUnchangedFormEditsNothing) {
  const struct {
    const char* line;
    const char* className;
    const char* caption;
    const char* id;
    const char* units;  // x y cx cy
    const char* style;
  } rows[] = {
      {"LTEXT \"Nome:\", -1, 5, 6, 40, 8", "STATIC", "Nome:", "-1", "5 6 40 8",
       "SS_LEFT | WS_CHILD | WS_VISIBLE | WS_GROUP"},
      {"RTEXT \"A\", IDC_A, 1, 2, 3, 4, SS_NOPREFIX", "STATIC", "A", "IDC_A", "1 2 3 4",
       "SS_NOPREFIX"},
      {"CTEXT \"B\", 3, 1, 2, 3, 4, NOT WS_GROUP", "STATIC", "B", "3", "1 2 3 4", "NOT WS_GROUP"},
      {"PUSHBUTTON \"View &Licence\", IDA_LICENCE, 6, 52, 70, 14", "BUTTON", "View &Licence",
       "IDA_LICENCE", "6 52 70 14", "BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP"},
      {"DEFPUSHBUTTON \"OK\", IDOK, 1, 2, 3, 4, WS_GROUP", "BUTTON", "OK", "IDOK", "1 2 3 4",
       "WS_GROUP"},
      {"PUSHBOX \"P\", 5, 1, 2, 3, 4, WS_DISABLED", "BUTTON", "P", "5", "1 2 3 4", "WS_DISABLED"},
      {"CHECKBOX \"C\", 6, 1, 2, 3, 4, BS_LEFTTEXT", "BUTTON", "C", "6", "1 2 3 4", "BS_LEFTTEXT"},
      {"AUTOCHECKBOX \"Ac\", 7, 1, 2, 3, 4, 0", "BUTTON", "Ac", "7", "1 2 3 4", "0"},
      {"STATE3 \"S\", 8, 1, 2, 3, 4, WS_GROUP", "BUTTON", "S", "8", "1 2 3 4", "WS_GROUP"},
      {"AUTO3STATE \"A3\", 9, 1, 2, 3, 4, WS_GROUP", "BUTTON", "A3", "9", "1 2 3 4", "WS_GROUP"},
      {"RADIOBUTTON \"R\", 10, 1, 2, 3, 4, WS_GROUP", "BUTTON", "R", "10", "1 2 3 4", "WS_GROUP"},
      {"AUTORADIOBUTTON \"Ar\", 11, 1, 2, 3, 4, WS_GROUP | WS_TABSTOP", "BUTTON", "Ar", "11",
       "1 2 3 4", "WS_GROUP | WS_TABSTOP"},
      {"GROUPBOX \"G\", 12, 1, 2, 30, 40, WS_GROUP", "BUTTON", "G", "12", "1 2 30 40", "WS_GROUP"},
      {"EDITTEXT IDC_E, 1, 2, 3, 4, ES_AUTOHSCROLL", "EDIT", "", "IDC_E", "1 2 3 4",
       "ES_AUTOHSCROLL"},
      {"COMBOBOX 14, 1, 2, 3, 40, CBS_DROPDOWN | WS_VSCROLL", "COMBOBOX", "", "14", "1 2 3 40",
       "CBS_DROPDOWN | WS_VSCROLL"},
      {"LISTBOX 15, 1, 2, 3, 4, LBS_SORT | MY_STYLE", "LISTBOX", "", "15", "1 2 3 4",
       "LBS_SORT | MY_STYLE"},
      {"SCROLLBAR 16, 1, 2, 3, 4, SBS_VERT", "SCROLLBAR", "", "16", "1 2 3 4", "SBS_VERT"},
      {"ICON \"APPICON\", 17, 1, 2", "STATIC", "\"APPICON\"", "17", "1 2 0 0",
       "SS_ICON | WS_CHILD | WS_VISIBLE"},
      {"ICON IDI_APP, 18, 1, 2, 20, 20, SS_CENTERIMAGE", "STATIC", "IDI_APP", "18", "1 2 20 20",
       "SS_CENTERIMAGE"},
      {"CONTROL \"Uno\", 19, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4", "BUTTON", "Uno",
       "19", "1 2 3 4", "BS_AUTOCHECKBOX | WS_TABSTOP"},
      {"CONTROL \"\", 20, \"msctls_progress32\", WS_BORDER, 1, 2, 3, 4", "msctls_progress32",
       "\"\"", "20", "1 2 3 4", "WS_BORDER"},
  };
  for (const auto& row : rows) {
    TestDesigner d(std::string(" ") + row.line);
    const std::string before = d.text();
    d.host.answer = [](ControlProperties form) { return form; };
    EXPECT_TRUE(d.commands().editProperties(0)) << row.line;
    const ControlProperties& shown = d.host.shownForms.at(0);
    const std::string keyword(
        std::string_view(row.line).substr(0, std::string_view(row.line).find(' ')));
    EXPECT_EQ(shown.keyword, keyword);
    EXPECT_EQ(shown.className, row.className) << row.line;
    EXPECT_EQ(shown.caption, row.caption) << row.line;
    EXPECT_EQ(shown.id, row.id) << row.line;
    // A symbol's value beside it, as the model holds it.
    EXPECT_EQ(shown.idValue, hasSymbolicId(d.at(0)) ? std::to_string(d.at(0).id) : "") << row.line;
    EXPECT_EQ(shown.x + " " + shown.y + " " + shown.width + " " + shown.height, row.units)
        << row.line;
    EXPECT_EQ(shown.style, row.style) << row.line;
    EXPECT_EQ(d.text(), before) << row.line;
    EXPECT_EQ(d.designer.undoSteps(), 0u) << row.line;
  }

  // A control the designer made has no statement yet: it shows the line it will be written as.
  TestDesigner d("");
  d.commands().newControl("TButton", {0, 0});
  const ControlProperties made = controlProperties(d.at(0), kFixedBaseUnits);
  EXPECT_EQ(made.keyword, "CONTROL");
  EXPECT_EQ(made.className, "BUTTON");
  EXPECT_EQ(made.caption, "TButton");
  EXPECT_EQ(made.width, std::to_string(pixelsToDuX(d.at(0).rect.width, kFixedBaseUnits)));
  EXPECT_TRUE(parseStyle(made.style));
}

// One field changed rewrites that field's text in the statement and nothing else.
TEST(DesignerProperties, AChangedFieldChangesOnlyItsTextInTheStatement) {
  const std::string pushButton = "\tPUSHBUTTON \"View &Licence\",IDA_LICENCE,  6, 52, 70, 14 // ok";
  const std::string edit = "\tEDITTEXT IDC_E, 1, 2, 3, 4, ES_AUTOHSCROLL | NOT WS_TABSTOP";
  const std::string icon = "\tICON \"APPICON\", 17, 1, 2";
  const std::string button = " PUSHBUTTON \"P\", 5, 1, 2, 3, 4, WS_GROUP";
  const std::string combo = " COMBOBOX 14, 1, 2, 3, 40";
  const std::string control = " CONTROL \"A\", 5, \"Button\", BS_PUSHBUTTON, 1, 2, 3, 4 // ok";
  const struct {
    const std::string& line;
    std::string ControlProperties::*field;
    const char* value;
    const char* written;
  } cases[] = {
      {pushButton, &ControlProperties::x, "8",
       "\tPUSHBUTTON \"View &Licence\",IDA_LICENCE,  8, 52, 70, 14 // ok"},
      {pushButton, &ControlProperties::caption, "Licenza",
       "\tPUSHBUTTON \"Licenza\",IDA_LICENCE,  6, 52, 70, 14 // ok"},
      {pushButton, &ControlProperties::id, "1002",
       "\tPUSHBUTTON \"View &Licence\",1002,  6, 52, 70, 14 // ok"},
      {pushButton, &ControlProperties::height, "15",
       "\tPUSHBUTTON \"View &Licence\",IDA_LICENCE,  6, 52, 70, 15 // ok"},
      {pushButton, &ControlProperties::style,
       "BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED",
       "\tPUSHBUTTON \"View &Licence\",IDA_LICENCE,  6, 52, 70, 14, 0x08000000 // ok"},
      {edit, &ControlProperties::style, "ES_AUTOHSCROLL | NOT WS_TABSTOP | ES_NUMBER",
       "\tEDITTEXT IDC_E, 1, 2, 3, 4, ES_AUTOHSCROLL | NOT WS_TABSTOP | 0x00002000"},
      // Another kind of control: the statement becomes a CONTROL statement.
      {button, &ControlProperties::style, "BS_AUTOCHECKBOX",
       " CONTROL \"P\", 5, \"BUTTON\", BS_AUTOCHECKBOX | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 1, 2, "
       "3, 4"},
      {combo, &ControlProperties::style,
       "CBS_SIMPLE | WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL",
       // Given a style, it loses the default one: the writer names what it keeps.
       " COMBOBOX 14, 1, 2, 3, 40, WS_VSCROLL | WS_TABSTOP | 0x00000001"},
      {control, &ControlProperties::style, "BS_PUSHBUTTON | WS_GROUP",
       " CONTROL \"A\", 5, \"Button\", BS_PUSHBUTTON | WS_GROUP, 1, 2, 3, 4 // ok"},
      {icon, &ControlProperties::y, "9", "\tICON \"APPICON\", 17, 1, 9"},
      // An icon's size is the icon's own: the form cannot change it.
      {icon, &ControlProperties::width, "50", "\tICON \"APPICON\", 17, 1, 2"},
  };
  for (const auto& c : cases) {
    TestDesigner d(c.line);
    d.host.answer = [&](ControlProperties form) {
      form.*c.field = c.value;
      return form;
    };
    EXPECT_TRUE(d.commands().editProperties(0)) << c.value;
    EXPECT_EQ(controlStatement(d.at(0), kFixedBaseUnits), c.written) << c.value;
  }
}

// Under a Cyrillic code page the form shows a control's text in Cyrillic and writes what is
// typed in its bytes, the clipboard alike; a character the page lacks is refused.
TEST(DesignerProperties, TheTextIsShownAndTypedInTheDialogsCodePage) {
  const std::string name = "\xC8\xEC\xFF", print = "\xCF\xE5\xF7\xE0\xF2\xFC";
  TestDesigner d(controlLine(name, 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14),
                 {1251, false});
  d.host.answer = [](ControlProperties form) {
    form.caption = "Печать";
    return form;
  };
  ASSERT_TRUE(d.commands().editProperties(0));
  EXPECT_EQ(d.host.shownForms.at(0).caption, "Имя");
  EXPECT_EQ(d.at(0).caption, print);
  // Confirmed as shown, the text keeps its bytes.
  d.host.answer = [](ControlProperties form) { return form; };
  EXPECT_TRUE(d.commands().editProperties(0));
  EXPECT_EQ(d.at(0).caption, print);
  d.host.answer = [](ControlProperties form) {
    form.caption = "Ωμέγα";
    return form;
  };
  EXPECT_FALSE(d.commands().editProperties(0));
  EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{"Campo non valido."});
  EXPECT_EQ(d.at(0).caption, print);
  d.dragControl(0, {d.at(0).rect.x + 1, d.at(0).rect.y + 1}, {});
  d.commands().copy();
  EXPECT_NE(d.ui.clipboard.find("\"Печать\""), std::string::npos);
  d.ui.clipboard = "CONTROL \"Окно Ω\", 7, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD, 0, 0, 50, 10";
  d.commands().paste(PixelPoint{0, 0});
  ASSERT_EQ(d.model.controls.size(), 2u);
  EXPECT_EQ(d.at(1).caption, "\xCE\xEA\xED\xEE ?");
}

// --- widen and autosize ---

TEST(DesignerWiden, WidthOfTheClientAreaOnTheGrid) {
  TestDesigner d(controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 10, 40, 8));
  d.commands().widen(0);
  EXPECT_EQ(d.at(0).rect,
            (PixelRect{0, duToPixelsY(10, kFixedBaseUnits), 350, duToPixelsY(8, kFixedBaseUnits)}));
  d.designer.resized(358 + 20, 193);
  d.commands().widen(0);
  EXPECT_EQ(d.at(0).rect.width, 368);  // 370 / 8.75 = 42.3 -> 42 steps
  EXPECT_EQ(d.designer.current(), 0u);
  EXPECT_EQ(d.host.message, "Id: -1   x 0, y 10 \u2014 210 \u00d7 8");
}

TEST(DesignerWiden, AutosizeFitsTheTextToWholeSteps) {
  TestDesigner d(controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 10, 100, 8));
  d.commands().autosize(0);
  EXPECT_EQ(d.at(0).rect.width, 26);  // 24 pixels -> 3 steps of 8.75
  d.at(0).caption.clear();
  d.commands().autosize(0);
  EXPECT_EQ(d.at(0).rect.width, 9);  // never narrower than one step
}

}  // namespace
}  // namespace kolvre
