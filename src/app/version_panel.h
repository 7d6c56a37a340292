// The panel of a version resource: its fixed fields (file and product version, flags, system,
// type), then each language block of its StringFileInfo as a table of keys and values. A
// field is edited in place (four numbers for a version, a number or the names of the
// vocabulary for the others), a value too (double click or F2); Ins and Canc add a value after
// the current one and remove it; two buttons add a language block and rename one. Every change
// is one step of the document's history.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

#include "app/panel_support.h"
#include "app/show_resource.h"
#include "document/document.h"
#include "resources/version_info.h"

namespace kolvre {

class VersionView : public QWidget {
 public:
  // The resource whose statement starts at `begin` of `doc`'s text; `current` as for the
  // string table's view. Opening never writes.
  VersionView(QWidget* parent, Document& doc, UserInterface& ui, std::size_t begin,
              CommandRunner run, std::optional<ResourceKey> current = std::nullopt);

  // The fixed fields (and the translations), then one table per language block.
  QTableWidget* fields() const { return fields_; }
  const std::vector<QTableWidget*>& blocks() const { return blockTables_; }
  QPushButton* addBlockButton() const { return addBlock_; }
  QPushButton* renameBlockButton() const { return renameBlock_; }
  QString statusText() const { return status_; }

  // What confirming a value in place does: the value of `key` of block `block` (its place in
  // blocks()) set.
  void setValue(std::size_t block, const QString& key, const QString& value);
  // What confirming a fixed field in place does: the field of row `row` of fields() set to the
  // text typed (four numbers, or a number or names joined by "|").
  void setField(int row, const QString& typed);
  // Ins and Canc in the table of block `block`.
  void addValue(std::size_t block);
  void deleteValue(std::size_t block);
  // The buttons: a language block added after the current one, the current one renamed.
  void addLanguageBlock();
  void renameLanguageBlock();

  // The editor of the fixed field of row `row`, for the fields' delegate; null where the row
  // does not edit.
  QWidget* makeFieldEditor(QWidget* parent, int row) const;

 private:
  void reload();
  void commit(Edit edit, int table, int row);
  // The block the buttons act on: the one whose table was current last.
  std::size_t currentBlock() const;
  void takeRememberedCell();

  Document& doc_;
  UserInterface& ui_;
  std::size_t begin_;
  CommandRunner run_;
  std::optional<ResourceKey> current_;
  VersionInfo info_;
  std::vector<std::size_t> stringBlocks_;  // the places in info_.blocks of the tables shown
  QTableWidget* fields_ = nullptr;
  QPushButton* addBlock_ = nullptr;
  QPushButton* renameBlock_ = nullptr;
  std::vector<QTableWidget*> blockTables_;
  std::vector<QLabel*> blockLabels_;
  std::size_t lastBlock_ = 0;
  QString status_;
  bool filling_ = false;
};

// The panel of the version entry of `context`, beside the list.
QWidget* versionPanel(const PanelContext& context);

}  // namespace kolvre
