#include "app/accelerator_panel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "app/main_window.h"
#include "app/resource_list.h"
#include "base/text.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "syntax/positions.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

constexpr int kKeyColumn = 0;
constexpr int kIdColumn = 1;
constexpr int kOptionsColumn = 2;
constexpr std::string_view kNewRowTitle = "Nuovo acceleratore";
const QString kPressKey = QStringLiteral("Premi il tasto…");

// The row last current in the panel of a table, for the panel built after its own edit.
struct RememberedRow {
  const Document* doc = nullptr;
  std::size_t begin = 0;
  int row = -1;
  int column = 0;
};
RememberedRow rememberedRow;

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The keys the list's table (virtualKeyOf) does not name, by their virtual-key codes.
constexpr std::array<std::pair<int, std::uint32_t>, 27> kQtKeys{{
    {Qt::Key_Cancel, 0x03},   {Qt::Key_Backspace, 0x08},  {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},  {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Space, 0x20},    {Qt::Key_PageUp, 0x21},     {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},      {Qt::Key_Home, 0x24},       {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},    {Qt::Key_NumLock, 0x90},    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Comma, 0xBC},    {Qt::Key_Minus, 0xBD},      {Qt::Key_Asterisk, 0x6A},
    {Qt::Key_Slash, 0x6F},    {Qt::Key_Period, 0xBE},     {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Question, 0xBF}, {Qt::Key_Apostrophe, 0xDE}, {Qt::Key_Backslash, 0xDC},
}};
// On the keypad: the digits and the operators.
constexpr std::array<std::pair<int, std::uint32_t>, 6> kKeypadKeys{{
    {Qt::Key_Asterisk, 0x6A},
    {Qt::Key_Plus, 0x6B},
    {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E},
    {Qt::Key_Slash, 0x6F},
}};
constexpr std::uint32_t kNumpad0 = 0x60;
constexpr std::uint32_t kF1 = 0x70;

bool isModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_Super_L ||
         key == Qt::Key_Super_R;
}

unsigned modifiersOf(Qt::KeyboardModifiers held) {
  unsigned modifiers = 0;
  if (held & Qt::ControlModifier) modifiers |= kAccelControl;
  if (held & Qt::AltModifier) modifiers |= kAccelAlt;
  if (held & Qt::ShiftModifier) modifiers |= kAccelShift;
  return modifiers;
}

// The delegate of the key column: its editor takes a key instead of a text.
class KeyColumnDelegate : public QStyledItemDelegate {
 public:
  KeyColumnDelegate(QObject* parent, std::function<void(int, AcceleratorKey)> taken)
      : QStyledItemDelegate(parent), taken_(std::move(taken)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex&) const override {
    auto* editor = new KeyCaptureEdit(parent);
    editor->onTaken = [this, editor] {
      auto* self = const_cast<KeyColumnDelegate*>(this);
      emit self->commitData(editor);
      emit self->closeEditor(editor);
    };
    return editor;
  }
  void setEditorData(QWidget*, const QModelIndex&) const override {}
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    if (const auto key = static_cast<KeyCaptureEdit*>(editor)->takeKey()) taken_(index.row(), *key);
  }

 protected:
  // Every key goes to the editor: Tab, Enter and Esc too, which the delegate would take.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
      return false;
    return QStyledItemDelegate::eventFilter(watched, event);
  }

 private:
  std::function<void(int, AcceleratorKey)> taken_;
};

}  // namespace

std::optional<AcceleratorKey> acceleratorKeyOf(const QKeyEvent& event) {
  const int qtKey = event.key();
  if (isModifierKey(qtKey)) return std::nullopt;
  AcceleratorKey key;
  key.modifiers = modifiersOf(event.modifiers());
  const QString text = event.text();
  if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() <= 0x7E)
    key.character = static_cast<char>(text[0].unicode());
  if (event.modifiers() & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
      key.virtualKey = kNumpad0 + static_cast<std::uint32_t>(qtKey - Qt::Key_0);
    for (const auto& [qt, code] : kKeypadKeys)
      if (qt == qtKey) key.virtualKey = code;
  }
  if (!key.virtualKey && qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
    key.virtualKey = kF1 + static_cast<std::uint32_t>(qtKey - Qt::Key_F1);
  if (!key.virtualKey)
    for (const auto& [qt, code] : kQtKeys)
      if (qt == qtKey) key.virtualKey = code;
  if (!key.virtualKey)
    if (const int code = virtualKeyOf(qtKey); code > 0)
      key.virtualKey = static_cast<std::uint32_t>(code);
  if (qtKey == Qt::Key_Backtab) key.modifiers |= kAccelShift;
  if (!key.virtualKey && !key.character) return std::nullopt;
  return key;
}

KeyCaptureEdit::KeyCaptureEdit(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setPlaceholderText(kPressKey);
}

std::optional<AcceleratorKey> KeyCaptureEdit::takeKey() {
  if (!key_ || handedOn_) return std::nullopt;
  handedOn_ = true;
  return key_;
}

bool KeyCaptureEdit::event(QEvent* event) {
  // The window's shortcuts and the focus keys (Tab) would never reach keyPressEvent.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    keyPressEvent(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QLineEdit::event(event);
}

