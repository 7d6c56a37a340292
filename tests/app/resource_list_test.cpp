// The resource list in the main window, offscreen: its rows and how wide its columns are.
#include "app/resource_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QStyle>
#include <QTest>

#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

class ResourceList : public testing::MainWindowFixture<> {
 protected:
  ResourceListView* list() const { return window->list(); }
  // The text of a cell as the list paints it: cut with "…" where its column is too narrow.
  QString painted(int row, int column) const {
    const QModelIndex cell = list()->model()->index(row, column);
    const QFontMetrics metrics(cell.data(Qt::FontRole).value<QFont>());
    // The painter leaves two pixels left of the text and one right of it.
    return metrics.elidedText(cell.data().toString(), Qt::ElideRight,
                              list()->columnWidth(column) - 3);
  }
  void expectNothingCut() const {
    const QAbstractItemModel* model = list()->model();
    for (int row = 0; row < model->rowCount(); ++row)
      for (int column = 0; column < 3; ++column) {
        if (list()->isColumnHidden(column)) continue;
        EXPECT_EQ(painted(row, column), model->index(row, column).data().toString())
            << row << "," << column;
      }
  }
};

TEST_F(ResourceList, ResourcesTheCompilerSkipsAreGreyed) {
  showMainWindow("g.rc",
                 "#ifdef APSTUDIO_INVOKED\r\nB ICON \"b.ico\"\r\n#endif\r\nA ICON \"a.ico\"\r\n");
  const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
  const QAbstractItemModel* model = list()->model();
  ASSERT_EQ(model->rowCount(), 2);
  for (int column = 0; column < 3; ++column) {
    EXPECT_NE(model->index(0, column).data(Qt::ForegroundRole).value<QColor>(), grey) << column;
    EXPECT_EQ(model->index(1, column).data(Qt::ForegroundRole).value<QColor>(), grey) << column;
  }
}

TEST_F(ResourceList, AnEmptyScriptShowsAnEmptyList) {
  showMainWindow("e.rc", "// nothing yet\r\n");
  EXPECT_EQ(list()->model()->rowCount(), 0);
  EXPECT_FALSE(list()->currentIndex().isValid());
  EXPECT_FALSE(list()->selectionModel()->hasSelection());
  // Home and End find no row to go to.
  QTest::keyClick(list(), Qt::Key_End);
  QTest::keyClick(list(), Qt::Key_Home);
  EXPECT_FALSE(list()->currentIndex().isValid());
  // The first resource made shows as the one row.
  ui.inputs = {"D1"};
  QTest::keyClick(list(), Qt::Key_D, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_EQ(list()->model()->rowCount(), 1);
  EXPECT_EQ(list()->currentRow(), 0);
}

// At open, every column shows its texts whole: the names, the codes and the languages, each
// measured in the font it is painted in.
TEST_F(ResourceList, AtOpenTheColumnsShowTheirTextsWhole) {
  std::string script = "LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\r\n";
  for (const char* name : {"1001", "IDD_PREFERENZE_X", "WWWWWWWWWWWWWWW"})
    script += std::string(name) + " DIALOG 0, 0, 9, 9\r\n{\r\n}\r\n";
  showMainWindow("it.rc", script);
  EXPECT_FALSE(list()->isColumnHidden(2));
  expectNothingCut();
  EXPECT_GT(list()->width(), 180);
}

TEST_F(ResourceList, LongerLanguageTagsAndTypeWordsShowWholeToo) {
  showMainWindow("langs.rc",
                 "LANGUAGE LANG_SERBIAN, SUBLANG_SERBIAN_LATIN\r\nA DIALOG 0, 0, 9, 9\r\n{\r\n}\r\n"
                 "LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\r\nB DIALOG 0, 0, 9, 9\r\n{\r\n}\r\n"
                 "M MESSAGETABLE m.bin\r\n");
  EXPECT_EQ(list()->model()->index(0, 2).data().toString(), "sr-Latn");
  expectNothingCut();
  // Short names keep the list as wide as it always was.
  EXPECT_EQ(list()->width(), 180);
}

TEST_F(ResourceList, TheNamesTakeAtMostHalfTheWindow) {
  showMainWindow("w.rc", "WWWWWWWWWWWWWWW ICON\r\n{\r\n}\r\n", QSize(300, 400));
  const int scrollBar = list()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  EXPECT_LE(list()->columnWidth(0), 150 + scrollBar);
  EXPECT_NE(painted(0, 0), "WWWWWWWWWWWWWWW");
  // Once the window is wide enough, they show whole.
  window->resize(900, 400);
  QApplication::processEvents();
  expectNothingCut();
}

// The width the bar sets is kept, and stays the list's width whatever the names.
TEST_F(ResourceList, TheWidthTheUserChoseIsKept) {
  ui.writeSetting("Parametri", "LarghezzaLista", "120");
  showMainWindow("u.rc", "WWWWWWWWWWWWWWW ICON\r\n{\r\n}\r\n");
  EXPECT_EQ(list()->width(), 120);
  window->resize(900, 500);
  QApplication::processEvents();
  EXPECT_EQ(list()->width(), 120);
}

}  // namespace
}  // namespace kolvre
