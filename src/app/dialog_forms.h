// The forms of the dialog commands of the main window: the dialog properties
// ("changeDialogProperties"), the tab order ("changeTabOrder") and, inside it, the id editor laid
// over one cell of the list. They show and take values; the rules and the edits are in
// dialogs/dialog_properties.h and dialogs/tab_order.h.
#pragma once

#include <QTableWidget>
#include <cstddef>
#include <optional>
#include <vector>

#include "dialogs/dialog_properties.h"
#include "dialogs/tab_order.h"
#include "document/document.h"
#include "platform/user_interface.h"
#include "ui/qt_form_check.h"

class QLineEdit;
class QMainWindow;

namespace kolvre {

// The properties form over `parent`, at `at` (global: below the main window's button bar and
// 200 pixels from its left edge). Confirming runs `check` (the failing field turns red while its
// message is up); cancelling after a change asks "Annullo le modifiche?". The values on
// confirm, nothing on cancel.
std::optional<DialogProperties> editDialogProperties(QWidget* parent, QPoint at, UserInterface& ui,
                                                     const DialogProperties& shown,
                                                     const DialogPropertiesCheck& check);

// The tab-order form: the list of rows and its buttons. Enter and a double click edit the id of
// the current row, F11 and F12 move it. It closes without asking; changeTabOrder asks after a
// cancel.
class TabOrderDialog : public CheckedDialog {
  Q_OBJECT

 public:
  TabOrderDialog(UserInterface& ui, const ScriptCharset& charset, std::vector<TabOrderRow> rows,
                 std::size_t current, QWidget* parent = nullptr);

  QTableWidget* list() const { return list_; }
  const std::vector<TabOrderRow>& rows() const { return rows_; }
  std::size_t current() const;
  // tabOrderKeyAction on the list, then the list shown again.
  void key(int virtualKey);
  // editTabOrderId on the current row.
  void editId();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fill();
  void fitIdColumn();

  UserInterface& ui_;
  ScriptCharset charset_;  // the dialog's texts are in its code page
  std::vector<TabOrderRow> rows_;
  QTableWidget* list_ = nullptr;
};

// The tab-order form shown modally over `parent` on `rows`.
TabOrderClosing editTabOrder(QWidget* parent, UserInterface& ui, const ScriptCharset& charset,
                             const std::vector<TabOrderRow>& rows, std::size_t current);

// editTabOrderId: the id of the current row of `browse` edited in a borderless light-green field
// laid over its cell; Enter confirms, Esc after typing asks "Annullo le modifiche?". A changed id
// is stored in `rows`. True when the row changed. A row that is no control has no id: nothing
// opens.
bool editTabOrderId(UserInterface& ui, QTableWidget* browse, std::vector<TabOrderRow>& rows);

// fitIdEditor: lays `popup` over the cell of `browse`'s current row in `column`, as wide as the
// column (no wider than the list without its vertical scroll bar) less one pixel, with `edit`
// filling it.
void fitIdEditor(QWidget* popup, QTableWidget* browse, QLineEdit* edit, int column);

}  // namespace kolvre
