// The dialog properties, the tab order and the id editor, opened from the main window and
// driven on Qt's offscreen platform.
#include "app/dialog_forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/properties_form.h"
#include "designer/control_properties.h"
#include "dialogs/control_reader.h"
#include "document/document_commands.h"
#include "support/main_window_fixture.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;

const std::string kScript =
    "ABOUT DIALOG 0, 0, 100, 50\r\n"
    "STYLE WS_POPUP | WS_BORDER\r\n"
    "FONT 8, \"MS Sans Serif\"\r\n"
    "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n"
    "{\r\n"
    " CONTROL \"Nome:\", IDC_NAME_LABEL_OF_THE_FORM, \"STATIC\", SS_LEFT | WS_CHILD | WS_VISIBLE "
    "| WS_GROUP, 5, 5, 40, 8\r\n"
    " CONTROL \"OK\", 1, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP, 5, 20, "
    "50, 14\r\n"
    "}\r\n\r\n\r\n"
    "MAIN DIALOG 0, 0, 10, 10\r\n"
    "STYLE WS_POPUP\r\n"
    "FONT 8, \"MS Sans Serif\"\r\n"
    "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n"
    "{\r\n"
    "}";

// Notes which fields of the form up are red whenever a message box comes up.
class WatchingUi : public ScriptedUi {
 public:
  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override {
    QStringList red;
    if (QWidget* form = QApplication::activeModalWidget())
      for (QWidget* field : form->findChildren<QWidget*>())
        if (field->autoFillBackground() && field->palette().color(QPalette::Base) == Qt::red)
          red << field->objectName();
    redFields.push_back(red);
    return ScriptedUi::messageBox(text, kind, title);
  }
  std::vector<QStringList> redFields;
};

class DialogFormsTest : public testing::MainWindowFixture<WatchingUi> {
 protected:
  void SetUp() override { showMainWindow("d.rc", kScript, QSize(900, 600)); }
  // Runs `act` on the modal window that comes up next (after the events now queued).
  static void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
      QWidget* modal = QApplication::activeModalWidget();
      ASSERT_TRUE(modal);
      act(modal);
    });
  }
  void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(window->list(), static_cast<Qt::Key>(k), m);
    QApplication::processEvents();
  }
  static QLineEdit* line(QWidget* form, int id) {
    return form->findChild<QLineEdit*>(QStringLiteral("field%1").arg(id));
  }
  static void click(QWidget* form, int id) {
    auto* button = form->findChild<QPushButton*>(QStringLiteral("button%1").arg(id));
    ASSERT_TRUE(button);
    button->click();
  }
  static void type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
};

TEST_F(DialogFormsTest, CtrlPShowsTheFormAndATypedCaptionIsOneStep) {
  bool shown = false;
  whenModal([&](QWidget* form) {
    shown = true;
    EXPECT_EQ(form->objectName(), "PROPDLG");
    EXPECT_EQ(form->windowTitle(), "Proprietà dialog");
    EXPECT_EQ(line(form, 101)->text(), "ABOUT");
    EXPECT_EQ(line(form, 101)->maxLength(), 15);
    EXPECT_EQ(line(form, 102)->text(), "");
    EXPECT_EQ(line(form, 102)->maxLength(), 140);
    EXPECT_EQ(line(form, 105)->text(), "100");
    EXPECT_EQ(form->findChild<QPlainTextEdit*>("field107")->toPlainText(), "WS_POPUP | WS_BORDER");
    type(line(form, 102), QStringLiteral("Informazioni"));
    click(form, 201);
  });
  key(Qt::Key_P, Qt::ControlModifier);
  EXPECT_TRUE(shown);
  EXPECT_EQ(doc.text().substr(0, doc.text().find("FONT")),
            "ABOUT DIALOG 0, 0, 100, 50\r\nSTYLE WS_POPUP | WS_BORDER\r\n"
            "CAPTION \"Informazioni\"\r\n");
  EXPECT_EQ(doc.undoLabel(), "Proprietà dialog");
  doc.undo();
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(DialogFormsTest, ARenameReordersAndTheListSelectsTheDialog) {
  whenModal([&](QWidget* form) {
    type(line(form, 101), QStringLiteral("zeta"));
    click(form, 201);
  });
  key(Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(doc.index().size(), 2u);
  EXPECT_EQ(doc.index()[1].name, "ZETA");
  EXPECT_LT(doc.text().find("MAIN DIALOG"), doc.text().find("ZETA DIALOG"));
  EXPECT_EQ(window->list()->currentRow(), 1);
  EXPECT_EQ(window->list()->model()->index(1, 0).data().toString(), "ZETA");
}

TEST_F(DialogFormsTest, AFailingFieldTurnsRedAndTheFormStaysOpen) {
  whenModal([&](QWidget* form) {
    type(line(form, 101), QStringLiteral("MAIN"));
    click(form, 201);
    EXPECT_TRUE(form->isVisible());
    // The red is taken off again once the message is gone.
    EXPECT_NE(line(form, 101)->palette().color(QPalette::Base), QColor(255, 0, 0));
    line(form, 105)->selectAll();
    QTest::keyClick(line(form, 105), Qt::Key_Delete);
    line(form, 101)->setText(QStringLiteral("ABOUT"));
    click(form, 201);
    EXPECT_TRUE(form->isVisible());
    click(form, 202);
  });
  ui.buttons = {kIdOk, kIdOk, kIdYes};  // the two messages, then Annullo le modifiche?
  key(Qt::Key_P, Qt::ControlModifier);
  ASSERT_EQ(ui.messageTexts(),
            (std::vector<std::string>{"Nome risorsa già presente.", "Campo non valido.",
                                      "Annullo le modifiche?"}));
  EXPECT_EQ(ui.redFields[0], QStringList{"field101"});
  EXPECT_EQ(ui.redFields[1], QStringList{"field105"});
  EXPECT_EQ(ui.redFields[2], QStringList{});
  EXPECT_EQ(ui.messages[2].kind, MessageKind::YesNoDefaultNo);
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(DialogFormsTest, TheContextMenuOfADialogOffersBothCommands) {
  QStringList items;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) items << a->text();
    menu->close();
  });
  QMetaObject::invokeMethod(window->list(), [&] { window->list()->onContextMenu(QPoint(10, 10)); });
  QApplication::processEvents();
  ASSERT_FALSE(items.isEmpty());
  EXPECT_EQ(items.front(), "Proprietà\tCTRL-P");
  EXPECT_TRUE(items.contains("Ordine tabulazione\tCTRL-O"));
}

