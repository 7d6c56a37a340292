// The version panel's keys in the main window, on Qt's offscreen platform, each press sent where
// the focus is as a real key would be: a fixed field edited in place (four boxes for a version,
// the vocabulary's names offered for the others), Ins and Canc on a block's values, a language
// block added and renamed with Translation kept in step. Every change is one step of the history
// and touches only its own tokens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include "app/version_panel.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kScript =
    "#define VER_BUILD 7\r\n"
    "V VERSIONINFO\r\n"
    " FILEVERSION 1,0,3,4\r\n"
    " PRODUCTVERSION VER_WORDS\r\n"
    " FILEOS VOS_NT_WINDOWS32\r\n"
    " FILETYPE 0x1L\r\n"
    "BEGIN\r\n"
    "    BLOCK \"StringFileInfo\"\r\n"
    "    BEGIN\r\n"
    "        BLOCK \"040904b0\"\r\n"
    "        BEGIN\r\n"
    "            VALUE \"CompanyName\", \"ACME\"\r\n"
    "            VALUE \"FileVersion\", \"1.0\"\r\n"
    "        END\r\n"
    "    END\r\n"
    "    BLOCK \"VarFileInfo\"\r\n"
    "    BEGIN\r\n"
    "        VALUE \"Translation\", 0x409, 1200\r\n"
    "    END\r\n"
    "END\r\n";

class VersionPanel : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override {
    showMainWindow("v.rc", kScript);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->list()->setCurrentRow(0);
    window->showCurrent();
    QApplication::processEvents();
    ASSERT_NE(view(), nullptr);
  }
  VersionView* view() const { return dynamic_cast<VersionView*>(window->panel()); }
  // Gives `table` the focus on `row`.
  void focusOn(QTableWidget* table, int row) {
    table->setFocus();
    table->setCurrentCell(row, 1);
    QApplication::processEvents();
  }
  void press(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key);
    QApplication::processEvents();
    QApplication::processEvents();
  }
  // The script with `from` replaced by `to` (its first place).
  static std::string with(std::string_view from, std::string_view to) {
    std::string text = kScript;
    text.replace(text.find(from), from.size(), to);
    return text;
  }
};

TEST_F(VersionPanel, AVersionEditsAsFourNumbersAndOnlyTheOneChangedIsWritten) {
  focusOn(view()->fields(), 0);
  press(Qt::Key_F2);
  auto* box = qobject_cast<QSpinBox*>(QApplication::focusWidget());
  ASSERT_NE(box, nullptr);
  const auto boxes = box->parentWidget()->findChildren<QSpinBox*>();
  ASSERT_EQ(boxes.size(), 4);
  EXPECT_EQ(boxes[2]->value(), 3);
  // Tab goes from box to box, its number selected for typing over.
  press(Qt::Key_Tab);
  press(Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), boxes[2]);
  QTest::keyClicks(boxes[2], "30");
  press(Qt::Key_Return);
  EXPECT_EQ(doc.text(), with("1,0,3,4", "1,0,30,4"));
  EXPECT_EQ(doc.undoLabel(), "Modifica campo");
  // The panel built again: the fields keep the focus, on the row edited.
  auto* table = qobject_cast<QTableWidget*>(QApplication::focusWidget());
  ASSERT_EQ(table, view()->fields());
  EXPECT_EQ(table->currentRow(), 0);
  EXPECT_EQ(table->item(0, 1)->text(), "1,0,30,4");
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(VersionPanel, TheOtherFieldsOfferTheirNamesAndStayWrittenAsTheyWere) {
  focusOn(view()->fields(), 2);  // FILEOS
  press(Qt::Key_F2);
  auto* names = view()->fields()->findChild<QComboBox*>("fieldNames");
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->currentText(), "VOS_NT_WINDOWS32");
  EXPECT_GE(names->findText("VOS__WINDOWS32"), 0);
  EXPECT_LT(names->findText("VFT_APP"), 0);
  names->setEditText("VOS__WINDOWS32");
  press(Qt::Key_Return);
  EXPECT_EQ(doc.text(), with("VOS_NT_WINDOWS32", "VOS__WINDOWS32"));
  // A number where a number was written, whatever name is chosen.
  focusOn(view()->fields(), 3);  // FILETYPE
  press(Qt::Key_F2);
  names = view()->fields()->findChild<QComboBox*>("fieldNames");
  ASSERT_NE(names, nullptr);
  names->setEditText("VFT_DLL");
  press(Qt::Key_Return);
  EXPECT_NE(doc.text().find(" FILETYPE 0x2L\r\n"), std::string::npos);
  // A name no definition gives is refused, and the editor opens again on it.
  focusOn(view()->fields(), 3);
  press(Qt::Key_F2);
  names = view()->fields()->findChild<QComboBox*>("fieldNames");
  ASSERT_NE(names, nullptr);
  names->setEditText("VFT_NESSUNO");
  press(Qt::Key_Return);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Simbolo non definito: VFT_NESSUNO.");
  EXPECT_NE(doc.text().find(" FILETYPE 0x2L\r\n"), std::string::npos);
}

