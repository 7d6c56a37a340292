#include "app/version_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <array>

#include "app/main_window.h"
#include "messages/messages.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

// The label of each fixed field, in the order of kVersionFields.
constexpr std::array<std::string_view, kVersionFields.size()> kFieldLabels{
    "Versione del file", "Versione del prodotto",
    "Maschera dei flag", "Flag",
    "Sistema operativo", "Tipo",
    "Sottotipo"};

constexpr std::string_view kNewValueTitle = "Nuovo valore";
constexpr std::string_view kNewBlockTitle = "Nuovo blocco di lingua";
constexpr std::string_view kRenameBlockTitle = "Rinomina blocco";

// The cell last current in the panel of a resource, for the panel built after its own edit:
// its table (-1 the fields, else a block's place) and row.
struct RememberedCell {
  const Document* doc = nullptr;
  std::size_t begin = 0;
  int table = -1;
  int row = -1;
};
RememberedCell rememberedCell;

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidget* twoColumns(QWidget* parent, const QString& first, const QString& second) {
  auto* table = new QTableWidget(0, 2, parent);
  table->setHorizontalHeaderLabels({first, second});
  table->horizontalHeader()->setStretchLastSection(true);
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setProperty(kNoGlobalInsert, true);
  return table;
}

QTableWidgetItem* fixedItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

void addRow(QTableWidget* table, QTableWidgetItem* first, QTableWidgetItem* second) {
  const int row = table->rowCount();
  table->setRowCount(row + 1);
  table->setItem(row, 0, first);
  table->setItem(row, 1, second);
}

// The four numbers of a version, each in its own box.
class VersionEditor : public QWidget {
 public:
  VersionEditor(QWidget* parent, const std::array<std::uint16_t, 4>& numbers) : QWidget(parent) {
    setObjectName(QStringLiteral("versionNumbers"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
      auto* box = new QSpinBox(this);
      box->setRange(0, 65535);
      box->setValue(numbers[i]);
      layout->addWidget(box);
      boxes_.push_back(box);
    }
    setFocusProxy(boxes_.front());
  }
  QString text() const {
    QStringList numbers;
    for (const QSpinBox* box : boxes_) numbers << QString::number(box->value());
    return numbers.join(QLatin1Char('.'));
  }
  const std::vector<QSpinBox*>& boxes() const { return boxes_; }

 protected:
  // Tab and Maiusc+Tab go from box to box; past the last (or the first) the table takes them,
  // confirming the four numbers.
  bool focusNextPrevChild(bool next) override {
    const auto at = std::find(boxes_.begin(), boxes_.end(), QApplication::focusWidget());
    if (at != boxes_.end()) {
      const auto place = at - boxes_.begin() + (next ? 1 : -1);
      if (place >= 0 && place < static_cast<std::ptrdiff_t>(boxes_.size())) {
        QSpinBox* box = boxes_[static_cast<std::size_t>(place)];
        box->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        box->selectAll();
        return true;
      }
    }
    return QWidget::focusNextPrevChild(next);
  }

 private:
  std::vector<QSpinBox*> boxes_;
};

// The editors of the fixed fields: the view makes them; what they hold is confirmed as one
// command, and the table shows the script again.
class FieldDelegate : public QStyledItemDelegate {
 public:
  explicit FieldDelegate(VersionView* view) : QStyledItemDelegate(view), view_(view) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    return view_->makeFieldEditor(parent, index.row());
  }
  void setEditorData(QWidget*, const QModelIndex&) const override {}  // filled when made
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    if (const auto* numbers = dynamic_cast<const VersionEditor*>(editor))
      view_->setField(index.row(), numbers->text());
    else if (const auto* names = qobject_cast<const QComboBox*>(editor))
      view_->setField(index.row(), names->currentText());
  }

 private:
  VersionView* view_;
};

}  // namespace