TEST_F(DialogFormsTest, CtrlOMovesARowWithF12AndConfirmStoresTheOrder) {
  whenModal([&](QWidget* modal) {
    auto* form = qobject_cast<TabOrderDialog*>(modal);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(), "Ordine di tabulazione");
    QTableWidget* list = form->list();
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "Testo");
    EXPECT_EQ(list->horizontalHeaderItem(2)->text(), "CLASSE");
    EXPECT_EQ(list->columnWidth(0), 306);
    EXPECT_EQ(list->item(0, 0)->text(), "Nome:");
    // The id column fits the longest id.
    EXPECT_EQ(list->item(0, 1)->text(), "IDC_NAME_LABEL_OF_THE_FORM");
    EXPECT_GT(list->columnWidth(1),
              list->fontMetrics().horizontalAdvance(list->item(0, 1)->text()));
    EXPECT_GE(list->width(), list->columnWidth(0) + list->columnWidth(1) + 6 * 40);
    QTest::keyClick(list, Qt::Key_F11);  // the first row: nothing
    EXPECT_EQ(list->item(0, 0)->text(), "Nome:");
    QTest::keyClick(list, Qt::Key_F12);
    EXPECT_EQ(list->item(1, 0)->text(), "Nome:");
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_F12);  // the last row: nothing
    EXPECT_EQ(list->currentRow(), 1);
    click(form, 201);
  });
  key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_LT(doc.text().find("\"OK\""), doc.text().find("\"Nome:\""));
  EXPECT_EQ(doc.undoLabel(), "Ordine tabulazione");
}

TEST_F(DialogFormsTest, CancelAfterAMoveAndNoShowsTheMovedRowAgain) {
  int openings = 0;
  std::function<void(QWidget*)> act = [&](QWidget* modal) {
    auto* form = qobject_cast<TabOrderDialog*>(modal);
    ASSERT_TRUE(form);
    if (++openings == 1) {
      QTest::keyClick(form->list(), Qt::Key_F12);
      whenModal(act);  // after No, the list again
    } else {
      EXPECT_EQ(form->list()->item(1, 0)->text(), "Nome:");
      EXPECT_EQ(form->list()->currentRow(), 1);
    }
    QTest::keyClick(form->list(), Qt::Key_Escape);
  };
  whenModal(act);
  ui.buttons = {kIdNo, kIdYes};
  key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(openings, 2);
  EXPECT_EQ(ui.messageTexts(),
            (std::vector<std::string>{"Annullo le modifiche?", "Annullo le modifiche?"}));
  EXPECT_EQ(doc.text(), kScript);
}