void KeyCaptureEdit::showHeld(const QKeyEvent& event) {
  // The modifier pressed or let go counts as held or not, whatever the platform reports.
  unsigned held = modifiersOf(event.modifiers());
  const unsigned own = event.key() == Qt::Key_Control ? kAccelControl
                       : event.key() == Qt::Key_Alt   ? kAccelAlt
                       : event.key() == Qt::Key_Shift ? kAccelShift
                                                      : 0u;
  held = event.type() == QEvent::KeyPress ? held | own : held & ~own;
  setText(held ? utf8(acceleratorLabel(held, "…")) : QString());
}

void KeyCaptureEdit::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (key_) return;
  const auto key = acceleratorKeyOf(*event);
  if (!key) {
    showHeld(*event);
    return;
  }
  key_ = key;
  setText(utf8(acceleratorKeyLabel(*key)));
  if (onTaken) onTaken();
}

void KeyCaptureEdit::keyReleaseEvent(QKeyEvent* event) {
  event->accept();
  if (!key_) showHeld(*event);
}

AcceleratorView::AcceleratorView(QWidget* parent, Document& doc, UserInterface& ui,
                                 std::size_t begin, CommandRunner run,
                                 std::optional<ResourceKey> current)
    : QWidget(parent),
      doc_(doc),
      ui_(ui),
      begin_(begin),
      run_(std::move(run)),
      current_(std::move(current)) {
  setObjectName(QStringLiteral("acceleratorPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  table_ = new QTableWidget(0, 3, this);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("Tasto"), QStringLiteral("ID"), QStringLiteral("Opzioni")});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setProperty(kNoGlobalInsert, true);
  table_->setItemDelegateForColumn(
      kKeyColumn,
      new KeyColumnDelegate(table_, [this](int row, AcceleratorKey key) { setKey(row, key); }));
  handleTableKeys(table_, {[this] { addRow(); }, [this] { deleteRow(); },
                           [this](const QModelIndex&) { return readOnly_; }});
  setFocusProxy(table_);
  layout->addWidget(table_);
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (filling_) return;
    if (item->column() == kIdColumn) setId(item->row(), item->text());
    if (item->column() == kOptionsColumn) setOptions(item->row(), item->text());
  });
  reload();
  takeRememberedRow();
}

void AcceleratorView::takeRememberedRow() {
  if (rememberedRow.doc == &doc_ && rememberedRow.begin == begin_ && rememberedRow.row >= 0 &&
      table_->rowCount() > 0)
    table_->setCurrentCell(std::min(rememberedRow.row, table_->rowCount() - 1),
                           rememberedRow.column);
  rememberedRow = {};
}

void AcceleratorView::reload() {
  const int row = table_->currentRow();
  const int column = std::max(table_->currentColumn(), 0);
  symbols_ = cachedScriptSymbols(doc_.text(), doc_.fileName(), &doc_.headerTexts());
  reading_ = documentAccelerators(doc_, begin_, symbols_.get());
  filling_ = true;
  table_->setRowCount(0);
  problem_ = utf8(reading_.problem);
  readOnly_ = utf8(acceleratorTableProblem(doc_.text(), reading_));
  table_->setEditTriggers(readOnly_.isEmpty()
                              ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              : QAbstractItemView::NoEditTriggers);
  const std::vector<std::optional<std::size_t>> earlier = duplicateAcceleratorKeys(reading_);
  table_->setRowCount(static_cast<int>(reading_.rows.size()));
  for (int r = 0; r < table_->rowCount(); ++r) {
    const Accelerator& accelerator = reading_.rows[static_cast<std::size_t>(r)];
    const QString cells[] = {utf8(accelerator.label), utf8(doc_.display(accelerator.id)),
                             utf8(acceleratorOptionWords(accelerator.options))};
    QString duplicate;
    if (const auto first = earlier[static_cast<std::size_t>(r)]) {
      const Accelerator& other = reading_.rows[*first];
      duplicate = utf8(duplicateAcceleratorMessage(accelerator.label, doc_.display(other.id),
                                                   lineNumberAt(doc_.text(), other.offset)));
    }
    for (int c = 0; c < 3; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (!readOnly_.isEmpty()) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      if (!duplicate.isEmpty()) {
        item->setForeground(Qt::red);
        item->setToolTip(duplicate);
      }
      table_->setItem(r, c, item);
    }
  }
  if (!readOnly_.isEmpty())
    status_ = readOnly_;
  else
    status_ = reading_.rows.size() == 1
                  ? QStringLiteral("Acceleratori: 1 tasto")
                  : QStringLiteral("Acceleratori: %1 tasti").arg(reading_.rows.size());
  table_->resizeColumnsToContents();
  if (row >= 0 && table_->rowCount() > 0)
    table_->setCurrentCell(std::min(row, table_->rowCount() - 1), column);
  filling_ = false;
}

bool AcceleratorView::rowReadable(int row) const {
  return readOnly_.isEmpty() && row >= 0 && static_cast<std::size_t>(row) < reading_.rows.size();
}