VersionView::VersionView(QWidget* parent, Document& doc, UserInterface& ui, std::size_t begin,
                         CommandRunner run, std::optional<ResourceKey> current)
    : QWidget(parent),
      doc_(doc),
      ui_(ui),
      begin_(begin),
      run_(std::move(run)),
      current_(std::move(current)) {
  setObjectName(QStringLiteral("versionPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  fields_ = twoColumns(this, QStringLiteral("Campo"), QStringLiteral("Valore"));
  fields_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  fields_->setItemDelegateForColumn(1, new FieldDelegate(this));
  handleTableKeys(fields_, {{}, {}, [this](const QModelIndex& cell) {
                              const auto row = static_cast<std::size_t>(cell.row());
                              if (row < info_.fields.size() && cell.column() == 1)
                                return utf8(info_.fields[row].readOnly);
                              if (row < info_.fields.size())
                                return QStringLiteral("Il nome del campo non si modifica.");
                              return QStringLiteral(
                                  "Translation segue i blocchi: la aggiornano Nuovo blocco e "
                                  "Rinomina blocco.");
                            }});
  setFocusProxy(fields_);
  layout->addWidget(fields_);
  auto* buttons = new QHBoxLayout;
  addBlock_ = new QPushButton(QStringLiteral("Nuovo blocco di lingua..."), this);
  renameBlock_ = new QPushButton(QStringLiteral("Rinomina blocco..."), this);
  connect(addBlock_, &QPushButton::clicked, this, [this] { addLanguageBlock(); });
  connect(renameBlock_, &QPushButton::clicked, this, [this] { renameLanguageBlock(); });
  buttons->addWidget(addBlock_);
  buttons->addWidget(renameBlock_);
  buttons->addStretch();
  layout->addLayout(buttons);
  reload();
  takeRememberedCell();
}

void VersionView::reload() {
  info_ = {};
  const auto statement = std::find_if(doc_.statements().begin(), doc_.statements().end(),
                                      [&](const Statement& s) { return s.begin == begin_; });
  if (statement == doc_.statements().end())
    info_.problem = "Risorsa non trovata.";
  else
    info_ = readVersionInfo(doc_.text(), *statement, stringContext(doc_, nullptr));
  stringBlocks_ = info_.stringBlocks();
  filling_ = true;
  fields_->setRowCount(0);
  for (const VersionField& field : info_.fields) {
    const auto at = std::find(kVersionFields.begin(), kVersionFields.end(), field.keyword);
    const std::string_view label =
        kFieldLabels[static_cast<std::size_t>(at - kVersionFields.begin())];
    auto* value = new QTableWidgetItem(utf8(doc_.display(field.value)));
    if (!field.readOnly.empty()) value->setFlags(value->flags() & ~Qt::ItemIsEditable);
    addRow(fields_, fixedItem(utf8(label)), value);
  }
  if (const std::string translation = info_.translation(); !translation.empty())
    addRow(fields_, fixedItem(QStringLiteral("Traduzione")),
           fixedItem(utf8(doc_.display(translation))));
  fields_->resizeColumnToContents(0);
  // Every field in sight, without a scroll bar: the blocks' tables take the rest.
  int height = fields_->horizontalHeader()->sizeHint().height() + 2 * fields_->frameWidth();
  for (int row = 0; row < fields_->rowCount(); ++row) height += fields_->rowHeight(row);
  fields_->setFixedHeight(height);
  addBlock_->setEnabled(info_.problem.empty() && !stringBlocks_.empty());
  renameBlock_->setEnabled(info_.problem.empty() && !stringBlocks_.empty());
  // One table per block, made again when the blocks changed in number.
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  while (blockTables_.size() > stringBlocks_.size()) {
    delete blockTables_.back();
    delete blockLabels_.back();
    blockTables_.pop_back();
    blockLabels_.pop_back();
  }
  while (blockTables_.size() < stringBlocks_.size()) {
    const std::size_t place = blockTables_.size();
    auto* label = new QLabel(this);
    auto* table = twoColumns(this, QStringLiteral("Chiave"), QStringLiteral("Valore"));
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    handleTableKeys(table,
                    {[this, place] { addValue(place); }, [this, place] { deleteValue(place); },
                     [](const QModelIndex&) {
                       return QStringLiteral(
                           "La chiave non si modifica qui: Ins aggiunge un valore, "
                           "Canc lo toglie.");
                     }});
    connect(table, &QTableWidget::itemChanged, this, [this, place](QTableWidgetItem* item) {
      if (filling_ || item->column() != 1) return;
      setValue(place, blockTables_[place]->item(item->row(), 0)->text(), item->text());
    });
    connect(table, &QTableWidget::currentCellChanged, this,
            [this, place](int row) { lastBlock_ = row >= 0 ? place : lastBlock_; });
    layout->addWidget(label);
    layout->addWidget(table);
    blockLabels_.push_back(label);
    blockTables_.push_back(table);
  }
  for (std::size_t b = 0; b < stringBlocks_.size(); ++b) {
    const VersionBlock& block = info_.blocks[stringBlocks_[b]];
    blockLabels_[b]->setText(QStringLiteral("Blocco %1").arg(utf8(doc_.display(block.name))));
    QTableWidget* table = blockTables_[b];
    const int row = table->currentRow();
    table->setRowCount(0);
    for (const VersionValue& value : block.values)
      addRow(table, fixedItem(utf8(doc_.display(value.key.text))),
             new QTableWidgetItem(
                 utf8(value.text ? value.text->text : doc_.display(value.asWritten))));
    table->resizeColumnToContents(0);
    if (row >= 0 && table->rowCount() > 0)
      table->setCurrentCell(std::min(row, table->rowCount() - 1), 1);
  }
  filling_ = false;
  status_ =
      info_.problem.empty()
          ? (stringBlocks_.size() == 1
                 ? QStringLiteral("Informazioni di versione: 1 blocco")
                 : QStringLiteral("Informazioni di versione: %1 blocchi").arg(stringBlocks_.size()))
          : utf8(info_.problem);  // the reader's own words, in UTF-8 already
}

void VersionView::takeRememberedCell() {
  const RememberedCell cell = rememberedCell;
  rememberedCell = {};
  if (cell.doc != &doc_ || cell.begin != begin_ || cell.row < 0) return;
  QTableWidget* table = cell.table < 0 ? fields_
                        : static_cast<std::size_t>(cell.table) < blockTables_.size()
                            ? blockTables_[static_cast<std::size_t>(cell.table)]
                            : nullptr;
  if (!table || table->rowCount() == 0) return;
  table->setCurrentCell(std::min(cell.row, table->rowCount() - 1), 1);
  if (cell.table >= 0) lastBlock_ = static_cast<std::size_t>(cell.table);
}

void VersionView::commit(Edit edit, int table, int row) {
  edit.currentBefore = current_;
  edit.currentAfter = current_;
  rememberedCell = {&doc_, begin_, table, row};
  doc_.commit(edit);
}

std::size_t VersionView::currentBlock() const {
  return lastBlock_ < stringBlocks_.size() ? lastBlock_ : 0;
}

QWidget* VersionView::makeFieldEditor(QWidget* parent, int row) const {
  if (row < 0 || static_cast<std::size_t>(row) >= info_.fields.size()) return nullptr;
  const auto field = static_cast<std::size_t>(row);
  const VersionField& written = info_.fields[field];
  if (!written.readOnly.empty()) return nullptr;
  const StringContext context = stringContext(doc_, nullptr);
  if (fixedFieldKind(written.keyword) == FixedFieldKind::Version)
    return new VersionEditor(
        parent, versionNumbers(info_, field, context).value_or(std::array<std::uint16_t, 4>{}));
  // The names the field takes, those of a subtype after the type's value.
  std::optional<std::uint32_t> type;
  if (const auto types = info_.fieldsNamed("FILETYPE"); types.size() == 1)
    type = fixedFieldValue(info_, types.front(), context);
  auto* names = new QComboBox(parent);
  names->setObjectName(QStringLiteral("fieldNames"));
  names->setEditable(true);
  names->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string_view name : versionNamesFor(written.keyword, type))
    names->addItem(utf8(name));
  // The name written current in the list where it is one of them; the text as written else.
  const QString shown = utf8(doc_.display(written.value));
  if (const int at = names->findText(shown); at >= 0) names->setCurrentIndex(at);
  names->setEditText(shown);
  return names;
}

void VersionView::setField(int row, const QString& typed) {
  if (row < 0 || static_cast<std::size_t>(row) >= info_.fields.size()) return;
  const std::string wanted = doc_.scriptBytes(typed.toStdString());
  const bool done = run_([&] {
    Edit edit = setVersionField(doc_.text(), info_, static_cast<std::size_t>(row), wanted,
                                stringContext(doc_, nullptr));
    if (!edit.splices.empty()) commit(std::move(edit), -1, row);
  });
  if (!done) editAgain(fields_, fields_->model()->index(row, 1));
}

void VersionView::setValue(std::size_t block, const QString& key, const QString& value) {
  if (block < stringBlocks_.size()) {
    const std::string wantedKey = doc_.scriptBytes(key.toStdString());
    const std::string wanted = value.toStdString();
    const int row = blockTables_[block]->currentRow();
    const bool done = run_([&] {
      commit(setVersionValue(doc_.text(), info_, stringBlocks_[block], wantedKey, wanted,
                             stringContext(doc_, nullptr)),
             static_cast<int>(block), row);
    });
    if (!done) {
      // Refused: the cell keeps the text typed, in edit.
      QTableWidget* table = blockTables_[block];
      const auto found = table->findItems(key, Qt::MatchExactly);
      for (const QTableWidgetItem* item : found)
        if (item->column() == 0) editAgain(table, table->model()->index(item->row(), 1));
      return;
    }
  }
  QMetaObject::invokeMethod(
      this, [this] { reload(); }, Qt::QueuedConnection);
}

void VersionView::addValue(std::size_t block) {
  if (block >= stringBlocks_.size() || !info_.problem.empty()) return;
  std::string key;
  if (!ui_.inputBox(kNewValueTitle, "Chiave:", key, 255)) return;
  std::string value;
  if (!ui_.inputBox(kNewValueTitle, "Valore:", value, 4097)) return;
  const VersionBlock& target = info_.blocks[stringBlocks_[block]];
  const int row = blockTables_[block]->currentRow();
  const std::optional<std::size_t> after =
      row >= 0                ? std::optional<std::size_t>(static_cast<std::size_t>(row))
      : target.values.empty() ? std::nullopt
                              : std::optional<std::size_t>(target.values.size() - 1);
  run_([&] {
    commit(insertVersionValue(doc_.text(), info_, stringBlocks_[block], after,
                              doc_.scriptBytes(key), value, stringContext(doc_, nullptr)),
           static_cast<int>(block), after ? static_cast<int>(*after) + 1 : 0);
  });
}

void VersionView::deleteValue(std::size_t block) {
  if (block >= stringBlocks_.size() || !info_.problem.empty()) return;
  const VersionBlock& target = info_.blocks[stringBlocks_[block]];
  const int row = blockTables_[block]->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= target.values.size()) return;
  const VersionValue& value = target.values[static_cast<std::size_t>(row)];
  if (!showMessage(ui_,
                   "Eliminare il valore " + doc_.display(value.key.text) + " del blocco " +
                       doc_.display(target.name) + "?",
                   MessageKind::YesNo)
           .accepted())
    return;
  run_([&] {
    commit(
        deleteVersionValue(doc_.text(), info_, stringBlocks_[block], static_cast<std::size_t>(row)),
        static_cast<int>(block), row);
  });
}

