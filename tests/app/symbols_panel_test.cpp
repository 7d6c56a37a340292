// The symbols panel: opened from the Risorse menu, its rows marked, a use leading to its
// resource and to the designer on its control, F2 renaming a symbol in the script and its
// header as one step.
#include "app/symbols_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/dialog_designer.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kHeader = "#define IDC_ONE 100\n#define IDC_TWO 100\n#define IDC_SPARE 9\n";
const std::string kScript =
    "#include \"ids.h\"\r\n"
    "#define IDD_MAIN 10\r\n"
    "A ICON \"a.ico\"\r\n\r\n"
    "IDD_MAIN DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
    "  PUSHBUTTON \"Uno\", IDC_ONE, 5, 5, 40, 14\r\n"
    "  PUSHBUTTON \"Due\", IDC_TWO, 50, 5, 40, 14\r\nEND\r\n";

class SymbolsPanelTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override {
    header = dir.write("ids.h", kHeader);
    dir.write("a.ico", "");
    showMainWindow("s.rc", kScript);
  }
  // The top-level row of a symbol's (first) definition.
  QTreeWidgetItem* rowOf(const QString& name) {
    QTreeWidget* rows = window->symbols()->rows();
    for (int r = 0; r < rows->topLevelItemCount(); ++r)
      if (rows->topLevelItem(r)->text(0) == name) return rows->topLevelItem(r);
    return nullptr;
  }
  std::string header;
};

TEST_F(SymbolsPanelTest, TheMenuItemShowsEverySymbolWithItsMarks) {
  QAction* item = nullptr;
  for (QAction* menu : window->menuBar()->actions())
    if (menu->text() == "&Risorse")
      for (QAction* a : menu->menu()->actions())
        if (a->text() == "Simboli") item = a;
  ASSERT_NE(item, nullptr);
  item->trigger();
  QApplication::processEvents();
  SymbolsPanel* panel = window->symbols();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->rows()->topLevelItemCount(), 4);
  EXPECT_EQ(panel->statusText(),
            "4 simboli, 1 non usati, 2 con lo stesso valore di un altro dello stesso tipo.");
  QTreeWidgetItem* one = rowOf("IDC_ONE");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->text(1), "100");
  EXPECT_EQ(one->text(2), "ids.h");
  EXPECT_EQ(one->text(3), "1");
  EXPECT_EQ(one->text(4), "1");
  EXPECT_EQ(one->text(5), "stesso valore di IDC_TWO");
  EXPECT_EQ(rowOf("IDC_SPARE")->text(5), "non usato");
  // The use under it: a control of the dialog.
  ASSERT_EQ(one->childCount(), 1);
  EXPECT_EQ(one->child(0)->text(0), "controllo");
  EXPECT_EQ(one->child(0)->text(1), "D IDD_MAIN");
  EXPECT_EQ(one->child(0)->text(3), "7");
  EXPECT_EQ(rowOf("IDD_MAIN")->child(0)->text(0), "nome di risorsa");
  // Opened, a use's resource is not cut by the width its column had with every row closed.
  one->setExpanded(true);
  EXPECT_GE(panel->rows()->columnWidth(1),
            panel->rows()->fontMetrics().horizontalAdvance("D IDD_MAIN"));
  QTest::keyClick(panel->rows(), Qt::Key_Escape);
  EXPECT_FALSE(panel->isVisible());
}

TEST_F(SymbolsPanelTest, AUseLeadsToItsResourceAndTheDesignerOnItsControl) {
  window->showSymbols();
  SymbolsPanel* panel = window->symbols();
  window->list()->setCurrentRow(0);
  QTreeWidgetItem* use = rowOf("IDC_TWO")->child(0);
  const auto target = panel->target(use);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->resource->name, "IDD_MAIN");
  EXPECT_EQ(target->control, 1u);
  // A definition's row leads nowhere.
  EXPECT_FALSE(panel->target(rowOf("IDC_TWO")));

  std::optional<std::size_t> current;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* designer = qobject_cast<DesignerWindow*>(QApplication::activeModalWidget());
    if (!designer) return;
    watch.stop();
    current = designer->designer().current();
    QTest::keyClick(designer, Qt::Key_Escape);
  });
  watch.start(10);
  rowOf("IDC_TWO")->setExpanded(true);
  panel->rows()->setCurrentItem(use);
  QTest::keyClick(panel->rows(), Qt::Key_Return);
  EXPECT_EQ(doc.index()[static_cast<std::size_t>(window->list()->currentRow())].name, "IDD_MAIN");
  EXPECT_EQ(current, 1u);
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(SymbolsPanelTest, F2OnANameRenamesItInBothFilesAsOneStep) {
  window->showSymbols();
  SymbolsPanel* panel = window->symbols();
  window->list()->setCurrentRow(1);  // the dialog, which stays current
  panel->rows()->setCurrentItem(rowOf("IDC_ONE"), 3);
  QTest::keyClick(panel->rows(), Qt::Key_F2);
  auto* editor = panel->rows()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText("IDC_ZERO");  // sorted elsewhere than IDC_ONE was
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_NE(doc.text().find("\"Uno\", IDC_ZERO,"), std::string::npos);
  EXPECT_EQ(doc.headerTexts().at(header).substr(0, 21), "#define IDC_ZERO 100\n");
  EXPECT_EQ(doc.undoLabel(), "Rinomina simbolo");
  EXPECT_EQ(window->list()->currentRow(), 1);
  // The panel follows, once its queued reload ran: the rows sorted again, the new name's row
  // current.
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(panel->rows()->topLevelItem(0)->text(0), "IDC_SPARE");
  ASSERT_NE(rowOf("IDC_ZERO"), nullptr);
  EXPECT_EQ(rowOf("IDC_ONE"), nullptr);
  EXPECT_EQ(panel->rows()->currentItem(), rowOf("IDC_ZERO"));
  // One undo takes both back.
  ASSERT_TRUE(window->dispatch([&] { doc.undo(); }));
  QApplication::processEvents();
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_EQ(doc.headerTexts().at(header), kHeader);
  EXPECT_NE(rowOf("IDC_ONE"), nullptr);
}

TEST_F(SymbolsPanelTest, ARefusedNameIsToldAndLeftToMend) {
  window->showSymbols();
  SymbolsPanel* panel = window->symbols();
  const int row = panel->rows()->indexOfTopLevelItem(rowOf("IDC_ONE"));
  EXPECT_FALSE(panel->rename(row, "IDC_TWO"));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Il simbolo IDC_TWO esiste già.");
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_FALSE(doc.canUndo());
}

}  // namespace
}  // namespace kolvre
