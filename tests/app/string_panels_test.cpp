// The panels of string tables and version resources as the window shows them, on Qt's offscreen
// platform: a text confirmed in place is one step of the history, Ins and Canc add and remove rows
// through the user interface's questions, a body that does not read shows nothing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "app/string_table_panel.h"
#include "app/version_panel.h"
#include "support/main_window_fixture.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

// Types `text` into the cell in place: F2, the editor's text replaced, Enter.
void typeInPlace(QTableWidget* table, int row, const QString& text) {
  table->setCurrentCell(row, 1);
  QTest::keyClick(table, Qt::Key_F2);
  auto* editor = table->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(text);
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
}

// The panel the window shows for the script's only resource. Every edit is run by the window's
// dispatch, which shows the resource again in a new panel: `shown` gives the one showing now.
class StringPanels : public testing::MainWindowFixture<> {
 protected:
  void open(const std::string& text) { showMainWindow("s.rc", text); }
  template <class View>
  View* shown() {
    return dynamic_cast<View*>(window->panel());
  }
};

TEST_F(StringPanels, ATextEditedInPlaceIsOneStepAndOnlyItsLiteralChanges) {
  open("#define IDS_B 7\r\nSTRINGTABLE\r\n{\r\n  1, \"uno\"\r\n  IDS_B, \"due\"\r\n}\r\n");
  ASSERT_TRUE(shown<StringTableView>());
  QTableWidget* table = shown<StringTableView>()->table();
  ASSERT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->item(1, 0)->text(), "IDS_B (7)");
  EXPECT_EQ(table->item(1, 1)->text(), "due");
  EXPECT_EQ(shown<StringTableView>()->statusText(), "Tabella delle stringhe: 2 stringhe");
  EXPECT_FALSE(doc.canUndo());  // opening writes nothing
  typeInPlace(table, 1, "tre \"3\"");
  EXPECT_EQ(
      doc.text(),
      "#define IDS_B 7\r\nSTRINGTABLE\r\n{\r\n  1, \"uno\"\r\n  IDS_B, \"tre \"\"3\"\"\"\r\n}\r\n");
  EXPECT_EQ(doc.undoLabel(), "Modifica stringa");
  ASSERT_TRUE(shown<StringTableView>());
  table = shown<StringTableView>()->table();
  EXPECT_EQ(table->item(1, 1)->text(), "tre \"3\"");
  EXPECT_EQ(table->currentRow(), 1);
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(StringPanels, InsAddsARowAfterTheCurrentOneCancRemovesItAnIdHeldIsRefused) {
  open("STRINGTABLE\r\n{\r\n  1, \"uno\"\r\n  2, \"due\"\r\n}\r\n");
  ASSERT_TRUE(shown<StringTableView>());
  QTableWidget* table = shown<StringTableView>()->table();
  table->setCurrentCell(0, 1);
  ui.inputs = {"5", "cinque"};
  QTest::keyClick(table, Qt::Key_Insert);
  EXPECT_EQ(doc.text(),
            "STRINGTABLE\r\n{\r\n  1, \"uno\"\r\n  5, \"cinque\"\r\n  2, \"due\"\r\n}\r\n");
  ASSERT_TRUE(shown<StringTableView>());
  table = shown<StringTableView>()->table();
  EXPECT_EQ(table->rowCount(), 3);
  EXPECT_EQ(table->currentRow(), 1);
  ui.inputs = {"2", "di nuovo"};
  QTest::keyClick(table, Qt::Key_Insert);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "L'ID 2 è già in una tabella delle stringhe della stessa lingua (riga 5).");
  ui.buttons = {kIdNo, kIdYes};
  table = shown<StringTableView>()->table();
  QTest::keyClick(table, Qt::Key_Delete);
  EXPECT_EQ(table->rowCount(), 3);
  QTest::keyClick(table, Qt::Key_Delete);
  EXPECT_EQ(doc.text(), "STRINGTABLE\r\n{\r\n  1, \"uno\"\r\n  2, \"due\"\r\n}\r\n");
  EXPECT_EQ(doc.undoLabel(), "Elimina stringa");
}

TEST_F(StringPanels, ABodyThatDoesNotReadShowsNoRowsAndSaysWhy) {
  open("STRINGTABLE\r\n{\r\n  1\r\n}\r\n");
  StringTableView* view = shown<StringTableView>();
  ASSERT_TRUE(view);
  EXPECT_EQ(view->table()->rowCount(), 0);
  EXPECT_EQ(view->statusText(), "ID senza testo alla riga 3.");
  ui.inputs = {"5", "x"};
  view->addRow();
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(StringPanels, TheReasonIsTheEditorsOwnWordsWhateverTheCodePage) {
  open("#pragma code_page(1252)\r\nSTRINGTABLE\r\n{\r\n  1 \"uno\"\r\n");
  StringTableView* view = shown<StringTableView>();
  ASSERT_TRUE(view);
  EXPECT_EQ(view->statusText(), "La tabella delle stringhe non è chiusa da END o }.");
}

TEST_F(StringPanels, AVersionValueEditedInPlaceIsOneStep) {
  open(
      "V VERSIONINFO\r\n FILEVERSION 1,2,3,4\r\nBEGIN\r\n BLOCK \"StringFileInfo\"\r\n BEGIN\r\n"
      "  BLOCK \"040904b0\"\r\n  BEGIN\r\n   VALUE \"FileVersion\", \"1.2\\0\"\r\n  END\r\n"
      " END\r\nEND\r\n");
  VersionView* view = shown<VersionView>();
  ASSERT_TRUE(view);
  EXPECT_EQ(view->fields()->item(0, 0)->text(), "Versione del file");
  EXPECT_EQ(view->fields()->item(0, 1)->text(), "1,2,3,4");
  ASSERT_EQ(view->blocks().size(), 1u);
  EXPECT_EQ(view->blocks()[0]->item(0, 1)->text(), "1.2");
  typeInPlace(view->blocks()[0], 0, "1.3");
  EXPECT_NE(doc.text().find("VALUE \"FileVersion\", \"1.3\\0\"\r\n"), std::string::npos);
  EXPECT_EQ(doc.undoLabel(), "Modifica valore");
  ASSERT_TRUE(doc.undo());
  EXPECT_FALSE(doc.canUndo());
}

using StringPanelInWindow = testing::MainWindowFixture<>;

// The panel as the window builds it: beside the list, its count in the status bar, an edit one
// step through the window's dispatch, the table's entry still the list's current one.
TEST_F(StringPanelInWindow, FillsBesideTheListAndEditsThroughTheWindow) {
  showMainWindow("s.rc", "A ICON\r\n{\r\n}\r\nSTRINGTABLE\r\n{\r\n 1 \"uno\"\r\n}\r\n");
  const auto position = findEntry(doc.index(), {"1", ResourceType::StringTable, 0});
  ASSERT_TRUE(position);
  window->list()->setCurrentRow(static_cast<int>(*position));
  auto* view = dynamic_cast<StringTableView*>(stringTablePanel({*window, doc, ui, *position}));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->x(), window->panelLeft());
  EXPECT_EQ(view->width(), window->centralWidget()->width() - window->panelLeft());
  EXPECT_EQ(window->defaultStatusText(), "Tabella delle stringhe: 1 stringa");
  typeInPlace(view->table(), 0, "due");
  EXPECT_NE(doc.text().find(" 1 \"due\"\r\n"), std::string::npos);
  EXPECT_EQ(doc.undoLabel(), "Modifica stringa");
  EXPECT_EQ(window->list()->currentRow(), static_cast<int>(*position));
  delete view;
}

}  // namespace
}  // namespace kolvre
