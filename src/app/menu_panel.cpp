#include "app/menu_panel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "app/main_window.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "resources/literals.h"
#include "resources/menus.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

// The window the menu bar stands on: as wide as the panel allows, up to this.
constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 220;
constexpr int kMargin = 8;
// The tree stands beside the window when the panel leaves it this much room, else below it.
constexpr int kTreeBesideWidth = 420;

// The tree's columns, and the role that holds a cell's text as it is edited (the ID as written,
// where the cell shows its value too).
enum MenuColumn {
  kTextColumn,
  kIdColumn,
  kFlagsColumn,
  // A MENUEX item's fields after its ID, as written.
  kTypeColumn,
  kStateColumn,
  kHelpIdColumn
};
constexpr int kWrittenRole = Qt::UserRole + 1;
// The role of why a cell of an editable row does not edit (a MENU pop-up's ID).
constexpr int kReadOnlyRole = Qt::UserRole + 2;

constexpr std::string_view kNewItemTitle = "Nuova voce di menu";
constexpr std::string_view kNewPopupTitle = "Nuovo pop-up";

// The item last current in the panel of a menu, for the panel built after its own edit.
struct RememberedPath {
  const Document* doc = nullptr;
  std::size_t begin = 0;
  MenuPath path;
};
RememberedPath rememberedPath;

// A cell edited with its text as written, where the cell shows more.
class WrittenTextDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (const QVariant reason = index.data(kReadOnlyRole); reason.isValid()) {
      noteInStatusBar(parent, reason.toString());
      return nullptr;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const QVariant written = index.data(kWrittenRole);
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && written.isValid()) {
      line->setText(written.toString());
      return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
  }
};

bool isSeparatorEntry(const MenuEntry& item) {
  return (item.flags & kMenuSeparator) && item.textEnd == 0;
}

// How an item is named in a question.
std::string namedItem(const MenuEntry& item) {
  if (item.flags & kMenuSeparator) return "il separatore";
  return (item.popup ? "il pop-up «" : "la voce «") + item.text + "»";
}

// An item's text as a menu shows it: the shortcut column after a tab, "&" marks a mnemonic.
QString itemText(const MenuEntry& item) {
  QString text = qstr(item.text);
  if (!item.shortcut.empty()) text += QLatin1Char('\t') + qstr(item.shortcut);
  return text;
}

// The states of an item on its action; a checked item stays checked when it is chosen.
void setStates(QAction* action, const MenuEntry& item) {
  if (item.flags & (kMenuGrayed | kMenuInactive)) action->setEnabled(false);
  if (item.flags & kMenuChecked) {
    action->setCheckable(true);
    action->setChecked(true);
    QObject::connect(action, &QAction::triggered, action, [action] { action->setChecked(true); });
  }
}

void fill(QMenu* menu, const std::vector<MenuEntry>& items) {
  for (const MenuEntry& item : items) {
    if (item.flags & kMenuSeparator) {
      menu->addSeparator();
      continue;
    }
    QAction* action = nullptr;
    if (item.popup) {
      QMenu* sub = menu->addMenu(itemText(item));
      fill(sub, item.items);
      action = sub->menuAction();
    } else {
      action = menu->addAction(itemText(item));
    }
    setStates(action, item);
    if (item.flags & kMenuDefault) menu->setDefaultAction(action);
  }
}

// A menu bar that takes no keys: a menu bar grabs each title's mnemonic (Alt and a letter) as
// a shortcut of the window it stands in, where it would take the keys of the main window's own
// menus. The grabs are turned off whenever the bar may have made them (when it lays itself out):
// they are the bar's shortcuts among the ids handed out since it was made.
class QuietMenuBar : public QMenuBar {
 public:
  explicit QuietMenuBar(QWidget* parent) : QMenuBar(parent) { first_ = probe(); }

 protected:
  bool event(QEvent* event) override {
    const bool handled = QMenuBar::event(event);
    switch (event->type()) {
      case QEvent::Show:
      case QEvent::Resize:
      case QEvent::Polish:
      case QEvent::LayoutRequest:
      case QEvent::ActionAdded:
      case QEvent::ActionChanged:
      case QEvent::ActionRemoved:
        quieten();
        break;
      default:
        break;
    }
    return handled;
  }

 private:
  // An id just handed out, and handed back.
  int probe() {
    const int id = grabShortcut(QKeySequence(Qt::Key_F35));
    releaseShortcut(id);
    return id;
  }
  void quieten() {
    sizeHint();  // lays the bar out: the grabs are made now, if they are due
    const int last = probe();
    // Ids run one way from the first probe (downwards in Qt 6): every id strictly between.
    for (int id = std::min(first_, last) + 1; id < std::max(first_, last); ++id)
      setShortcutEnabled(id, false);
  }
  int first_ = 0;
};

