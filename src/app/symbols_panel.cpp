#include "app/symbols_panel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <filesystem>
#include <unordered_map>
#include <utility>

#include "app/main_window.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

enum Column { kName, kValue, kFile, kLine, kUses, kNotes, kColumns };

constexpr int kSymbolRole = Qt::UserRole;
constexpr int kUseRole = Qt::UserRole + 1;  // -1 on a definition's row

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What is marked about a symbol, as its row's last cell says it.
QString notes(const Symbol& symbol) {
  QStringList parts;
  if (symbol.unused()) parts << QStringLiteral("non usato");
  if (!symbol.sameValue.empty()) {
    QStringList names;
    for (const std::string& name : symbol.sameValue) names << utf8(name);
    parts << QStringLiteral("stesso valore di ") + names.join(QStringLiteral(", "));
  }
  return parts.join(QStringLiteral("; "));
}

}  // namespace

SymbolsPanel::SymbolsPanel(QWidget* parent, Document& doc, CommandRunner run,
                           std::function<std::optional<ResourceKey>()> current)
    : QDockWidget(parent), doc_(doc), run_(std::move(run)), current_(std::move(current)) {
  setObjectName(QStringLiteral("symbolsPanel"));
  setWindowTitle(QStringLiteral("Simboli"));
  QVBoxLayout* layout = bottomPanelLayout(*this);
  QWidget* inside = widget();
  status_ = new QLabel(inside);
  status_->setObjectName(QStringLiteral("symbolsStatus"));
  rows_ = new QTreeWidget(inside);
  rows_->setObjectName(QStringLiteral("symbolsRows"));
  rows_->setColumnCount(kColumns);
  rows_->setHeaderLabels({QStringLiteral("Nome"), QStringLiteral("Valore"), QStringLiteral("File"),
                          QStringLiteral("Riga"), QStringLiteral("Usi"), QStringLiteral("Note")});
  rows_->setUniformRowHeights(true);
  rows_->setAlternatingRowColors(true);
  rows_->setSelectionMode(QAbstractItemView::SingleSelection);
  rows_->setEditTriggers(QAbstractItemView::EditKeyPressed);
  rows_->header()->setStretchLastSection(true);
  rows_->setProperty(kNoGlobalInsert, true);
  handleTableKeys(rows_, {{}, {}, [](const QModelIndex&) {
                            return QStringLiteral(
                                "Qui si modifica solo il nome di un simbolo: F2 sul nome lo "
                                "rinomina nello script e nei file di intestazione.");
                          }});
  // Installed after the table's keys, so seen first: F2 on a symbol's row edits its name.
  rows_->installEventFilter(this);
  layout->addWidget(status_);
  layout->addWidget(rows_, 1);
  // A symbol's uses are measured when they are shown: the widths taken as the list was filled
  // count only the rows then open.
  connect(rows_, &QTreeWidget::itemExpanded, this, [this] {
    for (int c = 0; c < kNotes; ++c) rows_->resizeColumnToContents(c);
  });
  connect(rows_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { activate(item); });
  connect(rows_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (filling_ || column != kName || item->parent()) return;
    rename(rows_->indexOfTopLevelItem(item), item->text(kName));
  });
}

void SymbolsPanel::reload() {
  // The row current before, by its symbol's name and use.
  std::string currentName;
  int currentUse = -1;
  int currentDefinition = 0;
  if (const auto row = rowOf(rows_->currentItem())) {
    currentName = list_.symbols[row->symbol].name;
    currentUse = row->use ? static_cast<int>(*row->use) : -1;
    const QTreeWidgetItem* top =
        rows_->currentItem()->parent() ? rows_->currentItem()->parent() : rows_->currentItem();
    currentDefinition = rows_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(top));
  }
  // A symbol just renamed stays current under its new name, wherever the sort puts it.
  const std::optional<std::string> renamed = std::exchange(renamedTo_, std::nullopt);
  list_ = documentSymbols(doc_);
  // Each statement's entry in the list, for the uses' resources.
  std::unordered_map<std::size_t, std::size_t> entryAt;
  for (std::size_t i = 0; i < doc_.index().size(); ++i) entryAt.emplace(doc_.index()[i].offset, i);

  filling_ = true;
  rows_->clear();
  const QColor shared(255, 236, 200);
  std::size_t unused = 0, sharing = 0;
  QTreeWidgetItem* toSelect = nullptr;
  for (std::size_t s = 0; s < list_.symbols.size(); ++s) {
    const Symbol& symbol = list_.symbols[s];
    unused += symbol.unused() ? 1 : 0;
    sharing += symbol.sameValue.empty() ? 0 : 1;
    for (const SymbolDefinition& definition : symbol.definitions) {
      auto* row = new QTreeWidgetItem(rows_);
      row->setText(kName, utf8(doc_.display(symbol.name)));
      row->setText(kValue, utf8(doc_.display(definition.value)));
      row->setText(kFile, utf8(definition.place.file == 0
                                   ? std::filesystem::path(doc_.fileName()).filename().string()
                                   : list_.files[definition.place.file]));
      row->setText(kLine, QString::number(definition.place.line));
      row->setText(kUses, QString::number(symbol.uses.size()));
      row->setText(kNotes, notes(symbol));
      row->setData(0, kSymbolRole, static_cast<qulonglong>(s));
      row->setData(0, kUseRole, -1);
      row->setFlags(row->flags() | Qt::ItemIsEditable);
      if (symbol.unused())
        for (int c = 0; c < kColumns; ++c)
          row->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
      if (!symbol.sameValue.empty())
        for (int c = 0; c < kColumns; ++c) row->setBackground(c, shared);
      if (symbol.name == currentName && currentUse < 0 &&
          rows_->indexOfTopLevelItem(row) == currentDefinition)
        toSelect = row;
      if (renamed && symbol.name == *renamed && !toSelect) toSelect = row;
      for (std::size_t u = 0; u < symbol.uses.size(); ++u) {
        const SymbolReference& use = symbol.uses[u];
        auto* child = new QTreeWidgetItem(row);
        child->setText(kName, utf8(symbolUseKindName(use.kind)));
        if (use.statement)
          if (const auto entry = entryAt.find(doc_.statements()[*use.statement].begin);
              entry != entryAt.end()) {
            const IndexEntry& e = doc_.index()[entry->second];
            child->setText(kValue, qstr(e.code()) + QLatin1Char(' ') + utf8(doc_.display(e.name)));
          }
        child->setText(kFile, utf8(use.place.file == 0
                                       ? std::filesystem::path(doc_.fileName()).filename().string()
                                       : list_.files[use.place.file]));
        child->setText(kLine, QString::number(use.place.line));
        child->setData(0, kSymbolRole, static_cast<qulonglong>(s));
        child->setData(0, kUseRole, static_cast<int>(u));
        if (symbol.name == currentName && currentUse == static_cast<int>(u) && !toSelect)
          toSelect = child;
      }
    }
  }
  for (int c = 0; c < kNotes; ++c) rows_->resizeColumnToContents(c);
  if (toSelect) {
    if (toSelect->parent()) toSelect->parent()->setExpanded(true);
    rows_->setCurrentItem(toSelect);
  } else if (rows_->topLevelItemCount() > 0) {
    rows_->setCurrentItem(
        rows_->topLevelItem(std::min(currentDefinition, rows_->topLevelItemCount() - 1)));
  }
  filling_ = false;
  status_->setText(
      list_.symbols.empty()
          ? QStringLiteral("Nessun simbolo definito.")
          : QStringLiteral("%1 simboli, %2 non usati, %3 con lo stesso valore di un altro dello "
                           "stesso tipo.")
                .arg(list_.symbols.size())
                .arg(unused)
                .arg(sharing));
}