bool AcceleratorView::commit(const std::function<Edit()>& edit, std::optional<int> rowAfter) {
  const int row = rowAfter.value_or(table_->currentRow());
  const int column = std::max(table_->currentColumn(), 0);
  return run_([&] {
    Edit kept = edit();
    kept.currentBefore = current_;
    kept.currentAfter = current_;
    rememberedRow = {&doc_, begin_, row, column};
    doc_.commit(kept);
  });
}

void AcceleratorView::setKey(int row, AcceleratorKey key) {
  if (!rowReadable(row)) return;
  const Accelerator& written = reading_.rows[static_cast<std::size_t>(row)];
  // In an ASCII row the character typed carries Maiusc ("A" is Maiusc+a).
  if (!(written.options & kAccelVirtualKey) && key.character && !(key.modifiers & kAccelControl)) {
    if (key.modifiers & kAccelShift) key.character = upperByte(*key.character);
    key.modifiers &= ~kAccelShift;
  }
  commit([&] {
    return setAcceleratorKey(doc_.text(), reading_, static_cast<std::size_t>(row), key,
                             acceleratorContext(doc_, symbols_.get()));
  });
  QMetaObject::invokeMethod(
      this, [this] { reload(); }, Qt::QueuedConnection);
}

void AcceleratorView::setId(int row, const QString& id) {
  if (!rowReadable(row)) return;
  const std::string typed = doc_.scriptBytes(id.toStdString());
  const bool done = commit([&] {
    return setAcceleratorId(doc_.text(), reading_, static_cast<std::size_t>(row), typed,
                            acceleratorContext(doc_, symbols_.get()));
  });
  if (!done) {
    // Refused: the cell keeps the text typed, in edit.
    editAgain(table_, table_->model()->index(row, kIdColumn));
    return;
  }
  QMetaObject::invokeMethod(
      this, [this] { reload(); }, Qt::QueuedConnection);
}

void AcceleratorView::setOptions(int row, const QString& words) {
  if (!rowReadable(row)) return;
  const bool done = commit([&] {
    std::string unknown;
    const auto options = parseAcceleratorOptions(words.toStdString(), &unknown);
    if (!options)
      throw Refusal("Opzione sconosciuta: " + unknown +
                    ". Le opzioni sono VIRTKEY, ASCII, NOINVERT, ALT, SHIFT e CONTROL.");
    return setAcceleratorOptions(doc_.text(), reading_, static_cast<std::size_t>(row), *options);
  });
  if (!done) {
    editAgain(table_, table_->model()->index(row, kOptionsColumn));
    return;
  }
  QMetaObject::invokeMethod(
      this, [this] { reload(); }, Qt::QueuedConnection);
}

void AcceleratorView::addRow() {
  if (!readOnly_.isEmpty()) {
    noteInStatusBar(table_, readOnly_);
    return;
  }
  std::string typedKey;
  if (!ui_.inputBox(kNewRowTitle, "Tasto (come Ctrl+Maiusc+N):", typedKey, 64)) return;
  std::string id;
  if (!ui_.inputBox(kNewRowTitle, "ID:", id, 255)) return;
  const int row = table_->currentRow();
  const std::optional<std::size_t> after =
      row >= 0                ? std::optional<std::size_t>(static_cast<std::size_t>(row))
      : reading_.rows.empty() ? std::nullopt
                              : std::optional<std::size_t>(reading_.rows.size() - 1);
  // The new row becomes current.
  commit(
      [&] {
        const auto key = parseAcceleratorKey(typedKey);
        if (!key) throw Refusal("Tasto non riconosciuto: " + typedKey + ".");
        return insertAccelerator(doc_.text(), reading_, after, *key, doc_.scriptBytes(id),
                                 acceleratorContext(doc_, symbols_.get()));
      },
      after ? static_cast<int>(*after) + 1 : 0);
  reload();
  takeRememberedRow();
}

void AcceleratorView::deleteRow() {
  const int row = table_->currentRow();
  if (!readOnly_.isEmpty()) {
    noteInStatusBar(table_, readOnly_);
    return;
  }
  if (!rowReadable(row)) return;
  const Accelerator& written = reading_.rows[static_cast<std::size_t>(row)];
  if (!showMessage(ui_, "Eliminare il tasto " + written.label + "?", MessageKind::YesNo).accepted())
    return;
  commit([&] { return deleteAccelerator(doc_.text(), reading_, static_cast<std::size_t>(row)); });
  reload();
  takeRememberedRow();
}

QWidget* acceleratorPanel(const PanelContext& c) {
  const std::size_t begin = c.doc.index()[c.position].offset;
  auto* view = new AcceleratorView(c.window.centralWidget(), c.doc, c.ui, begin,
                                   windowRunner(c.window), keyAt(c.doc.index(), c.position));
  if (!view->problem().isEmpty()) {
    const QString problem = view->problem();
    delete view;
    QWidget* empty = emptyPanel(c.window);
    c.window.setDefaultStatusText(problem);
    return empty;
  }
  fillBesideList(view, c.window);
  c.window.setDefaultStatusText(view->statusText());
  view->show();
  return view;
}

}  // namespace kolvre
