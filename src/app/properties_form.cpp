#include "app/properties_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "ui/qt_form_check.h"

namespace kolvre {

namespace {

QString qtext(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The widget of one field, named after the field's id ("field102"); `text` reads its value.
QWidget* fieldWidget(const PropertyField& field, const QString& value, bool fixed, QWidget* form,
                     std::function<std::string()>& text) {
  const QString name = QStringLiteral("field%1").arg(int(field.id));
  if (field.multiLine) {
    auto* edit = new QPlainTextEdit(value, form);
    edit->setObjectName(name);
    edit->setReadOnly(field.readOnly || fixed);
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(60);
    text = [edit] { return edit->toPlainText().toStdString(); };
    return edit;
  }
  auto* edit = new QLineEdit(value, form);
  edit->setObjectName(name);
  edit->setReadOnly(field.readOnly || fixed);
  if (field.id == PropertyFieldId::Caption) edit->setMaxLength(int(kCaptionMaxLength));
  // Id, X and Y: Insert has no global action there.
  if (field.id == PropertyFieldId::Id || field.id == PropertyFieldId::X ||
      field.id == PropertyFieldId::Y)
    edit->setProperty(kNoGlobalInsert, true);
  // A number field takes as many digits as its picture; the id may still show a symbol.
  if (!field.picture.empty() && field.id != PropertyFieldId::Id)
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(field.picture.size())), edit));
  text = [edit] { return edit->text().toStdString(); };
  return edit;
}

}  // namespace

std::optional<ControlProperties> editControlProperties(UserInterface& ui, QWidget* parent,
                                                       QPoint at, const ControlProperties& shown) {
  CheckedDialog form(ui, true, parent);
  form.setWindowTitle(qtext(kPropertiesTitle));
  form.setObjectName(QStringLiteral("PROPCTL"));
  auto* grid = new QGridLayout(&form);
  // How each field's text is read, in the order of kPropertyFields.
  std::vector<std::function<std::string()>> texts(kPropertyFields.size());
  const auto values = [&] {
    ControlProperties now = shown;
    for (std::size_t f = 0; f < texts.size(); ++f)
      propertyValue(now, kPropertyFields[f].id) = texts[f]();
    return now;
  };
  // The messages of the failing checks, where the form's fields point.
  std::array<std::string, kPropertyFields.size()> messages;
  ControlProperties filled = shown;
  for (std::size_t row = 0; row < kPropertyFields.size(); ++row) {
    const PropertyField& field = kPropertyFields[row];
    grid->addWidget(new QLabel(qtext(field.label), &form), int(row), 0);
    QWidget* widget = fieldWidget(field, QString::fromStdString(propertyValue(filled, field.id)),
                                  shown.isFixed(field.id), &form, texts[row]);
    grid->addWidget(widget, int(row), 1);
    // Beside the field, what the statement says of it: the id's value, the keyword.
    const std::string note = propertyNote(shown, field.id);
    if (!note.empty()) {
      auto* label = new QLabel(qtext(note), &form);
      label->setObjectName(QStringLiteral("note%1").arg(int(field.id)));
      label->setTextInteractionFlags(Qt::TextSelectableByMouse);
      grid->addWidget(label, int(row), 2);
    }
    FormField check;
    check.check = [&, id = field.id, row] {
      const auto fault = checkProperties(values(), shown);
      if (!fault || fault->field != id) return true;
      messages[row] = fault->message;
      form.form().fields[row].failMessage = messages[row];
      return false;
    };
    form.addField(widget, std::move(check));
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
      QObject::connect(edit, &QPlainTextEdit::textChanged, &form,
                       [&form, row] { form.form().fields[row].modified = true; });
  }
  auto* confirm = new QPushButton(QStringLiteral("&Conferma"), &form);
  auto* cancel = new QPushButton(QStringLiteral("&Annulla"), &form);
  confirm->setDefault(true);
  QObject::connect(confirm, &QPushButton::clicked, &form, &CheckedDialog::confirm);
  QObject::connect(cancel, &QPushButton::clicked, &form, &CheckedDialog::cancel);
  const int buttons = int(kPropertyFields.size());
  grid->addWidget(confirm, buttons, 0);
  grid->addWidget(cancel, buttons, 1, 1, 2, Qt::AlignRight);
  form.move(at);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return values();
}

}  // namespace kolvre
