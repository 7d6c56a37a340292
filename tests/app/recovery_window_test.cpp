// The main window's part in recovery after a crash: when the recovery file is written and
// removed, and the question after opening a script. tests/app/gui_recovery.sh kills the real
// program and takes its changes back.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <filesystem>

#include "app/main_window.h"
#include "document/recovery.h"
#include "support/main_window_fixture.h"
#include "support/replace_text.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;

const std::string kScript = "ABOUT DIALOG 0, 0, 10, 10\r\n{\r\n}\r\n";

class RecoveryWindow : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override { showMainWindow("s.rc", kScript); }
  // The script's recovery file, in the test run's own state folder (qt_test_main.cpp).
  bool recoveryFileExists() const { return fs::exists(recoveryFilePath(recoveryFolder(), file)); }
  void change(std::size_t n) {
    window->dispatch([&] { testing::replaceText(doc, kScript + std::string(n, ' ')); });
  }
};

TEST_F(RecoveryWindow, ChangesInARowAreWrittenWithinTwoSecondsOfTheFirst) {
  // A change every 400 ms restarts the timer, which still fires by the second second.
  QElapsedTimer since;
  since.start();
  for (std::size_t n = 1; !recoveryFileExists() && since.elapsed() < 4000; ++n) {
    change(n);
    QTest::qWait(400);
  }
  EXPECT_TRUE(recoveryFileExists());
  EXPECT_LT(since.elapsed(), 2500);
}

TEST_F(RecoveryWindow, ASaveAndACloseWithoutSavingRemoveTheFile) {
  change(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return recoveryFileExists(); }, 2000));
  QTest::keyClick(window->list(), Qt::Key_F9);
  EXPECT_FALSE(recoveryFileExists());
  change(2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return recoveryFileExists(); }, 2000));
  ui.buttons = {kIdNo};
  window->close();
  EXPECT_FALSE(recoveryFileExists());
  QTest::qWait(1200);  // and nothing is written afterwards
  EXPECT_FALSE(recoveryFileExists());
}

TEST_F(RecoveryWindow, OpeningAScriptFromTheMenuOffersItsChanges) {
  const std::string other = dir.write("t.rc", "T ICON \"t.ico\"\r\n");
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  RecoveryRecord record;
  record.script = other;
  record.pid = ended;
  setRecoveryData(record, "T ICON \"t.ico\"\r\n", "T ICON \"t.ico\"\r\nU ICON \"u.ico\"\r\n");
  ASSERT_EQ(writeRecoveryFile(recoveryFilePath(recoveryFolder(), other), encodeRecovery(record)),
            0);
  ui.files = {other};
  ui.buttons = {kIdYes};
  QTest::keyClick(window->list(), Qt::Key_F2);
  EXPECT_EQ(doc.fileName(), other);
  EXPECT_EQ(window->list()->model()->rowCount(), 2);
  EXPECT_TRUE(doc.unsaved());
}

}  // namespace
}  // namespace kolvre
