// "Trova" in the window: Ctrl+F opens the field under the list, Enter fills the rows, F3 and
// Maiusc+F3 go from match to match in the panels, Enter on a control's row opens the designer on
// it, and a change of the script stops a search under way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/dialog_designer.h"
#include "app/menu_panel.h"
#include "app/string_table_panel.h"
#include "app/version_panel.h"
#include "document/resource_edits.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kScript =
    "D DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
    "  LTEXT \"Nome:\", -1, 5, 5, 40, 8\r\n"
    "  PUSHBUTTON \"Apri il file\", 2, 50, 5, 40, 14\r\nEND\r\n\r\n"
    "M MENU\r\nBEGIN\r\n  POPUP \"&File\"\r\n  BEGIN\r\n"
    "    MENUITEM \"&Nuovo\", 100\r\n    MENUITEM \"&Apri...\", 101\r\n  END\r\nEND\r\n\r\n"
    "STRINGTABLE\r\nBEGIN\r\n  1, \"Uno\"\r\n  2, \"File da aprire\"\r\nEND\r\n\r\n"
    "1 VERSIONINFO\r\nBEGIN\r\n  BLOCK \"StringFileInfo\"\r\n  BEGIN\r\n"
    "    BLOCK \"041004b0\"\r\n    BEGIN\r\n"
    "      VALUE \"CompanyName\", \"Nessuno\"\r\n"
    "      VALUE \"FileDescription\", \"Apri e salva\"\r\n"
    "    END\r\n  END\r\nEND\r\n";

class FindTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override {
    showMainWindow("f.rc", kScript);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  FindingsPanel& panel() { return *window->findings(); }
  void find(const QString& typed) {
    QTest::keyClick(window->list(), Qt::Key_F, Qt::ControlModifier);
    QLineEdit* field = panel().findField();
    field->selectAll();
    QTest::keyClicks(field, typed);
    QTest::keyClick(field, Qt::Key_Return);
    QApplication::processEvents();
  }
  QString row(int at) {
    const QTreeWidgetItem* item = panel().rows()->topLevelItem(at);
    return item ? item->text(0) + " | " + item->text(1) + " | " + item->text(2) : QString();
  }
  const IndexEntry& current() {
    return doc.index()[static_cast<std::size_t>(window->list()->currentRow())];
  }
};

