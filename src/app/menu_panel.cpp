#include "app/menu_panel.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "app/main_window.h"
#include "resources/menus.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

// The window the menu bar stands on: as wide as the panel allows, up to this.
constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 220;
constexpr int kMargin = 8;

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

MenuView::MenuView(const Document& doc, std::size_t begin, QWidget* parent) : ResourceView(parent) {
  setObjectName(QStringLiteral("menuPanel"));
  const ViewSource source = viewSource(doc, begin);
  if (!source.statement) {
    problem_ = QStringLiteral("La risorsa non si trova nel testo.");
    return;
  }
  const MenuReading menu =
      readMenu(doc.text(), *source.statement, source.symbols.get(), source.charset);
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

void MenuView::resizeEvent(QResizeEvent* event) {
  ResourceView::resizeEvent(event);
  if (!window_) return;
  // As wide and high as the panel allows, up to the window's own size.
  window_->resize(std::min(kWindowWidth, std::max(0, width() - 2 * kMargin)),
                  std::min(kWindowHeight, std::max(0, height() - 2 * kMargin)));
}

QWidget* menuPanel(const PanelContext& context) {
  return showView(context,
                  new MenuView(context.doc, entryBegin(context), context.window.centralWidget()));
}

}  // namespace kolvre
