// The panel of an accelerator table: its rows in a table of key, ID and options. A key is edited
// by pressing it ("Premi il tasto…": the cell takes the next key with its modifiers), the ID and
// the options in place (F2, double click); Ins adds a row after the current one, Canc removes the
// current one. A key an earlier row of the table has stands in red with the check's message.
// Every change is one step of the document's history.
#pragma once

#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "app/panel_support.h"
#include "app/show_resource.h"
#include "document/document.h"
#include "resources/accelerators.h"
#include "syntax/symbols.h"

class QKeyEvent;

namespace kolvre {

// The key a press names: its virtual-key code through the key tables (letters, digits, F1 to
// F24, the editing, moving and keypad keys), the printable character it types, its modifiers.
// Nothing for a modifier pressed alone or a key without a code.
std::optional<AcceleratorKey> acceleratorKeyOf(const QKeyEvent& event);

// The cell that takes a key: every press goes to it (Tab, Esc and the window's shortcuts too),
// the modifiers held show as they are pressed; the first key that is not a modifier is taken.
class KeyCaptureEdit : public QLineEdit {
 public:
  explicit KeyCaptureEdit(QWidget* parent);
  const std::optional<AcceleratorKey>& key() const { return key_; }
  // The key taken, once: nothing before it is taken and after it was handed on (the editor
  // losing the focus to the box of a refusal, or to the panel built after the edit, commits its
  // data again).
  std::optional<AcceleratorKey> takeKey();
  // Called with the key once it is taken.
  std::function<void()> onTaken;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void showHeld(const QKeyEvent& event);
  std::optional<AcceleratorKey> key_;
  bool handedOn_ = false;
};

class AcceleratorView : public QWidget {
 public:
  // The table whose statement begins at `begin` of `doc`'s text. `current`: the entry an edit
  // keeps current in the list. Opening never writes.
  AcceleratorView(QWidget* parent, Document& doc, UserInterface& ui, std::size_t begin,
                  CommandRunner run, std::optional<ResourceKey> current = std::nullopt);

  QTableWidget* table() const { return table_; }
  // What the status bar says of the table: how many keys, or why it is not edited in place.
  QString statusText() const { return status_; }
  // Why the body does not read (the table then shows nothing); empty when it does.
  QString problem() const { return problem_; }

  // What the cells and keys do: a key taken, an ID or options confirmed in place, Ins, Canc.
  void setKey(int row, AcceleratorKey key);
  void setId(int row, const QString& id);
  void setOptions(int row, const QString& words);
  void addRow();
  void deleteRow();

 private:
  void reload();
  void takeRememberedRow();
  // Commits the edit through the window's runner; the panel built after it makes `rowAfter` (the
  // current row when nothing) current.
  bool commit(const std::function<Edit()>& edit, std::optional<int> rowAfter = std::nullopt);
  bool rowReadable(int row) const;

  Document& doc_;
  UserInterface& ui_;
  std::size_t begin_;
  CommandRunner run_;
  std::optional<ResourceKey> current_;
  std::shared_ptr<const SymbolTable> symbols_;
  AcceleratorReading reading_;
  QString readOnly_;  // why the rows are not edited in place
  QTableWidget* table_ = nullptr;
  QString status_;
  QString problem_;
  bool filling_ = false;
};

// Shows an accelerator entry: its rows, or the empty panel with the reason its body does not
// read.
QWidget* acceleratorPanel(const PanelContext& context);

}  // namespace kolvre
