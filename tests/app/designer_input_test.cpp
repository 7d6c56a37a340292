// The designer's window driven with the mouse and the keys on Qt's offscreen platform: what
// each gesture does to the dialog, the handles, the band and the script.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QRubberBand>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "app/dialog_designer.h"
#include "app/main_window.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "document/document_commands.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

// Pixels: the edit at (8, 9) 88 x 23, the button at (97, 49), the group box around both
// neighbours at (175, 8) 158 x 81 holding a check box.
const std::string kDialog =
    "DLG DIALOG 0, 0, 200, 100\r\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
    "CAPTION \"Prova\"\r\n"
    "FONT 8, \"MS Sans Serif\"\r\n"
    "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n"
    "{\r\n"
    " CONTROL \"\", 101, \"EDIT\", ES_LEFT | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 5, "
    "5, 50, 14\r\n"
    " CONTROL \"OK\", 57, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 55, 30, "
    "50, 14\r\n"
    " CONTROL \"Gruppo\", -1, \"BUTTON\", BS_GROUPBOX | WS_CHILD | WS_VISIBLE, 100, 5, 90, 50\r\n"
    " CONTROL \"Scelta\", 102, \"BUTTON\", BS_AUTOCHECKBOX | WS_CHILD | WS_VISIBLE | WS_TABSTOP, "
    "110, 20, 60, 10\r\n"
    "}";

class DesignerInput : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override {
    showMainWindow("d.rc", kDialog, QSize(900, 600));
    const DialogReading reading = readDialog(kDialog, DialogMode::Designer);
    designer = std::make_unique<DesignerWindow>(reading.dialog, designerSurroundings(*window), ui,
                                                [this](const DialogModel& d) {
                                                  stored.push_back(dialogBlock(d, "DLG"));
                                                  return true;
                                                });
    designer->show();
    QApplication::processEvents();
  }
  QWidget* client() const { return designer->dialogWindow()->clientArea(); }
  QWidget* live(int i) const { return designer->dialogWindow()->controls()[i]; }
  const DialogControl& model(int i) const { return designer->designer().dialog().controls[i]; }
  QPoint topLeft(int i) const { return {model(i).rect.x, model(i).rect.y}; }
  // A press on `w` at `at` (client area), moves to each point of `path` (client area), release.
  void gesture(QWidget* w, QPoint at, std::initializer_list<QPoint> path,
               Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::mousePress(w, Qt::LeftButton, m, w->mapFrom(client(), at));
    QPoint last = at;
    for (QPoint p : path) {
      QTest::mouseMove(w, w->mapFrom(client(), p));
      last = p;
    }
    QTest::mouseRelease(w, Qt::LeftButton, m, w->mapFrom(client(), last));
  }
  void click(QWidget* w, QPoint at, Qt::KeyboardModifiers m = Qt::NoModifier) {
    gesture(w, at, {}, m);
  }
  void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(designer.get(), k, m);
  }
  std::string written() const { return dialogBlock(designer->designer().dialog(), "DLG"); }

  std::unique_ptr<DesignerWindow> designer;
  std::vector<std::string> stored;
};

TEST_F(DesignerInput, ADraggedControlSnapsToTheGridAndShowsItsHandlesAfterwards) {
  // The edit, grabbed 4 pixels right of and 6 below its corner, moved so that its corner would
  // stand 30 pixels from the left and 20 from the top.
  gesture(live(0), QPoint(13, 14), {QPoint(20, 20), QPoint(34, 26)});
  EXPECT_EQ(topLeft(0), QPoint(26, 16));
  EXPECT_EQ(live(0)->pos(), QPoint(26, 16));
  EXPECT_EQ(designer->designer().current(), 0u);
  for (int type = 1; type <= kHandleCount; ++type) EXPECT_TRUE(designer->handle(type)->isVisible());
  EXPECT_EQ(window->defaultStatusText(), "Id: 101   x 15, y 10 \u2014 50 \u00d7 14");
}

TEST_F(DesignerInput, ArrowKeysNudgeByOneDialogUnit) {
  gesture(live(0), QPoint(13, 14), {QPoint(34, 26)});
  ASSERT_EQ(topLeft(0).x(), 26);
  key(Qt::Key_Right);
  EXPECT_EQ(topLeft(0).x(), 28);
  EXPECT_EQ(live(0)->x(), 28);
  // One undo step per key press.
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(topLeft(0).x(), 26);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(topLeft(0), QPoint(9, 8));
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(topLeft(0).x(), 26);
}