// A menu a program opens where the mouse is: every item of its top level a pop-up without a text.
bool isContextMenu(const std::vector<MenuEntry>& items) {
  return !items.empty() && std::all_of(items.begin(), items.end(), [](const MenuEntry& item) {
    return item.popup && item.text.empty() && !(item.flags & kMenuSeparator);
  });
}

}  // namespace

MenuView::MenuView(const Document& doc, std::size_t begin, QWidget* parent)
    : ResourceView(parent), doc_(doc) {
  build(begin);
}

MenuView::MenuView(QWidget* parent, Document& doc, UserInterface& ui, std::size_t begin,
                   CommandRunner run, std::optional<ResourceKey> current)
    : ResourceView(parent),
      doc_(doc),
      editable_(&doc),
      ui_(&ui),
      run_(std::move(run)),
      current_(std::move(current)) {
  build(begin);
}

void MenuView::build(std::size_t begin) {
  setObjectName(QStringLiteral("menuPanel"));
  begin_ = begin;
  const ViewSource source = viewSource(doc_, begin);
  if (!source.statement) {
    problem_ = QStringLiteral("La risorsa non si trova nel testo.");
    return;
  }
  symbols_ = source.symbols;
  charset_ = source.charset;
  menu_ = readMenu(doc_.text(), *source.statement, source.symbols.get(), source.charset);
  const MenuReading& menu = menu_;
  if (!menu.problem.empty()) {
    problem_ = qstr(menu.problem);
    return;
  }
  // A plain window that stands for the program's, with the menu bar along its top.
  window_ = new QFrame(this);
  window_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  // A window's own colour, not the darker workspace's it would inherit.
  QPalette own = window_->palette();
  own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  window_->setPalette(own);
  window_->setAutoFillBackground(true);
  window_->setGeometry(kMargin, kMargin, kWindowWidth, kWindowHeight);
  const QString kind = menu.extended ? QStringLiteral("Menu esteso") : QStringLiteral("Menu");
  const std::size_t count = countMenuEntries(menu.items);
  status_ = QStringLiteral("%1: %2 %3")
                .arg(kind)
                .arg(count)
                .arg(count == 1 ? QStringLiteral("voce") : QStringLiteral("voci"));
  fillTree();
  if (isContextMenu(menu.items)) {
    showOpen(menu.items);
    return;
  }
  auto* layout = new QVBoxLayout(window_);
  layout->setContentsMargins(2, 2, 2, 2);
  bar_ = new QuietMenuBar(window_);
  bar_->setNativeMenuBar(false);
  layout->setMenuBar(bar_);
  layout->addStretch();
  for (const MenuEntry& item : menu.items) {
    if (item.flags & kMenuSeparator) {
      bar_->addSeparator();
      continue;
    }
    QAction* action = nullptr;
    if (item.popup) {
      QMenu* popup = bar_->addMenu(itemText(item));
      fill(popup, item.items);
      action = popup->menuAction();
    } else {
      action = bar_->addAction(itemText(item));
    }
    if (item.flags & (kMenuGrayed | kMenuInactive)) action->setEnabled(false);
  }
}

void MenuView::showOpen(const std::vector<MenuEntry>& popups) {
  auto* layout = new QHBoxLayout(window_);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(kMargin);
  for (const MenuEntry& popup : popups) {
    // A menu made a plain child: drawn where it stands, open, its pop-ups opening as usual.
    auto* open = new QMenu(window_);
    open->setWindowFlags(Qt::Widget);
    fill(open, popup.items);
    layout->addWidget(open, 0, Qt::AlignLeft | Qt::AlignTop);
    open_.append(open);
  }
  layout->addStretch();
}

