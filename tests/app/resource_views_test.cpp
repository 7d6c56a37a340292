// The views of menus, text and data resources, built over a loaded script
// on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>

#include "app/accelerator_panel.h"
#include "app/data_panel.h"
#include "app/menu_panel.h"
#include "app/text_panel.h"
#include "document/document_commands.h"
#include "support/main_window_fixture.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

class ResourceViews : public ::testing::Test {
 protected:
  // Loads `script` and gives where resource `name` begins.
  std::size_t load(const std::string& script, std::string_view name) {
    loadDocument(doc, dir.write("s.rc", script));
    for (const Statement& s : doc.statements())
      if (s.kind == StatementKind::Resource && s.name(doc.text()) == name) return s.begin;
    ADD_FAILURE() << "no resource " << name;
    return 0;
  }
  testing::TempDir dir;
  Document doc;
};

TEST_F(ResourceViews, MenuBarHoldsThePopupsWithTheirItemsStates) {
  const std::size_t begin = load(
      "M MENU\n{\n POPUP \"&File\"\n {\n  MENUITEM \"&Apri\\tCtrl+O\", 1, CHECKED\n"
      "  MENUITEM SEPARATOR\n  MENUITEM \"Chiudi\", 2, GRAYED\n  POPUP \"Recenti\"\n"
      "  {\n   MENUITEM \"a\", 3\n  }\n }\n MENUITEM \"&Aiuto\", 4, INACTIVE\n}\n",
      "M");
  MenuView view(doc, begin, nullptr);
  ASSERT_EQ(view.problem(), "");
  EXPECT_EQ(view.statusText(), "Menu: 7 voci");
  const QList<QAction*> titles = view.menuBar()->actions();
  ASSERT_EQ(titles.size(), 2);
  EXPECT_EQ(titles[0]->text(), "&File");
  EXPECT_FALSE(titles[1]->isEnabled());
  QMenu* file = titles[0]->menu();
  ASSERT_TRUE(file);
  const QList<QAction*> items = file->actions();
  ASSERT_EQ(items.size(), 4);
  // The shortcut shows in its column without being bound; a chosen checked item stays so.
  EXPECT_EQ(items[0]->text(), "&Apri\tCtrl+O");
  EXPECT_TRUE(items[0]->shortcut().isEmpty());
  EXPECT_TRUE(items[0]->isChecked());
  items[0]->trigger();
  EXPECT_TRUE(items[0]->isChecked());
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_FALSE(items[2]->isEnabled());
  ASSERT_TRUE(items[3]->menu());
  EXPECT_EQ(items[3]->menu()->actions().at(0)->text(), "a");
}

// The titles' mnemonics stay the window's own: Alt and a letter opens none of the view's menus.
TEST_F(ResourceViews, MenuBarTakesNoKeysOfTheWindow) {
  const std::size_t begin =
      load("M MENU\n{\n POPUP \"&File\"\n {\n  MENUITEM \"a\", 1\n }\n}\n", "M");
  QWidget window;
  window.resize(600, 300);
  auto* view = new MenuView(doc, begin, &window);
  view->setGeometry(0, 0, 600, 300);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
  QApplication::processEvents();
  EXPECT_FALSE(QApplication::activePopupWidget());
}

TEST_F(ResourceViews, ExtendedMenusAndBodiesThatDoNotRead) {
  const std::size_t begin = load(
      "X MENUEX\n{\n POPUP \"Vista\"\n {\n  MENUITEM \"Prima\", 1, , MFS_DEFAULT\n"
      "  MENUITEM \"\", -1, MFT_SEPARATOR\n }\n}\nBAD MENU\n{\n MENUITEM \"x\"\n}\n",
      "X");
  MenuView view(doc, begin, nullptr);
  EXPECT_EQ(view.statusText(), "Menu esteso: 3 voci");
  QMenu* popup = view.menuBar()->actions().at(0)->menu();
  EXPECT_EQ(popup->defaultAction(), popup->actions().at(0));
  EXPECT_TRUE(popup->actions().at(1)->isSeparator());
  MenuView bad(doc, doc.text().find("BAD"), nullptr);
  EXPECT_EQ(bad.problem(), "Riga 11: manca l'id della voce dopo il testo.");
  EXPECT_FALSE(bad.menuBar());
}

// A context menu (one pop-up without a text, opened by the program where the mouse is) shows
// open, with its items, in place of an empty bar.
TEST_F(ResourceViews, AContextMenuIsShownOpen) {
  const std::size_t begin = load(
      "IDR_POPUP MENU\n{\n POPUP \"\"\n {\n  MENUITEM \"Taglia\", 1\n  MENUITEM SEPARATOR\n"
      "  POPUP \"Altro\"\n  {\n   MENUITEM \"Uno\", 2, GRAYED\n  }\n }\n}\n"
      "TWO MENU\n{\n POPUP \"\" { MENUITEM \"a\", 1 }\n POPUP \"\" { MENUITEM \"b\", 2 }\n}\n",
      "IDR_POPUP");
  QWidget window;
  auto* view = new MenuView(doc, begin, &window);
  view->setGeometry(0, 0, 600, 300);
  window.resize(600, 300);
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(view->statusText(), "Menu: 5 voci");
  EXPECT_FALSE(view->menuBar());
  ASSERT_EQ(view->openPopups().size(), 1);
  QMenu* open = view->openPopups()[0];
  EXPECT_TRUE(open->isVisible());
  EXPECT_FALSE(open->isWindow());  // drawn in the panel, not a pop-up window of its own
  EXPECT_GT(open->width(), 0);
  const QList<QAction*> items = open->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Taglia");
  EXPECT_TRUE(items[1]->isSeparator());
  ASSERT_TRUE(items[2]->menu());
  EXPECT_FALSE(items[2]->menu()->actions().at(0)->isEnabled());
  // Two such pop-ups stand side by side.
  MenuView two(doc, doc.text().find("TWO"), nullptr);
  ASSERT_EQ(two.openPopups().size(), 2);
  EXPECT_EQ(two.openPopups()[1]->actions().at(0)->text(), "b");
}

