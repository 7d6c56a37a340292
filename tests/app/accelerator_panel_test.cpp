// The panel of an accelerator table as the window shows it, on Qt's offscreen platform: a key
// pressed in its cell, an ID and options confirmed in place, Ins and Canc, each one step of the
// history; a key twice in red; a table the tree reads only in part shown and not edited.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "app/accelerator_panel.h"
#include "support/main_window_fixture.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

class AcceleratorPanel : public testing::MainWindowFixture<> {
 protected:
  void open(const std::string& rows) { showMainWindow("k.rc", kHead + rows + "END\r\n"); }
  // The panel showing now: every edit shows the resource again in a new panel.
  AcceleratorView* shown() { return dynamic_cast<AcceleratorView*>(window->panel()); }
  QTableWidget* table() { return shown() ? shown()->table() : nullptr; }
  std::string rows() const {
    const std::string& text = doc.text();
    return text.substr(kHead.size(), text.rfind("END\r\n") - kHead.size());
  }
  // Opens the key cell of `row` (F2) and presses `key` with `modifiers` in it.
  void pressInKeyCell(int row, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    table()->setCurrentCell(row, 0);
    QTest::keyClick(table(), Qt::Key_F2);
    auto* capture = dynamic_cast<KeyCaptureEdit*>(openEditor());
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(capture->placeholderText(), "Premi il tasto…");
    QTest::keyClick(capture, static_cast<Qt::Key>(key), modifiers);
    QApplication::processEvents();
  }
  // The cell's editor open in the table.
  QLineEdit* openEditor() {
    for (QLineEdit* editor : table()->findChildren<QLineEdit*>())
      if (editor->isVisible()) return editor;
    return nullptr;
  }
  // Types `text` into cell (row, column) in place: F2, the editor's text replaced, Enter.
  void typeInPlace(int row, int column, const QString& text) {
    table()->setCurrentCell(row, column);
    QTest::keyClick(table(), Qt::Key_F2);
    QLineEdit* editor = openEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
  }

  const std::string kHead =
      "#include <windows.h>\r\n#define ID_COPY 100\r\n#define ID_CUT 101\r\n"
      "K ACCELERATORS\r\nBEGIN\r\n";
};

