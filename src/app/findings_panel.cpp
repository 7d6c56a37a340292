#include "app/findings_panel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "app/check_measure.h"
#include "checks/checks.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

std::vector<Finding> checkDocument(const Document& doc) {
  return checkScript(doc.text(), doc.fileName(), checkMeasure(), doc.form().utf16 != Utf16::None);
}

namespace {

// The resource as the list shows it: its type's code and its name.
QString resourceText(const std::optional<ResourceKey>& key, const Document& doc) {
  // A finding about the whole script (a header it includes) names no resource.
  if (!key || key->name.empty()) return {};
  const std::string_view code =
      key->type == ResourceType::Other ? key->typeWord : typeCode(key->type);
  return qstr(code) + QLatin1Char(' ') + qstr(doc.display(key->name));
}

QString severityText(Severity severity) {
  return severity == Severity::Error ? QStringLiteral("errore") : QStringLiteral("avviso");
}

QString counts(std::size_t errors, std::size_t warnings) {
  return QStringLiteral("%1 %2, %3 %4.")
      .arg(errors)
      .arg(errors == 1 ? QStringLiteral("errore") : QStringLiteral("errori"))
      .arg(warnings)
      .arg(warnings == 1 ? QStringLiteral("avviso") : QStringLiteral("avvisi"));
}

}  // namespace

FindingsPanel::FindingsPanel(QWidget* parent) : QDockWidget(parent) {
  setObjectName(QStringLiteral("findingsPanel"));
  // Fixed under the list: it closes, but does not float or move.
  setFeatures(QDockWidget::DockWidgetClosable);
  setAllowedAreas(Qt::BottomDockWidgetArea);
  auto* inside = new QWidget(this);
  auto* layout = new QVBoxLayout(inside);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->setSpacing(2);
  status_ = new QLabel(inside);
  status_->setObjectName(QStringLiteral("findingsStatus"));
  rows_ = new QTreeWidget(inside);
  rows_->setObjectName(QStringLiteral("findingsRows"));
  rows_->setRootIsDecorated(false);
  rows_->setUniformRowHeights(true);
  rows_->setAlternatingRowColors(true);
  rows_->setSelectionMode(QAbstractItemView::SingleSelection);
  rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rows_->header()->setStretchLastSection(true);
  rows_->installEventFilter(this);
  layout->addWidget(status_);
  layout->addWidget(rows_, 1);
  setWidget(inside);
  // A double click (Enter is the filter's).
  connect(rows_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { activate(item); });
}

void FindingsPanel::start(const QString& title, const QStringList& columns, const QString& status) {
  setWindowTitle(title);
  rows_->clear();
  targets_.clear();
  rows_->setColumnCount(static_cast<int>(columns.size()));
  rows_->setHeaderLabels(columns);
  status_->setText(status);
}

QTreeWidgetItem* FindingsPanel::addRow(Severity severity, const QStringList& cells,
                                       FindingTarget target) {
  auto* item = new QTreeWidgetItem(rows_, QStringList(severityText(severity)) + cells);
  const QStyle::StandardPixmap icon =
      severity == Severity::Error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning;
  item->setIcon(0, style()->standardIcon(icon));
  item->setData(0, Qt::UserRole, static_cast<int>(targets_.size()));
  for (int column = 0; column < item->columnCount(); ++column)
    item->setToolTip(column, item->text(column));
  targets_.push_back(std::move(target));
  return item;
}

void FindingsPanel::showFindings(const std::vector<Finding>& findings, const Document& doc) {
  std::size_t errors = 0;
  for (const Finding& f : findings)
    if (ruleInfo(f.rule).severity == Severity::Error) ++errors;
  start(QStringLiteral("Verifica"),
        {QStringLiteral("Gravità"), QStringLiteral("Risorsa"), QStringLiteral("Controllo"),
         QStringLiteral("Regola"), QStringLiteral("Messaggio")},
        findings.empty() ? QStringLiteral("Nessun problema trovato.")
                         : counts(errors, findings.size() - errors));
  for (const Finding& f : findings) {
    const CheckRuleInfo& rule = ruleInfo(f.rule);
    addRow(rule.severity,
           {resourceText(f.resource, doc), qstr(f.control), qstr(rule.word), qstr(f.message)},
           {f.resource, f.controlIndex});
  }
  for (int column = 0; column + 1 < rows_->columnCount(); ++column)
    rows_->resizeColumnToContents(column);
}

void FindingsPanel::showCompile(const CompileReport& report, const Document& doc) {
  start(QStringLiteral("Compila (%1)").arg(qstr(report.compiler)),
        {QStringLiteral("Gravità"), QStringLiteral("Riga"), QStringLiteral("Risorsa"),
         QStringLiteral("Messaggio")},
        qstr(report.status));
  for (const CompileMessage& m : report.messages) {
    const QString text = m.otherFile.empty()
                             ? qstr(m.text)
                             : qstr(m.otherFile) + QStringLiteral(": ") + qstr(m.text);
    QTreeWidgetItem* item =
        addRow(m.severity,
               {m.line ? QString::number(*m.line) : QString(), resourceText(m.resource, doc), text},
               {m.resource, std::nullopt});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  for (int column = 0; column + 1 < rows_->columnCount(); ++column)
    rows_->resizeColumnToContents(column);
}

std::optional<FindingTarget> FindingsPanel::target(int row) const {
  const QTreeWidgetItem* item = rows_->topLevelItem(row);
  if (!item) return std::nullopt;
  return targets_[static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt())];
}

void FindingsPanel::activate(QTreeWidgetItem* item) {
  if (!item || !onActivate) return;
  const FindingTarget& target =
      targets_[static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt())];
  if (target.resource) onActivate(target);
}

bool FindingsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched != rows_ || event->type() != QEvent::KeyPress)
    return QDockWidget::eventFilter(watched, event);
  switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Escape:
      // Esc closes the panel, never the window behind it.
      hide();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Taken here: the view would pass it on to the window, whose Enter edits the resource.
      activate(rows_->currentItem());
      return true;
    default:
      break;
  }
  return QDockWidget::eventFilter(watched, event);
}

}  // namespace kolvre
