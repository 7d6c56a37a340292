// The panel of a string table: its strings in a table of ID and text, each text edited in
// place (double click or F2), Ins adding a row after the current one and Canc removing the
// current one. Every change is one step of the document's history.
#pragma once

#include <QTableWidget>
#include <QWidget>
#include <cstddef>
#include <memory>
#include <optional>

#include "app/panel_support.h"
#include "app/show_resource.h"
#include "syntax/symbols.h"
#include "document/document.h"
#include "resources/string_tables.h"

namespace kolvre {

class StringTableView : public QWidget {
 public:
  // The table whose STRINGTABLE word starts at `begin` of `doc`'s text. `current`: the entry
  // an edit keeps current in the list. Opening never writes.
  StringTableView(QWidget* parent, Document& doc, UserInterface& ui, std::size_t begin,
                  CommandRunner run, std::optional<ResourceKey> current = std::nullopt);

  QTableWidget* table() const { return table_; }
  // What the status bar says of the table: how many strings, or why its body does not read.
  QString statusText() const { return status_; }

  // What the keys do: a text confirmed in place, Ins and Canc.
  void setText(int row, const QString& text);
  void addRow();
  void deleteRow();

 private:
  // Reads the table again from the document and shows it, the current row kept.
  void reload();
  // Makes current the row the panel before this one kept across its edit.
  void takeRememberedRow();
  void commit(const Edit& edit);
  const StringTable* shown() const;

  Document& doc_;
  UserInterface& ui_;
  std::size_t begin_;
  CommandRunner run_;
  std::optional<ResourceKey> current_;
  std::shared_ptr<const SymbolTable> symbols_;
  std::vector<StringTable> tables_;
  std::optional<std::size_t> place_;  // the shown table's place in tables_
  QTableWidget* table_ = nullptr;
  QString status_;
  bool filling_ = false;
};

// The panel of the string table entry of `context`: the view beside the list, the status bar
// saying how many strings it holds or why it does not read.
QWidget* stringTablePanel(const PanelContext& context);

}  // namespace kolvre
