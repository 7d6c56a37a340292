// "Confronta traduzioni": a dialog's languages side by side, the findings outlined in red on
// their previews, and the list's context menu offering it only for a translated dialog.
#include "app/translations_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/dialog_panel.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

// DLG in Italian and in English, where the English one lacks the Cancel button (2) and its text
// (101) no longer fits; SOLO only in English.
const std::string kScript =
    "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN\r\n"
    "DLG DIALOG 0, 0, 120, 50\r\nSTYLE WS_POPUP | WS_CAPTION\r\nCAPTION \"Prova\"\r\n{\r\n"
    " LTEXT \"Nome\", 101, 5, 5, 40, 10\r\n PUSHBUTTON \"OK\", 1, 5, 30, 40, 14\r\n"
    " PUSHBUTTON \"Annulla\", 2, 60, 30, 40, 14\r\n}\r\n\r\n"
    "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\r\n"
    "DLG DIALOG 0, 0, 120, 50\r\nSTYLE WS_POPUP | WS_CAPTION\r\nCAPTION \"Test\"\r\n{\r\n"
    " LTEXT \"The name of the new document\", 101, 5, 5, 40, 10\r\n"
    " PUSHBUTTON \"OK\", 1, 5, 30, 40, 14\r\n}\r\n\r\n"
    "SOLO DIALOG 0, 0, 60, 30\r\n{\r\n}\r\n";

bool red(const QImage& picture, QPoint at) {
  return picture.pixelColor(at) == QColor(Qt::red);
}

class TranslationsWindowTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override { showMainWindow("t.rc", kScript); }
  // The context menu's items on row `row` of the list.
  QStringList menuItems(int row) {
    window->list()->setCurrentIndex(window->list()->model()->index(row, 0));
    QStringList shown;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_TRUE(menu);
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) shown << a->text().section(QLatin1Char('\t'), 0, 0);
      menu->close();
    });
    window->list()->onContextMenu(window->list()->mapToGlobal(QPoint(20, 20)));
    return shown;
  }
};

TEST_F(TranslationsWindowTest, ThePreviewsSideBySideWithTheTranslationsFindingsOutlined) {
  const std::unique_ptr<QDialog> compare(translationsWindow(doc, 0, window.get()));
  ASSERT_TRUE(compare);
  EXPECT_EQ(compare->windowTitle(), "Confronta traduzioni: DLG");
  compare->show();
  QApplication::processEvents();
  const auto previews = compare->findChildren<DialogWindow*>("translationPreview");
  ASSERT_EQ(previews.size(), 2);
  // The first language on the left, each under its tag, each frame whole in its holder.
  EXPECT_LT(previews[0]->mapTo(compare.get(), QPoint()).x(),
            previews[1]->mapTo(compare.get(), QPoint()).x());
  QStringList tags;
  for (QLabel* label : compare->findChildren<QLabel*>()) tags << label->text();
  EXPECT_TRUE(tags.contains("it") && tags.contains("en-US")) << tags.join(", ").toStdString();
  for (DialogWindow* p : previews) {
    EXPECT_GE(p->x(), 0);
    EXPECT_LE(p->geometry().right(), p->parentWidget()->width() - 1);
  }

  // The English text is outlined; the Italian one, which fits, is not.
  const auto outlined = [](DialogWindow* preview, int control) {
    const QImage client = preview->clientArea()->grab().toImage();
    const QRect r = preview->controls()[control]->geometry();
    return red(client, QPoint(r.left() - 1, r.center().y())) &&
           red(client, QPoint(r.center().x(), r.bottom() + 2));
  };
  EXPECT_TRUE(outlined(previews[1], 0));
  EXPECT_FALSE(outlined(previews[1], 1));
  EXPECT_FALSE(outlined(previews[0], 0));
  // The missing button has no control to outline: the whole English preview is.
  const auto framed = [](DialogWindow* preview) {
    const QImage holder = preview->parentWidget()->grab().toImage();
    return red(holder, QPoint(preview->x() - 1, preview->height() / 2));
  };
  EXPECT_TRUE(framed(previews[1]));
  EXPECT_FALSE(framed(previews[0]));
  const auto lists = compare->findChildren<QListWidget*>("translationFindings");
  ASSERT_EQ(lists.size(), 2);
  EXPECT_EQ(lists[1]->count(), 2);
}

TEST_F(TranslationsWindowTest, OfferedOnlyForATranslatedDialogOpenedFromTheMenuClosedByEsc) {
  EXPECT_FALSE(menuItems(2).contains("Confronta traduzioni"));
  ASSERT_TRUE(menuItems(1).contains("Confronta traduzioni"));
  QString opened;
  bool closedByEsc = false;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    QTimer::singleShot(0, [&] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        opened = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
        closedByEsc = !modal->isVisible();
        modal->close();
      }
    });
    for (QAction* a : menu->actions())
      if (a->text() == "Confronta traduzioni") a->trigger();
    menu->close();
  });
  window->list()->onContextMenu(window->list()->mapToGlobal(QPoint(20, 20)));
  EXPECT_EQ(opened, "Confronta traduzioni: DLG");
  EXPECT_TRUE(closedByEsc);
}

}  // namespace
}  // namespace kolvre
