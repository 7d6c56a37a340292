// The designer session: when closing asks, what each answer does to the script and its history.
#include "dialogs/dialog_session.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_test_blocks.h"
#include "dialogs/dialog_writer.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;

// A script with a dialog not in the writer's own form (BEGIN/END, a short statement, an
// expression) between two other resources.
constexpr std::string_view kScript =
    "BEFORE ICON a.ico\r\n"
    "\r\n"
    "DLG DIALOG DISCARDABLE 10, 20, 200, 100\r\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
    "CAPTION \"Prova\"\r\n"
    "FONT 8, \"MS Sans Serif\"\r\n"
    "BEGIN\r\n"
    "    LTEXT \"Nome:\", -1, 5, 5, 40, 8\r\n"
    "    CONTROL \"OK\", IDOK, \"BUTTON\", BS_PUSHBUTTON | WS_TABSTOP, 5, 30, 50, 14\r\n"
    "END\r\n"
    "\r\n"
    "ZAFTER ICON z.ico\r\n";

class DesignerSession : public ::testing::Test {
 protected:
  void SetUp() override { doc.load("", std::string(kScript)); }
  std::size_t dialogPosition() const {
    return *findEntry(doc.index(), {"DLG", ResourceType::Dialog, 0});
  }
  // Runs the session; each opening of the designer applies the next change of `changes` to
  // the dialog it was given and closes as `how` says.
  bool session(std::vector<std::function<void(DialogModel&)>> changes,
               DesignerClose how = DesignerClose::Escape) {
    std::size_t opening = 0;
    return designDialog(ui, doc, dialogPosition(),
                        [&](const DialogModel& given, const MayCloseDesigner&) {
                          opened.push_back(given);
                          DialogModel left = given;
                          if (opening < changes.size()) changes[opening](left);
                          ++opening;
                          return DesignerClosing{how, left};
                        });
  }
  Document doc;
  ScriptedUi ui;
  std::vector<DialogModel> opened;
};

// Moves the OK button by 14 pixels (8 dialog units) to the right.
void moveButton(DialogModel& dialog) {
  dialog.controls.back().rect.x += 14;
}

