// A modal Qt form that closes through the close check (checkFormClose): Conferma and Annulla set
// the close request, and every way of closing (the buttons, Esc, the close box) runs the check
// first.
#pragma once

#include <QDialog>
#include <QPalette>
#include <QPointer>
#include <cstddef>
#include <vector>

#include "messages/form_check.h"
#include "platform/user_interface.h"

namespace kolvre {

class CheckedDialog : public QDialog {
  Q_OBJECT

 public:
  CheckedDialog(UserInterface& ui, bool askOnCancel, QWidget* parent = nullptr);

  // Hooks the owner may add, such as showPage for a folder, are set on the form directly.
  Form& form() { return form_; }

  // Adds `field`, shown by `widget`, and gives its index. Editing a QLineEdit marks its field
  // modified; a date field shown by a QLineEdit takes the line's text when the check runs.
  std::size_t addField(QWidget* widget, FormField field);

 public slots:
  void confirm();  // close request 1, then close
  void cancel();   // close request 2, then close

 protected:
  void done(int result) override;

 private:
  void storeValues();
  void markFailing(std::size_t index);
  void unmarkFailing(std::size_t index);

  UserInterface& ui_;
  bool askOnCancel_;
  Form form_;
  std::vector<QPointer<QWidget>> widgets_;  // one per field, in the form's order
  QPointer<QWidget> focusBeforeClose_;
  QPalette savedPalette_;
  bool savedAutoFill_ = false;
};

}  // namespace kolvre
