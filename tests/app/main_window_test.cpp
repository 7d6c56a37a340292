// The main window driven offscreen: list, keys, menus, panel and close check.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <functional>

#include "app/image_panels.h"
#include "document/document_commands.h"
#include "document/reorder.h"
#include "document/templates.h"
#include "support/main_window_fixture.h"
#include "support/replace_text.h"
#include "ui/pictures.h"

namespace kolvre {
namespace {

using testing::replaceText;

const std::string kScript = std::string("ABOUT DIALOG 0, 0, 10, 10\r\n{\r\n}") +
                            std::string(kBlockSeparator) + "LOGO BITMAP\r\n{\r\n}" +
                            std::string(kBlockSeparator) + "VER VERSIONINFO\r\n{\r\n}";

class MainWindowTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override { showMainWindow("s.rc", kScript); }
  void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(window->list(), static_cast<Qt::Key>(k), m);
    QApplication::processEvents();
  }
  QString cell(int row, int column) const {
    return window->list()->model()->index(row, column).data().toString();
  }
};

TEST_F(MainWindowTest, ListShowsTheIndexAndTheTitleTheFile) {
  EXPECT_EQ(window->list()->model()->rowCount(), 3);
  EXPECT_EQ(cell(0, 0), "ABOUT");
  EXPECT_EQ(cell(1, 1), "B");
  EXPECT_EQ(cell(2, 1), "VI");
  EXPECT_EQ(window->windowTitle().toStdString(), "KOLV Software Resource Editor - " + file);
  EXPECT_EQ(window->windowFilePath().toStdString(), file);  // where the file dialogs start
  EXPECT_EQ(window->list()->width(), 180);
  // The name column takes what the type column leaves; a cut name is given whole as a tooltip.
  EXPECT_EQ(window->list()->columnWidth(0) + window->list()->columnWidth(1),
            window->list()->viewport()->width());
  EXPECT_EQ(window->list()->model()->index(0, 0).data(Qt::ToolTipRole).toString(), "ABOUT");
}

// Every label and tip of the menus and the button bar, as built, is Italian: no word of the
// list of English words (the check of the sources reads the same list).
TEST_F(MainWindowTest, MenusAndButtonsSpeakItalian) {
  QFile listFile(QStringLiteral(KOLVRE_ENGLISH_WORDS));
  ASSERT_TRUE(listFile.open(QIODevice::ReadOnly));
  QSet<QString> english;
  for (const QByteArray& line : listFile.readAll().split('\n'))
    if (!line.trimmed().isEmpty() && !line.startsWith('#'))
      english.insert(QString::fromUtf8(line.trimmed()).toLower());
  ASSERT_TRUE(english.contains("cursor"));
  QStringList texts;
  std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
    for (QAction* a : actions) {
      texts << a->text() << a->statusTip() << a->toolTip();
      if (a->menu()) walk(a->menu()->actions());
    }
  };
  walk(window->menuBar()->actions());
  for (auto* bar : window->findChildren<QToolBar*>()) walk(bar->actions());
  EXPECT_GT(texts.size(), 30);
  static const QRegularExpression wordPattern(QStringLiteral("[A-Za-z]+"));
  for (const QString& text : texts)
    for (const auto& match : wordPattern.globalMatch(text)) {
      const QString word = match.captured();
      EXPECT_FALSE(word != word.toUpper() && english.contains(word.toLower()))
          << text.toStdString() << ": " << word.toStdString();
    }
}

TEST_F(MainWindowTest, TypeAheadSearchStartsAgainAfterAPause) {
  key(Qt::Key_V);
  key(Qt::Key_E);
  EXPECT_EQ(window->list()->currentRow(), 2);  // "VE": VER, the search complete
  key(Qt::Key_A);                              // "VEA": nothing, the row stays
  EXPECT_EQ(window->list()->currentRow(), 2);
  QTest::qWait(int(kSearchPauseMs) + 150);
  key(Qt::Key_A);  // "A" alone: ABOUT
  EXPECT_EQ(window->list()->currentRow(), 0);
}

