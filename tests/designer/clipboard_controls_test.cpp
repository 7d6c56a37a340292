// Copy and paste of controls as control lines.
#include "designer/clipboard_controls.h"

#include <gtest/gtest.h>

#include "designer/designer_fixture.h"

namespace kolvre {
namespace {

using namespace testing;

// --- copy and paste ---

TEST(DesignerPaste, ByKeyThreeControlsKeepTheirLayoutBesideTheCopied) {
  TestDesigner d(lines({button(101, 10, 10), button(102, 10, 20), button(103, 10, 40)}));
  for (DialogControl& c : d.model.controls) c.selected = true;
  d.designer.keyDown(key(DesignerKey::Insert), kCtrl);
  EXPECT_EQ(d.ui.clipboard, lines({button(101, 10, 10), button(102, 10, 20), button(103, 10, 40)}));
  d.designer.keyDown(key(DesignerKey::Insert), kShift);
  ASSERT_EQ(d.model.controls.size(), 6u);
  // Right of the copied ones, on the first grid column a grid step away, on their rows.
  EXPECT_EQ(d.at(3).rect.y, d.at(0).rect.y);
  EXPECT_EQ(d.at(4).rect.y, d.at(3).rect.y + 16);
  EXPECT_EQ(d.at(5).rect.y, d.at(3).rect.y + 48);
  EXPECT_EQ(d.at(3).rect.x, 97);
  EXPECT_GT(d.at(3).rect.x, d.at(0).rect.x + d.at(0).rect.width);
  EXPECT_EQ(d.at(3).id, 104);
  EXPECT_EQ(d.at(5).id, 106);
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(d.at(i).selected, i >= 3) << i;
  EXPECT_FALSE(d.designer.current());
  EXPECT_EQ(d.designer.undoSteps(), 1u);
}

TEST(DesignerPaste, ASingleControlBecomesCurrent) {
  TestDesigner d(button(101, 10, 10));
  d.dragControl(0, {d.at(0).rect.x + 1, d.at(0).rect.y + 1}, {});
  d.commands().copy();
  EXPECT_EQ(d.ui.clipboard, button(101, 10, 10));
  d.commands().paste(PixelPoint{60, 50});
  ASSERT_EQ(d.model.controls.size(), 2u);
  EXPECT_EQ(d.at(1).rect, (PixelRect{60, 50, 70, 23}));
  EXPECT_EQ(d.designer.current(), 1u);
  EXPECT_FALSE(d.at(1).selected);
  EXPECT_TRUE(handlesShown(d.designer));
  EXPECT_EQ(d.host.message, "Id: 102   x 34, y 31 \u2014 40 \u00d7 14");
}

TEST(DesignerPaste, ClassExtrasAndLinesThatAreNoControl) {
  TestDesigner d("");
  d.ui.clipboard =
      "CONTROL \"Scelta\", 7, \"BUTTON\", BS_AUTOCHECKBOX | WS_CHILD, 0, 0, 50, 10\n"
      "// commento\n"
      "\n"
      "FOO 1, 2\r\n"
      "CONTROL \"\", 8, \"LISTBOX\", WS_CHILD | WS_VSCROLL, 0, 20, 50, 40\r\n"
      "CONTROL \"\", IDC_LISTA, \"LISTBOX\", WS_CHILD, 0, 70, 50, 40";
  d.commands().paste(PixelPoint{0, 0});
  ASSERT_EQ(d.model.controls.size(), 3u);
  // A comment is no statement: nothing to say of it.
  EXPECT_EQ(d.ui.messageTexts(), (std::vector<std::string>{"Controllo FOO non supportato."}));
  EXPECT_TRUE(*d.at(0).liveStyle & styleNameValue("BS_LEFTTEXT"));
  EXPECT_TRUE(*d.at(1).liveStyle & styleNameValue("LBS_DISABLENOSCROLL"));
  EXPECT_EQ(d.at(0).id, 101);
  EXPECT_EQ(d.at(1).id, 102);
  EXPECT_NE(d.text().find("\"\", IDC_LISTA, \"LISTBOX\""), std::string::npos);
}

TEST(DesignerPaste, ALineABodyWouldReadAsTwoStatementsIsNoControl) {
  TestDesigner d(button(101, 10, 10));
  d.ui.clipboard = "CONTROL \"A\", 101, \"EDIT\", ES_LEFT LTEXT \"x\", -1, 5, 5, 20, 8";
  d.commands().paste(PixelPoint{0, 0});
  EXPECT_EQ(d.model.controls.size(), 1u);
  EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{"Controllo CONTROL non supportato."});
}

TEST(DesignerPaste, ACommentRunningOnPastALineEndTakesItsStatementAlong) {
  // A fuzz finding: the first statement's lines end inside a comment that the next line closes.
  // Pasted alone they left the comment open over the body's end, and the dialog written did not
  // read back. Such a statement is no control (the one after the comment is one); a lone CR
  // ends a line as CR LF does.
  TestDesigner d(button(101, 10, 10));
  d.ui.clipboard =
      "LTEXT \"a\", -1, 5, 5, 20, 8 /* goes\r on */ LTEXT \"b\", -1, 5, 15, 20, 8\r"
      "LTEXT \"c\", -1, 5, 25, 20, 8\rLTEXT \"d\", -1, 5, 35, 20, 8";
  d.commands().paste(PixelPoint{0, 0});
  ASSERT_EQ(d.model.controls.size(), 4u);
  EXPECT_EQ(d.at(1).caption, "b");  // after the comment, on the comment's last line
  EXPECT_EQ(d.at(2).caption, "c");
  EXPECT_EQ(d.at(3).caption, "d");
  const DialogReading back = readDialog(d.text());
  ASSERT_EQ(back.failure, DialogFailure::None);
  EXPECT_EQ(back.dialog.controls.size(), 4u);
}

TEST(DesignerPaste, AnEmptyClipboardPastesNothing) {
  TestDesigner d(button(101, 10, 10));
  d.commands().paste(PixelPoint{0, 0});
  EXPECT_EQ(d.model.controls.size(), 1u);
  EXPECT_EQ(d.designer.undoSteps(), 0u);
}

TEST(DesignerPaste, ShortStatementsPasteInTheirOwnFormAndACutLineIsNoControl) {
  TestDesigner d(button(101, 10, 10));
  d.ui.clipboard =
      "LTEXT \"Nome:\", -1, 5, 5, 40, 8\r\n"
      "\tEDITTEXT IDC_NOME, 50, 5, 80, 12, ES_AUTOHSCROLL\r\n"
      "PUSHBUTTON \"Vai\", IDC_VAI,\r\n    5, 60, 40, 14\r\n"
      // A statement cut short goes on in the next line; a comment left open would take in the
      // body's end: no control.
      "CONTROL \"A\", 103, \"EDIT\", ES_LEFT | WS_CHILD, 5, 30, 50,\r\n"
      "LTEXT \"x\", -1, 5, 5, 20, 8 /* commento";
  d.commands().paste(PixelPoint{0, 0});
  ASSERT_EQ(d.model.controls.size(), 4u);
  EXPECT_EQ(d.ui.messageTexts(), (std::vector<std::string>{"Controllo CONTROL non supportato."}));
  EXPECT_EQ(d.at(1).live, ControlClass::StaticText);
  EXPECT_EQ(d.at(2).live, ControlClass::Edit);
  // Written in their own form, at the place pasted, and read back as the same controls.
  const std::string written = d.text();
  EXPECT_NE(written.find(" LTEXT \"Nome:\", -1, 0, 0, 40, 8\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find(" EDITTEXT IDC_NOME, 45, 0, 80, 12, ES_AUTOHSCROLL\r\n"),
            std::string::npos)
      << written;
  // A statement over two lines pastes whole, in its lines.
  EXPECT_NE(written.find(" PUSHBUTTON \"Vai\", IDC_VAI,\r\n    0, 55, 40, 14\r\n"),
            std::string::npos)
      << written;
  EXPECT_EQ(readDialog(written).dialog.controls.size(), 4u);
}

}  // namespace
}  // namespace kolvre
