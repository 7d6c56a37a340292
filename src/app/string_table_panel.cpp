#include "app/string_table_panel.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

constexpr std::string_view kNewStringTitle = "Nuova stringa";

// The row last current in the panel of a table, for the panel built after its own edit.
struct RememberedRow {
  const Document* doc = nullptr;
  std::size_t begin = 0;
  int row = -1;
};
RememberedRow rememberedRow;

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StringTableView::StringTableView(QWidget* parent, Document& doc, UserInterface& ui,
                                 std::size_t begin, CommandRunner run,
                                 std::optional<ResourceKey> current)
    : QWidget(parent),
      doc_(doc),
      ui_(ui),
      begin_(begin),
      run_(std::move(run)),
      current_(std::move(current)) {
  setObjectName(QStringLiteral("stringTablePanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  table_ = new QTableWidget(0, 2, this);
  table_->setHorizontalHeaderLabels({QStringLiteral("ID"), QStringLiteral("Testo")});
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  table_->setProperty(kNoGlobalInsert, true);
  handleTableKeys(table_, {[this] { addRow(); }, [this] { deleteRow(); },
                           [](const QModelIndex&) {
                             return QStringLiteral(
                                 "L'ID di una stringa non si modifica qui: "
                                 "Ins aggiunge una stringa, Canc la toglie.");
                           }});
  setFocusProxy(table_);
  layout->addWidget(table_);
  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (!filling_ && item->column() == 1) setText(item->row(), item->text());
  });
  reload();
  takeRememberedRow();
}

void StringTableView::takeRememberedRow() {
  if (rememberedRow.doc == &doc_ && rememberedRow.begin == begin_ && rememberedRow.row >= 0 &&
      table_->rowCount() > 0)
    table_->setCurrentCell(std::min(rememberedRow.row, table_->rowCount() - 1), 1);
  rememberedRow = {};
}

const StringTable* StringTableView::shown() const {
  return place_ ? &tables_[*place_] : nullptr;
}

void StringTableView::reload() {
  const int row = table_->currentRow();
  symbols_ = cachedScriptSymbols(doc_.text(), doc_.fileName(), &doc_.headerTexts());
  tables_ = documentStringTables(doc_, symbols_.get());
  place_.reset();
  for (std::size_t i = 0; i < tables_.size(); ++i)
    if (tables_[i].begin == begin_) place_ = i;
  filling_ = true;
  table_->setRowCount(0);
  const StringTable* table = shown();
  if (!table) {
    status_ = QStringLiteral("Tabella delle stringhe non trovata.");
  } else if (!table->problem.empty()) {
    status_ = utf8(table->problem);  // the reader's own words, in UTF-8 already
  } else {
    table_->setRowCount(static_cast<int>(table->entries.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
      const StringEntry& entry = table->entries[static_cast<std::size_t>(r)];
      QString id = utf8(doc_.display(entry.id));
      if (entry.value && entry.id != std::to_string(*entry.value))
        id += QStringLiteral(" (%1)").arg(*entry.value);
      auto* idItem = new QTableWidgetItem(id);
      idItem->setFlags(idItem->flags() & ~Qt::ItemIsEditable);
      table_->setItem(r, 0, idItem);
      table_->setItem(r, 1, new QTableWidgetItem(utf8(entry.text.text)));
    }
    status_ =
        table->entries.size() == 1
            ? QStringLiteral("Tabella delle stringhe: 1 stringa")
            : QStringLiteral("Tabella delle stringhe: %1 stringhe").arg(table->entries.size());
  }
  table_->resizeColumnToContents(0);
  if (row >= 0 && table_->rowCount() > 0)
    table_->setCurrentCell(std::min(row, table_->rowCount() - 1), 1);
  filling_ = false;
}

void StringTableView::commit(const Edit& edit) {
  Edit kept = edit;
  kept.currentBefore = current_;
  kept.currentAfter = current_;
  rememberedRow = {&doc_, begin_, table_->currentRow()};
  doc_.commit(kept);
}

void StringTableView::setText(int row, const QString& text) {
  const StringTable* table = shown();
  if (table && row >= 0 && static_cast<std::size_t>(row) < table->entries.size()) {
    const std::string wanted = text.toStdString();
    const bool done = run_([&] {
      commit(setStringText(doc_.text(), *table, static_cast<std::size_t>(row), wanted,
                           stringContext(doc_, symbols_.get())));
    });
    if (!done) {
      // Refused (a character the code page lacks): the cell keeps the text typed, in edit.
      editAgain(table_, table_->model()->index(row, 1));
      return;
    }
  }
  // Shown again from the script, once the edit that called this has ended.
  QMetaObject::invokeMethod(
      this, [this] { reload(); }, Qt::QueuedConnection);
}

void StringTableView::addRow() {
  const StringTable* table = shown();
  if (!table || !table->problem.empty()) return;
  std::string id;
  if (!ui_.inputBox(kNewStringTitle, "ID:", id, 255)) return;
  std::string text;
  if (!ui_.inputBox(kNewStringTitle, "Testo:", text, 4097)) return;
  const int row = table_->currentRow();
  const std::optional<std::size_t> after =
      row >= 0                 ? std::optional<std::size_t>(static_cast<std::size_t>(row))
      : table->entries.empty() ? std::nullopt
                               : std::optional<std::size_t>(table->entries.size() - 1);
  run_([&] {
    commit(insertString(doc_.text(), tables_, *place_, after, doc_.scriptBytes(id), text,
                        stringContext(doc_, symbols_.get())));
    // The new row becomes current.
    rememberedRow.row = after ? static_cast<int>(*after) + 1 : 0;
  });
  reload();
  takeRememberedRow();
}

void StringTableView::deleteRow() {
  const StringTable* table = shown();
  const int row = table_->currentRow();
  if (!table || row < 0 || static_cast<std::size_t>(row) >= table->entries.size()) return;
  const StringEntry& entry = table->entries[static_cast<std::size_t>(row)];
  if (!showMessage(ui_, "Eliminare la stringa " + doc_.display(entry.id) + "?", MessageKind::YesNo)
           .accepted())
    return;
  run_([&] { commit(deleteString(doc_.text(), *table, static_cast<std::size_t>(row))); });
  reload();
  takeRememberedRow();
}

QWidget* stringTablePanel(const PanelContext& c) {
  const std::size_t begin = c.doc.index()[c.position].offset;
  auto* view = new StringTableView(c.window.centralWidget(), c.doc, c.ui, begin,
                                   windowRunner(c.window), keyAt(c.doc.index(), c.position));
  fillBesideList(view, c.window);
  c.window.setDefaultStatusText(view->statusText());
  view->show();
  return view;
}

}  // namespace kolvre