void VersionView::addLanguageBlock() {
  if (stringBlocks_.empty() || !info_.problem.empty()) return;
  const std::size_t model = currentBlock();
  const std::string modelName = doc_.display(info_.blocks[stringBlocks_[model]].name);
  std::string name;
  if (!ui_.inputBox(kNewBlockTitle, "Lingua e codifica (8 cifre esadecimali, 041004b0):", name, 8))
    return;
  const int copy =
      showMessage(ui_,
                  "Copiare i testi del blocco " + modelName + "? Con No i valori restano vuoti.",
                  MessageKind::YesNoCancel, kNewBlockTitle)
          .button;
  if (copy != kIdYes && copy != kIdNo) return;
  const std::string bytes = doc_.scriptBytes(name);
  const bool keep = translationWouldChange(info_, bytes) &&
                    showMessage(ui_, "Aggiungere il blocco anche a Translation di VarFileInfo?",
                                MessageKind::YesNo, kNewBlockTitle)
                        .accepted();
  run_([&] {
    commit(kolvre::addLanguageBlock(doc_.text(), info_, stringBlocks_[model], bytes, copy == kIdNo,
                                    keep, stringContext(doc_, nullptr)),
           static_cast<int>(model) + 1, 0);
  });
}

void VersionView::renameLanguageBlock() {
  if (stringBlocks_.empty() || !info_.problem.empty()) return;
  const std::size_t block = currentBlock();
  std::string name = doc_.display(info_.blocks[stringBlocks_[block]].name);
  if (!ui_.inputBox(kRenameBlockTitle, "Lingua e codifica (8 cifre esadecimali, 041004b0):", name,
                    8))
    return;
  const std::string bytes = doc_.scriptBytes(name);
  const bool keep = translationWouldChange(info_, bytes, stringBlocks_[block]) &&
                    showMessage(ui_, "Aggiornare anche Translation di VarFileInfo?",
                                MessageKind::YesNo, kRenameBlockTitle)
                        .accepted();
  run_([&] {
    commit(renameVersionBlock(doc_.text(), info_, stringBlocks_[block], bytes, keep,
                              stringContext(doc_, nullptr)),
           static_cast<int>(block), std::max(blockTables_[block]->currentRow(), 0));
  });
}

QWidget* versionPanel(const PanelContext& c) {
  const std::size_t begin = c.doc.index()[c.position].offset;
  auto* view = new VersionView(c.window.centralWidget(), c.doc, c.ui, begin, windowRunner(c.window),
                               keyAt(c.doc.index(), c.position));
  fillBesideList(view, c.window);
  c.window.setDefaultStatusText(view->statusText());
  view->show();
  return view;
}

}  // namespace kolvre
