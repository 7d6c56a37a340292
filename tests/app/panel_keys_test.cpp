// The keys of a panel's table in the main window, on Qt's offscreen platform, each press sent to
// the widget that has the focus as a real key would be: after an edit in place the table keeps
// the focus on the row edited, so that Canc and Ins act on its rows and never on the resource; F2
// edits a cell and never opens a script; a text refused stays in edit; deleting the last string
// keeps the table the list's current entry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include "app/string_table_panel.h"
#include "app/version_panel.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

class PanelKeys : public testing::MainWindowFixture<> {
 protected:
  // Shows the script, makes the entry `key` current and gives its panel the focus.
  void showAt(const std::string& script, const ResourceKey& key) {
    showMainWindow("s.rc", script);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto position = findEntry(doc.index(), key);
    ASSERT_TRUE(position);
    window->list()->setCurrentRow(static_cast<int>(*position));
    window->showCurrent();
    QApplication::processEvents();
    ASSERT_NE(window->panel(), nullptr);
    window->panel()->setFocus();
    QApplication::processEvents();
  }
  QTableWidget* focusedTable() const {
    return qobject_cast<QTableWidget*>(QApplication::focusWidget());
  }
  // A key pressed where the focus is, and what it set off handled.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
    QApplication::processEvents();
  }
  // F2 on the current cell, its text replaced by `text`, Enter.
  void typeInPlace(const QString& text) {
    press(Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::processEvents();
  }
};

const std::string kTable =
    "A ICON\r\n{\r\n}\r\nSTRINGTABLE\r\n{\r\n 80 \"uno\"\r\n 81 \"due\"\r\n 95 \"tre\"\r\n}\r\n";
const ResourceKey kTableKey{"80..95", ResourceType::StringTable, 0};

TEST_F(PanelKeys, AfterAnEditInPlaceTheTableKeepsTheFocusAndItsKeys) {
  showAt(kTable, kTableKey);
  ASSERT_NE(focusedTable(), nullptr);
  focusedTable()->setCurrentCell(1, 1);
  typeInPlace(QStringLiteral("DUE"));
  EXPECT_NE(doc.text().find("81 \"DUE\""), std::string::npos);
  // The panel was built again from the script: its table has the focus, on the row edited.
  QTableWidget* table = focusedTable();
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(window->panel()->isAncestorOf(table));
  EXPECT_EQ(table->currentRow(), 1);
  // Canc asks about the string, not the resource; Ins adds a string after it.
  ui.buttons = {kIdNo};
  press(Qt::Key_Delete);
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Eliminare la stringa 81?"});
  ui.inputs = {"82", "nuova"};
  press(Qt::Key_Insert);
  EXPECT_NE(doc.text().find(" 81 \"DUE\"\r\n 82 \"nuova\"\r\n"), std::string::npos);
  ASSERT_NE(focusedTable(), nullptr);
  EXPECT_EQ(focusedTable()->currentRow(), 2);
  EXPECT_EQ(doc.index().size(), 2u);
}

TEST_F(PanelKeys, F2EditsACellAndOnAReadOnlyOneSaysWhy) {
  showAt(kTable, kTableKey);
  QTableWidget* table = focusedTable();
  ASSERT_NE(table, nullptr);
  table->setCurrentCell(0, 0);  // the ID
  press(Qt::Key_F2);
  // Nothing opened ("Apri file di risorse..." would ask for a file), nothing asked.
  EXPECT_TRUE(ui.dialogTitles.empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(QApplication::focusWidget(), table);
  EXPECT_EQ(window->statusBar()->currentMessage(),
            "L'ID di una stringa non si modifica qui: Ins aggiunge una stringa, Canc la toglie.");
}

TEST_F(PanelKeys, AVersionsFixedFieldThatDoesNotEditSaysWhyAndNothingElseHappens) {
  showAt("V VERSIONINFO\r\n FILEVERSION 1,2,,4\r\nBEGIN\r\nEND\r\n",
         {"V", ResourceType::VersionInfo, 0});
  auto* view = dynamic_cast<VersionView*>(window->panel());
  ASSERT_NE(view, nullptr);
  view->fields()->setFocus();
  view->fields()->setCurrentCell(0, 1);
  QApplication::processEvents();
  press(Qt::Key_F2);
  press(Qt::Key_Delete);
  EXPECT_TRUE(ui.dialogTitles.empty());
  EXPECT_TRUE(ui.messages.empty());  // no "Salvo le modifiche?", no "Confermi l'eliminazione"
  EXPECT_EQ(doc.index().size(), 1u);
  EXPECT_EQ(window->statusBar()->currentMessage(),
            "FILEVERSION alla riga 2 non è scritto come quattro numeri.");
}

TEST_F(PanelKeys, DeletingTheLastStringKeepsTheTableCurrent) {
  // The table is named by its first and last ID: "80..95" becomes "80..81". It is not the list's
  // first row, where a lost entry would land.
  showAt("STRINGTABLE\r\n{\r\n 1 \"x\"\r\n}\r\n" + kTable, kTableKey);
  ASSERT_EQ(window->list()->currentRow(), 1);
  focusedTable()->setCurrentCell(2, 1);
  ui.buttons = {kIdYes};
  press(Qt::Key_Delete);
  EXPECT_EQ(doc.text().find(" 95 "), std::string::npos);
  EXPECT_EQ(window->list()->currentRow(),
            static_cast<int>(*findEntry(doc.index(), {"80..81", ResourceType::StringTable, 0})));
  ASSERT_NE(focusedTable(), nullptr);
  EXPECT_EQ(focusedTable()->currentRow(), 1);
}

TEST_F(PanelKeys, ATextRefusedStaysInEditWithWhatWasTyped) {
  showAt("#pragma code_page(1252)\r\nSTRINGTABLE\r\n{\r\n 1 \"uno\"\r\n}\r\n",
         {"1", ResourceType::StringTable, 0});
  focusedTable()->setCurrentCell(0, 1);
  const std::string before = doc.text();
  typeInPlace(QString::fromUtf8("uno Ж"));
  EXPECT_EQ(doc.text(), before);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Il carattere Ж non esiste nella code page 1252 dello script.");
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), QString::fromUtf8("uno Ж"));
}

}  // namespace
}  // namespace kolvre
