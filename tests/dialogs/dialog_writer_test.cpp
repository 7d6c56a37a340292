#include "dialogs/dialog_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "dialog_test_blocks.h"
#include "dialogs/dialog_reader.h"
#include "document/document.h"
#include "document/resource_edits.h"
#include "document/templates.h"
#include "support/current_entry.h"

namespace kolvre {
namespace {

using testing::crlfLines;
using testing::ownFormDialog;

DialogModel read(std::string_view block) {
  const DialogReading r = readDialog(block);
  EXPECT_EQ(r.failure, DialogFailure::None) << block;
  return r.dialog;
}

// The block written back under its own name.
std::string rewritten(std::string_view block) {
  return dialogBlock(read(block), block.substr(0, block.find(' ')));
}

TEST(WriteDialog, TheNewDialogTemplateComesBackByteForByte) {
  const std::string block = resourceTemplate(ResourceType::Dialog, "DLG_NUOVO");
  EXPECT_EQ(dialogBlock(read(block), "DLG_NUOVO"), block);
}

TEST(WriteDialog, OneControlOfEachClassInTheWritersFormComesBackByteForByte) {
  const std::string block = ownFormDialog(crlfLines({
      " CONTROL \"&Premi \"\"qui\"\"\", 101, \"BUTTON\", BS_DEFPUSHBUTTON | WS_CHILD | "
      "WS_VISIBLE | WS_TABSTOP, 5, 5, 50, 14",
      " CONTROL \"Spunta\", 102, \"BUTTON\", BS_AUTOCHECKBOX | WS_CHILD | WS_VISIBLE | "
      "WS_TABSTOP, 5, 25, 60, 10",
      " CONTROL \"Scelta\", 103, \"BUTTON\", BS_AUTORADIOBUTTON | WS_CHILD | WS_VISIBLE, 5, 40, "
      "60, 10",
      " CONTROL \"Gruppo\", 104, \"BUTTON\", BS_GROUPBOX | WS_CHILD | WS_VISIBLE, 70, 5, 100, 60",
      " CONTROL \"\", 105, \"COMBOBOX\", CBS_DROPDOWN | WS_CHILD | WS_VISIBLE | WS_VSCROLL | "
      "WS_TABSTOP, 5, 70, 80, 60",
      " CONTROL \"\", 106, \"EDIT\", ES_LEFT | ES_AUTOHSCROLL | WS_CHILD | WS_VISIBLE | "
      "WS_BORDER | WS_TABSTOP, 5, 90, 80, 12",
      " CONTROL \"\", 107, \"EDIT\", ES_LEFT | ES_MULTILINE | WS_CHILD | WS_VISIBLE | WS_VSCROLL, "
      "5, 105, 80, 30",
      " CONTROL \"\", 108, \"LISTBOX\", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_CHILD | "
      "WS_VISIBLE | WS_BORDER | WS_VSCROLL, 90, 70, 60, 40",
      " CONTROL \"\", 109, \"RichEdit20A\", ES_LEFT | ES_MULTILINE | WS_CHILD | WS_VISIBLE, 90, "
      "115, 60, 20",
      " CONTROL \"\", 110, \"SCROLLBAR\", SBS_VERT | WS_CHILD | WS_VISIBLE, 180, 5, 10, 60",
      " CONTROL \"Etichetta\", -1, \"STATIC\", SS_RIGHT | WS_CHILD | WS_VISIBLE, 5, 140, 40, 8",
      " CONTROL \"\", 112, \"SysDateTimePick32\", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 50, 140, "
      "60, 12",
      " CONTROL \"\", 113, \"SysTabControl32\", WS_CHILD | WS_VISIBLE, 115, 140, 60, 40",
      " CONTROL \"\", 114, \"SysTreeView32\", TVS_HASBUTTONS | TVS_HASLINES | WS_CHILD | "
      "WS_VISIBLE | WS_BORDER, 5, 160, 60, 30",
      " CONTROL \"logo.bmp\", 115, \"TBitmap\", WS_CHILD | WS_VISIBLE, 70, 160, 20, 20",
      " CONTROL \"Vai\", 116, \"TBtnBmp\", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 95, 160, 20, 20",
      " CONTROL \"\", 117, \"TCBrowse\", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 195, 60, 30",
      " CONTROL \"icona\", 118, \"TIcon\", WS_CHILD | WS_VISIBLE, 120, 160, 20, 20",
      " CONTROL \"\", 119, \"TImage\", WS_CHILD | WS_VISIBLE | WS_BORDER, 145, 160, 20, 20",
      " CONTROL \"\", 120, \"TMeter\", WS_CHILD | WS_VISIBLE, 70, 195, 60, 10",
      " CONTROL \"\", 121, \"TWBrowse\", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 135, 195, 30, 30",
      " CONTROL \"\", 122, \"TXBrowse\", WS_CHILD | WS_VISIBLE | WS_HSCROLL, 170, 195, 25, 30",
  }));
  const DialogModel dialog = read(block);
  EXPECT_EQ(dialog.controls.size(), 22u);
  EXPECT_EQ(dialogBlock(dialog, "DLG"), block);
}

TEST(WriteDialog, AnUnchangedBlockComesBackByteForByte) {
  const struct {
    const char* what;
    std::string in;
  } rows[] = {
      {"header statements in their order, spacing of the numbers, the block's own LANGUAGE, "
       "DIALOGEX, memory options, FONT fields after the face",
       crlfLines({"D DIALOGEX DISCARDABLE 0,0 , 100,50", "STYLE WS_POPUP",
                  "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN", "EXSTYLE WS_EX_TOOLWINDOW",
                  "CAPTION \"T\"", "  MENU IDM_MAIN", "FONT 9, \"Tahoma\", 700, 1, 0", "BEGIN",
                  "END"})},
      {"CLASS before FONT, and no LANGUAGE added where the block has none",
       crlfLines({"D DIALOG 0, 0, 100, 50", "STYLE WS_POPUP", "CAPTION \"T\"", "CLASS \"MyClass\"",
                  "FONT 8, \"MS Sans Serif\"", "{", "}"})},
      {"short forms, comments, blank lines and CONTROL statements as written",
       crlfLines({"D DIALOG LOADONCALL MOVEABLE DISCARDABLE  0, 0, 100, 50",
                  "STYLE DS_MODALFRAME | WS_POPUP", "FONT 8, \"MS Sans Serif\"", "  BEGIN",
                  "    LTEXT           \"Nome:\",-1,5,5,40,8", "    // campo",
                  "    CONTROL \"\",101,\"EDIT\",WS_BORDER,50,5,40,12", "",
                  "    PUSHBUTTON \"OK\",IDOK,5,20,50,14", "  END"})},
      {"symbolic id, expressions, a class's letter case, fields after cy",
       ownFormDialog("    CONTROL \"testo\",IDC_EDIT,\"Edit\",ES_AUTOHSCROLL | ES_NUMBER,XS,YS + "
                     "2,50,12,WS_EX_CLIENTEDGE")},
      {"a class that only begins with the table's name, and a bare class name",
       ownFormDialog(crlfLines({" CONTROL \"\",5,\"ComboBoxEx32\",CBS_DROPDOWNLIST,1,2,3,40",
                                " CONTROL \"x\",6,BUTTON_CLASS,BS_PUSHBUTTON,1,2,3,4"}))},
      {"control styles as numbers",
       ownFormDialog(crlfLines({" CONTROL \"b\", 1, \"BUTTON\", 0x08000000 | WS_CHILD, 1, 2, 3, 4",
                                " CONTROL \"o\", 2, \"BUTTON\", 11 | WS_CHILD, 1, 2, 3, 4"}))},
      {"a dialog style: WS_VISIBLE by its name, a number as a number",
       crlfLines({"D DIALOG 0, 0, 10, 10", "STYLE WS_POPUP | WS_VISIBLE | 0x4", "{", "}"})},
      {"a dialog style over two lines, and a blank caption",
       crlfLines({"D DIALOG 0, 0, 10, 10", "STYLE DS_SETFONT | WS_POPUP |", "\tWS_CAPTION",
                  "CAPTION \"\"", "{", "}"})},
      {"no STYLE and no FONT statement: none is added",
       crlfLines({"D DIALOG 0, 0, 10, 10", "CAPTION \"x\"", "{", "}"})},
      {"statements cut short where the header or the body ends, and a FONT without a face",
       crlfLines({"D DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "FONT 8", "EXSTYLE 1 |", "{",
                  " CONTROL \"x\", 1, \"BUTTON\", 0, 1, 2, 3, 4,", "}"})},
      {"header expressions and fields after cy",
       crlfLines({"D DIALOGEX XPOS, YPOS+10, 100, 50, IDH_HELP", "STYLE WS_POPUP", "{", "}"})},
  };
  for (const auto& row : rows) EXPECT_EQ(rewritten(row.in), row.in) << row.what;
}

TEST(WriteDialog, AChangedFieldIsRewrittenInPlace) {
  const std::string block =
      crlfLines({"D DIALOGEX 0,0 , 100,50 // kept", "  FONT 8,\"Tahoma\"", "STYLE WS_POPUP |",
                 "    WS_VISIBLE | WS_SYSMENU", "  CAPTION  \"Vecchio\"  // titolo", "{",
                 "    LTEXT \"a\",-1,5,5,40,8", "}"});
  DialogModel dialog = read(block);
  dialog.rect.width += 7;  // cx 104
  dialog.title = "Nuovo";
  dialog.styleAsRead &= ~styleNameValue("WS_SYSMENU");
  dialog.faceName = "Arial";
  EXPECT_EQ(dialogBlock(dialog, "D"),
            crlfLines({"D DIALOGEX 0,0 , 104,50 // kept", "  FONT 8,\"Arial\"", "STYLE WS_POPUP |",
                       "    WS_VISIBLE", "  CAPTION  \"Nuovo\"  // titolo", "{",
                       "    LTEXT \"a\",-1,5,5,40,8", "}"}));
  // A style written as a number stays one; a control the designer adds takes its neighbour's
  // indentation.
  dialog = read(crlfLines(
      {"D DIALOG 0, 0, 10, 10", "STYLE 0x80C80000", "{", "\tLTEXT \"a\",-1,5,5,40,8", "}"}));
  dialog.styleAsRead |= 0x10000;
  DialogControl added;
  added.live = ControlClass::StaticText;
  added.caption = "b";
  added.liveStyle = 0x50000000;
  dialog.controls.push_back(added);
  const std::string written = dialogBlock(dialog, "D");
  EXPECT_NE(written.find("\r\nSTYLE 0x80C90000\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("\r\n\tCONTROL \"b\""), std::string::npos) << written;
}

TEST(WriteDialog, ANewControlAmongShortStatementsIsOneWhereOneSaysIt) {
  DialogModel dialog = read(ownFormDialog("    LTEXT \"a\",-1,5,5,40,8"));
  const auto add = [&](ControlClass live, std::uint32_t style, std::string caption) {
    DialogControl c;
    c.live = live;
    c.caption = std::move(caption);
    c.id = 7;
    c.liveStyle = style;
    c.rect = toPixels(DialogUnitRect{1, 2, 30, 10}, kFixedBaseUnits);
    dialog.controls.push_back(c);
  };
  add(ControlClass::Button, 0x50010000, "OK");         // BS_PUSHBUTTON | WS_TABSTOP
  add(ControlClass::Button, 0x50010003, "Sì");         // BS_AUTOCHECKBOX | WS_TABSTOP
  add(ControlClass::Edit, 0x50810080, "");             // ES_AUTOHSCROLL | WS_BORDER | ...
  add(ControlClass::Button, 0x50000000, "senza tab");  // PUSHBUTTON implies WS_TABSTOP
  const std::string written = dialogBlock(dialog, "DLG");
  EXPECT_NE(written.find("\r\n    PUSHBUTTON \"OK\", 7, 1, 2, 30, 10\r\n"
                         "    AUTOCHECKBOX \"Sì\", 7, 1, 2, 30, 10\r\n"
                         "    EDITTEXT 7, 1, 2, 30, 10, ES_AUTOHSCROLL\r\n"
                         "    CONTROL \"senza tab\", 7, \"BUTTON\""),
            std::string::npos)
      << written;
  EXPECT_EQ(readDialog(written).dialog.controls.size(), 5u);
}

TEST(WriteDialog, StylesOfListBoxesAndComboBoxesComeBackAsWritten) {
  const struct {
    const char* cls;
    const char* in;
  } rows[] = {
      // The reader's LBS_NOINTEGRALHEIGHT is for the widget only; 0x4000 is LBS_NOSEL.
      {"LISTBOX", "LBS_NOTIFY | WS_CHILD"},
      {"LISTBOX", "LBS_WANTKEYBOARDINPUT | 0x4000"},
      {"COMBOBOX", "CBS_DROPDOWN | CBS_SORT"},
      {"COMBOBOX", "CBS_DROPDOWNLIST | WS_CHILD"},
      {"COMBOBOX", "0x1"},
      {"COMBOBOX", "WS_CHILD"},
  };
  for (const auto& row : rows) {
    const std::string line =
        std::string(" CONTROL \"\", 1, \"") + row.cls + "\", " + row.in + ", 1, 2, 3, 40";
    DialogModel dialog = read(ownFormDialog(line));
    ASSERT_EQ(dialog.controls.size(), 1u);
    EXPECT_EQ(controlStatement(dialog.controls[0], kFixedBaseUnits), line);
    // Moved, it keeps its style as written.
    dialog.controls[0].rect.x += 20;
    EXPECT_NE(controlStatement(dialog.controls[0], kFixedBaseUnits).find(row.in), std::string::npos)
        << row.in;
  }
}

TEST(WriteDialog, MovedOrResizedGetsPlainNumbersWhatIsUnchangedKeepsItsText) {
  DialogModel dialog = read(crlfLines({
      "D DIALOG XS, 10, 100, 50",
      "STYLE WS_POPUP",
      "CAPTION \"\"",
      "{",
      " CONTROL \"\", IDC_A, \"BUTTON\", BS_NOTIFY, X0, Y0 + 2, 50, 14",
      "}",
  }));
  ASSERT_EQ(dialog.controls.size(), 1u);
  dialog.rect.x += 10;     // 10 pixels to the right: x larger by 10
  dialog.rect.width += 7;  // 7 pixels wider: cx larger by 4
  dialog.title = "Nuovo";
  DialogControl& c = dialog.controls[0];
  c.rect.x = 9;       // x 5
  c.rect.width = 88;  // cx 50 (50.29)
  c.id = 7;
  c.liveStyle = 0x50000000;  // BS_NOTIFY taken away
  EXPECT_EQ(dialogBlock(dialog, "D"),
            crlfLines({"D DIALOG 10, 10, 104, 50", "STYLE WS_POPUP", "CAPTION \"Nuovo\"", "{",
                       " CONTROL \"\", 7, \"BUTTON\", 0, 5, Y0 + 2, 50, 14", "}"}));
}

TEST(WriteDialog, CaptionsKeepTheirQuotesAndBlankOnesAreLeftOut) {
  DialogModel dialog = read(
      crlfLines({"D DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "CAPTION \"a \"\"b\"\"\"", "{", "}"}));
  EXPECT_EQ(dialog.title, "a \"\"b\"\"");
  EXPECT_NE(dialogBlock(dialog, "D").find("\r\nCAPTION \"a \"\"b\"\"\"\r\n"), std::string::npos);
  dialog.title = "   ";
  EXPECT_EQ(dialogBlock(dialog, "D").find("CAPTION"), std::string::npos);
}

TEST(WriteDialog, DeletingAControlKeepsTheStatementsBeforeIt) {
  DialogModel dialog = read(ownFormDialog(crlfLines({
      "  // a",
      " CONTROL \"x\", 1, \"BUTTON\", BS_PUSHBUTTON, 1, 2, 3, 4",
      "  // b",
      " CONTROL \"y\", 2, \"BUTTON\", BS_PUSHBUTTON, 1, 2, 3, 4",
  })));
  removeControl(dialog, 1);
  removeControl(dialog, 0);
  EXPECT_TRUE(dialog.controls.empty());
  EXPECT_EQ(dialog.bodyTail, (std::vector<std::string>{"  // a", "  // b"}));
}

TEST(SaveDialog, ReplacesTheDialogOnlyAsOneUndoStep) {
  const std::string script = crlfLines({
      "A DIALOG 0,0,100,50",
      "STYLE WS_POPUP",
      "BEGIN",
      "  CONTROL \"x\",1,\"BUTTON\",BS_PUSHBUTTON,1,2,3,4",
      "END",
      "",
      "MENU1 MENU",
      "BEGIN",
      "  MENUITEM \"Esci\", 1",
      "END",
      "B DIALOG 0, 0, 10, 10",
      "{",
      "}",
      "",
  });
  Document doc;
  doc.load("", script);
  testing::CurrentEntry current(doc);
  const BlockExtent extent = *dialogExtent(doc.text(), doc.index(), 0);
  DialogReading reading = readDialog(extent.of(doc.text()));
  // Stored unchanged: nothing to do.
  EXPECT_FALSE(dialogEdit(doc.text(), doc.index(), 0, dialogBlock(reading.dialog, "A")));
  reading.dialog.title = "Titolo";
  const std::string block = dialogBlock(reading.dialog, "A");
  const auto edit = dialogEdit(doc.text(), doc.index(), 0, block);
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->label, "Modifica dialog");
  // The edit replaces what changed, not the block.
  ASSERT_EQ(edit->splices.size(), 1u);
  EXPECT_EQ(edit->splices[0].begin, edit->splices[0].end);
  EXPECT_EQ(edit->splices[0].inserted, "CAPTION \"Titolo\"\r\n");
  ASSERT_TRUE(doc.commit(*edit));
  const std::string after = doc.text();
  EXPECT_TRUE(after.starts_with(block + "\r\n\r\nMENU1 MENU\r\n"));
  EXPECT_TRUE(after.ends_with("END\r\nB DIALOG 0, 0, 10, 10\r\n{\r\n}\r\n"));
  EXPECT_EQ(current.row, 1);
  // Stored again unchanged: nothing to do.
  EXPECT_FALSE(dialogEdit(doc.text(), doc.index(), 0, block));
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.text(), script);
  EXPECT_FALSE(doc.canUndo());
}

}  // namespace
}  // namespace kolvre
