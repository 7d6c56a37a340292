// The main window's "Trova": the field and the rows in the findings panel, the search run a page
// at a time, and the match made current in the resource's panel (main_window.cpp: the window).
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include "app/main_window.h"
#include "app/menu_panel.h"
#include "app/string_table_panel.h"
#include "app/version_panel.h"

namespace kolvre {

namespace {

// The first page is read at once (up to so many resources: a text found rarely leaves it short);
// then, at each turn of the event loop, a page of at most so many matches or resources, so that
// the window answers between them.
constexpr std::size_t kFirstPage = 200;
constexpr std::size_t kFirstResources = 10000;
constexpr std::size_t kPageMatches = 500;
constexpr std::size_t kPageResources = 2000;

// The view of type `View` the panel is or holds.
template <class View>
View* panelView(QWidget* panel) {
  if (!panel) return nullptr;
  if (auto* view = dynamic_cast<View*>(panel)) return view;
  return panel->findChild<View*>();
}

}  // namespace

void MainWindow::openFind() {
  if (!findings_->isVisible()) {
    findings_->show();
    resizeDocks({findings_}, {std::max(140, height() / 4)}, Qt::Vertical);
  }
  findings_->openFindField(lastFind_);
}

void MainWindow::runFind(const QString& typed) {
  lastFind_ = typed;
  findSymbols_ = cachedScriptSymbols(doc_.text(), doc_.fileName());
  finder_ = std::make_unique<ResourceFinder>(doc_, findSymbols_.get(), typed.toStdString());
  findings_->startFind(typed);
  findings_->addFindMatches(finder_->next(kFirstPage, kFirstResources));
  if (!findTimer_) {
    findTimer_ = new QTimer(this);
    connect(findTimer_, &QTimer::timeout, this, [this] { continueFind(); });
  }
  if (finder_->done()) {
    finder_.reset();
    findings_->endFind();
  } else {
    findTimer_->start(0);
  }
}

void MainWindow::continueFind() {
  if (!finder_) {
    // The document changed under the search (documentChanged dropped it).
    findTimer_->stop();
    if (findings_->showsFind())
      findings_->endFind(QStringLiteral(
          "La ricerca si è fermata: lo script è cambiato. Invio nel campo cerca di nuovo."));
    return;
  }
  findings_->addFindMatches(finder_->next(kPageMatches, kPageResources));
  if (!finder_->done()) return;
  finder_.reset();
  findTimer_->stop();
  findings_->endFind();
}

void MainWindow::goToMatch(int delta) {
  if (!findings_->showsFind() || findings_->rows()->topLevelItemCount() == 0) {
    openFind();
    return;
  }
  if (!findings_->isVisible()) openFind();
  const std::optional<FindingTarget> target = findings_->stepFind(delta);
  if (!target) return;
  // Going through the matches shows each where it stands; Enter on a row opens the designer.
  goToFinding(*target, false);
  QTreeWidgetItem* row = findings_->rows()->currentItem();
  if (row)
    statusBar()->showMessage(QStringLiteral("Risultato %1 di %2: %3")
                                 .arg(findings_->rows()->indexOfTopLevelItem(row) + 1)
                                 .arg(findings_->rows()->topLevelItemCount())
                                 .arg(row->text(1)),
                             5000);
}

bool MainWindow::showMatchInPanel(const FindingTarget& target) {
  if (target.stringRow) {
    auto* view = panelView<StringTableView>(panel_);
    if (!view || static_cast<int>(*target.stringRow) >= view->table()->rowCount()) return false;
    view->table()->setCurrentCell(static_cast<int>(*target.stringRow), 1);
    view->table()->setFocus();
    return true;
  }
  if (target.menuItem) {
    auto* view = panelView<MenuView>(panel_);
    if (!view || !view->tree()) return false;
    view->setCurrentPath(*target.menuItem);
    view->tree()->setFocus();
    return true;
  }
  if (target.versionCell) {
    auto* view = panelView<VersionView>(panel_);
    const auto [block, row] = *target.versionCell;
    if (!view || block >= view->blocks().size()) return false;
    QTableWidget* table = view->blocks()[block];
    if (static_cast<int>(row) >= table->rowCount()) return false;
    table->setCurrentCell(static_cast<int>(row), 1);
    table->setFocus();
    return true;
  }
  return false;
}

}  // namespace kolvre