TEST_F(VersionPanel, AFieldWrittenWithANameForItsNumbersSaysWhyItDoesNotEdit) {
  focusOn(view()->fields(), 1);  // PRODUCTVERSION VER_WORDS
  press(Qt::Key_F2);
  EXPECT_EQ(QApplication::focusWidget(), view()->fields());
  EXPECT_EQ(window->statusBar()->currentMessage(),
            "PRODUCTVERSION alla riga 4 ha meno di quattro valori e un nome tra essi: si modifica "
            "dove il nome è definito.");
  // Canc there deletes nothing: not the resource, not a field.
  press(Qt::Key_Delete);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(VersionPanel, InsAddsAValueAfterTheCurrentOneCancRemovesIt) {
  ASSERT_EQ(view()->blocks().size(), 1u);
  focusOn(view()->blocks()[0], 0);
  ui.inputs = {"Comments", "nuovo"};
  press(Qt::Key_Insert);
  const std::string added =
      with("            VALUE \"FileVersion\"",
           "            VALUE \"Comments\", \"nuovo\"\r\n            VALUE \"FileVersion\"");
  EXPECT_EQ(doc.text(), added);
  EXPECT_EQ(doc.undoLabel(), "Nuovo valore");
  auto* table = qobject_cast<QTableWidget*>(QApplication::focusWidget());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table, view()->blocks()[0]);
  EXPECT_EQ(table->currentRow(), 1);
  ui.buttons = {kIdNo, kIdYes};
  press(Qt::Key_Delete);
  EXPECT_EQ(ui.messageTexts().back(), "Eliminare il valore Comments del blocco 040904b0?");
  EXPECT_EQ(doc.text(), added);
  press(Qt::Key_Delete);
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_EQ(doc.undoLabel(), "Elimina valore");
}

TEST_F(VersionPanel, ALanguageBlockAddedAndRenamedWithTranslationInOneStepEach) {
  ui.inputs = {"041004b0"};
  ui.buttons = {kIdNo, kIdYes};  // values empty; Translation too
  QTest::mouseClick(view()->addBlockButton(), Qt::LeftButton);
  QApplication::processEvents();
  ASSERT_EQ(view()->blocks().size(), 2u);
  EXPECT_EQ(view()->blocks()[1]->item(0, 1)->text(), "");
  EXPECT_NE(doc.text().find("\"Translation\", 0x409, 1200, 0x410, 1200\r\n"), std::string::npos);
  EXPECT_NE(doc.text().find("        BLOCK \"041004b0\"\r\n        BEGIN\r\n"
                            "            VALUE \"CompanyName\", \"\"\r\n"),
            std::string::npos);
  EXPECT_EQ(doc.undoLabel(), "Nuovo blocco");
  // The new block is current: renaming it renames its pair too.
  ui.inputs = {"040704b0"};
  ui.buttons = {kIdYes};
  QTest::mouseClick(view()->renameBlockButton(), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_NE(doc.text().find("BLOCK \"040704b0\""), std::string::npos);
  EXPECT_NE(doc.text().find("0x409, 1200, 0x407, 1200\r\n"), std::string::npos);
  ASSERT_TRUE(doc.undo());
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.text(), kScript);
  // A name that is no block's is refused with its reason.
  ui.inputs = {"0410"};
  ui.buttons = {kIdYes};
  QTest::mouseClick(view()->addBlockButton(), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(ui.messageTexts().back(),
            "Nome di blocco non valido: 0410. Servono otto cifre esadecimali, lingua e codifica "
            "(040904b0).");
  EXPECT_EQ(doc.text(), kScript);
}

}  // namespace
}  // namespace kolvre