TEST_F(MainWindowTest, TheSplitterWidensTheListMovesThePanelAndIsRemembered) {
  auto* handle = window->findChild<ListSplitHandle*>("listSplitHandle");
  ASSERT_TRUE(handle);
  EXPECT_EQ(handle->x(), 180);
  const int panelAt = window->panel()->x();
  QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, QPoint(2, 50));
  QTest::mouseMove(handle, QPoint(62, 50));
  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(62, 50));
  EXPECT_EQ(window->list()->width(), 240);
  EXPECT_EQ(window->panel()->x(), panelAt + 60);
  EXPECT_EQ(ui.settings["parametri/larghezzalista"], "240");
  // Never narrower than 80 pixels.
  window->setListWidth(10);
  EXPECT_EQ(window->list()->width(), 80);
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
  QStringList items;
  for (QAction* a : window->menuBar()->actions()[1]->menu()->actions())
    if (!a->isSeparator()) items << a->text();
  EXPECT_EQ(items, (QStringList{"Nuovo manifesto (24)\tCTRL-2", "Nuove informazioni di versione",
                                "Nuova bitmap\tCTRL-B", "Nuovo cursore\tCTRL-U",
                                "Nuovo dialog\tCTRL-D", "Nuova icona\tCTRL-I", "Nuovo menu",
                                "Nuova tabella delle stringhe", "Nuova tabella degli acceleratori",
                                "Nuovi dati (RCDATA)", "Nuova pagina HTML", "Incolla\tCTRL-V",
                                "Trova nelle risorse...\tCTRL-F", "Trova il successivo\tF3",
                                "Riordina le risorse", "Mostra solo dialog e immagini", "Simboli",
                                "Annulla\tCTRL-Z", "Ripristina\tCTRL-Y"}));
}

// The "Risorse" menu's item whose text begins with `start`.
QAction* resourcesItem(MainWindow& window, const QString& start) {
  for (QAction* a : window.menuBar()->actions()[1]->menu()->actions())
    if (a->text().startsWith(start)) return a;
  return nullptr;
}

TEST_F(MainWindowTest, UndoAndRedoFollowEveryCommandAndNameTheStep) {
  QAction* undo = resourcesItem(*window, "Annulla");
  QAction* redo = resourcesItem(*window, "Ripristina");
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  const std::string opened = doc.text();

  window->list()->setCurrentRow(1);  // LOGO
  ui.inputs = {"PIC"};
  key(Qt::Key_R, Qt::ControlModifier);
  const std::string renamed = doc.text();
  EXPECT_EQ(cell(window->list()->currentRow(), 0), "PIC");
  EXPECT_EQ(undo->text(), "Annulla Rinomina\tCTRL-Z");
  EXPECT_TRUE(undo->isEnabled());

  ui.buttons = {kIdOk};
  key(Qt::Key_Delete);
  EXPECT_EQ(undo->text(), "Annulla Elimina\tCTRL-Z");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(doc.text(), renamed);
  EXPECT_EQ(cell(window->list()->currentRow(), 0), "PIC");
  EXPECT_EQ(redo->text(), "Ripristina Elimina\tCTRL-Y");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(doc.text(), opened);
  EXPECT_EQ(cell(window->list()->currentRow(), 0), "LOGO");
  EXPECT_FALSE(undo->isEnabled());
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(doc.text(), renamed);
  key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(doc.index().size(), 2u);
  EXPECT_FALSE(redo->isEnabled());
  // Undoing back to the text on disk leaves nothing to save.
  key(Qt::Key_Z, Qt::ControlModifier);
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(hasUnsavedChanges(doc));
}