void MenuView::fillTree() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("menuItems"));
  QStringList headers{QStringLiteral("Testo"), QStringLiteral("ID"), QStringLiteral("Opzioni")};
  if (menu_.extended)
    headers << QStringLiteral("Tipo") << QStringLiteral("Stato")
            << QStringLiteral("ID della guida");
  tree_->setColumnCount(static_cast<int>(headers.size()));
  tree_->setHeaderLabels(headers);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setItemDelegate(new WrittenTextDelegate(tree_));
  tree_->setProperty(kNoGlobalInsert, true);
  tree_->setEditTriggers(editable_
                             ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             : QAbstractItemView::NoEditTriggers);
  filling_ = true;
  const auto add = [&](const auto& self, QTreeWidgetItem* parent,
                       const std::vector<MenuEntry>& items) -> void {
    for (const MenuEntry& item : items) {
      auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
      const bool separator = isSeparatorEntry(item);
      if (separator) {
        row->setText(kTextColumn, QStringLiteral("(separatore)"));
        row->setForeground(kTextColumn, tree_->palette().brush(QPalette::Disabled, QPalette::Text));
      } else {
        row->setText(kTextColumn, qstr(oneLineText(item.fullText)));
      }
      QString id = qstr(doc_.display(item.id));
      if (item.idValue && item.id != std::to_string(*item.idValue) && !item.id.empty())
        id += QStringLiteral(" (%1)").arg(static_cast<int>(*item.idValue));
      row->setText(kIdColumn, id);
      row->setData(kIdColumn, kWrittenRole, qstr(doc_.display(item.id)));
      const QString flags = qstr(menuFlagWords(item.flags & ~unsigned(kMenuSeparator)));
      row->setText(kFlagsColumn, flags);
      if (menu_.extended) {
        row->setText(kTypeColumn, qstr(doc_.display(item.type)));
        row->setText(kStateColumn, qstr(doc_.display(item.state)));
        row->setText(kHelpIdColumn, qstr(doc_.display(item.helpId)));
      }
      // Which cells edit in place: a separator's none, a MENU pop-up's ID neither.
      const bool editable = editable_ && !separator;
      if (editable) row->setFlags(row->flags() | Qt::ItemIsEditable);
      if (editable && item.popup && !menu_.extended)
        row->setData(kIdColumn, kReadOnlyRole,
                     QStringLiteral("Un pop-up di un menu MENU non ha ID."));
      if (editable && !item.popup && menu_.extended)
        row->setData(kHelpIdColumn, kReadOnlyRole,
                     QStringLiteral("Solo un pop-up ha l'ID della guida."));
      self(self, row, item.items);
    }
  };
  add(add, nullptr, menu_.items);
  tree_->expandAll();
  for (int c = 0; c < tree_->columnCount(); ++c) tree_->resizeColumnToContents(c);
  filling_ = false;
  if (!editable_) return;
  setFocusProxy(tree_);
  connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* row, int column) {
    if (filling_) return;
    MenuPath path;
    for (QTreeWidgetItem* at = row; at; at = at->parent())
      path.insert(path.begin(),
                  static_cast<std::size_t>(at->parent() ? at->parent()->indexOfChild(at)
                                                        : tree_->indexOfTopLevelItem(at)));
    setCell(path, column, row->text(column));
  });
  handleTableKeys(tree_,
                  {[this] { addItem(NewRow::Item); }, [this] { deleteItem(); },
                   [](const QModelIndex&) {
                     return QStringLiteral("Un separatore non ha testo, ID né opzioni.");
                   }},
                  {[this] { addItem(NewRow::Separator); },
                   [this](KeyAction action) {
                     moveItem(action == KeyAction::MoveRowUp     ? MenuMove::Up
                              : action == KeyAction::MoveRowDown ? MenuMove::Down
                              : action == KeyAction::MoveRowOut  ? MenuMove::Out
                                                                 : MenuMove::In);
                   },
                   [this] { addItem(NewRow::Popup); }});
  takeRememberedPath();
}

QTreeWidgetItem* MenuView::itemAt(const MenuPath& path) const {
  QTreeWidgetItem* row = nullptr;
  for (const std::size_t i : path) {
    const int at = static_cast<int>(i);
    row = row ? (at < row->childCount() ? row->child(at) : nullptr)
              : (at < tree_->topLevelItemCount() ? tree_->topLevelItem(at) : nullptr);
    if (!row) return nullptr;
  }
  return row;
}

MenuPath MenuView::currentPath() const {
  MenuPath path;
  if (!tree_) return path;
  for (QTreeWidgetItem* at = tree_->currentItem(); at; at = at->parent())
    path.insert(path.begin(),
                static_cast<std::size_t>(at->parent() ? at->parent()->indexOfChild(at)
                                                      : tree_->indexOfTopLevelItem(at)));
  return path;
}

void MenuView::setCurrentPath(const MenuPath& path) {
  if (QTreeWidgetItem* row = tree_ ? itemAt(path) : nullptr) tree_->setCurrentItem(row, 0);
}

void MenuView::takeRememberedPath() {
  if (rememberedPath.doc == &doc_ && rememberedPath.begin == begin_)
    setCurrentPath(rememberedPath.path);
  else if (tree_->topLevelItemCount() > 0)
    tree_->setCurrentItem(tree_->topLevelItem(0), 0);
  rememberedPath = {};
}

void MenuView::commit(Edit edit, const MenuPath& after) {
  edit.currentBefore = current_;
  edit.currentAfter = current_;
  rememberedPath = {&doc_, begin_, after};
  editable_->commit(edit);
}

