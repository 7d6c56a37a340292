// The short control statements (LTEXT, PUSHBUTTON, EDITTEXT, ...) as controls: the style each
// compiles to, statements over several lines, and the writer that puts an unchanged statement
// back as it stood and rewrites only the fields the user changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_test_blocks.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"

namespace kolvre {
namespace {

using testing::crlfLines;
using testing::ownFormDialog;

DialogModel readBody(std::string_view body) {
  const DialogReading r = readDialog(ownFormDialog(body));
  EXPECT_EQ(r.failure, DialogFailure::None);
  return r.dialog;
}

DialogControl onlyControl(std::string_view line) {
  const DialogModel dialog = readBody(line);
  EXPECT_EQ(dialog.controls.size(), 1u) << line;
  return dialog.controls.empty() ? DialogControl{} : dialog.controls[0];
}

TEST(ShortStatements, EachCompilesToItsClassAndImpliedStyle) {
  const struct {
    const char* line;
    const char* scriptClass;
    ControlClass live;
    std::uint32_t compiled;
    const char* caption;
  } rows[] = {
      {"LTEXT \"a\", 1, 1, 2, 3, 4", "STATIC", ControlClass::StaticText, 0x50020000, "a"},
      {"RTEXT \"a\", 1, 1, 2, 3, 4", "STATIC", ControlClass::StaticText, 0x50020002, "a"},
      {"CTEXT \"a\", 1, 1, 2, 3, 4", "STATIC", ControlClass::StaticText, 0x50020001, "a"},
      {"PUSHBUTTON \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::Button, 0x50010000, "a"},
      {"DEFPUSHBUTTON \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::Button, 0x50010001, "a"},
      {"PUSHBOX \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::Button, 0x5001000A, "a"},
      // The class table shows BS_CHECKBOX and BS_3STATE as push buttons.
      {"CHECKBOX \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::Button, 0x50010002, "a"},
      {"AUTOCHECKBOX \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::CheckBox, 0x50010003, "a"},
      {"STATE3 \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::Button, 0x50010005, "a"},
      {"AUTO3STATE \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::CheckBox, 0x50010006, "a"},
      {"RADIOBUTTON \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::RadioButton, 0x50010004, "a"},
      {"AUTORADIOBUTTON \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::RadioButton, 0x50010009,
       "a"},
      {"GROUPBOX \"a\", 1, 1, 2, 3, 4", "BUTTON", ControlClass::GroupBox, 0x50000007, "a"},
      {"EDITTEXT 1, 1, 2, 3, 4", "EDIT", ControlClass::Edit, 0x50810000, ""},
      {"COMBOBOX 1, 1, 2, 3, 4", "COMBOBOX", ControlClass::ComboBox, 0x50010001, ""},
      {"LISTBOX 1, 1, 2, 3, 4", "LISTBOX", ControlClass::ListBox, 0x50800001, ""},
      {"SCROLLBAR 1, 1, 2, 3, 4", "SCROLLBAR", ControlClass::ScrollBar, 0x50000000, ""},
      {"ICON IDI_APP, 1, 1, 2", "STATIC", ControlClass::Placeholder, 0x50000003, "ICON"},
  };
  static_assert(std::size(rows) == kShortStatements.size(), "a statement without a row");
  for (const auto& row : rows) {
    const DialogControl c = onlyControl(std::string("  ") + row.line);
    EXPECT_EQ(scriptClassName(c), row.scriptClass) << row.line;
    EXPECT_EQ(c.live, row.live) << row.line;
    EXPECT_EQ(c.compiledStyle, row.compiled) << row.line;
    EXPECT_EQ(c.caption, row.caption) << row.line;
    EXPECT_EQ(c.id, 1) << row.line;
    EXPECT_EQ(controlStatement(c, kFixedBaseUnits), std::string("  ") + row.line);
  }
}

TEST(ShortStatements, TheOptionalStyleAddsAndNotTakesAwayInOrder) {
  const struct {
    const char* line;
    std::optional<std::uint32_t> compiled;
    std::vector<std::string> notices;
  } rows[] = {
      {"EDITTEXT 1, 1, 2, 3, 4, ES_AUTOHSCROLL | NOT WS_BORDER", 0x50010080, {}},
      {"LTEXT \"a\", 1, 1, 2, 3, 4, NOT WS_GROUP | SS_NOPREFIX", 0x50000080, {}},
      {"PUSHBUTTON \"a\", 1, 1, 2, 3, 4, not ws_tabstop | ws_disabled", 0x58000000, {}},
      {"PUSHBUTTON \"a\", 1, 1, 2, 3, 4, NOT WS_TABSTOP | WS_TABSTOP", 0x50010000, {}},
      {"PUSHBUTTON \"a\", 1, 1, 2, 3, 4, NOT WS_VISIBLE", 0x40010000, {}},
      {"LISTBOX 1, 1, 2, 3, 4, LBS_SORT | 0x100L | WS_VSCROLL", 0x50A00103, {}},
      // A style given takes the place of the default style: a drop-down combo box stays one,
      // a radio button given WS_GROUP has no tab stop; a text keeps its WS_GROUP.
      {"COMBOBOX 1, 1, 2, 3, 4, CBS_DROPDOWN", 0x50000002, {}},
      {"RADIOBUTTON \"a\", 1, 1, 2, 3, 4, WS_GROUP", 0x50020004, {}},
      {"RTEXT \"a\", 1, 1, 2, 3, 4, SS_NOPREFIX", 0x50020082, {}},
      // Extended style and help id after the style are carried through.
      {"COMBOBOX 1, 1, 2, 3, 40, CBS_DROPDOWNLIST | WS_VSCROLL, WS_EX_CLIENTEDGE, 7",
       0x50200003,
       {}},
      // A symbol of the script's own headers: the statement's own style, and the notice.
      {"AUTOCHECKBOX \"a\", 1, 1, 2, 3, 4, MY_STYLE",
       std::nullopt,
       {"Stile non valido: MY_STYLE."}},
  };
  for (const auto& row : rows) {
    const DialogReading r = readDialog(ownFormDialog(row.line));
    ASSERT_EQ(r.dialog.controls.size(), 1u) << row.line;
    const DialogControl& c = r.dialog.controls[0];
    EXPECT_EQ(c.compiledStyle, row.compiled) << row.line;
    EXPECT_EQ(r.notices, row.notices) << row.line;
    EXPECT_EQ(controlStatement(c, kFixedBaseUnits), row.line);
  }
  const DialogControl unknown = onlyControl("AUTOCHECKBOX \"a\", 1, 1, 2, 3, 4, MY_STYLE");
  EXPECT_EQ(unknown.live, ControlClass::CheckBox);
  EXPECT_EQ(unknown.liveStyle, 0x50010003u);
  const DialogControl combo =
      onlyControl("COMBOBOX 1, 1, 2, 3, 40, CBS_DROPDOWNLIST | WS_VSCROLL, WS_EX_CLIENTEDGE, 7");
  EXPECT_EQ(combo.tail, ", WS_EX_CLIENTEDGE, 7");
  EXPECT_EQ(combo.comboHeight, 40);
}

TEST(ShortStatements, AStatementOverSeveralLinesIsOneControlWrittenInItsLines) {
  const std::vector<std::string> statements = {
      crlfLines({"    CONTROL \"Albero\", 101, \"SysTreeView32\",",
                 "\tTVS_HASBUTTONS | TVS_HASLINES |", "\tWS_BORDER | WS_TABSTOP,",
                 " 5, 5, 60, 40"}),
      crlfLines({"    COMBOBOX        102, 6,13,94,54,  CBS_OWNERDRAWFIXED | CBS_HASSTRINGS |",
                 "                    CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | CBS_SIMPLE"}),
      // The next line begins with a style name: it goes on with the style.
      crlfLines({"    EDITTEXT 103, 5, 50, 40, 12, ES_AUTOHSCROLL", "             | ES_NUMBER"}),
      // A text in quoted pieces over several lines.
      crlfLines(
          {"    LTEXT \"Prima \"\"parte\"\", \"", "          \"seconda.\", 105, 5, 90, 40, 8"}),
      // A backslash at a line's end splices the lines, as the preprocessor splices them.
      crlfLines({"    LTEXT \"a\" \\", "\"b\", 104, 5, 70, 40, 8, SS_NOPREFIX"}),
  };
  std::string body;
  for (const std::string& s : statements) body += (body.empty() ? "" : "\r\n") + s;
  const DialogModel dialog = readBody(body);
  ASSERT_EQ(dialog.controls.size(), 5u);
  EXPECT_EQ(dialog.controls[3].caption, "Prima \"parte\", seconda.");
  EXPECT_EQ(dialog.controls[0].live, ControlClass::TreeView);
  EXPECT_EQ(dialog.controls[1].compiledStyle, 0x50210251u);
  EXPECT_EQ(dialog.controls[2].compiledStyle, 0x50812080u);
  EXPECT_EQ(dialog.controls[4].caption, "ab");
  for (std::size_t i = 0; i < 5; ++i)
    EXPECT_EQ(controlStatement(dialog.controls[i], kFixedBaseUnits), statements[i]);
  EXPECT_NE(dialogBlock(dialog, "DLG").find(statements[1] + "\r\n" + statements[2]),
            std::string::npos);
  // Not the compiler's syntax: a word alone on its line is no part of the statement before it,
  // and stays as written where it stood.
  const std::string notSyntax =
      crlfLines({"    LTEXT \"a\", 104, 5, 70, 40, 8, SS_NOPREFIX", "    WS_DISABLED"});
  const DialogModel wrong = readBody(notSyntax);
  ASSERT_EQ(wrong.controls.size(), 1u);
  EXPECT_EQ(wrong.bodyTail, std::vector<std::string>{"    WS_DISABLED"});
  EXPECT_NE(dialogBlock(wrong, "DLG").find(notSyntax), std::string::npos);
  // A lone line feed does not end a line: such a CONTROL statement is kept as it stands too.
  const std::string loneFeed = " CONTROL \"\", 2, \"EDIT\", 0, 1, 2, 3,\n 4";
  EXPECT_EQ(controlStatement(onlyControl(loneFeed), kFixedBaseUnits), loneFeed);
}

// The block written after `edit` changed the model read from `body`.
std::string writtenAfter(std::string_view body, void (*edit)(DialogControl&)) {
  DialogModel dialog = readBody(body);
  for (DialogControl& c : dialog.controls) edit(c);
  return dialogBlock(dialog, "DLG");
}

TEST(ShortStatements, AChangedStatementKeepsItsFormAndTheTextOfItsOtherFields) {
  const struct {
    const char* what;
    const char* in;
    void (*edit)(DialogControl&);
    const char* out;
  } rows[] = {
      {"moved: only x and y", "  LTEXT  \"Nome:\",IDC_NOME,XS,5,40,8 // etichetta",
       [](DialogControl& c) {
         c.rect.x += 9;
         c.rect.y += 8;
       },
       "  LTEXT  \"Nome:\",IDC_NOME,5,10,40,8 // etichetta"},
      {"resized: only cx and cy, also over two lines",
       "  PUSHBUTTON \"OK\", IDOK,\r\n    5, 20, 50, 14, NOT WS_TABSTOP",
       [](DialogControl& c) {
         c.rect.width += 17;
         c.rect.height += 16;
       },
       "  PUSHBUTTON \"OK\", IDOK,\r\n    5, 20, 60, 24, NOT WS_TABSTOP"},
      {"a combo box's height is its designed one", "  COMBOBOX IDC_C, 5, 5, 60, 80",
       [](DialogControl& c) { c.comboHeight = 100; }, "  COMBOBOX IDC_C, 5, 5, 60, 100"},
      {"text and id", "  CHECKBOX \"&Sì\", IDC_SI, 5, 5, 40, 10",
       [](DialogControl& c) {
         c.caption = "\"No\"";
         c.id = 7;
       },
       "  CHECKBOX \"\"\"No\"\"\", 7, 5, 5, 40, 10"},
      {"a style the statement can say: the terms besides its own style",
       "  EDITTEXT IDC_E, 5, 5, 40, 12",
       [](DialogControl& c) { *c.liveStyle = (*c.liveStyle | 0x80) & ~0x800000u; },
       "  EDITTEXT IDC_E, 5, 5, 40, 12, ES_AUTOHSCROLL | NOT WS_BORDER"},
      {"the style given keeps the terms that hold, and names the new bits",
       "  LTEXT \"a\", -1, 5, 5, 40, 8, SS_NOPREFIX | WS_DISABLED, WS_EX_RIGHT",
       [](DialogControl& c) { *c.liveStyle = (*c.liveStyle & ~0x08000000u) | 0x1000; },
       "  LTEXT \"a\", -1, 5, 5, 40, 8, SS_NOPREFIX | SS_SUNKEN, WS_EX_RIGHT"},
      {"a style of another kind: a CONTROL statement of the same meaning",
       "  PUSHBUTTON \"Vai\", IDC_VAI, 5, 5, 40, 14, WS_GROUP, WS_EX_STATICEDGE",
       [](DialogControl& c) { *c.liveStyle = (*c.liveStyle & ~0xFu) | 3; },
       " CONTROL \"Vai\", IDC_VAI, \"BUTTON\", BS_AUTOCHECKBOX | WS_CHILD | WS_VISIBLE | WS_GROUP "
       "| "
       "WS_TABSTOP, 5, 5, 40, 14, WS_EX_STATICEDGE"},
      {"an edit given a text", "  EDITTEXT IDC_E, 5, 5, 40, 12, ES_AUTOHSCROLL",
       [](DialogControl& c) { c.caption = "x"; },
       " CONTROL \"x\", IDC_E, \"EDIT\", ES_LEFT | ES_AUTOHSCROLL | WS_CHILD | WS_VISIBLE | "
       "WS_BORDER | WS_TABSTOP, 5, 5, 40, 12"},
      {"an icon moves but keeps its own size", "  ICON IDI_APP, -1, 5, 5",
       [](DialogControl& c) {
         c.rect.x += 9;
         c.rect.width += 40;
       },
       "  ICON IDI_APP, -1, 10, 5"},
      {"a placeholder moved", "  CONTROL \"\", 9, \"msctls_trackbar32\", TBS_BOTH, 5, 5, 80, 12",
       [](DialogControl& c) { c.rect.y += 16; },
       "  CONTROL \"\", 9, \"msctls_trackbar32\", TBS_BOTH, 5, 15, 80, 12"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(writtenAfter(row.in, row.edit), ownFormDialog(row.out));
    // What is written reads back as the model that was written.
    DialogModel changed = readBody(row.in);
    for (DialogControl& c : changed.controls) row.edit(c);
    const DialogModel again = readBody(row.out);
    ASSERT_EQ(again.controls.size(), 1u);
    EXPECT_EQ(again.controls[0].liveStyle, changed.controls[0].liveStyle);
    EXPECT_EQ(again.controls[0].id, changed.controls[0].id);
    if (liveClass(again.controls[0].live).receivesText) {
      EXPECT_EQ(again.controls[0].caption, changed.controls[0].caption);
    }
  }
}

TEST(ShortStatements, MovingEveryControlAStepAndBackWritesTheUnchangedBlock) {
  const std::string block = crlfLines({
      "IDD_PROVA DIALOGEX DISCARDABLE  0, 0, 186, 95",
      "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION",
      "CAPTION \"Prova\"",
      "FONT 8, \"MS Shell Dlg\", 0, 0, 0x1",
      "BEGIN",
      "    LTEXT           \"Nome:\",IDC_STATIC,7,9,30,8",
      "    EDITTEXT        IDC_NOME,40,7,80,14,ES_AUTOHSCROLL",
      "    GROUPBOX        \"Scelta\",IDC_STATIC,7,25,113,40",
      "    AUTORADIOBUTTON \"&Uno\",IDC_UNO,14,36,40,10,WS_GROUP",
      "    CONTROL         \"\",IDC_TRACK,\"msctls_trackbar32\",TBS_BOTH |",
      "                    WS_TABSTOP,14,50,100,12",
      "    ICON            IDI_APP,IDC_STATIC,140,10,20,20",
      "    DEFPUSHBUTTON   \"OK\",IDOK,129,74,50,14",
      "END",
  });
  const DialogReading r = readDialog(block);
  ASSERT_EQ(r.dialog.controls.size(), 7u);
  const std::string unchanged = dialogBlock(r.dialog, "IDD_PROVA");
  EXPECT_NE(unchanged.find(block.substr(block.find("BEGIN"))), std::string::npos);
  DialogModel dialog = r.dialog;
  for (DialogControl& c : dialog.controls) c.rect.x += 9, c.rect.y += 8;  // 5 units
  const std::string moved = dialogBlock(dialog, "IDD_PROVA");
  EXPECT_NE(moved.find("    LTEXT           \"Nome:\",IDC_STATIC,12,14,30,8"), std::string::npos);
  EXPECT_NE(moved.find("\"msctls_trackbar32\",TBS_BOTH |\r\n                    WS_TABSTOP,19,55"),
            std::string::npos);
  for (DialogControl& c : dialog.controls) c.rect.x -= 9, c.rect.y -= 8;
  EXPECT_EQ(dialogBlock(dialog, "IDD_PROVA"), unchanged);
}

}  // namespace
}  // namespace kolvre
