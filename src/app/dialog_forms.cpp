#include "app/dialog_forms.h"
#include "app/main_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <array>
#include <functional>
#include <string>

#include "shell/key_commands.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

// The id editor's background: light green.
const QColor kIdEditorColour(184, 236, 112);

// The virtual-key codes of the list's keys.
int virtualKeyOfListKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkEnter;
    case Qt::Key_F2:
      return 113;
    case Qt::Key_F11:
      return 122;
    case Qt::Key_F12:
      return 123;
    default:
      return 0;
  }
}

bool allDigits(const std::string& text) {
  return text.find_first_not_of("0123456789") == std::string::npos;
}

// A number field takes as many digits as its picture. A value shown that is no number (a
// symbol, a negative position) is left editable as it stands: the check judges it.
void limitToDigits(QLineEdit* edit, const std::string& shown, std::size_t digits) {
  if (allDigits(shown))
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), edit));
}

// The id editor: one field, laid over the id's cell.
class IdEditor : public CheckedDialog {
 public:
  IdEditor(UserInterface& ui, QWidget* parent, const QString& shown, const QFont& font)
      : CheckedDialog(ui, true, parent) {
    setObjectName(QStringLiteral("EDITID"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    edit_ = new QLineEdit(shown, this);
    edit_->setObjectName(QStringLiteral("id"));
    edit_->setFrame(false);
    edit_->setAlignment(Qt::AlignRight);  // as the id column shows it
    edit_->setFont(font);
    edit_->setProperty(kNoGlobalInsert, true);
    edit_->setMaxLength(std::max(qsizetype(kIdPicture.size()), shown.size()));
    limitToDigits(edit_, shown.toStdString(), kIdPicture.size());
    QPalette green = edit_->palette();
    green.setColor(QPalette::Base, kIdEditorColour);
    edit_->setPalette(green);
    edit_->selectAll();
    connect(edit_, &QLineEdit::returnPressed, this, &CheckedDialog::confirm);
    FormField field;
    field.kind = FieldKind::Number;
    const std::string shownText = shown.toStdString();
    field.check = [this, shownText] {
      const auto fault = idFault(text(), shownText);
      form().fields[0].failMessage = fault ? *fault : std::string_view();
      return !fault;
    };
    addField(edit_, std::move(field));
  }
  QLineEdit* edit() const { return edit_; }
  std::string text() const { return edit_->text().toStdString(); }

 private:
  QLineEdit* edit_ = nullptr;
};

// The edit of the properties form's field `f`, showing the value `shown` gives it; `text` is
// set to read what the edit holds.
QWidget* propertyEdit(CheckedDialog& form, std::size_t f, const DialogProperties& shown,
                      std::function<std::string()>& text) {
  const DialogPropertyField& field = kDialogPropertyFields[f];
  const std::string& value = dialogPropertyValue(shown, field.id);
  if (field.multiLine) {
    auto* edit = new QPlainTextEdit(qstr(value), &form);
    edit->setTabChangesFocus(true);
    edit->setFixedHeight(64);
    text = [edit] { return edit->toPlainText().toStdString(); };
    QObject::connect(edit, &QPlainTextEdit::textChanged, &form,
                     [&form, f] { form.form().fields[f].modified = true; });
    return edit;
  }
  auto* edit = new QLineEdit(qstr(value), &form);
  edit->setMaxLength(int(fieldLength(field.id, shown)));
  if (!field.picture.empty()) {  // a number
    limitToDigits(edit, value, field.picture.size());
    // X and Y: Insert has no global action there.
    if (field.id == 103 || field.id == 104) edit->setProperty(kNoGlobalInsert, true);
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("99999")) + 12);
  } else {
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() *
                          int(field.id == 101 ? kMaxNameLength : 48));
  }
  text = [edit] { return edit->text().toStdString(); };
  return edit;
}

// The properties form's Conferma and Annulla buttons, in a row.
QHBoxLayout* formButtons(CheckedDialog& form) {
  auto* buttons = new QHBoxLayout;
  auto* confirm = new QPushButton(QStringLiteral("&Conferma"), &form);
  auto* cancel = new QPushButton(QStringLiteral("&Annulla"), &form);
  confirm->setObjectName(QStringLiteral("button201"));
  cancel->setObjectName(QStringLiteral("button202"));
  confirm->setDefault(true);
  QObject::connect(confirm, &QPushButton::clicked, &form, &CheckedDialog::confirm);
  QObject::connect(cancel, &QPushButton::clicked, &form, &CheckedDialog::cancel);
  buttons->addWidget(confirm);
  buttons->addStretch(1);
  buttons->addWidget(cancel);
  return buttons;
}

}  // namespace