TEST_F(DialogFormsTest, F2OpensTheIdEditorOverTheCellAndEnterConfirmsTheForm) {
  whenModal([&](QWidget* modal) {
    auto* form = qobject_cast<TabOrderDialog*>(modal);
    ASSERT_TRUE(form);
    QTableWidget* list = form->list();
    QTest::keyClick(list, Qt::Key_Down);
    whenModal([&](QWidget* popup) {
      EXPECT_EQ(popup->objectName(), "EDITID");
      EXPECT_TRUE(popup->windowFlags() & Qt::FramelessWindowHint);
      auto* edit = popup->findChild<QLineEdit*>("id");
      ASSERT_TRUE(edit);
      EXPECT_EQ(edit->text(), "1");
      EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(184, 236, 112));
      const QRect cell = list->visualRect(list->model()->index(1, 1));
      EXPECT_EQ(popup->pos(), list->viewport()->mapToGlobal(cell.topLeft()));
      EXPECT_EQ(popup->width(), list->columnWidth(1) - 1);
      QTest::keyClicks(edit, QStringLiteral("x120"));  // the letter is refused
      QTest::keyClick(edit, Qt::Key_Return);
    });
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(list->item(1, 1)->text(), "120");
    QTest::keyClick(list, Qt::Key_Return);  // Enter confirms the form
  });
  key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_NE(doc.text().find(" CONTROL \"OK\", 120, \"BUTTON\""), std::string::npos);
}

TEST_F(DialogFormsTest, EscInTheIdEditorAfterTypingAsks) {
  whenModal([&](QWidget* modal) {
    auto* form = qobject_cast<TabOrderDialog*>(modal);
    ASSERT_TRUE(form);
    whenModal([&](QWidget* popup) {
      auto* edit = popup->findChild<QLineEdit*>("id");
      QTest::keyClicks(edit, QStringLiteral("7"));
      QTest::keyClick(edit, Qt::Key_Escape);  // No: the editor stays
      EXPECT_TRUE(popup->isVisible());
      QTest::keyClick(edit, Qt::Key_Escape);  // Yes: dropped
    });
    click(form, 203);
    EXPECT_EQ(form->list()->item(0, 1)->text(), "IDC_NAME_LABEL_OF_THE_FORM");
    // An untouched editor asks nothing.
    whenModal([&](QWidget* popup) {
      QTest::keyClick(popup->findChild<QLineEdit*>("id"), Qt::Key_Escape);
    });
    click(form, 203);
    click(form, 202);
  });
  ui.buttons = {kIdNo, kIdYes};
  key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(ui.messageTexts(),
            (std::vector<std::string>{"Annullo le modifiche?", "Annullo le modifiche?"}));
  EXPECT_EQ(doc.text(), kScript);
}

// The control properties form of an icon statement: its keyword beside the class, the id's
// value beside a symbol, its size read-only; confirmed as shown it gives back what it showed.
TEST_F(DialogFormsTest, ThePropertiesFormShowsTheStatementBesideItsFields) {
  const ControlReading icon =
      readStatementLine(" ICON \"APPICON\", IDC_LOGO, 5, 6", kFixedBaseUnits);
  ASSERT_EQ(icon.kind, ControlReading::Kind::Control);
  const ControlProperties shown = controlProperties(icon.control, kFixedBaseUnits);
  whenModal([&](QWidget* form) {
    EXPECT_EQ(form->objectName(), "PROPCTL");
    // The labels, in Italian, down the first column.
    auto* grid = qobject_cast<QGridLayout*>(form->layout());
    ASSERT_TRUE(grid);
    QStringList labels;
    for (int row = 0; row < grid->rowCount(); ++row)
      if (QLayoutItem* item = grid->itemAtPosition(row, 0))
        if (auto* label = qobject_cast<QLabel*>(item->widget())) labels << label->text();
    EXPECT_EQ(labels, (QStringList{"Testo:", "Id:", "Classe:", "X", "Y", "L", "H", "Stile:"}));
    EXPECT_EQ(line(form, 103)->text(), "STATIC");
    EXPECT_EQ(form->findChild<QLabel*>("note103")->text(), "(ICON)");
    EXPECT_EQ(line(form, 102)->text(), "IDC_LOGO");
    EXPECT_EQ(form->findChild<QLabel*>("note102")->text(), "= 0");
    EXPECT_TRUE(line(form, 101)->isReadOnly());  // the icon's name
    EXPECT_TRUE(line(form, 106)->isReadOnly());
    EXPECT_FALSE(line(form, 104)->isReadOnly());
    EXPECT_EQ(form->findChild<QPlainTextEdit*>("field108")->toPlainText(),
              "SS_ICON | WS_CHILD | WS_VISIBLE");
    for (QPushButton* button : form->findChildren<QPushButton*>())
      if (button->text() == "&Conferma") button->click();
  });
  EXPECT_EQ(editControlProperties(ui, window.get(), {}, shown), shown);
}

}  // namespace
}  // namespace kolvre
