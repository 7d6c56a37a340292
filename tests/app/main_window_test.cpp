// The main window driven offscreen: list, keys, menus, panel and close check.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "document/document_commands.h"
#include "document/reorder.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

const std::string kScript = std::string("ABOUT DIALOG 0, 0, 10, 10\r\n{\r\n}") +
                            std::string(kBlockSeparator) + "LOGO BITMAP\r\n{\r\n}" +
                            std::string(kBlockSeparator) + "VER VERSIONINFO\r\n{\r\n}";

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = dir.write("s.rc", kScript);
    loadDocument(doc, file);
    window = std::make_unique<MainWindow>(doc, ui);
    window->resize(800, 600);
    window->show();
    QApplication::processEvents();
  }
  void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(window->list(), static_cast<Qt::Key>(k), m);
    QApplication::processEvents();
  }
  QString cell(int row, int column) const {
    return window->list()->model()->index(row, column).data().toString();
  }

  TempDir dir;
  std::string file;
  ScriptedUi ui;
  Document doc;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ListShowsTheIndexAndTheTitleTheFile) {
  EXPECT_EQ(window->list()->model()->rowCount(), 3);
  EXPECT_EQ(cell(0, 0), "ABOUT");
  EXPECT_EQ(cell(1, 1), "B");
  EXPECT_EQ(cell(2, 1), "VI");
  EXPECT_EQ(window->windowTitle().toStdString(), "KOLV Software Resource Editor - " + file);
  EXPECT_EQ(window->list()->width(), 180);
  EXPECT_EQ(window->list()->columnWidth(0), 145);
}

TEST_F(MainWindowTest, MenusAndButtonsAreInPlace) {
  QStringList menus;
  for (QAction* a : window->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Risorse", "?"}));
  const auto* bar = window->findChild<QToolBar*>("buttonBar");
  ASSERT_TRUE(bar);
  QStringList tips;
  for (QAction* a : bar->actions())
    if (!a->isSeparator()) tips << a->toolTip();
  EXPECT_EQ(tips, (QStringList{"Nuovo file di risorse", "Apri file di risorse (F2)",
                               "Salva file di risorse (F9)", "Esci"}));
}

TEST_F(MainWindowTest, TypingSearchesByName) {
  QTest::keyClicks(window->list(), "lo");
  EXPECT_EQ(window->list()->currentRow(), 2);
  QTest::keyClick(window->list(), Qt::Key_Backspace);
  QTest::keyClick(window->list(), Qt::Key_Backspace);
  EXPECT_EQ(window->list()->currentRow(), 1);
}

TEST_F(MainWindowTest, CtrlKeysReachTheResourceCommands) {
  ui.inputs = {"NEWDLG"};
  key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(doc.index.size(), 4u);
  EXPECT_EQ(cell(window->list()->currentRow() - 1, 0), "NEWDLG");
  ui.buttons = {kIdOk};
  key(Qt::Key_Delete);
  EXPECT_EQ(doc.index.size(), 3u);
  key(Qt::Key_Insert);  // plain Insert does nothing
  EXPECT_TRUE(ui.clipboard.empty());
  key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_FALSE(ui.clipboard.empty());
}

TEST_F(MainWindowTest, EscClosesOnlyWhenEnabled) {
  key(Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  ui.writeSetting("Parametri", "Esc", "Sì");
  key(Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());  // unchanged script: closes without asking
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, CloseAsksWhenChangedAndCancelKeepsTheWindow) {
  doc.text += "\r\n";
  ui.buttons = {kIdCancel};
  window->close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(ui.messages.back().kind, MsgKind::YesNoCancel);
}

TEST_F(MainWindowTest, VersionInfoShowsTheEmptyPanelAndClearsTheStatus) {
  window->setDefaultStatusText("x");
  window->list()->setCurrentRow(3);
  window->list()->stabilize();
  QApplication::processEvents();
  ASSERT_TRUE(window->panel());
  EXPECT_EQ(window->panel()->size(), QSize(0, 0));
  EXPECT_FALSE(window->panel()->isEnabled());
  EXPECT_EQ(window->panel()->x(), 180);
  EXPECT_EQ(window->defaultStatusText(), "");
}

TEST_F(MainWindowTest, EnterOnVersionInfoOpensTheTextEditor) {
  window->list()->setCurrentRow(3);
  key(Qt::Key_Return);
  // No editor configured: the user is told which setting to make.
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_NE(ui.messages.back().text.find("TXT"), std::string::npos);
}

TEST_F(MainWindowTest, AFailureIsReportedAndTheWindowStays) {
  ui.files = {dir.file("sub")};
  std::filesystem::create_directory(dir.file("sub.RC"));
  key(Qt::Key_F2);
  EXPECT_EQ(doc.fileName, file);
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace kolvre

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