TEST_F(MainWindowTest, ACommandRebuildsThePanelOnceAfterItReturns) {
  window->list()->setCurrentRow(2);
  window->showCurrent();
  const int before = window->panelsBuilt();
  ui.inputs = {"V2"};
  key(Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(window->panelsBuilt(), before + 1);
  ASSERT_TRUE(window->panel());
  EXPECT_EQ(cell(window->list()->currentRow(), 0), "V2");
}

TEST_F(MainWindowTest, NoPanelIsRebuiltWhileAModalEditorOwnsTheResource) {
  const int before = window->panelsBuilt();
  QWidget* shown = window->panel();
  window->beginModalEdit();
  // What the designer will do from inside its own loop: store a change, even in a command of
  // its own.
  window->dispatch([&] { replaceText(doc, doc.text() + "\r\n// stored"); });
  window->dispatch([&] { window->dispatch([&] { replaceText(doc, doc.text() + "\r\n"); }); });
  EXPECT_EQ(window->panelsBuilt(), before);
  EXPECT_EQ(window->panel(), shown);
  window->endModalEdit();
  EXPECT_EQ(window->panelsBuilt(), before + 1);
}

TEST_F(MainWindowTest, TypingSearchesByName) {
  QTest::keyClicks(window->list(), "lo");
  EXPECT_EQ(window->list()->currentRow(), 1);
  QTest::keyClick(window->list(), Qt::Key_Backspace);
  QTest::keyClick(window->list(), Qt::Key_Backspace);
  EXPECT_EQ(window->list()->currentRow(), 0);
}

TEST_F(MainWindowTest, CtrlKeysReachTheResourceCommands) {
  ui.inputs = {"NEWDLG"};
  key(Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(doc.index().size(), 4u);
  EXPECT_EQ(cell(window->list()->currentRow(), 0), "NEWDLG");
  ui.buttons = {kIdOk};
  key(Qt::Key_Delete);
  EXPECT_EQ(doc.index().size(), 3u);
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
  replaceText(doc, doc.text() + "\r\n");
  ui.buttons = {kIdCancel};
  window->close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(ui.messages.back().kind, MessageKind::YesNoCancel);
}

TEST_F(MainWindowTest, VersionInfoShowsItsPanelBesideTheList) {
  window->setDefaultStatusText("x");
  window->list()->setCurrentRow(2);
  window->showCurrent();
  QApplication::processEvents();
  ASSERT_TRUE(window->panel());
  EXPECT_EQ(window->panel()->objectName(), "versionPanel");
  EXPECT_TRUE(window->panel()->isEnabled());
  EXPECT_EQ(window->panel()->x(), window->panelLeft());
  EXPECT_NE(window->defaultStatusText(), "x");
}

TEST_F(MainWindowTest, EnterOnVersionInfoOpensTheTextEditor) {
  window->list()->setCurrentRow(2);
  key(Qt::Key_Return);
  // No editor configured: the user is told which setting to make.
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_NE(ui.messages.back().text.find("TXT"), std::string::npos);
}

TEST_F(MainWindowTest, HomeAndEndGoToTheFirstAndLastEntry) {
  key(Qt::Key_End);
  EXPECT_EQ(window->list()->currentRow(), 2);
  key(Qt::Key_Home);
  EXPECT_EQ(window->list()->currentRow(), 0);
}

TEST_F(MainWindowTest, CopyOnAnEmptyListLeavesTheClipboardAlone) {
  ui.buttons = {kIdOk, kIdOk, kIdOk};
  key(Qt::Key_Delete);
  key(Qt::Key_Delete);
  key(Qt::Key_Delete);
  ASSERT_TRUE(doc.index().empty());
  QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
  key(Qt::Key_C, Qt::ControlModifier);
  key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

TEST_F(MainWindowTest, TheTypeColumnIsSixteenPixelsWide) {
  EXPECT_EQ(window->list()->columnWidth(1), 16);
}

using EveryKindList = testing::MainWindowFixture<>;

TEST_F(EveryKindList, ListsEveryKindWithItsLanguageOrOnlyTheSixAsTheSettingKeeps) {
  showMainWindow("k.rc",
                 "LANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\r\nD DIALOG 0, 0, 9, 9\r\n{\r\n}\r\n"
                 "M MENU\r\n{\r\n}\r\nR RCDATA\r\n{\r\n 1\r\n}");
  const QAbstractItemModel* model = window->list()->model();
  ASSERT_EQ(model->rowCount(), 3);
  EXPECT_EQ(model->index(2, 1).data().toString(), "RCDATA");
  EXPECT_EQ(model->index(2, 2).data().toString(), "it");
  // A code wider than a letter widens the type column; the language column shows.
  EXPECT_GT(window->list()->columnWidth(1), 16);
  EXPECT_FALSE(window->list()->isColumnHidden(2));
  window->list()->setCurrentRow(1);  // M
  QAction* only = resourcesItem(*window, "Mostra solo dialog e immagini");
  ASSERT_TRUE(only && only->isCheckable());
  only->trigger();
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_EQ(ui.settings["parametri/solodialogeimmagini"], "Sì");
  window->list()->setCurrentRow(0);
  only->trigger();
  EXPECT_EQ(model->rowCount(), 3);
  EXPECT_EQ(window->list()->currentRow(), 0);  // D stays current
  EXPECT_EQ(ui.settings["parametri/solodialogeimmagini"], "No");
}

using DialogPreview = testing::MainWindowFixture<>;

TEST_F(DialogPreview, ADialogEntryShowsItsLivePreviewBesideTheList) {
  showMainWindow("d.rc",
                 "DLG DIALOG 0, 0, 100, 50\r\nSTYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION\r\n"
                 "CAPTION \"Prova\"\r\nFONT 8, \"MS Sans Serif\"\r\n{\r\n CONTROL \"OK\", 1, "
                 "\"BUTTON\", BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE, 5, 5, 50, 14\r\n}");
  ASSERT_TRUE(window->panel());
  EXPECT_EQ(window->panel()->objectName(), "dialogPreview");
  // 100 by 50 units of MS Sans Serif 8 (base units 6 x 13): 150 by 81 pixels of client area,
  // with the frame and the caption bar.
  EXPECT_EQ(window->panel()->size(), QSize(150 + 8, 81 + 8 + 22));
  EXPECT_EQ(window->defaultStatusText(), "Dialog: 158 x 111");
  const auto buttons = window->panel()->findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons[0]->text(), "OK");
  EXPECT_TRUE(buttons[0]->isDefault());
  EXPECT_EQ(buttons[0]->geometry(), QRect(8, 8, 75, 23));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, AnImageThatCannotBeShownSaysSo) {
  window->list()->setCurrentRow(1);  // LOGO: braces without data
  window->showCurrent();
  ASSERT_TRUE(window->panel());
  EXPECT_EQ(window->panel()->size(), QSize(0, 0));
  EXPECT_EQ(window->defaultStatusText(),
            "Impossibile mostrare l'immagine: i dati non formano un'immagine.");
}

// The templates of the three image kinds, shown as the list moves.
class ImagePanelsTest : public testing::MainWindowFixture<> {
 protected:
  void SetUp() override {
    const std::string sep(kBlockSeparator);
    showMainWindow("i.rc", resourceTemplate(ResourceType::Bitmap, "B") + sep +
                               resourceTemplate(ResourceType::Cursor, "C") + sep +
                               resourceTemplate(ResourceType::Icon, "I"));
  }
  // The colour at the middle of the panel shown for row `row`.
  QColor shown(int row) {
    window->list()->setCurrentRow(row);
    window->showCurrent();
    QApplication::processEvents();
    return window->panel()->grab().toImage().pixelColor(16, 16);
  }
};

TEST_F(ImagePanelsTest, TheTemplatesShowAsRedGreenAndYellowSquares) {
  EXPECT_EQ(shown(0), QColor(Qt::red));
  EXPECT_EQ(window->panel()->size(), QSize(32, 32));
  EXPECT_EQ(window->defaultStatusText(), "Bitmap: 32 x 32");
  EXPECT_EQ(shown(1), QColor(Qt::yellow));
  EXPECT_EQ(window->defaultStatusText(), "Cursor: 32 x 32");
  EXPECT_EQ(shown(2), QColor(Qt::green));
  EXPECT_EQ(window->defaultStatusText(), "Icon: 32 x 32");
  EXPECT_EQ(window->panel()->size(), QSize(32, 32));
  EXPECT_FALSE(window->panel()->isEnabled());
}

TEST(Pictures, BitmapsIconsAndCursorsFromBytes) {
  EXPECT_EQ(pictureOf(ResourceType::Bitmap, templateBitmap()).size(), QSize(32, 32));
  EXPECT_EQ(pictureOf(ResourceType::Icon, templateIcon()).size(), QSize(32, 32));
  std::vector<std::uint8_t> cursor = templateCursor();
  cursor[2] = 2;  // the same image in cursor-file form
  EXPECT_EQ(pictureOf(ResourceType::Cursor, cursor).size(), QSize(32, 32));
  EXPECT_TRUE(pictureOf(ResourceType::Icon, templateBitmap()).isNull());
  EXPECT_TRUE(pictureOf(ResourceType::Bitmap, {}).isNull());
}

TEST_F(MainWindowTest, AFailureIsReportedAndTheWindowStays) {
  ui.files = {dir.file("sub")};
  std::filesystem::create_directory(dir.file("sub.RC"));
  key(Qt::Key_F2);
  EXPECT_EQ(doc.fileName(), file);
  EXPECT_TRUE(window->isVisible());
}

// A drag reports a move event for every step; the settings file is written once it stops.
class PlacementTest : public MainWindowTest {
 protected:
  void SetUp() override {
    ui.writeSetting("Parametri", "Maximized", "No");
    MainWindowTest::SetUp();
    window->placeInitially();
    settle();
  }
  // Lets the placement of earlier events reach the settings.
  void settle() {
    QTest::qWait(PlacementWrites::kDelayMs + 100);
    writesBefore = ui.settingWrites;
  }
  void drag(int steps) {
    for (int i = 1; i <= steps; ++i) {
      window->move(200 + i, 100 + 2 * i);
      QApplication::processEvents();
    }
  }
  std::string top() const { return ui.setting("Parametri", "Top"); }
  std::string left() const { return ui.setting("Parametri", "Left"); }

  int writesBefore = 0;
};

TEST_F(PlacementTest, ADragIsWrittenOnceWhenItStops) {
  const std::string topBefore = top();
  drag(25);
  ASSERT_EQ(window->frameGeometry().topLeft(), QPoint(225, 150));
  EXPECT_EQ(ui.settingWrites, writesBefore);
  EXPECT_EQ(top(), topBefore);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ui.settingWrites > writesBefore; }, 5000));
  EXPECT_EQ(ui.settingWrites, writesBefore + 1);
  EXPECT_EQ(top(), "150");
  EXPECT_EQ(left(), "225");
  QTest::qWait(PlacementWrites::kDelayMs + 100);
  EXPECT_EQ(ui.settingWrites, writesBefore + 1);
}

