// The findings panel under the resource list: what "Verifica" (F8) found in the script, or what
// the resource compiler said of it ("Compila", F7), one row per message. A double click on a
// row hands its resource (and control) to the main window; Esc or the close button hides the
// panel. The main window owns it, as a dock area at the bottom of the window.
#pragma once

#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <functional>
#include <optional>
#include <vector>

#include "checks/compile.h"
#include "checks/findings.h"
#include "document/document.h"
#include "resources/find.h"

namespace kolvre {

// "Verifica" on the document's script, with the editor's text measure (check_measure.h). Here
// rather than beside the measure: the designer's headers, which the main window includes, name
// their own measure alike.
std::vector<Finding> checkDocument(const Document& doc);

// Where a row leads.
struct FindingTarget {
  std::optional<ResourceKey> resource;
  std::optional<std::size_t> control;  // the control's place among the dialog's controls
  // A match of "Trova": the control's statement among the dialog's control statements (the
  // designer's place is read when the row is opened), the string's row, the menu item, the
  // version value's table and row.
  std::optional<std::size_t> controlStatement = {};
  std::size_t resourceOffset = 0;
  std::optional<std::size_t> stringRow = {};
  std::optional<MenuPath> menuItem = {};
  std::optional<std::pair<std::size_t, std::size_t>> versionCell = {};
};

// Where a match of "Trova" leads.
FindingTarget findTarget(const FindMatch& match);

// Makes `dock` a panel fixed under the list (it closes, but does not float or move) and gives
// it its inside: a column whose layout is returned, the rows to be added to it.
QVBoxLayout* bottomPanelLayout(QDockWidget& dock);

class FindingsPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit FindingsPanel(QWidget* parent);

  // The checks' findings, in their order; none: "Nessun problema trovato.".
  void showFindings(const std::vector<Finding>& findings, const Document& doc);
  // The compiler's messages and its summary.
  void showCompile(const CompileReport& report, const Document& doc);

  // "Trova": the field of the text to find, above the rows, with `typed` selected in it and the
  // focus; Enter in it hands its text to onFind, Esc closes the panel. The rows of the last
  // search stay below it.
  void openFindField(const QString& typed);
  QLineEdit* findField() const { return findField_; }
  // The rows of a search for `typed`: started empty, filled a page at a time, then closed with
  // their count (or `stopped`, the reason the search did not end). At most kMostFindRows rows
  // are shown.
  void startFind(const QString& typed);
  void addFindMatches(const std::vector<FindMatch>& matches);
  void endFind(const QString& stopped = {});
  // The rows show matches of "Trova" (not findings or compiler messages).
  bool showsFind() const { return finding_; }
  // The row `delta` rows from the current one, around the ends, made current: after a new
  // search the first (or, going back, the last); nothing without rows.
  std::optional<FindingTarget> stepFind(int delta);
  static constexpr int kMostFindRows = 20000;

  QTreeWidget* rows() const { return rows_; }
  QString statusText() const { return status_->text(); }
  // The target of row `row`; nothing outside the rows.
  std::optional<FindingTarget> target(int row) const;

  // A double click (or Enter) on a row that leads to a resource.
  std::function<void(const FindingTarget&)> onActivate;
  // Enter in the field of "Trova".
  std::function<void(const QString&)> onFind;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void start(const QString& title, const QStringList& columns, const QString& status);
  QTreeWidgetItem* addRow(Severity severity, const QStringList& cells, FindingTarget target);
  void activate(QTreeWidgetItem* item);

  QLabel* status_ = nullptr;
  QTreeWidget* rows_ = nullptr;
  std::vector<FindingTarget> targets_;
  QWidget* findBar_ = nullptr;
  QLineEdit* findField_ = nullptr;
  bool finding_ = false;
  bool stepped_ = false;  // a row of the search was gone to or clicked since it started
  QString typed_;         // the text of the rows of "Trova"
  int findCount_ = 0;     // its matches so far, shown or not
};

}  // namespace kolvre
