#include "app/version_panel.h"

#include <QHeaderView>
#include <QVBoxLayout>
#include <array>

#include "app/main_window.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

// The label of each fixed field, in the order of kVersionFields.
constexpr std::array<std::string_view, kVersionFields.size()> kFieldLabels{
    "Versione del file", "Versione del prodotto",
    "Maschera dei flag", "Flag",
    "Sistema operativo", "Tipo",
    "Sottotipo"};

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
  fields_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  handleTableKeys(fields_, {{}, {}, [](const QModelIndex&) {
                              return QStringLiteral("I campi fissi si modificano come testo (%1).")
                                  .arg(qstr(keyLabel(KeyAction::EditAsText)));
                            }});
  layout->addWidget(fields_);
  reload();
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
    addRow(fields_, fixedItem(utf8(label)), fixedItem(utf8(doc_.display(field.value))));
  }
  if (const std::string translation = info_.translation(); !translation.empty())
    addRow(fields_, fixedItem(QStringLiteral("Traduzione")),
           fixedItem(utf8(doc_.display(translation))));
  fields_->resizeColumnToContents(0);
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
    handleTableKeys(table, {{}, {}, [](const QModelIndex&) {
                              return QStringLiteral(
                                  "La chiave non si modifica qui: se ne "
                                  "modifica il valore.");
                            }});
    connect(table, &QTableWidget::itemChanged, this, [this, place](QTableWidgetItem* item) {
      if (filling_ || item->column() != 1) return;
      setValue(place, blockTables_[place]->item(item->row(), 0)->text(), item->text());
    });
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

void VersionView::setValue(std::size_t block, const QString& key, const QString& value) {
  if (block < stringBlocks_.size()) {
    const std::string wantedKey = doc_.scriptBytes(key.toStdString());
    const std::string wanted = value.toStdString();
    const bool done = run_([&] {
      Edit edit = setVersionValue(doc_.text(), info_, stringBlocks_[block], wantedKey, wanted,
                                  stringContext(doc_, nullptr));
      edit.currentBefore = current_;
      edit.currentAfter = current_;
      doc_.commit(edit);
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
