// The message boxes, the input box, the about box and checked forms, driven offscreen.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "support/scripted_ui.h"
#include "ui/qt_about_box.h"
#include "ui/qt_form_check.h"
#include "ui/qt_input_box.h"
#include "ui/qt_message_box.h"

namespace kolvre {
namespace {

// Runs `act` on the modal dialog once it is up. A dialog still open two seconds later fails the
// test and is closed, so that a wrong key cannot hang the run.
void onModal(std::function<void(QWidget*)> act, int triesLeft = 200) {
  QTimer::singleShot(10, [act = std::move(act), triesLeft]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
      if (triesLeft > 0) return onModal(std::move(act), triesLeft - 1);
      ADD_FAILURE() << "no modal dialog came up";
      return;
    }
    act(modal);
    QTimer::singleShot(2000, [dialog = QPointer<QWidget>(modal)] {
      if (!dialog || !dialog->isVisible()) return;
      ADD_FAILURE() << "the dialog did not close";
      if (auto* d = qobject_cast<QDialog*>(dialog.data())) d->QDialog::done(QDialog::Rejected);
    });
  });
}

// A key as the user types it: to the control that has the focus in the dialog.
void typeKey(QWidget* dialog, Qt::Key key) {
  QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, key);
}

TEST(MessageBoxKinds, ButtonsIconsAndTheAnswersOfEscCloseAndEnter) {
  const QString yes = QString::fromUtf8("Sì");
  struct Row {
    MessageKind kind;
    QStringList buttons;  // sorted
    QMessageBox::Icon icon;
    int onEscOrClose;
    int onEnter;
  };
  const Row rows[] = {
      {MessageKind::Info, {"OK"}, QMessageBox::Information, kIdOk, kIdOk},
      {MessageKind::OkCancel, {"Annulla", "OK"}, QMessageBox::Question, kIdCancel, kIdOk},
      {MessageKind::YesNoCancel, {"Annulla", "No", yes}, QMessageBox::Question, kIdCancel, kIdYes},
      {MessageKind::YesNo, {"No", yes}, QMessageBox::Question, kIdNo, kIdYes},
      {MessageKind::YesNoDefaultNo, {"No", yes}, QMessageBox::Question, kIdNo, kIdNo},
      {MessageKind::StopOkCancel, {"Annulla", "OK"}, QMessageBox::Critical, kIdCancel, kIdOk},
  };
  for (const Row& row : rows) {
    const int kind = static_cast<int>(row.kind);
    QStringList shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    onModal([&](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      for (QAbstractButton* b : box->buttons()) shown << b->text();
      shown.sort();
      icon = box->icon();
      text = box->text();
      typeKey(box, Qt::Key_Escape);
    });
    EXPECT_EQ(showMessageBox("uno\n<due>", row.kind, "T"), row.onEscOrClose) << kind;
    EXPECT_EQ(shown, row.buttons) << kind;
    EXPECT_EQ(icon, row.icon) << kind;
    EXPECT_EQ(text, "uno\n<due>");
    onModal([](QWidget* box) { box->close(); });
    EXPECT_EQ(showMessageBox("?", row.kind, "T"), row.onEscOrClose) << kind;
    onModal([](QWidget* box) { typeKey(box, Qt::Key_Return); });
    EXPECT_EQ(showMessageBox("?", row.kind, "T"), row.onEnter) << kind;
  }
}

