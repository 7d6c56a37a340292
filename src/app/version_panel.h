// The panel of a version resource: its fixed fields (file and product version, flags, system,
// type), then each language block of its StringFileInfo as a table of keys and values, a value
// edited in place (double click or F2) as one step of the document's history.
#pragma once

#include <QLabel>
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
  QString statusText() const { return status_; }

  // What confirming a value in place does: the value of `key` of block `block` (its place in
  // blocks()) set.
  void setValue(std::size_t block, const QString& key, const QString& value);

 private:
  void reload();

  Document& doc_;
  UserInterface& ui_;
  std::size_t begin_;
  CommandRunner run_;
  std::optional<ResourceKey> current_;
  VersionInfo info_;
  std::vector<std::size_t> stringBlocks_;  // the places in info_.blocks of the tables shown
  QTableWidget* fields_ = nullptr;
  std::vector<QTableWidget*> blockTables_;
  std::vector<QLabel*> blockLabels_;
  QString status_;
  bool filling_ = false;
};

// The panel of the version entry of `context`, beside the list.
QWidget* versionPanel(const PanelContext& context);

}  // namespace kolvre
