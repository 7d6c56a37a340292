#include "app/findings_panel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "app/check_measure.h"
#include "checks/checks.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

std::vector<Finding> checkDocument(const Document& doc) {
  return checkScript(doc.text(), doc.fileName(), checkMeasure(), doc.form().utf16 != Utf16::None,
                     &doc.headerTexts());
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

// A match's resource: as the list shows it, its language after it.
QString matchResource(const FindMatch& m) {
  QString text = qstr(m.type) + QLatin1Char(' ') + qstr(m.name);
  if (!m.language.empty()) text += QStringLiteral(" (%1)").arg(qstr(m.language));
  return text;
}

QString matchPlace(const FindMatch& m) {
  QString text = qstr(foundInWord(m.in));
  if (!m.place.empty()) text += QLatin1Char(' ') + qstr(m.place);
  return text;
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

FindingTarget findTarget(const FindMatch& match) {
  FindingTarget target;
  target.resource = match.resource;
  target.controlStatement = match.control;
  target.resourceOffset = match.resourceOffset;
  target.stringRow = match.stringEntry;
  if (!match.menuPath.empty()) target.menuItem = match.menuPath;
  if (match.versionBlock && match.versionValue)
    target.versionCell = std::pair(*match.versionBlock, *match.versionValue);
  return target;
}

QVBoxLayout* bottomPanelLayout(QDockWidget& dock) {
  dock.setFeatures(QDockWidget::DockWidgetClosable);
  dock.setAllowedAreas(Qt::BottomDockWidgetArea);
  auto* inside = new QWidget(&dock);
  auto* layout = new QVBoxLayout(inside);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->setSpacing(2);
  dock.setWidget(inside);
  return layout;
}

FindingsPanel::FindingsPanel(QWidget* parent) : QDockWidget(parent) {
  setObjectName(QStringLiteral("findingsPanel"));
  QVBoxLayout* layout = bottomPanelLayout(*this);
  QWidget* inside = widget();
  findBar_ = new QWidget(inside);
  auto* bar = new QHBoxLayout(findBar_);
  bar->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(QStringLiteral("&Trova:"), findBar_);
  findField_ = new QLineEdit(findBar_);
  findField_->setObjectName(QStringLiteral("findField"));
  findField_->setPlaceholderText(QStringLiteral(
      "Testo, nome o ID da cercare nelle risorse (Invio cerca, F3 va al successivo)"));
  findField_->installEventFilter(this);
  label->setBuddy(findField_);
  bar->addWidget(label);
  bar->addWidget(findField_, 1);
  findBar_->hide();
  layout->addWidget(findBar_);
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
  // A double click (Enter is the filter's).
  connect(rows_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { activate(item); });
  // F3 goes on from a row clicked.
  connect(rows_, &QTreeWidget::itemClicked, this, [this] { stepped_ = true; });
}

void FindingsPanel::start(const QString& title, const QStringList& columns, const QString& status) {
  setWindowTitle(title);
  finding_ = false;
  findBar_->hide();
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

void FindingsPanel::openFindField(const QString& typed) {
  setWindowTitle(QStringLiteral("Trova"));
  findBar_->show();
  findField_->setText(typed);
  findField_->selectAll();
  findField_->setFocus();
}

void FindingsPanel::startFind(const QString& typed) {
  start(QStringLiteral("Trova"),
        {QStringLiteral("Risorsa"), QStringLiteral("Posto"), QStringLiteral("Testo")},
        QStringLiteral("Cerco \"%1\"...").arg(typed));
  finding_ = true;
  stepped_ = false;
  findBar_->show();
  typed_ = typed;
  findCount_ = 0;
}

void FindingsPanel::addFindMatches(const std::vector<FindMatch>& matches) {
  QList<QTreeWidgetItem*> items;
  for (const FindMatch& m : matches) {
    if (rows_->topLevelItemCount() + items.size() >= kMostFindRows) break;
    auto* item = new QTreeWidgetItem(QStringList{matchResource(m), matchPlace(m), qstr(m.context)});
    item->setData(0, Qt::UserRole, static_cast<int>(targets_.size()));
    item->setToolTip(2, item->text(2));
    targets_.push_back(findTarget(m));
    items.push_back(item);
  }
  rows_->addTopLevelItems(items);
  findCount_ += static_cast<int>(matches.size());
  status_->setText(QStringLiteral("Cerco \"%1\": %2 finora...").arg(typed_).arg(findCount_));
  if (rows_->topLevelItemCount() == static_cast<int>(items.size()) && !items.empty())
    for (int column = 0; column + 1 < rows_->columnCount(); ++column)
      rows_->resizeColumnToContents(column);
}

void FindingsPanel::endFind(const QString& stopped) {
  QString status;
  if (!stopped.isEmpty())
    status = stopped;
  else if (findCount_ == 0)
    status = QStringLiteral("Nessun risultato per \"%1\".").arg(typed_);
  else if (findCount_ == 1)
    status = QStringLiteral("1 risultato per \"%1\".").arg(typed_);
  else
    status = QStringLiteral("%1 risultati per \"%2\".").arg(findCount_).arg(typed_);
  if (findCount_ > kMostFindRows)
    status += QStringLiteral(" Sono mostrati i primi %1.").arg(kMostFindRows);
  status_->setText(status);
  for (int column = 0; column + 1 < rows_->columnCount(); ++column)
    rows_->resizeColumnToContents(column);
}

std::optional<FindingTarget> FindingsPanel::stepFind(int delta) {
  const int count = rows_->topLevelItemCount();
  if (count == 0) return std::nullopt;
  const int current =
      stepped_ && rows_->currentItem() ? rows_->indexOfTopLevelItem(rows_->currentItem()) : -1;
  stepped_ = true;
  const int next =
      current < 0 ? (delta > 0 ? 0 : count - 1) : ((current + delta) % count + count) % count;
  QTreeWidgetItem* item = rows_->topLevelItem(next);
  rows_->setCurrentItem(item);
  rows_->scrollToItem(item);
  return target(next);
}

std::optional<FindingTarget> FindingsPanel::target(int row) const {
  const QTreeWidgetItem* item = rows_->topLevelItem(row);
  if (!item) return std::nullopt;
  return targets_[static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt())];
}

void FindingsPanel::activate(QTreeWidgetItem* item) {
  if (!item || !onActivate) return;
  stepped_ = true;
  const FindingTarget& target =
      targets_[static_cast<std::size_t>(item->data(0, Qt::UserRole).toInt())];
  if (target.resource) onActivate(target);
}

bool FindingsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == findField_ && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Escape:
        hide();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (onFind && !findField_->text().isEmpty()) onFind(findField_->text());
        return true;
      default:
        return QDockWidget::eventFilter(watched, event);
    }
  }
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