std::optional<DialogProperties> editDialogProperties(QWidget* parent, QPoint at, UserInterface& ui,
                                                     const DialogProperties& shown,
                                                     const DialogPropertiesCheck& check) {
  CheckedDialog form(ui, true, parent);
  form.setWindowTitle(qstr(kDialogPropertiesTitle));
  form.setObjectName(QStringLiteral("PROPDLG"));
  auto* grid = new QGridLayout(&form);
  // Each field's text as it stands now.
  std::array<std::function<std::string()>, kDialogPropertyFields.size()> texts;
  // The messages of the failing checks, where the form's fields point.
  std::array<std::string, kDialogPropertyFields.size()> messages;
  const auto values = [&] {
    DialogProperties now = shown;
    for (std::size_t f = 0; f < texts.size(); ++f)
      dialogPropertyValue(now, kDialogPropertyFields[f].id) = texts[f]();
    return now;
  };
  // Name and title a row each; X, Y, L and H side by side; the style below them.
  int row = 0, column = 0;
  for (std::size_t f = 0; f < kDialogPropertyFields.size(); ++f) {
    const DialogPropertyField& field = kDialogPropertyFields[f];
    const bool number = !field.picture.empty();
    auto* label = new QLabel(qstr(field.label), &form);
    QWidget* widget = propertyEdit(form, f, shown, texts[f]);
    widget->setObjectName(QStringLiteral("field%1").arg(field.id));
    label->setBuddy(widget);
    if (number) {
      auto* pair = new QHBoxLayout;
      pair->addWidget(label);
      pair->addWidget(widget);
      grid->addLayout(pair, row, 1 + column, Qt::AlignLeft);
      if (++column == 4) {
        column = 0;
        ++row;
      }
    } else {
      grid->addWidget(label, row, 0, field.multiLine ? Qt::AlignTop : Qt::Alignment());
      grid->addWidget(widget, row, 1, 1, 4);
      ++row;
    }
    FormField checked;
    checked.check = [&, f, id = field.id] {
      const auto fault = check(values());
      if (!fault || fault->field != id) return true;
      messages[f] = fault->message;
      form.form().fields[f].failMessage = messages[f];
      return false;
    };
    form.addField(widget, std::move(checked));
  }
  grid->addLayout(formButtons(form), row, 0, 1, 5);
  form.move(at);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return values();
}

TabOrderDialog::TabOrderDialog(UserInterface& ui, const ScriptCharset& charset,
                               std::vector<TabOrderRow> rows, std::size_t current, QWidget* parent)
    : CheckedDialog(ui, false, parent), ui_(ui), charset_(charset), rows_(std::move(rows)) {
  setWindowTitle(qstr(kTabOrderTitle));
  setObjectName(QStringLiteral("ORDITAB"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QTableWidget(0, int(kTabOrderColumns.size()), this);
  list_->setObjectName(QStringLiteral("list101"));
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setWordWrap(false);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 4);
  list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->horizontalHeader()->setHighlightSections(false);
  for (std::size_t c = 0; c < kTabOrderColumns.size(); ++c) {
    const TabOrderColumn& column = kTabOrderColumns[c];
    auto* heading = new QTableWidgetItem(qstr(column.heading));
    heading->setTextAlignment(column.rightAligned ? Qt::AlignRight | Qt::AlignVCenter
                                                  : Qt::AlignLeft | Qt::AlignVCenter);
    list_->setHorizontalHeaderItem(int(c), heading);
    list_->setColumnWidth(int(c), column.width);
  }
  list_->setMinimumHeight(list_->verticalHeader()->defaultSectionSize() * 14);
  list_->installEventFilter(this);
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this] { editId(); });
  layout->addWidget(list_);

  auto* buttons = new QHBoxLayout;
  const auto button = [&](int id, const char* text, const std::function<void()>& action) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    b->setObjectName(QStringLiteral("button%1").arg(id));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, action] {
      action();
      list_->setFocus();
    });
    buttons->addWidget(b);
    return b;
  };
  button(201, "&Conferma", [this] { confirm(); })->setDefault(true);
  button(202, "&Annulla", [this] { cancel(); });
  buttons->addStretch(1);
  button(203, "Cambia &Id", [this] { editId(); });
  button(204, "Sposta su (F11)", [this] { key(122); });
  button(205, "Sposta giù  (F12)", [this] { key(123); });
  layout->addLayout(buttons);

  fill();
  if (!rows_.empty()) list_->setCurrentCell(int(std::min(current, rows_.size() - 1)), 0);
  list_->setFocus();
}