TEST_F(DesignerInput, ABandAcrossTheGroupBoxSelectsItAndOneInsideItDoesNot) {
  // Inside the group box, away from its frame: only the check box.
  gesture(client(), QPoint(190, 45), {QPoint(250, 50), QPoint(300, 55)});
  EXPECT_FALSE(model(2).selected);
  EXPECT_TRUE(model(3).selected);
  EXPECT_FALSE(designer->band()->isVisible());
  // Across its edge: the group box too.
  gesture(client(), QPoint(150, 20), {QPoint(200, 40), QPoint(300, 55)});
  EXPECT_TRUE(model(2).selected);
  EXPECT_TRUE(model(3).selected);
  EXPECT_FALSE(model(0).selected);
}

TEST_F(DesignerInput, TheBandShowsWhileItIsDrawn) {
  QTest::mousePress(client(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
  QTest::mouseMove(client(), QPoint(120, 90));
  EXPECT_TRUE(designer->band()->isVisible());
  EXPECT_EQ(designer->band()->geometry(), QRect(QPoint(2, 2), QPoint(120, 90)));
  QTest::mouseRelease(client(), Qt::LeftButton, Qt::NoModifier, QPoint(120, 90));
  EXPECT_FALSE(designer->band()->isVisible());
  EXPECT_TRUE(model(0).selected);
  EXPECT_TRUE(model(1).selected);
}

TEST_F(DesignerInput, ABandMoveOfTwoControlsIsOneStepAndPageUpMovesOnlyTheButton) {
  gesture(client(), QPoint(2, 2), {QPoint(120, 90)});
  ASSERT_TRUE(model(0).selected && model(1).selected);
  // Drag the button one grid step to the right: the edit follows.
  gesture(live(1), QPoint(100, 52), {QPoint(109, 52)});
  EXPECT_EQ(topLeft(1).x(), 105);
  EXPECT_EQ(topLeft(0).x(), 18);
  key(Qt::Key_PageUp);
  // The edit keeps its place: Page Up moves the caret in an edit.
  EXPECT_EQ(topLeft(0).y(), 8);
  EXPECT_LT(topLeft(1).y(), 49);
  key(Qt::Key_Z, Qt::ControlModifier);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(written(), unchangedDialogText(kDialog, "DLG"));
}

TEST_F(DesignerInput, AHandleResizesTheControlToTheGridNotBelowFifteen) {
  click(live(1), QPoint(100, 52));
  QWidget* right = designer->handle(4);
  ASSERT_TRUE(right->isVisible());
  const QPoint grip = right->geometry().center();
  gesture(right, grip, {grip + QPoint(20, 0)});
  EXPECT_GT(model(1).rect.width, 88);
  EXPECT_EQ(live(1)->width(), model(1).rect.width);
  gesture(designer->handle(4), designer->handle(4)->geometry().center(), {QPoint(60, 52)});
  EXPECT_EQ(model(1).rect.width, kMinimumSize);
}

TEST_F(DesignerInput, DeleteRemovesTheControlAndUndoBringsItBack) {
  click(live(1), QPoint(100, 52));
  key(Qt::Key_Delete);
  ASSERT_EQ(designer->dialogWindow()->controls().size(), 3);
  EXPECT_EQ(designer->designer().dialog().controls.size(), 3u);
  EXPECT_FALSE(designer->handle(1)->isVisible());
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(designer->dialogWindow()->controls().size(), 4);
  EXPECT_EQ(written(), unchangedDialogText(kDialog, "DLG"));
}

TEST_F(DesignerInput, F9StoresTheDialogAndTheDesignerStaysOpen) {
  gesture(live(0), QPoint(13, 14), {QPoint(34, 26)});
  key(Qt::Key_F9);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_NE(stored[0].find(", 15, 10, 50, 14"), std::string::npos);
  EXPECT_TRUE(designer->isVisible());
}

TEST_F(DesignerInput, EscClosesTheDesigner) {
  key(Qt::Key_Escape);
  EXPECT_FALSE(designer->isVisible());
  EXPECT_EQ(designer->result(), QDialog::Rejected);
}

TEST_F(DesignerInput, ResizingTheFrameResizesTheGridArea) {
  DialogWindow* w = designer->dialogWindow();
  const QPoint corner(w->width() - 2, w->height() - 2);
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, corner);
  QTest::mouseMove(w, corner + QPoint(35, 13));
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, corner + QPoint(35, 13));
  EXPECT_EQ(designer->designer().dialog().rect.width, 200 * 7 / 4 + 8 + 35);
  EXPECT_EQ(designer->designer().clientSize().width, client()->width());
  EXPECT_EQ(written().substr(0, 27), "DLG DIALOG 0, 0, 220, 108\r\n");
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST_F(DesignerInput, AllDraggedOneStepAndBackOrUndoneWriteTheBlockAsRead) {
  const auto unchanged = unchangedDialogText(kDialog, "DLG");
  gesture(client(), QPoint(1, 1), {QPoint(360, 150)});
  ASSERT_TRUE(model(0).selected && model(1).selected && model(2).selected && model(3).selected);
  const QPoint grab = QPoint(100, 52);
  gesture(live(1), grab, {grab + QPoint(9, 8)});
  EXPECT_NE(written(), unchanged);
  const QPoint moved = grab + QPoint(9, 8);
  gesture(live(1), moved, {grab});
  EXPECT_EQ(written(), unchanged);
  gesture(live(1), grab, {grab + QPoint(9, 8)});
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(written(), unchanged);
}

TEST_F(DesignerInput, TheRightButtonOpensTheCommandsWithUndoDisabledAtFirst) {
  QStringList shown;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) shown << a->text() + (a->isEnabled() ? "" : " (spento)");
    menu->close();
  });
  QTest::mouseClick(live(1), Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_TRUE(shown.contains("Annulla\tCTRL-Z (spento)")) << shown.join(", ").toStdString();
  EXPECT_TRUE(shown.contains("Proprietà\tCTRL-P")) << shown.join(", ").toStdString();
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST_F(DesignerInput, ControlsBuiltAgainAfterAnUndoTakeTheMouse) {
  click(live(1), QPoint(100, 52));
  key(Qt::Key_Delete);
  key(Qt::Key_Z, Qt::ControlModifier);
  ASSERT_EQ(designer->dialogWindow()->controls().size(), 4);
  click(live(0), QPoint(13, 14));
  EXPECT_EQ(designer->designer().current(), 0u);
  EXPECT_TRUE(designer->handle(1)->isVisible());
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST_F(DesignerInput, AMessageOfTheMenuGivesWayToTheNextStatusText) {
  QTimer::singleShot(0, [] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) menu->close();
  });
  QTest::mouseClick(client(), Qt::RightButton, Qt::NoModifier, QPoint(300, 150));
  EXPECT_EQ(window->statusBar()->currentMessage(), "Dialog: x 0, y 0 \u2014 200 \u00d7 100");
  click(live(1), QPoint(100, 52));
  EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
  EXPECT_EQ(window->defaultStatusText(), "Id: 57   x 55, y 30 \u2014 50 \u00d7 14");
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

// "Elimina" chosen from a control's own context menu rebuilds the live controls while that
// control's input filter is still handling the click: the control is hidden at once and deleted
// only once its event has been handled.
TEST_F(DesignerInput, AControlDeletedFromItsOwnContextMenuGoesAfterItsClick) {
  QPointer<QWidget> button = live(1);
  bool chosen = false;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    for (QAction* a : menu->actions()) {
      if (a->text() != QStringLiteral("Elimina\tCANC")) continue;
      menu->setActiveAction(a);
      QTest::keyClick(menu, Qt::Key_Return);
      chosen = true;
      return;
    }
    menu->close();
  });
  QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(designer->designer().dialog().controls.size(), 3u);
  ASSERT_EQ(designer->dialogWindow()->controls().size(), 3);
  EXPECT_FALSE(designer->dialogWindow()->controls().contains(button.data()));
  ASSERT_TRUE(button) << "deleted while its own event was being handled";
  EXPECT_FALSE(button->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(button);
  // The controls built again take the mouse, and the deletion is one undo step.
  click(live(0), QPoint(13, 14));
  EXPECT_EQ(designer->designer().current(), 0u);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(written(), unchangedDialogText(kDialog, "DLG"));
}

}  // namespace
}  // namespace kolvre