TEST_F(FindTest, CtrlFOpensTheFieldAndEnterFillsTheRowsInTextOrder) {
  EXPECT_FALSE(panel().isVisible());
  QTest::keyClick(window->list(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(panel().isVisible());
  EXPECT_EQ(panel().windowTitle(), "Trova");
  EXPECT_TRUE(panel().findField()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), panel().findField());
  find("APRI");
  EXPECT_TRUE(panel().showsFind());
  ASSERT_EQ(panel().rows()->topLevelItemCount(), 4);
  EXPECT_EQ(row(0), "D D | controllo 2 | Apri il file");
  EXPECT_EQ(row(1), "M M | voce File/Apri... | &Apri...");
  EXPECT_EQ(row(2), "S 1..2 | stringa 2 | File da aprire");
  EXPECT_EQ(row(3), "VI 1 | valore 041004b0/FileDescription | Apri e salva");
  EXPECT_EQ(panel().statusText(), "4 risultati per \"APRI\".");
  // The field keeps the text for the next Ctrl+F; Esc there closes the panel.
  QTest::keyClick(window->list(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(panel().findField()->text(), "APRI");
  QTest::keyClick(panel().findField(), Qt::Key_Escape);
  EXPECT_FALSE(panel().isVisible());
  EXPECT_TRUE(window->isVisible());
  find("nulla di simile");
  EXPECT_EQ(panel().rows()->topLevelItemCount(), 0);
  EXPECT_EQ(panel().statusText(), "Nessun risultato per \"nulla di simile\".");
}

TEST_F(FindTest, F3GoesToEachMatchInItsPanelAndShiftF3Back) {
  // Without a search F3 opens the field.
  QTest::keyClick(window->list(), Qt::Key_F3);
  EXPECT_TRUE(panel().isVisible());
  EXPECT_EQ(QApplication::focusWidget(), panel().findField());
  find("apri");
  QTest::keyClick(panel().findField(), Qt::Key_F3);
  EXPECT_EQ(current().type, ResourceType::Dialog);  // the preview only: no designer on F3
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
  ASSERT_EQ(current().type, ResourceType::Menu);
  auto* menu = dynamic_cast<MenuView*>(window->panel());
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->currentPath(), (MenuPath{0, 1}));
  EXPECT_EQ(QApplication::focusWidget(), menu->tree());
  // From the panel's tree F3 goes on: the string, then the version value.
  QTest::keyClick(menu->tree(), Qt::Key_F3);
  ASSERT_EQ(current().type, ResourceType::StringTable);
  auto* strings = dynamic_cast<StringTableView*>(window->panel());
  ASSERT_NE(strings, nullptr);
  EXPECT_EQ(strings->table()->currentRow(), 1);
  QTest::keyClick(strings->table(), Qt::Key_F3);
  ASSERT_EQ(current().type, ResourceType::VersionInfo);
  auto* version = dynamic_cast<VersionView*>(window->panel());
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->blocks().at(0)->currentRow(), 1);
  EXPECT_EQ(window->statusBar()->currentMessage(),
            "Risultato 4 di 4: valore 041004b0/FileDescription");
  // Past the last, the first again; Maiusc+F3 goes back.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
  EXPECT_EQ(current().type, ResourceType::Dialog);
  QTest::keyClick(window->list(), Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(current().type, ResourceType::VersionInfo);
  EXPECT_EQ(doc.text(), kScript);  // going through matches changes nothing
}

TEST_F(FindTest, EnterOnAControlsRowOpensTheDesignerOnThatControl) {
  find("apri il");
  ASSERT_EQ(panel().rows()->topLevelItemCount(), 1);
  std::optional<std::size_t> selected;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* designer = qobject_cast<DesignerWindow*>(QApplication::activeModalWidget());
    if (!designer) return;
    watch.stop();
    selected = designer->designer().current();
    QTest::keyClick(designer, Qt::Key_Escape);
  });
  watch.start(10);
  panel().rows()->setCurrentItem(panel().rows()->topLevelItem(0));
  QTest::keyClick(panel().rows(), Qt::Key_Return);
  EXPECT_EQ(selected, 1u);
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(FindTest, AChangeOfTheScriptStopsASearchUnderWay) {
  // More menus than the first page holds: the rest is read at the next turns of the loop.
  std::string many;
  for (int i = 0; i < 400; ++i)
    many += "M" + std::to_string(i) + " MENU { MENUITEM \"Voce\", 1 }\r\n";
  const std::string file = dir.write("many.rc", many);
  window->dispatch([&] { loadDocument(doc, file); });
  QTest::keyClick(window->list(), Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(panel().findField(), "voce");
  QTest::keyClick(panel().findField(), Qt::Key_Return);
  EXPECT_EQ(panel().rows()->topLevelItemCount(), 200);
  EXPECT_TRUE(panel().statusText().startsWith("Cerco \"voce\""));
  window->dispatch([&] {
    doc.commit(renameEdit(doc.index(), 0, *entryBlock(doc.statements(), doc.index(), 0), "ALTRO"));
  });
  QApplication::processEvents();
  EXPECT_EQ(panel().statusText(),
            "La ricerca si è fermata: lo script è cambiato. Invio nel campo cerca di nuovo.");
  // Found again on the text as it stands: every menu.
  QTest::keyClick(panel().findField(), Qt::Key_Return);
  for (int i = 0; i < 20 && panel().statusText().startsWith("Cerco"); ++i)
    QApplication::processEvents();
  EXPECT_EQ(panel().rows()->topLevelItemCount(), 400);
  EXPECT_EQ(panel().statusText(), "400 risultati per \"voce\".");
}

}  // namespace
}  // namespace kolvre