std::size_t TabOrderDialog::current() const {
  return std::size_t(std::max(list_->currentRow(), 0));
}

void TabOrderDialog::fill() {
  const int row = list_->currentRow();
  list_->setRowCount(int(rows_.size()));
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    const std::array<std::string, 7> cells = rowCells(rows_[r]);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(qstr(writtenToUtf8(cells[c], charset_)));
      item->setTextAlignment(kTabOrderColumns[c].rightAligned ? Qt::AlignRight | Qt::AlignVCenter
                                                              : Qt::AlignLeft | Qt::AlignVCenter);
      list_->setItem(int(r), int(c), item);
    }
  }
  if (row >= 0 && row < list_->rowCount()) list_->setCurrentCell(row, 0);
  fitIdColumn();
}

void TabOrderDialog::fitIdColumn() {
  // The id column is as wide as its longest id (a symbol such as "IDC_USE_DEFAULT_PRINTER"
  // would be cut), never narrower than its usual width; the list widens with it.
  const QFontMetrics metrics = list_->fontMetrics();
  int idWidth = kTabOrderColumns[kIdColumn].width;
  for (int r = 0; r < list_->rowCount(); ++r)
    if (const QTableWidgetItem* item = list_->item(r, int(kIdColumn)))
      idWidth = std::max(idWidth, metrics.horizontalAdvance(item->text()) + 12);
  list_->setColumnWidth(int(kIdColumn), idWidth);
  int width = 0;
  for (int c = 0; c < list_->columnCount(); ++c) width += list_->columnWidth(c);
  list_->setFixedWidth(width + list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       2 * list_->frameWidth());
}

void TabOrderDialog::key(int virtualKey) {
  std::size_t row = current();
  const TabOrderAction action = tabOrderKeyAction(rows_, row, virtualKey);
  if (action == TabOrderAction::Confirm) {
    confirm();
    return;
  }
  if (action == TabOrderAction::EditId) {
    editId();
    return;
  }
  if (action == TabOrderAction::MoveUp || action == TabOrderAction::MoveDown) {
    fill();
    list_->setCurrentCell(int(row), list_->currentColumn() < 0 ? 0 : list_->currentColumn());
  }
  list_->viewport()->update();
}

void TabOrderDialog::editId() {
  if (editTabOrderId(ui_, list_, rows_)) fill();
  list_->setFocus();
}

bool TabOrderDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const auto* press = static_cast<QKeyEvent*>(event);
    if (const int vk = virtualKeyOfListKey(press->key())) {
      key(vk);
      return true;
    }
  }
  return CheckedDialog::eventFilter(watched, event);
}

TabOrderClosing editTabOrder(QWidget* parent, UserInterface& ui, const ScriptCharset& charset,
                             const std::vector<TabOrderRow>& rows, std::size_t current) {
  TabOrderDialog form(ui, charset, rows, current, parent);
  const bool confirmed = form.exec() == QDialog::Accepted;
  return {confirmed, form.rows(), form.current()};
}

bool editTabOrderId(UserInterface& ui, QTableWidget* browse, std::vector<TabOrderRow>& rows) {
  const int row = browse->currentRow();
  if (rows.empty() || row < 0 || std::size_t(row) >= rows.size() ||
      !rows[std::size_t(row)].control) {
    browse->viewport()->update();
    return false;
  }
  TabOrderRow& target = rows[std::size_t(row)];
  IdEditor popup(ui, browse->window(), qstr(rowIdText(target)), browse->font());
  fitIdEditor(&popup, browse, popup.edit(), int(kIdColumn));
  bool changed = false;
  if (popup.exec() == QDialog::Accepted) {
    const TabOrderRow before = target;
    setRowId(target, popup.text());
    changed = !(target == before);
  }
  browse->viewport()->update();
  return changed;
}

void fitIdEditor(QWidget* popup, QTableWidget* browse, QLineEdit* edit, int column) {
  const QRect cell = browse->visualRect(browse->model()->index(browse->currentRow(), column));
  const QPoint topLeft = browse->viewport()->mapToGlobal(cell.topLeft());
  const int scrollBar = browse->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int width = std::min(browse->columnWidth(column), browse->width() - scrollBar) - 1;
  const int height = cell.height() - 1;
  popup->setFixedSize(width, height);
  popup->move(topLeft);
  edit->setGeometry(0, 0, width + 1, height);
}

}  // namespace kolvre
