// The live controls' input diverted to the designer (divertInput, live_controls.h).
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "app/live_controls.h"

namespace kolvre {

namespace {

// Sends the input of one control to the designer.
class InputDiverter : public QObject {
 public:
  static constexpr const char* kName = "kolvreInputDiverter";
  InputDiverter(QWidget* control, DesignerInput* input)
      : QObject(control), control_(control), input_(input) {
    setObjectName(QString::fromLatin1(kName));
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !control_) return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        // A double click acts as a single click.
        const auto* m = static_cast<QMouseEvent*>(event);
        const QPoint at = widget->mapTo(control_, m->position().toPoint());
        if (m->button() == Qt::LeftButton) input_->leftPressed(control_, at, m->modifiers());
        return true;
      }
      case QEvent::MouseButtonRelease: {
        // The right button acts when it is released, as a context menu opens: a menu opened
        // while the button is down would take its release, and the control would go on
        // holding the mouse after the menu has closed.
        const auto* m = static_cast<QMouseEvent*>(event);
        const QPoint at = widget->mapTo(control_, m->position().toPoint());
        if (m->button() == Qt::LeftButton) input_->leftReleased(control_, at);
        if (m->button() == Qt::RightButton) input_->rightClicked(control_, at, m->modifiers());
        return true;
      }
      case QEvent::MouseMove: {
        const auto* m = static_cast<QMouseEvent*>(event);
        input_->mouseMoved(control_, widget->mapTo(control_, m->position().toPoint()),
                           m->buttons());
        return true;
      }
      case QEvent::KeyPress: {
        const auto* k = static_cast<QKeyEvent*>(event);
        input_->keyPressed(control_, k->key(), k->modifiers());
        return true;
      }
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::FocusIn:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
        return true;
      default:
        return false;
    }
  }

 private:
  QPointer<QWidget> control_;
  DesignerInput* input_;
};

}  // namespace

void divertInput(QWidget* control, DesignerInput* input) {
  // The diverter has no meta-object of its own: it is found by its name and its C++ type.
  for (QObject* child : control->findChildren<QObject*>(QString::fromLatin1(InputDiverter::kName),
                                                        Qt::FindDirectChildrenOnly)) {
    auto* old = dynamic_cast<InputDiverter*>(child);
    if (!old) continue;
    control->removeEventFilter(old);
    for (QWidget* inner : control->findChildren<QWidget*>()) inner->removeEventFilter(old);
    old->setObjectName(QString());
    old->deleteLater();
  }
  if (!input) return;
  auto* diverter = new InputDiverter(control, input);
  control->installEventFilter(diverter);
  control->setFocusPolicy(Qt::NoFocus);
  control->setAttribute(Qt::WA_TransparentForMouseEvents, false);
  for (QWidget* inner : control->findChildren<QWidget*>()) {
    inner->installEventFilter(diverter);
    inner->setFocusPolicy(Qt::NoFocus);
  }
}

}  // namespace kolvre