// A short message under a long title: the box is as wide as the title bar needs to show it.
TEST(MessageBoxKinds, TheBoxIsWideEnoughForItsTitleAndItsPaths) {
  for (const QString& title : {QStringLiteral("Attenzione"),
                               QStringLiteral("Un titolo decisamente lungo per una finestra")}) {
    int width = 0, needed = 0;
    onModal([&](QWidget* box) {
      width = box->width();
      needed = box->fontMetrics().horizontalAdvance(title) + 140;
      typeKey(box, Qt::Key_Escape);
    });
    showMessageBox("Ok.", MessageKind::Info, title);
    EXPECT_GE(width, needed) << title.toStdString();
  }
  // A settings path is never broken across lines: the text is at least as wide as the path, and
  // the line breaking finds no place to cut inside it.
  const QString path = QStringLiteral("/home/utente/.config/kolvre/una-cartella/kolvre.ini");
  int labelWidth = 0, pathWidth = 0;
  QString shown;
  onModal([&](QWidget* box) {
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    labelWidth = label ? label->width() : 0;
    shown = label ? label->text() : QString();
    pathWidth = box->fontMetrics().horizontalAdvance(path + ".");
    typeKey(box, Qt::Key_Escape);
  });
  showMessageBox(
      "Indicare il programma nella chiave TXT della sezione [Edit] del file " + path + ".",
      MessageKind::Info, "Attenzione");
  EXPECT_GE(labelWidth, pathWidth);
  const qsizetype start = shown.indexOf(u'/');  // where the path begins
  ASSERT_GE(start, 0);
  QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, shown);
  breaks.setPosition(start);
  const qsizetype next = breaks.toNextBoundary();
  EXPECT_EQ(QStringView(shown).mid(start, next - start).toString().remove(QChar(0x2060)),
            path + ".");
}

const QString kPadded = "AB             ";  // a name padded to 15 characters

TEST(InputBox, EveryWayOfCancellingLeavesTheValueExactlyAsItWas) {
  const std::function<void(QWidget*)> cancels[] = {
      [](QWidget* box) { box->findChild<QPushButton*>("202")->click(); },
      [](QWidget* box) { typeKey(box, Qt::Key_Escape); },
      [](QWidget* box) { box->close(); },
  };
  for (const auto& cancel : cancels) {
    QString value = kPadded;
    onModal([&](QWidget* box) {
      QTest::keyClicks(box->focusWidget(), "XY");
      cancel(box);
    });
    EXPECT_FALSE(showInputBox("T", "P", value, 15));
    EXPECT_EQ(value, kPadded);
  }
}

TEST(InputBox, ConfirmGivesTheTypedOrUntouchedValueWithinTheFieldLength) {
  const std::tuple<QString, int, QString, QString> rows[] = {
      {kPadded, 15, "", "AB"},            // untouched: shown and given without the padding
      {kPadded, 15, "XY", "XY"},          // typing replaces the whole value
      {"12345", 5, "abcdefgh", "abcde"},  // and stops at the field length
      {"", 15, "abcdefghijklmnopq", "abcdefghijklmno"},  // an empty value takes a whole name
  };
  for (const auto& [before, length, typed, after] : rows) {
    QString value = before;
    onModal([typed = typed](QWidget* box) {
      QTest::keyClicks(box->focusWidget(), typed);
      typeKey(box, Qt::Key_Return);  // Conferma is the default button
    });
    EXPECT_TRUE(showInputBox("T", "P", value, length));
    EXPECT_EQ(value, after);
  }
}

// Typing after the name shown (the selection given up) adds to it: the field holds no blanks
// up to its limit that would leave no room.
TEST(InputBox, TypingAfterTheNameAddsToIt) {
  QString value = kPadded;
  QString shown;
  onModal([&](QWidget* box) {
    auto* edit = box->findChild<QLineEdit*>("102");
    shown = edit->text();
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, "CD");
    typeKey(box, Qt::Key_Return);
  });
  EXPECT_TRUE(showInputBox("Nuovo dialog", "Nome:", value, 15));
  EXPECT_EQ(shown, "AB");
  EXPECT_EQ(value, "ABCD");
}