TEST_F(DesignerSession, ClosingWithoutAChangeAsksNothingAndLeavesABlockOfAnotherFormAlone) {
  EXPECT_TRUE(session({}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_FALSE(doc.canUndo());
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(DesignerSession, YesStoresTheEditAsOneUndoStep) {
  ui.buttons = {kIdYes};
  EXPECT_TRUE(session({moveButton}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kAskStoreDialog);
  EXPECT_EQ(ui.messages[0].kind, MessageKind::YesNoCancel);
  EXPECT_NE(doc.text(), kScript);
  // The neighbours stand as they stood, and the stored dialog reads back with the move.
  EXPECT_EQ(doc.text().substr(0, 19), "BEFORE ICON a.ico\r\n");
  EXPECT_NE(doc.text().find("ZAFTER ICON z.ico\r\n"), std::string::npos);
  EXPECT_EQ(doc.undoLabel(), kLabelEditDialog);
  doc.undo();
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(DesignerSession, NoDropsTheEdit) {
  ui.buttons = {kIdNo};
  EXPECT_TRUE(session({moveButton}));
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(DesignerSession, TheCloseBoxAsksAsEscDoes) {
  ui.buttons = {kIdYes};
  EXPECT_TRUE(session({moveButton}, DesignerClose::CloseBox));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kAskStoreDialog);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(doc.undoLabel(), kLabelEditDialog);
}

TEST(DesignerCloseCodes, EscAndTheCloseBoxAreTheUsersAnyOtherResultReopens) {
  EXPECT_EQ(designerCloseOf(0), DesignerClose::Escape);
  EXPECT_EQ(designerCloseOf(2), DesignerClose::CloseBox);
  EXPECT_EQ(designerCloseOf(1), DesignerClose::Reopen);
  EXPECT_EQ(designerCloseOf(-1), DesignerClose::Reopen);
  EXPECT_EQ(designerCloseOf(3), DesignerClose::Reopen);
}

TEST_F(DesignerSession, CancelReopensOnTheEditThenAnUndoneChangeAsksNothing) {
  ui.buttons = {kIdCancel};
  EXPECT_TRUE(session({moveButton, [](DialogModel& d) { d.controls.back().rect.x -= 14; }}));
  ASSERT_EQ(opened.size(), 2u);
  // The second opening shows the moved control: the edit was kept.
  EXPECT_EQ(opened[1].controls.back().rect.x, opened[0].controls.back().rect.x + 14);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(DesignerSession, ADesignerStillOpenIsAskedAndCancelKeepsItOpen) {
  ui.buttons = {kIdCancel, kIdYes};
  designDialog(ui, doc, dialogPosition(),
               [&](const DialogModel& given, const MayCloseDesigner& mayClose) {
                 opened.push_back(given);
                 EXPECT_TRUE(mayClose(given));  // unchanged: nothing asked
                 DialogModel left = given;
                 moveButton(left);
                 EXPECT_FALSE(mayClose(left));  // Cancel: the designer stays open
                 EXPECT_TRUE(mayClose(left));   // Yes
                 return DesignerClosing{DesignerClose::Escape, left};
               });
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(ui.messageTexts(),
            (std::vector<std::string>{std::string(kAskStoreDialog), std::string(kAskStoreDialog)}));
  EXPECT_NE(doc.text(), kScript);
  EXPECT_TRUE(doc.canUndo());
}

TEST_F(DesignerSession, AnotherResultReopensOnTheStoredText) {
  int opening = 0;
  designDialog(ui, doc, dialogPosition(), [&](const DialogModel& given, const MayCloseDesigner&) {
    opened.push_back(given);
    DialogModel left = given;
    moveButton(left);
    // The first closing is not the user's: the changed dialog is not asked about.
    return DesignerClosing{opening++ == 0 ? DesignerClose::Reopen : DesignerClose::Escape,
                           opening == 1 ? left : given};
  });
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[1], opened[0]);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DesignerSession, ADialogStoredWhileTheDesignerIsOpenIsFoundAgain) {
  ui.buttons = {kIdYes};
  EXPECT_TRUE(session({[&](DialogModel& d) {
    // The designer stored an edit meanwhile (as a save from inside it does): the block
    // moved and changed under the session.
    DialogModel stored = d;
    stored.controls.back().rect.y += 13;
    const auto edit =
        dialogEdit(doc.text(), doc.index(), dialogPosition(), dialogBlock(stored, "DLG"));
    ASSERT_TRUE(edit);
    doc.commit(*edit);
    d = stored;
    moveButton(d);
  }}));
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(doc.text().find("ZAFTER ICON z.ico"), std::string::npos);
  // Both moves are in: the one stored meanwhile and the one of the closing.
  EXPECT_NE(doc.text().find(", 13, 38, 50, 14"), std::string::npos);
  doc.undo();
  doc.undo();
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(DesignerSession, AnUnreadableDialogDoesNotOpen) {
  doc.load("", "DLG DIALOG 0, 0\r\nSTYLE WS_POPUP\r\n{\r\n}\r\n");
  EXPECT_FALSE(session({moveButton}));
  EXPECT_TRUE(opened.empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, dialogFailureText(DialogFailure::NoHeaderNumbers));
}

TEST_F(DesignerSession, TheNoticesOfTheReadingAreOneMessageEachDistinctOnceAndShownOnce) {
  // Twelve controls of classes the designer lacks, three of them the same class, then a style
  // with a word that is neither a style name nor a symbol: eleven distinct notices, one past
  // those one message lists.
  std::string script = "DLG DIALOG 0, 0, 100, 50\r\nSTYLE DS_SHELLFONT | WS_POPUP\r\n{\r\n";
  for (int i = 0; i < 12; ++i)
    script += " CONTROL \"\", 1, \"Cls" + std::to_string(i < 3 ? 0 : i) +
              "\", WS_TABSTOP | WS_CHILDWINDOW, 1, 2, 3, 4\r\n";
  doc.load("", script + " LTEXT \"a\", -1, 1, 2, 3, 4, NOT IDS_11\r\n}\r\n");
  std::size_t opening = 0;
  designDialog(ui, doc, dialogPosition(), [&](const DialogModel& given, const MayCloseDesigner&) {
    return DesignerClosing{opening++ == 0 ? DesignerClose::Reopen : DesignerClose::Escape, given};
  });
  EXPECT_EQ(opening, 2u);
  ASSERT_EQ(ui.messages.size(), 1u);
  std::string expected = "Controllo Cls0 non supportato.";
  for (int i = 3; i < 12; ++i)
    expected += "\nControllo Cls" + std::to_string(i) + " non supportato.";
  EXPECT_EQ(ui.messages[0].text, expected + "\nAltri avvisi: 1.");
}

}  // namespace
}  // namespace kolvre