TEST_F(PlacementTest, ClosingWritesWhatADragLeftAtOnce) {
  drag(10);
  window->resize(700, 500);
  QApplication::processEvents();
  EXPECT_EQ(ui.settingWrites, writesBefore);
  replaceText(doc, doc.text() + "\r\n");
  ui.buttons = {kIdCancel};
  window->close();  // the user keeps the window: still nothing written
  EXPECT_EQ(ui.settingWrites, writesBefore);
  ui.buttons = {kIdNo};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(ui.settingWrites, writesBefore + 1);
  EXPECT_EQ(top(), "120");
  EXPECT_EQ(left(), "210");
  EXPECT_EQ(ui.setting("Parametri", "Width"), std::to_string(window->frameGeometry().width()));
  QTest::qWait(PlacementWrites::kDelayMs + 100);
  EXPECT_EQ(ui.settingWrites, writesBefore + 1);
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

QLabel* insIndicator(QMainWindow& window) {
  for (auto* label : window.statusBar()->findChildren<QLabel*>())
    if (label->text() == "INS") return label;
  return nullptr;
}

TEST_F(MainWindowTest, InsertTogglesTheIndicatorExceptInAFieldThatTakesItForItself) {
  QLabel* ins = insIndicator(*window);
  ASSERT_TRUE(ins);
  const bool before = ins->isEnabled();
  key(Qt::Key_Insert);
  EXPECT_NE(ins->isEnabled(), before);
  QLineEdit field(window.get());
  field.setProperty(kNoGlobalInsert, true);
  field.show();
  field.setFocus();
  QApplication::processEvents();
  QTest::keyClick(&field, Qt::Key_Insert);
  EXPECT_NE(ins->isEnabled(), before);
}

}  // namespace
}  // namespace kolvre