void MenuView::setCell(const MenuPath& path, int column, const QString& text) {
  if (!editable_ || !menuEntryAt(menu_, path)) return;
  const std::string typed = text.toStdString();
  const bool done = run_([&] {
    switch (column) {
      case kTextColumn:
        commit(setMenuText(doc_.text(), menu_, path, fromOneLine(typed), charset_), path);
        break;
      case kIdColumn:
        commit(setMenuId(doc_.text(), menu_, path, doc_.scriptBytes(typed), symbols_.get()), path);
        break;
      case kFlagsColumn:
        commit(setMenuFlags(doc_.text(), menu_, path, menuFlagsFromWords(typed), symbols_.get()),
               path);
        break;
      default:
        commit(setMenuExField(doc_.text(), menu_, path,
                              column == kTypeColumn    ? MenuExField::Type
                              : column == kStateColumn ? MenuExField::State
                                                       : MenuExField::HelpId,
                              doc_.scriptBytes(typed), symbols_.get()),
               path);
        break;
    }
  });
  // Refused: the cell keeps the text typed, in edit.
  if (!done)
    if (QTreeWidgetItem* row = itemAt(path)) editAgain(tree_, tree_->indexFromItem(row, column));
}

void MenuView::addItem(NewRow row) {
  if (!editable_) return;
  MenuPath at = currentPath();
  if (at.empty())
    at = {menu_.items.size()};
  else
    ++at.back();
  NewMenuItem item;
  item.separator = row == NewRow::Separator;
  item.popup = row == NewRow::Popup;
  if (!item.separator) {
    const std::string_view title = item.popup ? kNewPopupTitle : kNewItemTitle;
    if (!ui_->inputBox(title, "Testo:", item.text, 255)) return;
    item.text = fromOneLine(item.text);
    // A MENU pop-up has no ID; a MENUEX one may have one, or none (left blank).
    if (!item.popup || menu_.extended) {
      item.id = item.popup ? std::string() : std::to_string(nextFreeMenuId(menu_, symbols_.get()));
      if (!ui_->inputBox(title, "ID:", item.id, 255)) return;
      item.id = doc_.scriptBytes(item.id);
    }
  }
  run_([&] { commit(insertMenuItem(doc_.text(), menu_, at, item, charset_, symbols_.get()), at); });
}

void MenuView::deleteItem() {
  if (!editable_) return;
  const MenuPath path = currentPath();
  const MenuEntry* item = menuEntryAt(menu_, path);
  if (!item) return;
  const std::string question = item->popup ? "Eliminare " + namedItem(*item) + " con le sue voci?"
                                           : "Eliminare " + namedItem(*item) + "?";
  if (!showMessage(*ui_, question, MessageKind::YesNo).accepted()) return;
  // The item after it becomes current, else the one before, else its pop-up.
  MenuPath next = path;
  const std::size_t siblings =
      path.size() > 1 ? menuEntryAt(menu_, MenuPath(path.begin(), path.end() - 1))->items.size()
                      : menu_.items.size();
  if (path.back() + 1 >= siblings) {
    if (path.back() > 0)
      --next.back();
    else
      next.pop_back();
  }
  run_([&] { commit(deleteMenuItem(doc_.text(), menu_, path), next); });
}

void MenuView::moveItem(MenuMove move) {
  if (!editable_) return;
  const MenuPath path = currentPath();
  if (!menuEntryAt(menu_, path)) return;
  const MenuPath after = movedMenuPath(menu_, path, move).value_or(path);
  run_([&] { commit(moveMenuItem(doc_.text(), menu_, path, move), after); });
}

void MenuView::resizeEvent(QResizeEvent* event) {
  ResourceView::resizeEvent(event);
  if (!window_) return;
  // As wide and high as the panel allows, up to the window's own size.
  window_->resize(std::min(kWindowWidth, std::max(0, width() - 2 * kMargin)),
                  std::min(kWindowHeight, std::max(0, height() - 2 * kMargin)));
  if (!tree_) return;
  // Beside the window where the panel is wide enough, else below it.
  const int besideLeft = window_->geometry().right() + 1 + kMargin;
  if (width() - besideLeft - kMargin >= kTreeBesideWidth)
    tree_->setGeometry(besideLeft, kMargin, width() - besideLeft - kMargin,
                       std::max(0, height() - 2 * kMargin));
  else
    tree_->setGeometry(kMargin, window_->geometry().bottom() + 1 + kMargin,
                       std::max(0, width() - 2 * kMargin),
                       std::max(0, height() - window_->geometry().bottom() - 1 - 2 * kMargin));
}

QWidget* menuPanel(const PanelContext& context) {
  return showView(context, new MenuView(context.window.centralWidget(), context.doc, context.ui,
                                        entryBegin(context), windowRunner(context.window),
                                        keyAt(context.doc.index(), context.position)));
}

}  // namespace kolvre