std::optional<SymbolsPanel::RowOf> SymbolsPanel::rowOf(const QTreeWidgetItem* item) const {
  if (!item) return std::nullopt;
  const auto symbol = static_cast<std::size_t>(item->data(0, kSymbolRole).toULongLong());
  if (symbol >= list_.symbols.size()) return std::nullopt;
  const int use = item->data(0, kUseRole).toInt();
  return RowOf{symbol, use < 0 ? std::nullopt : std::optional<std::size_t>(use)};
}

bool SymbolsPanel::rename(int row, const QString& name) {
  const auto at = rowOf(rows_->topLevelItem(row));
  if (!at) return false;
  const std::string from = list_.symbols[at->symbol].name;
  const std::string to = doc_.scriptBytes(name.toStdString());
  const bool done = run_([&] { doc_.commit(renameSymbol(doc_, from, to, current_())); });
  if (done) renamedTo_ = to;
  if (!done) {
    // Refused: the name typed stays, in edit, to be mended.
    editAgain(rows_, rows_->model()->index(row, kName));
    return false;
  }
  return true;
}

std::optional<FindingTarget> SymbolsPanel::target(const QTreeWidgetItem* item) const {
  const auto at = rowOf(item);
  if (!at || !at->use) return std::nullopt;
  const SymbolReference& use = list_.symbols[at->symbol].uses[*at->use];
  if (!use.statement || *use.statement >= doc_.statements().size()) return std::nullopt;
  const std::size_t offset = doc_.statements()[*use.statement].begin;
  for (std::size_t i = 0; i < doc_.index().size(); ++i)
    if (doc_.index()[i].offset == offset) {
      FindingTarget target{keyAt(doc_.index(), i), std::nullopt};
      if (doc_.index()[i].type == ResourceType::Dialog) target.control = use.control;
      return target;
    }
  return std::nullopt;
}

void SymbolsPanel::activate(QTreeWidgetItem* item) {
  const auto at = rowOf(item);
  if (!at || !at->use) return;
  if (const auto where = target(item)) {
    if (onActivate) onActivate(*where);
    return;
  }
  const SymbolReference& use = list_.symbols[at->symbol].uses[*at->use];
  noteInStatusBar(rows_,
                  QStringLiteral("Il simbolo è usato alla riga %1 di %2, fuori da ogni risorsa.")
                      .arg(use.place.line)
                      .arg(item->text(kFile)));
}

bool SymbolsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched != rows_ || event->type() != QEvent::KeyPress)
    return QDockWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  // A key an open editor leaves is not the rows'.
  const QWidget* focus = QApplication::focusWidget();
  const bool editing = focus && focus != rows_ && rows_->isAncestorOf(focus);
  switch (key->key()) {
    case Qt::Key_Escape:
      // Esc closes the panel, never the window behind it.
      if (editing) break;
      hide();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (editing) break;
      // Taken here: the view would pass it on to the window, whose Enter edits the resource.
      activate(rows_->currentItem());
      return true;
    case Qt::Key_F2:
      if (key->modifiers() != Qt::NoModifier || editing) break;
      if (QTreeWidgetItem* item = rows_->currentItem(); item && !item->parent()) {
        rows_->editItem(item, kName);
        return true;
      }
      break;
    default:
      break;
  }
  return QDockWidget::eventFilter(watched, event);
}

}  // namespace kolvre
