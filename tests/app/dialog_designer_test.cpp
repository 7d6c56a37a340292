// The designer window opened from the main window: where the dialog stands, moving and
// resizing its drawn frame, and what closing does to the script.
#include "app/dialog_designer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "dialogs/dialog_reader.h"
#include "document/document_commands.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kDialog =
    "DLG DIALOG 10, 20, 100, 50\r\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
    "CAPTION \"Prova\"\r\n"
    "FONT 8, \"MS Sans Serif\"\r\n"
    "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n"
    "{\r\n"
    " CONTROL \"OK\", 1, \"BUTTON\", BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 5, "
    "50, 14\r\n"
    "}";

class DesignerTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override { showMainWindow("d.rc", kDialog); }
  // Opens the designer with Enter and, once it is up, runs `act` on it.
  void design(const std::function<void(DesignerWindow&)>& act) {
    bool acted = false;
    QTimer::singleShot(0, [&] {
      auto* designer = qobject_cast<DesignerWindow*>(QApplication::activeModalWidget());
      if (!designer) designer = window->findChild<DesignerWindow*>();
      ASSERT_TRUE(designer);
      acted = true;
      act(*designer);
    });
    QTest::keyClick(window->list(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(acted);
  }
  // Drags the drawn window from `from` by `by`, in the window's coordinates at the press
  // (a move is given in them too, so it is made in one step: the window moves under it).
  static void drag(DialogWindow* w, QPoint from, QPoint by) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(w, from + by);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, w->mapFromGlobal(w->mapToGlobal(from)));
  }
  static void escape(DesignerWindow& d) { QTest::keyClick(&d, Qt::Key_Escape); }
};

TEST_F(DesignerTest, TheDialogStandsWhereItsPreviewStandsAndAnUnchangedCloseAsksNothing) {
  const QPoint previewAt = window->panel()->mapToGlobal(QPoint(0, 0));
  const QSize previewSize = window->panel()->size();
  design([&](DesignerWindow& d) {
    EXPECT_EQ(d.dialogWindow()->mapToGlobal(QPoint(0, 0)), previewAt);
    EXPECT_EQ(d.dialogWindow()->size(), previewSize);
    EXPECT_EQ(window->defaultStatusText(), "Dialog: x 10, y 20 \u2014 100 \u00d7 50");
    escape(d);
  });
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.text(), kDialog);
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(DesignerTest, MovingTheCaptionBarMovesXAndYAndYesStoresIt) {
  ui.buttons = {kIdYes};
  design([&](DesignerWindow& d) {
    drag(d.dialogWindow(), QPoint(40, 12), QPoint(7, 3));
    escape(d);
  });
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kAskStoreDialog);
  EXPECT_EQ(doc.text().substr(0, 28), "DLG DIALOG 17, 23, 100, 50\r\n");
  EXPECT_EQ(doc.text().substr(28), kDialog.substr(28));
  // One step of the main window's history; the panel follows once the designer has closed.
  doc.undo();
  EXPECT_EQ(doc.text(), kDialog);
}

// The designer's F9 saves as the main window's does.
TEST_F(DesignerTest, F9SavesAndTheStatusBarSaysSo) {
  design([&](DesignerWindow& d) {
    drag(d.dialogWindow(), QPoint(40, 12), QPoint(7, 3));
    QTest::keyClick(&d, Qt::Key_F9);
    EXPECT_EQ(window->statusBar()->currentMessage(), "Salvato.");
    EXPECT_FALSE(window->windowTitle().endsWith("*"));
    escape(d);
  });
  EXPECT_EQ(testing::TempDir::read(file).substr(0, 28), "DLG DIALOG 17, 23, 100, 50\r\n");
}

TEST_F(DesignerTest, ResizingTheFrameChangesCxAndCyAndShowsTheSize) {
  ui.buttons = {kIdYes};
  design([&](DesignerWindow& d) {
    DialogWindow* w = d.dialogWindow();
    // The bottom-right corner, 30 pixels wider (20 units of MS Sans Serif 8, 1.5 pixels each)
    // and 13 pixels higher (8 units).
    drag(w, QPoint(w->width() - 2, w->height() - 2), QPoint(30, 13));
    EXPECT_EQ(window->defaultStatusText(), "Dialog: x 10, y 20 \u2014 120 \u00d7 58");
    escape(d);
  });
  EXPECT_EQ(doc.text().substr(0, 28), "DLG DIALOG 10, 20, 120, 58\r\n");
}

