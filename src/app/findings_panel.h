// The findings panel under the resource list: what "Verifica" (F8) found in the script, or what
// the resource compiler said of it ("Compila", F7), one row per message. A double click on a
// row hands its resource (and control) to the main window; Esc or the close button hides the
// panel. The main window owns it, as a dock area at the bottom of the window.
#pragma once

#include <QDockWidget>
#include <QLabel>
#include <QTreeWidget>
#include <functional>
#include <optional>
#include <vector>

#include "checks/compile.h"
#include "checks/findings.h"
#include "document/document.h"

namespace kolvre {

// "Verifica" on the document's script, with the editor's text measure (check_measure.h). Here
// rather than beside the measure: the designer's headers, which the main window includes, name
// their own measure alike.
std::vector<Finding> checkDocument(const Document& doc);

// Where a row leads.
struct FindingTarget {
  std::optional<ResourceKey> resource;
  std::optional<std::size_t> control;  // the control's place among the dialog's controls
};

class FindingsPanel : public QDockWidget {
  Q_OBJECT
 public:
  explicit FindingsPanel(QWidget* parent);

  // The checks' findings, in their order; none: "Nessun problema trovato.".
  void showFindings(const std::vector<Finding>& findings, const Document& doc);
  // The compiler's messages and its summary.
  void showCompile(const CompileReport& report, const Document& doc);

  QTreeWidget* rows() const { return rows_; }
  QString statusText() const { return status_->text(); }
  // The target of row `row`; nothing outside the rows.
  std::optional<FindingTarget> target(int row) const;

  // A double click (or Enter) on a row that leads to a resource.
  std::function<void(const FindingTarget&)> onActivate;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void start(const QString& title, const QStringList& columns, const QString& status);
  QTreeWidgetItem* addRow(Severity severity, const QStringList& cells, FindingTarget target);
  void activate(QTreeWidgetItem* item);

  QLabel* status_ = nullptr;
  QTreeWidget* rows_ = nullptr;
  std::vector<FindingTarget> targets_;
};

}  // namespace kolvre
