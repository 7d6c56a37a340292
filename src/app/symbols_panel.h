// "Simboli": the script's symbols (every #define of the script and of the headers it includes
// with quotes) in a table of name, value, file, line and uses, each use a row under its symbol.
// Symbols used nowhere and those that share a value with another of their kind are marked. A
// double click (or Enter) on a use goes there: its resource current in the list, and the
// designer opened on the control where it is a dialog's control. F2 on a name renames the
// symbol in the script and in its headers, one step of the document's history. The main window
// owns the panel, as a dock area at the bottom of the window, and fills it again after every
// command while it is shown.
#pragma once

#include <QDockWidget>
#include <QLabel>
#include <QTreeWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/findings_panel.h"
#include "app/panel_support.h"
#include "document/document.h"
#include "resources/symbol_list.h"

namespace kolvre {

class SymbolsPanel : public QDockWidget {
  Q_OBJECT
 public:
  // `current` gives the list's current entry, which a rename keeps current.
  SymbolsPanel(QWidget* parent, Document& doc, CommandRunner run,
               std::function<std::optional<ResourceKey>()> current);

  // Reads the symbols again from the document and shows them, the current row kept.
  void reload();
  QTreeWidget* rows() const { return rows_; }
  QString statusText() const { return status_->text(); }
  const SymbolList& list() const { return list_; }

  // Renames the symbol of top-level row `row` (a definition) to `name`; false when refused.
  bool rename(int row, const QString& name);
  // Where the use row `item` leads; nothing for a definition's row or a use in a directive.
  std::optional<FindingTarget> target(const QTreeWidgetItem* item) const;

  // A double click (or Enter) on a use that leads to a resource.
  std::function<void(const FindingTarget&)> onActivate;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void activate(QTreeWidgetItem* item);
  // The symbol and use a row stands for (a definition's row: no use).
  struct RowOf {
    std::size_t symbol = 0;
    std::optional<std::size_t> use;
  };
  std::optional<RowOf> rowOf(const QTreeWidgetItem* item) const;

  Document& doc_;
  CommandRunner run_;
  std::function<std::optional<ResourceKey>()> current_;
  SymbolList list_;
  QLabel* status_ = nullptr;
  QTreeWidget* rows_ = nullptr;
  bool filling_ = false;
  std::optional<std::string> renamedTo_;  // the name a rename just gave, current once reloaded
};

}  // namespace kolvre
