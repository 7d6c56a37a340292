#include "dialogs/dialog_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_test_blocks.h"
#include "dialogs/dialog_writer.h"
#include "document/resource_edits.h"
#include "document/scanner.h"

namespace kolvre {
namespace {

using testing::crlfLines;
using testing::ownFormDialog;

DialogReading readBody(std::string_view body) {
  return readDialog(ownFormDialog(body));
}

// The one control of a dialog whose body is `line`; fails the test when there is none.
DialogControl onlyControl(std::string_view line) {
  const DialogReading r = readBody(line);
  EXPECT_EQ(r.failure, DialogFailure::None);
  EXPECT_EQ(r.dialog.controls.size(), 1u) << line;
  return r.dialog.controls.empty() ? DialogControl{} : r.dialog.controls[0];
}

TEST(ReadDialog, ControlTextWithCommaAndDoubledQuotesQuotedOrBareClass) {
  for (const char* cls : {"\"BUTTON\"", "BUTTON", "\"button\""}) {
    const DialogControl c = onlyControl(std::string(" CONTROL \"a, \"\"b\"\"\", 101, ") + cls +
                                        ", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE, 5, 5, 50, 14");
    EXPECT_EQ(c.live, ControlClass::Button) << cls;
    EXPECT_EQ(c.caption, "a, \"b\"");
    EXPECT_EQ(c.id, 101);
    EXPECT_EQ(c.liveStyle, 0x50000000u);
    EXPECT_EQ(c.rect, (PixelRect{9, 8, 88, 23}));  // 8.75, 8.125, 87.5, 22.75
    EXPECT_FALSE(c.selected);
  }
}

// A quote escaped with a backslash does not end a control's text, nor does a comma after it.
TEST(ReadDialog, AnEscapedQuoteStaysInsideTheText) {
  const DialogControl c = onlyControl(" LTEXT \"x\\\", y\", 7, 5, 5, 50, 14");
  EXPECT_EQ(c.caption, "x\\\", y");
  EXPECT_EQ(c.id, 7);
  EXPECT_EQ(c.rect, (PixelRect{9, 8, 88, 23}));
}

TEST(ReadDialog, ClassTableChoosesTheLiveClassByClassAndStyle) {
  const struct {
    const char* cls;
    const char* style;
    ControlClass live;
    std::uint32_t liveStyle;
    bool dropDown;
  } rows[] = {
      {"BUTTON", "BS_AUTOCHECKBOX", ControlClass::CheckBox, 3, false},
      {"BUTTON", "BS_RADIOBUTTON", ControlClass::RadioButton, 4, false},
      {"BUTTON", "BS_AUTO3STATE", ControlClass::CheckBox, 6, false},
      {"BUTTON", "BS_GROUPBOX", ControlClass::GroupBox, 7, false},
      {"BUTTON", "BS_AUTORADIOBUTTON | WS_GROUP", ControlClass::RadioButton, 0x20009, false},
      {"BUTTON", "0x23", ControlClass::CheckBox, 0x23, false},  // the type bits alone count
      {"BUTTON", "2", ControlClass::Button, 2, false},          // BS_CHECKBOX
      {"BUTTON", "5", ControlClass::Button, 5, false},          // BS_3STATE
      {"BUTTON", "BS_DEFPUSHBUTTON", ControlClass::Button, 1, false},
      {"Edit", "ES_MULTILINE", ControlClass::MultiLineEdit, 4, false},
      {"EDIT", "ES_AUTOHSCROLL", ControlClass::Edit, 0x80, false},
      {"COMBOBOX", "CBS_DROPDOWN", ControlClass::ComboBox, 3, true},
      {"COMBOBOX", "CBS_DROPDOWNLIST", ControlClass::ComboBox, 3, false},
      {"COMBOBOX", "CBS_SORT", ControlClass::ComboBox, 0x101, true},
      {"LISTBOX", "LBS_NOTIFY", ControlClass::ListBox, 0x101, false},
      {"LISTBOX", "LBS_NOINTEGRALHEIGHT", ControlClass::ListBox, 0x100, false},
      {"RichEdit20A", "", ControlClass::RichEdit, 0, false},
      {"ScrollBar", "SBS_VERT", ControlClass::ScrollBar, 1, false},
      {"Static", "SS_CENTER", ControlClass::StaticText, 1, false},
      {"SysDateTimePick32", "WS_CHILD", ControlClass::DatePicker, 0x40000000, false},
      {"SysTabControl32", "WS_CHILD", ControlClass::TabControl, 0x40000000, false},
      {"SysTreeView32", "TVS_HASLINES", ControlClass::TreeView, 2, false},
      {"TBitmap", "0", ControlClass::Bitmap, 0, false},
      {"TBtnBmp", "0", ControlClass::BitmapButton, 0, false},
      {"TCBrowse", "0", ControlClass::ColumnBrowse, 0, false},
      {"TIcon", "0", ControlClass::Icon, 0, false},
      {"TImage", "0", ControlClass::Image, 0, false},
      {"TMeter", "0", ControlClass::Meter, 0, false},
      {"TWBrowse", "0", ControlClass::WindowBrowse, 0, false},
      {"TXBrowse", "0", ControlClass::ExtendedBrowse, 0, false},
  };
  for (const auto& row : rows) {
    const DialogControl c = onlyControl(std::string(" CONTROL \"t\", 1, \"") + row.cls + "\", " +
                                        row.style + ", 1, 2, 3, 4");
    EXPECT_EQ(c.live, row.live) << row.cls << " " << row.style;
    EXPECT_EQ(c.liveStyle, row.liveStyle) << row.cls << " " << row.style;
    EXPECT_EQ(c.dropDown, row.dropDown) << row.cls << " " << row.style;
    // Only the button family and STATIC show the script's text.
    EXPECT_EQ(c.caption.empty(), !liveClass(c.live).receivesText) << row.cls;
  }
}

TEST(ReadDialog, UnsupportedClassesArePlaceholdersKeptAsWrittenWithTheRightNotices) {
  const struct {
    const char* line;
    std::vector<std::string> notices;
    ControlClass live;
    const char* label;
    std::uint32_t compiled;
  } rows[] = {
      {" CONTROL \"\", 1, \"RichEdit20W\", ES_MULTILINE, 1, 2, 3, 4",
       {"Controllo RichEdit20W non supportato."},
       ControlClass::Placeholder,
       "RichEdit20W",
       0x50000004},
      {" CONTROL \"\", 1, msctls_progress32, WS_BORDER | NOT WS_VISIBLE, 1, 2, 3, 4",
       {"Stile non valido."},
       ControlClass::Placeholder,
       "msctls_progress32",
       0x40800000},
      // The style's notice stands for both.
      {" CONTROL \"\", 1, \"SysListView32\", LVS_REPORT | NOT WS_DISABLED, 1, 2, 3, 4",
       {"Stile non valido."},
       ControlClass::Placeholder,
       "SysListView32",
       0x50000001},
      // A text that is not quoted names an image: kept, so that it stays a name.
      {" CONTROL IDB_LOGO, -1, \"STATIC\", SS_ICON, 1, 2, 3, 4",
       {},
       ControlClass::StaticText,
       "IDB_LOGO",
       0x50000003},
  };
  for (const auto& row : rows) {
    const DialogReading r = readBody(row.line);
    ASSERT_EQ(r.dialog.controls.size(), 1u) << row.line;
    const DialogControl& c = r.dialog.controls[0];
    EXPECT_EQ(c.live, row.live) << row.line;
    EXPECT_EQ(c.caption, row.label);
    EXPECT_EQ(c.compiledStyle, row.compiled) << row.line;
    EXPECT_EQ(c.rect, (PixelRect{2, 3, 5, 7}));
    EXPECT_EQ(r.notices, row.notices) << row.line;
    EXPECT_EQ(controlStatement(c, kFixedBaseUnits), row.line);
  }
}

TEST(ReadDialog, StatementsOutOfShapeStayAsWritten) {
  const struct {
    const char* line;
    std::vector<std::string> notices;
  } rows[] = {
      {" CONTROL \"x\", 1, \"BUTTON\", BS_PUSHBUTTON, 1, 2, 3", {}},  // a field short
      {"    LTEXT \"Nome:\", -1, 5, 5, 40", {}},
      {"    EDITTEXT IDC_X, 5, 5, , 12", {}},  // a field empty
      {"    ICON IDI_APP, -1, 5, 5, 20", {}},  // a width without a height
      {"    MENUITEM \"Esci\", 1", {}},
      {"// CONTROL \"x\", 1, \"BUTTON\", 0, 1, 2, 3, 4", {}},
  };
  for (const auto& row : rows) {
    const DialogReading r = readBody(row.line);
    ASSERT_EQ(r.failure, DialogFailure::None) << row.line;
    EXPECT_TRUE(r.dialog.controls.empty()) << row.line;
    EXPECT_EQ(r.dialog.bodyTail, std::vector<std::string>{row.line});
    EXPECT_EQ(r.notices, row.notices) << row.line;
  }
}

TEST(ReadDialog, InvalidControlStyleKeepsItsTextAndTheDefaultsForClassAndAdjustment) {
  const DialogControl button = onlyControl(
      " CONTROL \"x\", 1, \"BUTTON\", BS_AUTOCHECKBOX | "
      "MY_STYLE, 1, 2, 3, 4");
  EXPECT_EQ(button.live, ControlClass::Button);  // the default style is a push button's
  EXPECT_EQ(button.liveStyle, std::nullopt);
  EXPECT_EQ(controlStatement(button, kFixedBaseUnits),
            " CONTROL \"x\", 1, \"BUTTON\", BS_AUTOCHECKBOX | MY_STYLE, 1, 2, 3, 4");

  const DialogControl combo =
      onlyControl(" CONTROL \"\", 1, \"COMBOBOX\", IDS_SIMPLE | WS_TABSTOP, 1, 2, 3, 40");
  EXPECT_EQ(combo.liveStyle, kDefaultControlStyle + 1);
  EXPECT_TRUE(combo.dropDown);
  const DialogControl list = onlyControl(" CONTROL \"\", 1, \"LISTBOX\", IDS_STRINGS, 1, 2, 3, 4");
  EXPECT_EQ(list.liveStyle, kDefaultControlStyle | 0x100);
}

TEST(ReadDialog, IdsAndCoordinatesKeepTheTextOfAnythingButAPlainNumber) {
  const struct {
    const char* field;
    int value;
    bool kept;
  } rows[] = {
      {"101", 101, false},
      {"-1", -1, false},
      {"0", 0, false},
      // Anything else reads as the expression it is, an unknown name as 0, 010 in octal.
      {"IDOK", 1, true},
      {"IDC_X + 1", 1, true},
      {"0x10", 16, true},
      {"007", 7, true},
      {"010", 8, true},
      {"+5", 5, true},
      {"-0", 0, true},
      {"-32768", -32768, false},
      {"32768", -32768, true},  // 16 bits, as compiled
      {"70000", 4464, true},
      {"5 + 3", 8, true},
  };
  for (const auto& row : rows) {
    const DialogControl c = onlyControl(std::string(" CONTROL \"\", ") + row.field +
                                        ", \"BUTTON\", 0, " + row.field + ", 0, 0, 0");
    EXPECT_EQ(c.id, row.value) << row.field;
    EXPECT_EQ(c.idAsWritten.has_value(), row.kept) << row.field;
    EXPECT_EQ(c.coordinates[0].has_value(), row.kept) << row.field;
    EXPECT_EQ(c.rect.x, duToPixelsX(row.value, kFixedBaseUnits)) << row.field;
    if (row.kept) {
      EXPECT_EQ(*c.idAsWritten, (KeptText<int>{row.field, row.value}));
    }
  }
}

TEST(ReadDialog, ControlStatementsOverSeveralLinesTabsAndFieldsAfterCy) {
  const DialogControl tree = onlyControl(crlfLines({
      " CONTROL \"Tree1\",IDD_TREEVIEW,\"SysTreeView32\",",
      " \tTVS_HASBUTTONS | TVS_HASLINES |",
      "\tWS_BORDER | WS_TABSTOP,",
      "\t4, 40, 180, 120",
  }));
  EXPECT_EQ(tree.live, ControlClass::TreeView);
  EXPECT_EQ(tree.liveStyle, 0x810003u);
  EXPECT_EQ(tree.rect, toPixels(DialogUnitRect{4, 40, 180, 120}, kFixedBaseUnits));

  const DialogControl split = onlyControl(crlfLines({
      "    CONTROL \"Auto\",IDC_A,\"Button\",BS_AUTOCHECKBOX",
      "                    | WS_TABSTOP,7,77,236,10, WS_EX_CLIENTEDGE, 42",
  }));
  EXPECT_EQ(split.live, ControlClass::CheckBox);
  EXPECT_EQ(split.tail, ", WS_EX_CLIENTEDGE, 42");

  // Tabs between the fields are blanks; a tab inside a text is the text's own.
  const DialogControl tabs =
      onlyControl("\tCONTROL\t\"a\tb\",\t7,\t\"BUTTON\",\tBS_PUSHBUTTON,\t1,\t2,\t3,\t4");
  EXPECT_EQ(tabs.caption, "a\tb");
  EXPECT_EQ(tabs.id, 7);
}

TEST(ReadDialog, CommentsAndBlankLinesStayBeforeTheControlThatFollows) {
  const DialogReading r = readBody(crlfLines({
      "    // Nome:",
      "",
      "/* CONTROL \"in a comment\", 1, \"BUTTON\", 0, 1, 2, 3, 4",
      "   still the comment */",
      "#ifdef EXTRA",
      " CONTROL \"x\", 1, \"BUTTON\", BS_PUSHBUTTON, 1, 2, 3, 4",
      "#endif",
  }));
  ASSERT_EQ(r.dialog.controls.size(), 1u);
  EXPECT_EQ(r.dialog.controls[0].linesBefore,
            (std::vector<std::string>{"    // Nome:", "",
                                      "/* CONTROL \"in a comment\", 1, \"BUTTON\", 0, 1, 2, 3, 4",
                                      "   still the comment */", "#ifdef EXTRA"}));
  EXPECT_EQ(r.dialog.bodyTail, std::vector<std::string>{"#endif"});
  EXPECT_TRUE(r.notices.empty());
}

TEST(ReadDialog, HeaderNumbersWithMemoryOptionsBlanksAndTabs) {
  const struct {
    const char* header;
    std::vector<std::string> options;
    DialogUnitRect units;
    std::string tail;
  } rows[] = {
      {"D DIALOG 1, 2, 3, 4", {}, {1, 2, 3, 4}, ""},
      {"D DIALOG 1,2,3,4", {}, {1, 2, 3, 4}, ""},
      {"D DIALOG 1 , 2 ,3 ,  4", {}, {1, 2, 3, 4}, ""},
      {"D DIALOG\t1,\t2, 3, 4", {}, {1, 2, 3, 4}, ""},
      {"D DIALOG DISCARDABLE 0, 0, 186, 95", {"DISCARDABLE"}, {0, 0, 186, 95}, ""},
      {"D DIALOG LOADONCALL MOVEABLE discardable  15, 40, 188, 192",
       {"LOADONCALL", "MOVEABLE", "discardable"},
       {15, 40, 188, 192},
       ""},
      {"D DIALOGEX 1, 2, 3, 4, 77", {}, {1, 2, 3, 4}, ", 77"},
      {"D DIALOG -5, 65535, 3, XS + 4", {}, {-5, -1, 3, 4}, ""},  // an unknown name reads as 0
      // A lone line feed inside the header line separates words as a blank does.
      {"D DIALOG LOADONCALL \n\nDISCARDABLE 0,0 , 3, 4",
       {"LOADONCALL", "DISCARDABLE"},
       {0, 0, 3, 4},
       ""},
  };
  for (const auto& row : rows) {
    const DialogReading r =
        readDialog(crlfLines({row.header, "STYLE WS_POPUP", "{", "}"}), DialogMode::Designer);
    ASSERT_EQ(r.failure, DialogFailure::None) << row.header;
    EXPECT_EQ(r.dialog.memoryOptions, row.options) << row.header;
    EXPECT_EQ(dialogUnits(r.dialog.rect, kFixedBaseUnits, r.dialog.styleAsRead, r.dialog.mode),
              row.units)
        << row.header;
    EXPECT_EQ(r.dialog.headerTail, row.tail) << row.header;
  }
}

TEST(ReadDialog, BlocksThatCannotBeReadSayWhy) {
  const struct {
    std::string block;
    DialogFailure failure;
  } rows[] = {
      {crlfLines({"D DIALOG 1, 2, 3", "{", "}"}), DialogFailure::NoHeaderNumbers},
      {crlfLines({"D DIALOG", "{", "}"}), DialogFailure::NoHeaderNumbers},
      {crlfLines({"D DIALOG 1, , 3, 4", "{", "}"}), DialogFailure::NoHeaderNumbers},
      {"#define DIALOG_OK \"OK\"", DialogFailure::NoHeaderNumbers},
      {crlfLines({"D DIALOG 1, 2, 3, 4", "STYLE WS_POPUP"}), DialogFailure::NoBody},
      {crlfLines({"D DIALOG 1, 2, 3, 4", "BEGIN", " CONTROL \"\", 1, \"BUTTON\", 0, 1, 2, 3, 4"}),
       DialogFailure::NoBody},
      {crlfLines({"D DIALOG 1, 2, 3, 4", "{", ""}), DialogFailure::NoBody},
      {crlfLines({"D DIALOG 1, 2, 3, 4 {", " CONTROL \"\", 1, \"BUTTON\", 0, 1, 2, 3, 4"}),
       DialogFailure::NoBody},
      // A header cut short before the body, or a comment, is no header.
      {crlfLines({"D DIALOG 1, 2, 3, 4,", "{", "}"}), DialogFailure::NoHeaderNumbers},
      {crlfLines({"/*D DIALOG 1, 2, 3, 4", "*/", "{", "}"}), DialogFailure::NoHeaderNumbers},
      // A string left open on the last line runs on over the body's end.
      {crlfLines({"D DIALOG 1, 2, 3, 4", "{", " CONTROL \"unterminated, 1 }"}),
       DialogFailure::NoBody},
  };
  for (const auto& row : rows) {
    const DialogReading r = readDialog(row.block);
    EXPECT_EQ(r.failure, row.failure) << row.block;
    EXPECT_FALSE(dialogFailureText(r.failure).empty());
  }
}

// A string left open on a line inside the body ends with its line: the body's end on a later
// line still closes the dialog.
TEST(ReadDialog, AStringLeftOpenOnItsLineEndsThere) {
  const DialogReading r = readDialog(crlfLines(
      {"D DIALOG 1, 2, 3, 4", "{", " CONTROL \"unterminated, 1, \"BUTTON\", 0, 1, 2, 3, 4",
       " LTEXT \"b\", 2, 1, 2, 3, 4", "}"}));
  ASSERT_EQ(r.failure, DialogFailure::None);
  // The line that does not read as a control is kept as written before the next one.
  ASSERT_EQ(r.dialog.controls.size(), 1u);
  ASSERT_EQ(r.dialog.controls[0].linesBefore.size(), 1u);
  EXPECT_NE(r.dialog.controls[0].linesBefore[0].find("\"unterminated"), std::string::npos);
}

TEST(ReadDialog, AnEmptyBodyIsAnEmptyDialogOfTheStatedSize) {
  const DialogReading r = readDialog(
      crlfLines({"D DIALOG 0, 0, 300, 300", "STYLE DS_MODALFRAME | WS_POPUP", "{", "}"}));
  ASSERT_EQ(r.failure, DialogFailure::None);
  EXPECT_TRUE(r.dialog.controls.empty());
  // 525 + 2 frames wide, 488 (487.5) + 2 frames + a caption bar high.
  EXPECT_EQ(r.dialog.rect, (PixelRect{-4, -1, 533, 518}));
}

TEST(ReadDialog, PlacementTableByStyleAndMode) {
  const struct {
    const char* style;
    DialogMode mode;
    PixelRect rect;
    std::uint32_t live;
  } rows[] = {
      // x 10, y 20, cx 100 (175 px), cy 50 (81.25 px).
      {"WS_POPUP", DialogMode::Preview, {6, 19, 183, 111}, 0x80C40000},
      {"WS_POPUP", DialogMode::Designer, {6, 19, 183, 111}, 0x80C40000},
      {"WS_CHILD", DialogMode::Designer, {10, -3, 183, 111}, 0xC0C40000},
      {"WS_CHILD", DialogMode::Preview, {14, 24, 175, 81}, 0x40000000},
  };
  for (const auto& row : rows) {
    const DialogReading r = readDialog(
        crlfLines({"D DIALOG 10, 20, 100, 50", std::string("STYLE ") + row.style, "{", "}"}),
        row.mode);
    EXPECT_EQ(r.dialog.rect, row.rect) << row.style;
    EXPECT_EQ(r.dialog.liveStyle, row.live) << row.style;
    EXPECT_EQ(dialogUnits(r.dialog.rect, kFixedBaseUnits, r.dialog.styleAsRead, row.mode),
              (DialogUnitRect{10, 20, 100, 50}));
  }
}

TEST(ReadDialog, CaptionIsTheFirstCaptionStatementOfTheHeader) {
  const struct {
    std::vector<std::string> header;
    std::string title;
  } rows[] = {
      {{"STYLE WS_POPUP", "CAPTION \"Titolo\""}, "Titolo"},
      {{"STYLE WS_POPUP", "EXSTYLE WS_EX_TOOLWINDOW", "CAPTION \"Titolo\""}, "Titolo"},
      {{"// note", "STYLE WS_POPUP", "FONT 8, \"Arial\"", "CAPTION \"Titolo\""}, "Titolo"},
      {{"CAPTION IDS_X", "CAPTION \"Secondo\""}, "Secondo"},
      {{"STYLE WS_POPUP |", "    WS_CAPTION", "CAPTION \"Titolo\""}, "Titolo"},
      {{"STYLE WS_POPUP", "CAPTION \"a \"\"b\"\"\""}, "a \"\"b\"\""},  // doubled quotes kept
      // A quote escaped with a backslash, read as the lexer reads it (windres takes it).
      {{"STYLE WS_POPUP", "CAPTION \"a\\\"b\""}, "a\\\"b"},
      {{"STYLE WS_POPUP", "CAPTION\t\"Tab\""}, "Tab"},
      // A comment after the text is no part of it.
      {{"STYLE WS_POPUP", "CAPTION \"a\" // commento"}, "a"},
      {{"STYLE WS_POPUP", "CAPTION /* titolo */ \"b\""}, "b"},
      // A control line inside a comment is no control.
      {{"STYLE WS_POPUP", "/*", "CAPTION \"c\"", "*/", "CAPTION \"d\""}, "d"},
      {{"STYLE WS_POPUP", "CAPTION IDS_TITLE"}, ""},
  };
  for (const auto& row : rows) {
    std::string block = "D DIALOG 0, 0, 10, 10";
    for (const std::string& line : row.header) block += "\r\n" + line;
    block += "\r\n{\r\n}";
    const DialogReading r = readDialog(block);
    EXPECT_EQ(r.dialog.title, row.title) << block;
  }
}

TEST(ReadDialog, FontSizeFaceAndTheFieldsAfterIt) {
  const DialogReading plain = readDialog(
      crlfLines({"D DIALOG 0, 0, 10, 10", "STYLE 0", "FONT 12, \"MS Sans Serif\"", "{", "}"}));
  EXPECT_EQ(plain.dialog.fontSize, 12);
  EXPECT_EQ(plain.dialog.faceName, "MS Sans Serif");
  EXPECT_TRUE(plain.dialog.fontStatement);
  const DialogReading ex = readDialog(
      crlfLines({"D DIALOGEX 0, 0, 10, 10", "STYLE 0", "CAPTION \"x\"", "EXSTYLE WS_EX_TOPMOST",
                 "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1", "{", "}"}));
  EXPECT_EQ(ex.dialog.fontSize, 8);
  EXPECT_EQ(ex.dialog.faceName, "MS Shell Dlg");
  EXPECT_EQ(ex.dialog.fontTail, ", 400, 0, 0x1");
  const DialogReading none = readDialog(crlfLines({"D DIALOG 0, 0, 10, 10", "STYLE 0", "{", "}"}));
  EXPECT_FALSE(none.dialog.fontStatement);
  EXPECT_EQ(none.dialog.fontSize, 0);
}

TEST(ReadDialog, InvalidOrMissingDialogStyleTakesTheDefaultAndKeepsTheStatement) {
  const DialogReading invalid = readDialog(crlfLines(
      {"D DIALOG 0, 0, 10, 10", "STYLE DS_FONT | WS_POPUP |", "    WS_CAPTION", "{", "}"}));
  EXPECT_EQ(invalid.dialog.styleAsRead, kDefaultDialogStyle);
  EXPECT_EQ(invalid.notices, std::vector<std::string>{"Stile non valido: DS_FONT."});
  ASSERT_TRUE(invalid.dialog.style);
  EXPECT_EQ(invalid.dialog.style->text, "STYLE DS_FONT | WS_POPUP |\r\n    WS_CAPTION");
  const DialogReading missing = readDialog(crlfLines({"D DIALOG 0, 0, 10, 10", "{", "}"}));
  EXPECT_EQ(missing.dialog.styleAsRead, kDefaultDialogStyle);
  EXPECT_TRUE(missing.notices.empty());
  EXPECT_EQ(parseStyle("DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU"), kDefaultDialogStyle);
}

TEST(ReadDialog, BracesInTextsDoNotEndTheDialogFoundInTheScript) {
  const std::string script = crlfLines({
      "A DIALOG 0, 0, 100, 100",
      "STYLE WS_POPUP",
      "CAPTION \"a } b\"",
      "{",
      " CONTROL \"}\", 1, \"BUTTON\", BS_PUSHBUTTON, 1, 2, 3, 4",
      " CONTROL \"{ x }\", 2, \"BUTTON\", BS_PUSHBUTTON, 1, 2, 3, 4",
      "}",
      "",
      "B DIALOG 0, 0, 10, 10",
      "BEGIN",
      " CONTROL \"x\", 3, \"STATIC\", SS_LEFT, 1, 2, 3, 4",
      "END",
      "",
      "MENU1 MENU",
      "BEGIN",
      "END",
  });
  const ResourceIndex index = indexResources(script, ListedKinds::CreatableOnly);
  ASSERT_EQ(index.size(), 2u);
  const auto a = entryBlock(script, index, 0);
  const DialogReading ra = readDialog(a->of(script));
  EXPECT_EQ(ra.dialog.title, "a } b");
  EXPECT_EQ(ra.dialog.controls.size(), 2u);
  EXPECT_EQ(ra.dialog.blockLength, a->end - a->begin);
  // The BEGIN/END dialog ends at its END; the menu after it is not the dialog's.
  const auto b = entryBlock(script, index, 1);
  const DialogReading rb = readDialog(b->of(script));
  EXPECT_EQ(rb.dialog.controls.size(), 1u);
  EXPECT_EQ(rb.dialog.bodyOpen, "BEGIN");
  EXPECT_EQ(rb.dialog.bodyClose, "END");
  EXPECT_TRUE(b->of(script).substr(0, rb.dialog.blockLength).ends_with("\r\nEND"));
  EXPECT_EQ(dialogBlockLength(b->of(script)), rb.dialog.blockLength);
}

TEST(ReadDialog, CompactBodiesAndHeadersAreReadAndComeBackAsWritten) {
  const struct {
    const char* block;
    std::size_t controls;
    const char* title;
  } rows[] = {
      {"Empty DIALOGEX 2, 3, 4, 5 {}", 0, ""},
      {"D DIALOG 0, 0, 100, 50\r\nCAPTION \"x\" {\r\n  LTEXT \"a\", 1, 2, 3, 4, 5\r\n}", 1, "x"},
      {"D DIALOG 0, 0, 100, 50\r\nSTYLE WS_POPUP\r\nBEGIN END", 0, ""},
      {"D DIALOG 0,0,100,50 STYLE WS_POPUP CAPTION \"t\" FONT 8, \"Tahoma\" { PUSHBUTTON \"OK\", "
       "1, 2, 3, 4, 5 CONTROL \"b\", 2, \"BUTTON\", 0, 1, 2, 3, 4 }",
       2, "t"},
      {"D DIALOG 1, 2, // x\r\n /* y */ 3, 4\r\nBEGIN LTEXT \"a\", 1, 2, 3, 4, 5 END", 1, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.block);
    const std::string block = std::string(row.block) + " NEXT DIALOG 0, 0, 1, 1 {}";
    const DialogReading r = readDialog(block);
    ASSERT_EQ(r.failure, DialogFailure::None);
    EXPECT_EQ(r.dialog.controls.size(), row.controls);
    EXPECT_EQ(r.dialog.title, row.title);
    EXPECT_EQ(r.dialog.blockLength, std::string_view(row.block).size());
    EXPECT_EQ(dialogBlockLength(block), r.dialog.blockLength);
    const std::string name(
        std::string_view(row.block).substr(0, std::string_view(row.block).find(' ')));
    EXPECT_EQ(dialogBlock(r.dialog, name), row.block);
  }
  // Changed, a compact dialog keeps its lines: only what changed is written again.
  DialogModel moved = readDialog(rows[3].block).dialog;
  moved.controls[0].rect.x += 20;
  std::string expected = rows[3].block;
  expected.replace(expected.find("1, 2, 3, 4, 5"), 13, "1, 14, 3, 4, 5");
  EXPECT_EQ(dialogBlock(moved, "D"), expected);
  // A statement added or taken away stands on lines of its own; the rest stays as written.
  DialogModel titled = readDialog(rows[2].block).dialog;
  titled.title = "T";
  EXPECT_EQ(dialogBlock(titled, "D"),
            "D DIALOG 0, 0, 100, 50\r\nSTYLE WS_POPUP\r\nCAPTION \"T\"\r\nBEGIN END");
  titled = readDialog(rows[3].block).dialog;
  titled.title.clear();
  EXPECT_EQ(
      dialogBlock(titled, "D"),
      "D DIALOG 0,0,100,50 STYLE WS_POPUP FONT 8, \"Tahoma\" { PUSHBUTTON \"OK\", 1, 2, 3, 4, 5 "
      "CONTROL \"b\", 2, \"BUTTON\", 0, 1, 2, 3, 4 }");
  DialogModel added = readDialog(rows[0].block).dialog;
  added.controls.push_back(readDialog(rows[1].block).dialog.controls[0]);
  const std::string written = dialogBlock(added, "Empty");
  EXPECT_EQ(readDialog(written).dialog.controls.size(), 1u) << written;
}

// The reader reads the dialog as the syntax tree reads it: where a statement ends is the
// grammar's business, not the lines'; comments are trivia wherever they stand.
TEST(ReadDialog, StatementsEndWhereTheGrammarEndsThemNotWhereTheirLinesDo) {
  // Header numbers on the line after the type; a comment after them and inside the fields.
  const std::string block = crlfLines({
      "D DIALOG DISCARDABLE",
      "    0, 0, /* wide */ 200, 100 // x",
      "STYLE WS_POPUP /* c */ | WS_CAPTION",
      "CAPTION \"Folder\" //comment",
      "FONT 8, /* face */ \"MS Shell Dlg\"",
      "BEGIN // y",
      "  LTEXT \"a\", /* id */ 1, 2, 3, 4, 5",
      "  CONTROL \"b\", 2, \"Button\",",
      "     // its style",
      "     BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4",
      "#if 0",
      "  EDITTEXT 3, 1, 2, 3, 4, NOT WS_BORDER",
      "#endif",
      "END",
  });
  const DialogReading r = readDialog(block);
  ASSERT_EQ(r.failure, DialogFailure::None) << r.notices.size();
  const DialogModel& d = r.dialog;
  EXPECT_EQ(d.memoryOptions, std::vector<std::string>{"DISCARDABLE"});
  EXPECT_EQ(dialogUnits(d.rect, kFixedBaseUnits, d.styleAsRead, d.mode),
            (DialogUnitRect{0, 0, 200, 100}));
  EXPECT_EQ(d.styleAsRead, styleNameValue("WS_POPUP") | styleNameValue("WS_CAPTION"));
  EXPECT_EQ(r.styleText, "WS_POPUP | WS_CAPTION");
  EXPECT_EQ(d.title, "Folder");
  EXPECT_EQ(d.fontSize, 8);
  EXPECT_EQ(d.faceName, "MS Shell Dlg");
  ASSERT_EQ(d.controls.size(), 3u);
  EXPECT_EQ(d.controls[0].id, 1);
  EXPECT_EQ(d.controls[1].live, ControlClass::CheckBox);
  // A comment line inside a statement stays inside it.
  EXPECT_EQ(d.controls[1].statement->text,
            "  CONTROL \"b\", 2, \"Button\",\r\n     // its style\r\n"
            "     BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4");
  EXPECT_EQ(d.controls[2].linesBefore, std::vector<std::string>{"#if 0"});
  EXPECT_EQ(d.bodyTail, std::vector<std::string>{"#endif"});
  EXPECT_EQ(d.blockLength, block.size());
  // Stored unchanged, the block comes back byte for byte; a moved control changes its numbers.
  EXPECT_EQ(dialogBlock(d, "D"), block);
  DialogModel moved = d;
  moved.controls[0].rect.x += 7;
  const std::string written = dialogBlock(moved, "D");
  EXPECT_NE(written.find("  LTEXT \"a\", /* id */ 1, 6, 3, 4, 5\r\n"), std::string::npos)
      << written;
}

// A compact block is read in lines, its parts as the tree reads the block as written: a '#'
// that a line break would put first on its line stays text no statement reads, not a
// preprocessor line.
TEST(ReadDialog, ACompactBlockReadsAsWritten) {
  const std::string block = "D DIALOG 0, 0, 10, 10 { # x\r\n LTEXT \"a\", 1, 2, 3, 4, 5 }";
  const DialogReading r = readDialog(block + " Z ICON z.ico");
  ASSERT_EQ(r.failure, DialogFailure::None);
  EXPECT_EQ(r.dialog.blockLength, block.size());
  EXPECT_EQ(dialogBlockLength(block + " Z ICON z.ico"), block.size());
  ASSERT_EQ(r.dialog.controls.size(), 1u);
  EXPECT_EQ(r.dialog.controls[0].linesBefore, std::vector<std::string>{"# x"});
  EXPECT_EQ(dialogBlock(r.dialog, "D"), block);
}

TEST(ReadDialog, APastedLineReadsAsTheBodyReadsIt) {
  EXPECT_EQ(readStatementLine(" LTEXT \"a\", 1, 2, 3, 4, 5 // note", kFixedBaseUnits).kind,
            ControlReading::Kind::Control);
  EXPECT_EQ(
      readStatementLine(" LTEXT \"a\", 1, 2, 3, 4, 5", kFixedBaseUnits).control.statement->text,
      " LTEXT \"a\", 1, 2, 3, 4, 5");
  for (const char* line :
       {"", "// only a comment", " LTEXT \"a\", 1, 2,", "#if 0",
        " LTEXT \"a\", 1, 2, 3, 4, 5 LTEXT \"b\", 1, 2, 3, 4, 5", " LTEXT \"a\", 1, 2, 3, 4, 5 }"})
    EXPECT_EQ(readStatementLine(line, kFixedBaseUnits).kind, ControlReading::Kind::NotAControl)
        << line;
}

}  // namespace
}  // namespace kolvre