// A menu that is the current entry when the window opens is made before the window has its size:
// its window still fills the panel once the main window is shown, and after an undo.
using MenuPanelInWindow = testing::MainWindowFixture<>;

TEST_F(MenuPanelInWindow, AMenuCurrentAtStartIsShown) {
  showMainWindow("m.rc",
                 "M MENU\r\n{\r\n POPUP \"&File\"\r\n {\r\n  MENUITEM \"a\", 1\r\n }\r\n}\r\n");
  auto* view = dynamic_cast<MenuView*>(window->panel());
  ASSERT_TRUE(view);
  ASSERT_TRUE(view->menuBar());
  EXPECT_TRUE(view->menuBar()->isVisible());
  EXPECT_GE(view->menuBar()->parentWidget()->width(), 200);
  EXPECT_GE(view->menuBar()->width(), 200);
  ui.inputs = {"N"};
  window->runKey('R', Qt::ControlModifier);
  window->runKey('Z', Qt::ControlModifier);
  QApplication::processEvents();
  view = dynamic_cast<MenuView*>(window->panel());
  ASSERT_TRUE(view);
  EXPECT_GE(view->menuBar()->parentWidget()->width(), 200);
}

TEST_F(ResourceViews, TablesTextsAndData) {
  QImage(3, 2, QImage::Format_RGB32).save(QString::fromStdString(dir.file("p.png")));
  load(
      "1 TEXTINCLUDE\nBEGIN\n \"resource.h\\0\"\nEND\n"
      "2 24 \"app.manifest\"\nR RCDATA { 1, \"AB\" }\nP PNG \"p.png\"\n",
      "1");
  dir.write("app.manifest", "\xEF\xBB\xBF<assembly>gi\xC3\xB9</assembly>\r\n");
  const auto at = [&](std::string_view name) { return doc.text().find(name); };

  TextView include(doc, at("1 TEXT"), nullptr);
  EXPECT_EQ(include.view()->toPlainText(), "resource.h");
  EXPECT_TRUE(include.view()->isReadOnly());
  TextView manifest(doc, at("2 24"), nullptr);
  EXPECT_EQ(manifest.view()->toPlainText(), QString::fromUtf8("<assembly>giù</assembly>\n"));

  DataView data(doc, at("R RC"), nullptr);
  ASSERT_TRUE(data.hexView());
  EXPECT_EQ(data.hexView()->toPlainText(), "00000000  01 00 41 42" + QString(36, ' ') + "  ..AB");
  DataView picture(doc, at("P PNG"), nullptr);
  ASSERT_TRUE(picture.picture());
  EXPECT_EQ(picture.picture()->pixmap().size(), QSize(3, 2));
  EXPECT_TRUE(picture.statusText().endsWith("(3 x 2)")) << picture.statusText().toStdString();
}

// The panel functions over the main window's index: the view beside the list with its status
// text, or the empty panel with the reason.
class ResourcePanels : public testing::MainWindowFixture<> {
 protected:
  QWidget* show(QWidget* (*panel)(const PanelContext&), ResourceType type) {
    for (std::size_t i = 0; i < doc.index().size(); ++i)
      if (doc.index()[i].type == type) return panel({*window, doc, ui, i});
    ADD_FAILURE() << "no entry of the type";
    return nullptr;
  }
};

TEST_F(ResourcePanels, ViewsStandBesideTheListOrSayWhyNot) {
  showMainWindow("p.rc",
                 "M MENU\r\n{\r\n MENUITEM \"a\", 1\r\n}\r\n"
                 "K ACCELERATORS\r\n{\r\n \"ab\", 1\r\n}\r\n");
  QWidget* menu = show(menuPanel, ResourceType::Menu);
  ASSERT_TRUE(dynamic_cast<MenuView*>(menu));
  EXPECT_EQ(menu->geometry().topLeft(), QPoint(window->panelLeft(), 0));
  EXPECT_EQ(menu->geometry().right(), window->centralWidget()->width() - 1);
  EXPECT_EQ(window->defaultStatusText(), "Menu: 1 voce");
  const std::string before = doc.text();
  QWidget* table = show(acceleratorPanel, ResourceType::Accelerators);
  EXPECT_EQ(table->objectName(), "emptyPanel");
  EXPECT_EQ(window->defaultStatusText(), "Riga 7: il tasto \"ab\" non è un solo carattere.");
  EXPECT_EQ(doc.text(), before);
  EXPECT_FALSE(doc.unsaved());
}

}  // namespace
}  // namespace kolvre
