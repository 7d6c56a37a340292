// The menu panel as the window shows it, on Qt's offscreen platform: its tree of items edited with
// the keys (F2, Ins, Maiusc+Ins, Canc, Alt and the arrows), each change one step of the history,
// the bar and the tree read again from the script after every edit and undo.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

#include "app/menu_panel.h"
#include "support/main_window_fixture.h"

namespace kolvre {
namespace {

const std::string kScript =
    "#define IDM_OPEN 101\r\n"
    "M MENU\r\n"
    "{\r\n"
    "  POPUP \"&File\"\r\n"
    "  {\r\n"
    "    MENUITEM \"&Apri\\tCtrl+O\", IDM_OPEN\r\n"
    "    MENUITEM \"&Esci\", 102, GRAYED\r\n"
    "  }\r\n"
    "  POPUP \"&Vista\"\r\n"
    "  {\r\n"
    "    MENUITEM \"Barra\", 201\r\n"
    "  }\r\n"
    "}\r\n";

class MenuPanel : public testing::MainWindowFixture<> {
 protected:
  void open(const std::string& text = kScript) { showMainWindow("m.rc", text, QSize(1100, 700)); }
  MenuView* view() { return dynamic_cast<MenuView*>(window->panel()); }
  QTreeWidget* tree() { return view() ? view()->tree() : nullptr; }
  // A key pressed in the tree, with the current item at `path`.
  void press(const MenuPath& path, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    ASSERT_TRUE(tree());
    view()->setCurrentPath(path);
    tree()->setFocus();
    QTest::keyClick(tree(), key, modifiers);
    QApplication::processEvents();
  }
  // Types `text` in place into cell `column` of the item at `path`: F2, the text, Enter.
  void type(const MenuPath& path, int column, const QString& text) {
    ASSERT_TRUE(tree());
    view()->setCurrentPath(path);
    tree()->setCurrentItem(tree()->currentItem(), column);
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key_F2);
    // The editor just opened has the focus (one closed before may stand until it is deleted).
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
  }
  // The texts of the bar's first pop-up's items.
  QStringList firstPopup() {
    QStringList texts;
    for (QAction* a : view()->menuBar()->actions().at(0)->menu()->actions()) texts << a->text();
    return texts;
  }
};

TEST_F(MenuPanel, TheTreeShowsTextIdWithItsValueAndOptions) {
  open();
  ASSERT_TRUE(tree());
  EXPECT_EQ(tree()->topLevelItemCount(), 2);
  QTreeWidgetItem* file = tree()->topLevelItem(0);
  ASSERT_EQ(file->childCount(), 2);
  EXPECT_EQ(file->child(0)->text(0), "&Apri\\tCtrl+O");
  EXPECT_EQ(file->child(0)->text(1), "IDM_OPEN (101)");
  EXPECT_EQ(file->child(1)->text(2), "GRAYED");
  EXPECT_TRUE(view()->menuBar()->isVisible());
  EXPECT_FALSE(doc.canUndo());  // opening writes nothing
}

TEST_F(MenuPanel, ACellEditedInPlaceIsOneStepAndTheBarFollowsAndUndoes) {
  open();
  type({0, 1}, 0, "&Chiudi\\tAlt+F4");
  EXPECT_NE(doc.text().find("MENUITEM \"&Chiudi\\tAlt+F4\", 102, GRAYED\r\n"), std::string::npos);
  EXPECT_EQ(doc.undoLabel(), "Modifica voce di menu");
  EXPECT_EQ(firstPopup(), (QStringList{"&Apri\tCtrl+O", "&Chiudi\tAlt+F4"}));
  EXPECT_EQ(view()->currentPath(), (MenuPath{0, 1}));
  // The ID cell edits the ID as written; a name nothing defines is refused, named.
  type({0, 1}, 1, "IDM_OPEN");
  EXPECT_NE(doc.text().find("\"&Chiudi\\tAlt+F4\", IDM_OPEN, GRAYED"), std::string::npos);
  type({0, 1}, 1, "IDM_NONE");
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_NE(ui.messages.back().text.find("IDM_NONE"), std::string::npos);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  type({0, 1}, 2, "checked");
  EXPECT_NE(doc.text().find("IDM_OPEN, CHECKED\r\n"), std::string::npos);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(doc.undo());
  window->runKey('Z', Qt::ControlModifier);  // through the window: the panel follows
  QApplication::processEvents();
  EXPECT_EQ(doc.text(), kScript);
  EXPECT_EQ(firstPopup(), (QStringList{"&Apri\tCtrl+O", "&Esci"}));
  EXPECT_EQ(tree()->topLevelItem(0)->child(1)->text(0), "&Esci");
}

TEST_F(MenuPanel, InsAddsAnItemWithTheNextFreeIdShiftInsASeparatorCancDeletes) {
  open();
  ui.inputs = {"&Salva", std::nullopt};
  press({0, 0}, Qt::Key_Insert);  // the ID's box cancelled: nothing
  EXPECT_EQ(doc.text(), kScript);
  // The ID box offers the next free ID (past the menu's largest, 201).
  ASSERT_EQ(ui.prompts.size(), 2u);
  EXPECT_EQ(ui.prompts[1], "202");
  ui.inputs = {"&Salva", "103"};
  press({0, 0}, Qt::Key_Insert);
  EXPECT_NE(doc.text().find("IDM_OPEN\r\n    MENUITEM \"&Salva\", 103\r\n    MENUITEM \"&Esci\""),
            std::string::npos);
  EXPECT_EQ(view()->currentPath(), (MenuPath{0, 1}));
  press({0, 1}, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_NE(doc.text().find("103\r\n    MENUITEM SEPARATOR\r\n"), std::string::npos);
  EXPECT_EQ(firstPopup().size(), 4);
  ui.buttons = {kIdNo};
  press({1}, Qt::Key_Delete);
  EXPECT_NE(doc.text().find("&Vista"), std::string::npos);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_EQ(ui.messages.back().text, "Eliminare il pop-up «&Vista» con le sue voci?");
  ui.buttons = {kIdYes};
  press({1}, Qt::Key_Delete);
  EXPECT_EQ(doc.text().find("&Vista"), std::string::npos);
  EXPECT_EQ(tree()->topLevelItemCount(), 1);
}

TEST_F(MenuPanel, CtrlInsAddsAnEmptyPopupThatInsThenFills) {
  open();
  // A MENU pop-up is asked only its text: it has no ID.
  ui.inputs = {"&Modifica"};
  press({0}, Qt::Key_Insert, Qt::ControlModifier);
  ASSERT_EQ(ui.prompts.size(), 1u);
  EXPECT_NE(doc.text().find("  }\r\n  POPUP \"&Modifica\"\r\n  {\r\n  }\r\n  POPUP \"&Vista\""),
            std::string::npos);
  EXPECT_EQ(doc.undoLabel(), "Nuovo pop-up");
  EXPECT_EQ(view()->currentPath(), (MenuPath{1}));
  ASSERT_EQ(view()->menuBar()->actions().size(), 3);
  EXPECT_EQ(view()->menuBar()->actions().at(1)->text(), "&Modifica");
  // Ins on its row adds an item after it, which Alt+Right takes into it.
  ui.inputs = {"&Copia", "301"};
  press({1}, Qt::Key_Insert);
  press({2}, Qt::Key_Right, Qt::AltModifier);
  EXPECT_NE(doc.text().find("POPUP \"&Modifica\"\r\n  {\r\n    MENUITEM \"&Copia\", 301\r\n  }"),
            std::string::npos)
      << doc.text();
}

TEST_F(MenuPanel, TheTreeKeepsTheKeyboardAfterAnItemAskedForInABox) {
  open();
  view()->setCurrentPath({0, 0});
  tree()->setFocus();
  // The boxes that ask an item's text and ID take the window's activation with them: when the
  // edit is shown, the window is not yet the active one again.
  QWidget box;
  box.show();
  box.activateWindow();
  QApplication::processEvents();
  ASSERT_NE(QApplication::activeWindow(), window.get());
  ui.inputs = {"&Salva", "103"};
  QTest::keyClick(tree(), Qt::Key_Insert);
  QApplication::processEvents();
  ASSERT_NE(doc.text().find("&Salva"), std::string::npos);
  // Made again, the tree is where the keys go once the window is active again.
  EXPECT_EQ(window->focusWidget(), tree());
}

TEST_F(MenuPanel, AltAndTheArrowsMoveTheItemAndItStaysCurrent) {
  open();
  press({0, 1}, Qt::Key_Up, Qt::AltModifier);
  const std::string up = doc.text();
  EXPECT_NE(up.find("{\r\n    MENUITEM \"&Esci\", 102, GRAYED\r\n    MENUITEM \"&Apri"),
            std::string::npos);
  EXPECT_EQ(view()->currentPath(), (MenuPath{0, 0}));
  press({0, 0}, Qt::Key_Left, Qt::AltModifier);
  EXPECT_NE(doc.text().find("{\r\n  MENUITEM \"&Esci\", 102, GRAYED\r\n  POPUP \"&File\""),
            std::string::npos);
  EXPECT_EQ(view()->currentPath(), (MenuPath{0}));
  EXPECT_EQ(view()->menuBar()->actions().at(0)->text(), "&Esci");
  press({0}, Qt::Key_Right, Qt::AltModifier);  // into the pop-up after it, first
  EXPECT_EQ(doc.text(), up);
  EXPECT_EQ(view()->currentPath(), (MenuPath{0, 0}));
  // A move that is none says why, and changes nothing.
  press({0, 0}, Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(doc.text(), up);
  EXPECT_EQ(ui.messages.back().text, "La voce è già la prima del suo livello.");
  EXPECT_EQ(doc.undoLabel(), "Sposta voce di menu");
}

TEST_F(MenuPanel, ASeparatorAndAMenuPopupsIdDoNotEditAndSayWhy) {
  open("M MENU\r\n{\r\n  POPUP \"a\"\r\n  {\r\n    MENUITEM SEPARATOR\r\n  }\r\n}\r\n");
  press({0, 0}, Qt::Key_F2);
  EXPECT_FALSE(tree()->findChild<QLineEdit*>());
  EXPECT_EQ(window->statusBar()->currentMessage(), "Un separatore non ha testo, ID né opzioni.");
  view()->setCurrentPath({0});
  tree()->setCurrentItem(tree()->currentItem(), 1);
  QTest::keyClick(tree(), Qt::Key_F2);
  EXPECT_EQ(window->statusBar()->currentMessage(), "Un pop-up di un menu MENU non ha ID.");
}

TEST_F(MenuPanel, AnExtendedMenusTypeStateAndHelpIdEditInPlace) {
  const std::string ex =
      "X MENUEX\r\n{\r\n  POPUP \"&File\", 5, 0, 0, 9\r\n  {\r\n    MENUITEM \"&Apri\", 1\r\n"
      "  }\r\n}\r\n";
  open(ex);
  ASSERT_TRUE(tree());
  ASSERT_EQ(tree()->columnCount(), 6);
  EXPECT_EQ(tree()->headerItem()->text(5), "ID della guida");
  EXPECT_EQ(tree()->topLevelItem(0)->text(5), "9");
  type({0, 0}, 4, "MFS_GRAYED");
  std::string grayed = ex;
  grayed.replace(grayed.find("\"&Apri\", 1\r\n"), 12, "\"&Apri\", 1, 0, MFS_GRAYED\r\n");
  EXPECT_EQ(doc.text(), grayed);
  EXPECT_EQ(tree()->topLevelItem(0)->child(0)->text(4), "MFS_GRAYED");
  type({0}, 5, "12");
  EXPECT_NE(doc.text().find("\"&File\", 5, 0, 0, 12\r\n"), std::string::npos);
  // An item has no help ID: its cell says so instead of opening.
  view()->setCurrentPath({0, 0});
  tree()->setCurrentItem(tree()->currentItem(), 5);
  QTest::keyClick(tree(), Qt::Key_F2);
  EXPECT_EQ(window->statusBar()->currentMessage(), "Solo un pop-up ha l'ID della guida.");
  // A name nothing defines is refused, named, and the cell stays in edit.
  type({0, 0}, 3, "MFT_NONE");
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_NE(ui.messages.back().text.find("MFT_NONE"), std::string::npos);
}

TEST_F(MenuPanel, AContextMenuShowsOpenBesideItsTree) {
  open("P MENU\r\n{\r\n  POPUP \"\"\r\n  {\r\n    MENUITEM \"Taglia\", 1\r\n  }\r\n}\r\n");
  ASSERT_TRUE(view());
  EXPECT_FALSE(view()->menuBar());
  ASSERT_EQ(view()->openPopups().size(), 1);
  EXPECT_TRUE(view()->openPopups()[0]->isVisible());
  type({0, 0}, 0, "Copia");
  ASSERT_EQ(view()->openPopups().size(), 1);
  EXPECT_EQ(view()->openPopups()[0]->actions().at(0)->text(), "Copia");
  EXPECT_FALSE(
      view()->tree()->geometry().intersects(view()->openPopups()[0]->parentWidget()->geometry()));
}

}  // namespace
}  // namespace kolvre
