#include "ui/qt_form_check.h"

#include <QColor>
#include <QLineEdit>

namespace kolvre {

namespace {

QColor fromPlatformColour(unsigned colour) {  // 0x00BBGGRR
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace

CheckedDialog::CheckedDialog(UserInterface& ui, bool askOnCancel, QWidget* parent)
    : QDialog(parent), ui_(ui), askOnCancel_(askOnCancel) {
  form_.commitFocus = [this] { storeValues(); };
  form_.onFailBegin = [this](std::size_t i) { markFailing(i); };
  form_.onFailEnd = [this](std::size_t i) { unmarkFailing(i); };
  form_.restoreFocus = [this] {
    if (focusBeforeClose_) focusBeforeClose_->setFocus();
  };
}

std::size_t CheckedDialog::addField(QWidget* widget, FormField field) {
  const std::size_t index = form_.fields.size();
  form_.fields.push_back(std::move(field));
  widgets_.emplace_back(widget);
  if (auto* edit = qobject_cast<QLineEdit*>(widget))
    connect(edit, &QLineEdit::textEdited, this,
            [this, index] { form_.fields[index].modified = true; });
  return index;
}

void CheckedDialog::confirm() {
  form_.closeRequest = CloseRequest::Confirm;
  accept();
}

void CheckedDialog::cancel() {
  form_.closeRequest = CloseRequest::Cancel;
  reject();
}

void CheckedDialog::done(int result) {
  focusBeforeClose_ = focusWidget();
  if (!checkFormClose(ui_, form_, askOnCancel_)) return;
  QDialog::done(result);
}

void CheckedDialog::storeValues() {
  // Leaving the focused control lets it finish its edit before the values are read.
  if (QWidget* focused = focusWidget()) focused->clearFocus();
  for (std::size_t i = 0; i < widgets_.size(); ++i)
    if (form_.fields[i].kind == FieldKind::Date)
      if (auto* edit = qobject_cast<QLineEdit*>(widgets_[i].data()))
        form_.fields[i].dateText = edit->text().toStdString();
}

void CheckedDialog::markFailing(std::size_t index) {
  QWidget* widget = widgets_[index];
  if (!widget) return;
  savedPalette_ = widget->palette();
  savedAutoFill_ = widget->autoFillBackground();
  QPalette red = savedPalette_;
  const QColor colour = fromPlatformColour(kFailColour);
  for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
    red.setColor(role, colour);
  widget->setPalette(red);
  widget->setAutoFillBackground(true);
  widget->setFocus();
}

void CheckedDialog::unmarkFailing(std::size_t index) {
  QWidget* widget = widgets_[index];
  if (!widget) return;
  widget->setPalette(savedPalette_);
  widget->setAutoFillBackground(savedAutoFill_);
  widget->setFocus();
}

}  // namespace kolvre
