// The findings panel under the list: F8 fills it, a double click on a row leads to the row's
// resource, and to the designer on its control.
#include "app/findings_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "app/dialog_designer.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kScript =
    "A ICON \"a.ico\"\r\n\r\n"
    "D DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
    "  PUSHBUTTON \"Uno\", 1, 5, 5, 40, 14\r\n"
    "  PUSHBUTTON \"Due\", 2, 50, 5, 40, 14\r\nEND\r\n";

class FindingsPanelTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override {
    dir.write("a.ico", "");  // the icon's file is there: the script has nothing to find
    showMainWindow("f.rc", kScript);
  }
  void doubleClickRow(int row) {
    QTreeWidget* rows = window->findings()->rows();
    const QRect at = rows->visualItemRect(rows->topLevelItem(row));
    // The view takes a double click on the row it was pressed on.
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, Qt::NoModifier, at.center());
  }
};

TEST_F(FindingsPanelTest, F8FillsThePanelUnderTheListAndEscClosesIt) {
  EXPECT_FALSE(window->findings()->isVisible());
  QTest::keyClick(window->list(), Qt::Key_F8);
  ASSERT_TRUE(window->findings()->isVisible());
  EXPECT_EQ(window->findings()->statusText(), "Nessun problema trovato.");
  EXPECT_EQ(window->findings()->rows()->topLevelItemCount(), 0);
  // Under the list, not over it.
  EXPECT_GE(window->findings()->geometry().top(),
            window->list()->mapTo(window.get(), window->list()->rect().bottomLeft()).y());
  QTest::keyClick(window->findings()->rows(), Qt::Key_Escape);
  EXPECT_FALSE(window->findings()->isVisible());
  EXPECT_TRUE(window->isVisible());  // Esc there never closes the window
}

// Keys pressed in the findings panel are no keys of the list: Canc there deletes nothing.
TEST_F(FindingsPanelTest, CancInThePanelDeletesNoResource) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(window->list(), Qt::Key_F8);
  window->findings()->rows()->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::focusWidget(), window->findings()->rows());
  ui.buttons = {kIdYes};
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(FindingsPanelTest, ADoubleClickSelectsTheResourceAndOpensTheDesignerOnTheControl) {
  Finding icon;
  icon.resource = keyAt(doc.index(), 0);
  icon.message = "Un problema";
  Finding control;
  control.rule = CheckRule::Overlap;
  control.resource = keyAt(doc.index(), 1);
  control.control = "2";
  control.controlIndex = 1;
  control.message = "Altro problema";
  window->findings()->showFindings({icon, control}, doc);
  window->findings()->show();
  QApplication::processEvents();
  EXPECT_EQ(window->findings()->rows()->topLevelItem(1)->text(1), "D D");

  window->list()->setCurrentRow(1);
  doubleClickRow(0);
  EXPECT_EQ(window->list()->currentRow(), 0);
  // Enter on a row leads there too, and goes no further: the icon's editor is not started.
  window->list()->setCurrentRow(1);
  QTest::keyClick(window->findings()->rows(), Qt::Key_Return);
  EXPECT_EQ(window->list()->currentRow(), 0);
  EXPECT_TRUE(ui.runs.empty());

  std::optional<std::size_t> current;
  // Watches for the designer, which the second row opens in its own modal loop.
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* designer = qobject_cast<DesignerWindow*>(QApplication::activeModalWidget());
    if (!designer) return;
    watch.stop();
    current = designer->designer().current();
    QTest::keyClick(designer, Qt::Key_Escape);  // a selection alone: nothing asked, nothing kept
  });
  watch.start(10);
  const std::string before = doc.text();
  doubleClickRow(1);
  EXPECT_EQ(window->list()->currentRow(), 1);
  EXPECT_EQ(current, 1u);
  EXPECT_EQ(doc.text(), before);
  EXPECT_FALSE(doc.canUndo());
}

}  // namespace
}  // namespace kolvre