TEST_F(DesignerTest, WhatTheDesignerSaidOfAControlEndsWithIt) {
  design([&](DesignerWindow& d) {
    auto* ok = d.dialogWindow()->findChild<QPushButton*>();
    ASSERT_TRUE(ok);
    QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_EQ(window->defaultStatusText().left(6), "Id: 1 ");
    escape(d);
  });
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(window->defaultStatusText().startsWith("Id:"));
  EXPECT_EQ(window->statusBar()->currentMessage(), "");
}

TEST_F(DesignerTest, CancelReopensOnTheEditAndNoDropsIt) {
  ui.buttons = {kIdCancel, kIdNo};
  int openings = 0;
  QPoint second;
  std::function<void(DesignerWindow&)> act = [&](DesignerWindow& d) {
    if (++openings == 1) {
      drag(d.dialogWindow(), QPoint(40, 12), QPoint(7, 3));
      // The designer opens again on the moved dialog once the question is cancelled.
      QTimer::singleShot(0, [&] {
        auto* again = qobject_cast<DesignerWindow*>(QApplication::activeModalWidget());
        ASSERT_TRUE(again);
        act(*again);
      });
    } else {
      second = d.dialogWindow()->pos();
    }
    escape(d);
  };
  const QPoint first = window->panel()->pos() - QPoint(window->panelLeft(), 0);
  design(act);
  EXPECT_EQ(openings, 2);
  EXPECT_EQ(second, first + QPoint(7, 3));
  EXPECT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(doc.text(), kDialog);
}

TEST_F(DesignerTest, TheCloseBoxEndsTheSessionAsEscDoes) {
  ui.buttons = {kIdNo};
  design([&](DesignerWindow& d) {
    drag(d.dialogWindow(), QPoint(40, 12), QPoint(14, 0));
    QTest::mouseClick(d.dialogWindow(), Qt::LeftButton, Qt::NoModifier,
                      d.dialogWindow()->closeBox().center());
  });
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(doc.text(), kDialog);
}

// However the designer ends, the keyboard is the main window's again, on the list: F9 and the
// other keys act at once, without a click first.
TEST_F(DesignerTest, AfterTheDesignerTheMainWindowIsActiveAndTheListHasTheFocus) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ui.buttons = {kIdYes};
  design([&](DesignerWindow& d) {
    drag(d.dialogWindow(), QPoint(40, 12), QPoint(7, 3));
    escape(d);
  });
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), window.get());
  EXPECT_EQ(QApplication::focusWidget(), window->list());
  // Closed by its close box too.
  design([&](DesignerWindow& d) {
    QTest::mouseClick(d.dialogWindow(), Qt::LeftButton, Qt::NoModifier,
                      d.dialogWindow()->closeBox().center());
  });
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), window.get());
  EXPECT_EQ(QApplication::focusWidget(), window->list());
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST(DialogSnapshot, PicturesTheDialogWithItsFrameOrSaysWhyNot) {
  Document doc;
  doc.load("", kDialog + "\r\n\r\nBAD DIALOG 0, 0\r\n{\r\n}");
  std::string why;
  const auto picture = dialogSnapshot(doc, "DLG", why);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->size(), QSize(158, 111));  // MS Sans Serif 8: 6 x 13 base units
  EXPECT_FALSE(dialogSnapshot(doc, "NONE", why));
  EXPECT_EQ(why, "Risorsa NONE non trovata.");
  EXPECT_FALSE(dialogSnapshot(doc, "BAD", why));
  EXPECT_EQ(why, dialogFailureText(DialogFailure::NoHeaderNumbers));
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

using DialogPreviewNotices = testing::MainWindowFixture<>;

TEST_F(DialogPreviewNotices, GoToTheStatusBarAndTheDesignerShowsThemAsMessages) {
  showMainWindow("n.rc",
                 "N DIALOG 0, 0, 100, 50\r\nSTYLE DS_MODALFRAME | WS_POPUP | MY_LOOK\r\n"
                 "FONT 8, \"MS Sans Serif\"\r\n{\r\n LTEXT \"&Nome:\", -1, 5, 5, 40, 8, 12AB\r\n}");
  EXPECT_TRUE(ui.messages.empty());
  // The style reads as DS_MODALFRAME | WS_POPUP (the missing symbol adds nothing) and there is
  // no CAPTION statement: the preview has no caption bar.
  EXPECT_EQ(window->defaultStatusText(),
            "Dialog: 158 x 89   Stile non valido. Simbolo non definito: MY_LOOK.");
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<DesignerWindow*>(QApplication::activeModalWidget()))
      QTest::keyClick(d, Qt::Key_Escape);
  });
  QTest::keyClick(window->list(), Qt::Key_Return);
  // One message, however many notices.
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Stile non valido.\nSimbolo non definito: MY_LOOK.");
}

}  // namespace
}  // namespace kolvre