TEST(InputBox, ControlsStandAtTheirDialogUnitsInPixels) {
  QString value = "x";
  QSize size;
  QRect prompt, edit, confirm, cancel;
  QString caption, texts;
  onModal([&](QWidget* box) {
    size = box->size();
    caption = box->windowTitle();
    prompt = box->findChild<QLabel*>("101")->geometry();
    edit = box->findChild<QLineEdit*>("102")->geometry();
    auto* b201 = box->findChild<QPushButton*>("201");
    auto* b202 = box->findChild<QPushButton*>("202");
    confirm = b201->geometry();
    cancel = b202->geometry();
    texts = box->findChild<QLabel*>("101")->text() + "|" + b201->text() + "|" + b202->text() +
            (b201->isDefault() ? "|default" : "");
    b202->click();
  });
  showInputBox("Rinomina", "Nuovo nome:", value, 15);
  EXPECT_EQ(size, QSize(446, 114));           // 255 x 70
  EXPECT_EQ(prompt, QRect(18, 16, 411, 16));  // 10,10 235x10
  EXPECT_EQ(edit, QRect(18, 33, 411, 21));    // 10,20 235x13
  EXPECT_EQ(confirm, QRect(18, 81, 70, 24));  // 10,50 40x15
  EXPECT_EQ(cancel, QRect(96, 81, 70, 24));   // 55,50 40x15
  EXPECT_EQ(caption, "Rinomina");
  EXPECT_EQ(texts, "Nuovo nome:|&Conferma|&Annulla|default");
}

TEST(AboutBox, ShowsNameVersionAndPictureAndEnterCloses) {
  QPixmap picture(200, 200);
  picture.fill(Qt::blue);
  QString texts;
  QSize size, shownPicture;
  QRect closeRect;
  onModal([&](QWidget* box) {
    size = box->size();
    auto* close = box->findChild<QPushButton*>("201");
    texts = box->windowTitle() + "|" + box->findChild<QLabel*>("102")->text() + "|" +
            box->findChild<QLabel*>("103")->text() + "|" + close->text();
    closeRect = close->geometry();
    shownPicture = box->findChild<QLabel*>("picture")->pixmap().size();
    typeKey(box, Qt::Key_Return);
  });
  showAboutBox(nullptr, "KOLV Software Resource Editor", "1.54", picture);
  EXPECT_EQ(texts, "Informazioni su KOLVRE|KOLV Software Resource Editor|Versione: 1.54|&Chiudi");
  EXPECT_EQ(size, QSize(411, 236));              // 235 x 145
  EXPECT_EQ(closeRect, QRect(28, 182, 79, 33));  // 16,112 45x20
  EXPECT_EQ(shownPicture, QSize(93, 93));        // a square inside 57 x 57 units (100 x 93)
}

// Runs `during` while a message box would be up.
class WatchingUi : public testing::ScriptedUi {
 public:
  std::function<void()> during;
  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override {
    if (during) during();
    return ScriptedUi::messageBox(text, kind, title);
  }
};

TEST(CheckedForm, AFailingFieldIsRedWithTheFocusWhileItsMessageIsUp) {
  WatchingUi ui;
  CheckedDialog dialog(ui, true);
  auto* other = new QLineEdit(&dialog);
  auto* date = new QLineEdit(&dialog);
  dialog.addField(other, FormField{});
  FormField dateField;
  dateField.kind = FieldKind::Date;
  dialog.addField(date, dateField);
  dialog.show();
  other->setFocus();
  date->setText("31/02/99");
  const QColor ownColour = date->palette().color(QPalette::Base);
  QColor colourDuring;
  QWidget* focusDuring = nullptr;
  ui.during = [&] {
    colourDuring = date->palette().color(QPalette::Base);
    focusDuring = dialog.focusWidget();
  };
  dialog.confirm();
  EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Data non valida."});
  EXPECT_EQ(colourDuring, QColor(255, 0, 0));
  EXPECT_EQ(focusDuring, date);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(date->palette().color(QPalette::Base), ownColour);
  EXPECT_EQ(dialog.focusWidget(), date);

  // Typing marks the form modified: Esc asks, and No keeps it open.
  ui.during = nullptr;
  ui.buttons = {kIdNo};
  QTest::keyClicks(date, "x");
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ui.messages.back().text, "Annullo le modifiche?");

  date->setText("28/02/99");
  dialog.confirm();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kolvre