TEST_F(AcceleratorPanel, AKeyPressedInItsCellIsWrittenInTheRowsFormAsOneStep) {
  open("    VK_F5,  ID_COPY,  VIRTKEY, NOINVERT\r\n    \"^C\",   ID_CUT\r\n");
  ASSERT_TRUE(shown());
  EXPECT_EQ(table()->item(0, 0)->text(), "F5");
  EXPECT_EQ(table()->item(1, 0)->text(), "Ctrl+C");
  EXPECT_EQ(shown()->statusText(), "Acceleratori: 2 tasti");
  EXPECT_FALSE(doc.canUndo());

  // Modifiers alone wait for the key; Tab, which would move the focus, is taken too.
  table()->setCurrentCell(0, 0);
  QTest::keyClick(table(), Qt::Key_F2);
  auto* capture = dynamic_cast<KeyCaptureEdit*>(openEditor());
  ASSERT_NE(capture, nullptr);
  QTest::keyPress(capture, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_EQ(capture->text(), "Ctrl+…");
  EXPECT_FALSE(doc.canUndo());
  QTest::keyClick(capture, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::processEvents();
  EXPECT_EQ(rows(),
            "    VK_TAB,  ID_COPY,  VIRTKEY, CONTROL, SHIFT, NOINVERT\r\n    \"^C\",   ID_CUT\r\n");
  EXPECT_EQ(doc.undoLabel(), "Modifica tasto");
  ASSERT_TRUE(shown());
  EXPECT_EQ(table()->item(0, 0)->text(), "Ctrl+Maiusc+Tab");
  EXPECT_EQ(table()->currentRow(), 0);

  // An ASCII row: the character typed, Maiusc in it; Ctrl and a letter as "^X".
  pressInKeyCell(1, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(rows(),
            "    VK_TAB,  ID_COPY,  VIRTKEY, CONTROL, SHIFT, NOINVERT\r\n    \"^X\",   ID_CUT\r\n");
  pressInKeyCell(1, Qt::Key_Q, Qt::ShiftModifier);
  EXPECT_EQ(rows(),
            "    VK_TAB,  ID_COPY,  VIRTKEY, CONTROL, SHIFT, NOINVERT\r\n    \"Q\",   ID_CUT\r\n");
  // F1 is no character: refused with the reason, nothing written.
  const std::string before = doc.text();
  pressInKeyCell(1, Qt::Key_F1);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text,
            "Il tasto F1 non è un carattere: la riga è ASCII, serve VIRTKEY.");
  EXPECT_EQ(doc.text(), before);
  ASSERT_TRUE(doc.undo());
  ASSERT_TRUE(doc.undo());
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(AcceleratorPanel, IdAndOptionsEditInPlaceAndARefusalKeepsTheCellInEdit) {
  open("  \"N\", ID_COPY, VIRTKEY, CONTROL\r\n");
  ASSERT_TRUE(shown());
  typeInPlace(0, 1, "ID_CUT");
  EXPECT_EQ(rows(), "  \"N\", ID_CUT, VIRTKEY, CONTROL\r\n");
  EXPECT_EQ(doc.undoLabel(), "Modifica ID acceleratore");
  typeInPlace(0, 2, "virtkey control noinvert");
  EXPECT_EQ(rows(), "  \"N\", ID_CUT, VIRTKEY, CONTROL, NOINVERT\r\n");

  const std::string before = doc.text();
  typeInPlace(0, 1, "ID_NONE");
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text,
            "ID non valido: ID_NONE non è un numero né un simbolo definito.");
  QApplication::processEvents();
  QLineEdit* editor = openEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "ID_NONE");
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::processEvents();
  typeInPlace(0, 2, "VIRTKEY CTRL");
  EXPECT_EQ(ui.messages.back().text,
            "Opzione sconosciuta: CTRL. Le opzioni sono VIRTKEY, ASCII, NOINVERT, ALT, SHIFT e "
            "CONTROL.");
  EXPECT_EQ(doc.text(), before);
}

TEST_F(AcceleratorPanel, InsAddsARowAfterTheCurrentOneCancRemovesIt) {
  open("  VK_F1, ID_COPY, VIRTKEY\r\n  VK_F2, ID_CUT, VIRTKEY\r\n");
  ASSERT_TRUE(shown());
  table()->setCurrentCell(0, 0);
  ui.inputs = {"Ctrl+Shift+O", "ID_CUT"};
  QTest::keyClick(table(), Qt::Key_Insert);
  EXPECT_EQ(rows(),
            "  VK_F1, ID_COPY, VIRTKEY\r\n  \"O\", ID_CUT, VIRTKEY, CONTROL, SHIFT\r\n"
            "  VK_F2, ID_CUT, VIRTKEY\r\n");
  EXPECT_EQ(doc.undoLabel(), "Nuovo acceleratore");
  ASSERT_TRUE(shown());
  EXPECT_EQ(table()->currentRow(), 1);
  ui.buttons = {kIdYes};
  QTest::keyClick(table(), Qt::Key_Delete);
  EXPECT_EQ(ui.messages.back().text, "Eliminare il tasto Ctrl+Maiusc+O?");
  EXPECT_EQ(rows(), "  VK_F1, ID_COPY, VIRTKEY\r\n  VK_F2, ID_CUT, VIRTKEY\r\n");
  EXPECT_EQ(doc.undoLabel(), "Elimina acceleratore");
  // The resource stays: Canc in the panel never reaches the window's delete.
  EXPECT_EQ(doc.index().size(), 1u);
}

TEST_F(AcceleratorPanel, AKeyTwiceIsRedWithTheChecksMessage) {
  open(
      "  \"C\", ID_COPY, VIRTKEY, CONTROL\r\n  VK_F5, 2, VIRTKEY\r\n  0x43, ID_CUT, VIRTKEY, "
      "CONTROL\r\n");
  ASSERT_TRUE(shown());
  EXPECT_EQ(table()->item(2, 0)->foreground().color(), QColor(Qt::red));
  EXPECT_EQ(table()->item(2, 1)->toolTip(),
            "Tasto Ctrl+C già usato dall'acceleratore ID_COPY alla riga 6.");
  EXPECT_NE(table()->item(1, 0)->foreground().color(), QColor(Qt::red));
}

TEST_F(AcceleratorPanel, ATableTheTreeReadsOnlyInPartIsShownAndNotEdited) {
  open("  VK_F2, 2, VIRTKEY  VK_F3, 3, VIRTKEY\r\n");
  ASSERT_TRUE(shown());
  EXPECT_EQ(table()->rowCount(), 2);
  EXPECT_EQ(shown()->statusText(),
            "Riga 6: la tabella si legge solo in parte; si modifica come testo.");
  EXPECT_EQ(table()->editTriggers(), QAbstractItemView::NoEditTriggers);
  const std::string before = doc.text();
  table()->setCurrentCell(0, 1);
  QTest::keyClick(table(), Qt::Key_F2);
  QTest::keyClick(table(), Qt::Key_Insert);
  QTest::keyClick(table(), Qt::Key_Delete);
  EXPECT_EQ(doc.text(), before);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(AcceleratorKeyPress, AKeyIsTakenOnceAndLaterPressesAreIgnored) {
  KeyCaptureEdit capture(nullptr);
  int taken = 0;
  capture.onTaken = [&] { ++taken; };
  EXPECT_FALSE(capture.takeKey());
  QTest::keyClick(&capture, Qt::Key_F3, Qt::AltModifier);
  QTest::keyClick(&capture, Qt::Key_F4);
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(capture.text(), "Alt+F3");
  const auto key = capture.takeKey();
  ASSERT_TRUE(key);
  EXPECT_EQ(key->virtualKey, 0x72u);
  EXPECT_FALSE(capture.takeKey());
}

TEST(AcceleratorKeyPress, QtKeysNameTheirVirtualKeys) {
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::string label;
  } cases[] = {
      {Qt::Key_F24, Qt::NoModifier, "", "F24"},
      {Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, "", "Ctrl+Alt+A"},
      {Qt::Key_Delete, Qt::ShiftModifier, "", "Maiusc+Canc"},
      {Qt::Key_PageDown, Qt::NoModifier, "", "Pag giù"},
      {Qt::Key_5, Qt::KeypadModifier, "5", "Num 5"},
      {Qt::Key_Plus, Qt::KeypadModifier, "+", "Num +"},
      {Qt::Key_Plus, Qt::NoModifier, "+", "+"},
      {Qt::Key_Escape, Qt::NoModifier, "", "Esc"},
      {Qt::Key_Backtab, Qt::ShiftModifier, "", "Maiusc+Tab"},
  };
  for (const auto& c : cases) {
    const QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
    const auto key = acceleratorKeyOf(press);
    ASSERT_TRUE(key) << c.label;
    EXPECT_EQ(acceleratorKeyLabel(*key), c.label);
  }
  const QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_FALSE(acceleratorKeyOf(shift));
  const QKeyEvent typed(QEvent::KeyPress, Qt::Key_Question, Qt::ShiftModifier, "?");
  EXPECT_EQ(acceleratorKeyOf(typed)->character, '?');
}

}  // namespace
}  // namespace kolvre
