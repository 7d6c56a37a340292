// The main window and the script's file on disk, offscreen: the title's mark, "Salvato.", and
// the question when another program rewrites the file (the watcher, or the window activated).
#include <gtest/gtest.h>

#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kScript = "LOGO BITMAP\r\n{\r\n}";
const std::string kReload = "Il file è stato modificato da un altro programma. Ricaricarlo?";

class MainWindowDisk : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override { showMainWindow("s.rc", kScript); }
  void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(window->list(), static_cast<Qt::Key>(k), m);
  }
  bool marked() const { return window->windowTitle().endsWith('*'); }
  QString status() const { return window->statusBar()->currentMessage(); }
  // Waits for the watcher's signal and the question it leads to; then for any other.
  bool asked(std::size_t count) {
    const bool reached = QTest::qWaitFor([&] { return ui.messages.size() >= count; }, 5000);
    QTest::qWait(300);
    return reached && ui.messages.size() == count;
  }
};

TEST_F(MainWindowDisk, TheTitleMarksUnsavedChangesUntilSavedOrUndone) {
  EXPECT_FALSE(marked());
  ui.inputs = {"PIC"};
  key(Qt::Key_R, Qt::ControlModifier);
  EXPECT_TRUE(marked());
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(marked());
  key(Qt::Key_Y, Qt::ControlModifier);
  key(Qt::Key_F9);
  EXPECT_FALSE(marked());
  EXPECT_EQ(status(), "Salvato.");
  EXPECT_TRUE(asked(0));  // our own save
}

TEST_F(MainWindowDisk, YesReloadsAndTheFileRenamedIntoPlaceIsWatchedToo) {
  ui.buttons = {kIdYes, kIdYes};
  std::filesystem::rename(dir.write("new.tmp", "NEW BITMAP\r\n{\r\n}\r\n"), file);
  ASSERT_TRUE(asked(1));
  EXPECT_EQ(ui.messages[0].text, kReload);
  EXPECT_EQ(window->list()->model()->index(0, 0).data().toString(), "NEW");
  EXPECT_FALSE(doc.canUndo());
  dir.write("s.rc", "THIRD BITMAP\r\n{\r\n}");
  ASSERT_TRUE(asked(2));
  EXPECT_EQ(window->list()->model()->index(0, 0).data().toString(), "THIRD");
}

TEST_F(MainWindowDisk, NoKeepsTheTextAndTheNextSaveAsksBeforeWritingOver) {
  ui.buttons = {kIdNo, kIdNo};
  dir.write("s.rc", "OTHER BITMAP\r\n{\r\n}\r\n");
  ASSERT_TRUE(asked(1));
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_TRUE(marked());
  key(Qt::Key_F9);
  EXPECT_EQ(ui.messages.back().text,
            "Il file è stato modificato da un altro programma. Sovrascriverlo?");
  EXPECT_EQ(status(), "");
  ui.buttons = {kIdYes};
  key(Qt::Key_F9);
  EXPECT_EQ(status(), "Salvato.");
  EXPECT_EQ(dir.read(file), kScript);
}

TEST_F(MainWindowDisk, AFileBackAfterItsDeletionIsFoundWhenTheWindowIsActivated) {
  std::filesystem::remove(file);
  ASSERT_TRUE(asked(1));  // said once; the watcher holds the path no more
  dir.write("s.rc", "BACK BITMAP\r\n{\r\n}");
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  ASSERT_TRUE(asked(1));
  ui.buttons = {kIdYes};
  window->activateWindow();
  ASSERT_TRUE(asked(2));
  EXPECT_EQ(ui.messages[1].text, kReload + "\nLe modifiche non salvate andranno perse.");
  EXPECT_EQ(doc.text(), "BACK BITMAP\r\n{\r\n}");
}

}  // namespace
}  // namespace kolvre
