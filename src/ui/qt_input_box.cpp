#include "ui/qt_input_box.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "dialogs/dialog_units.h"

namespace kolvre {

namespace {

// The box's template, in dialog units; control names are their identifiers.
constexpr DialogUnitRect kBoxSize{0, 0, 255, 70};
constexpr DialogUnitRect kPromptRect{10, 10, 235, 10};  // static 101
constexpr DialogUnitRect kEditRect{10, 20, 235, 13};    // edit 102
constexpr DialogUnitRect kConfirmRect{10, 50, 40, 15};  // button 201, the default
constexpr DialogUnitRect kCancelRect{55, 50, 40, 15};   // button 202

QRect pixelRect(const DialogUnitRect& du) {
  const PixelRect px = toPixels(du, kFixedBaseUnits);
  return {px.x, px.y, px.width, px.height};
}

void centreOnScreen(QWidget& window, QWidget* owner) {
  QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window.frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window.move(frame.topLeft());
}

}  // namespace

bool showInputBox(const QString& title, const QString& prompt, QString& value, int maxLength,
                  QWidget* owner) {
  if (!owner) owner = QApplication::activeWindow();
  QDialog box(owner);
  box.setWindowTitle(title);
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  box.setFont(font);
  const PixelRect size = toPixels(kBoxSize, kFixedBaseUnits);
  box.setFixedSize(size.width, size.height);

  auto* promptLabel = new QLabel(prompt, &box);
  promptLabel->setObjectName(QStringLiteral("101"));
  promptLabel->setGeometry(pixelRect(kPromptRect));

  auto* edit = new QLineEdit(&box);
  edit->setObjectName(QStringLiteral("102"));
  edit->setGeometry(pixelRect(kEditRect));
  // The length is a limit on typing; the value is shown without blanks around it, so that a
  // value padded to the limit cannot leave the field full of blanks nobody sees.
  edit->setMaxLength(maxLength < 0 ? 0 : maxLength);
  edit->setText(value.trimmed());
  // The whole text is selected on entry, so typing replaces it.
  edit->selectAll();

  auto* confirm = new QPushButton(QStringLiteral("&Conferma"), &box);
  confirm->setObjectName(QStringLiteral("201"));
  confirm->setGeometry(pixelRect(kConfirmRect));
  confirm->setDefault(true);
  QObject::connect(confirm, &QPushButton::clicked, &box, &QDialog::accept);

  auto* cancel = new QPushButton(QStringLiteral("&Annulla"), &box);
  cancel->setObjectName(QStringLiteral("202"));
  cancel->setGeometry(pixelRect(kCancelRect));
  QObject::connect(cancel, &QPushButton::clicked, &box, &QDialog::reject);

  // The box has no checked fields and never asks before a cancel, so its close check always
  // passes: accept and reject close it directly.
  edit->setFocus();
  centreOnScreen(box, owner);
  if (box.exec() != QDialog::Accepted) return false;
  value = edit->text();
  return true;
}

}  // namespace kolvre
