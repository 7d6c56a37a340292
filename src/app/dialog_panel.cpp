#include "app/dialog_panel.h"

#include <qdrawutil.h>
#include <QPainter>

#include "app/live_controls.h"
#include "app/main_window.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/styles.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "messages/messages.h"
#include "platform/system_metrics.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kWsChild = styleNameValue("WS_CHILD");

QRect rectOf(const UnitRect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

}  // namespace

DialogWindow::DialogWindow(const DialogModel& model, QWidget* parent) : QWidget(parent) {
  // A child dialog's preview is its client area alone; every other dialog has a frame and a
  // caption bar.
  framed_ = !(model.Cargo & kWsChild) || model.mode == DialogMode::Designer;
  title_ = QString::fromStdString(model.cTitle);
  setGeometry(rectOf(model.rect).translated(ResourceListView::kWidth, 0));
  client_ = new QWidget(this);
  if (framed_) {
    client_->setGeometry(SM_CXFRAME, SM_CYFRAME + SM_CYCAPTION, width() - 2 * SM_CXFRAME,
                         height() - 2 * SM_CYFRAME - SM_CYCAPTION);
  } else {
    client_->setGeometry(0, 0, width(), height());
  }
  client_->setAutoFillBackground(true);
  QFont font(QString::fromStdString(model.faceName));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(8);
  client_->setFont(font);
  for (const DialogControl& control : model.aControls) {
    LiveControlSpec spec;
    spec.fields.liveClass = control.live;
    spec.fields.Cargo = control.Cargo;
    spec.fields.nStyle = control.nStyle;
    spec.fields.lDropDown = control.lDropDown;
    spec.caption = QString::fromStdString(control.cCaption);
    QWidget* live = makeLiveControl(spec, client_);
    live->setGeometry(rectOf(control.rect));
  }
}

void DialogWindow::paintEvent(QPaintEvent*) {
  if (!framed_) return;
  QPainter painter(this);
  const QPalette& p = palette();
  painter.fillRect(rect(), p.color(QPalette::Active, QPalette::Button));
  qDrawWinPanel(&painter, rect(), p, false);
  const QRect caption(SM_CXFRAME, SM_CYFRAME, width() - 2 * SM_CXFRAME, SM_CYCAPTION - 1);
  painter.fillRect(caption, p.color(QPalette::Active, QPalette::Highlight));
  painter.setPen(p.color(QPalette::Active, QPalette::HighlightedText));
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, title_);
}

QWidget* BUILDDLG(const PanelContext& c) {
  const auto block = entryBlock(c.doc.text(), c.doc.index(), c.position);
  const DialogReading reading =
      block ? readDialog(c.doc.text().substr(block->begin), DialogMode::Preview) : DialogReading{};
  if (!block || reading.failure != DialogFailure::None) {
    QWidget* empty = BUILDEMPTY(c.window);
    const std::string why = block
                                ? std::string(dialogFailureText(reading.failure))
                                : unlocatableMessage(c.doc.display(c.doc.index()[c.position].name));
    c.window.setDefaultStatusText(qstr(why));
    return empty;
  }
  for (const std::string& notice : reading.notices) inform(c.ui, notice);
  auto* window = new DialogWindow(reading.dialog, c.window.centralWidget());
  window->setObjectName(QStringLiteral("dialogPreview"));
  window->show();
  // A preview takes no input; it is not greyed out as a disabled window would be, so that it
  // shows the dialog as it will look.
  window->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (QWidget* w : window->findChildren<QWidget*>()) {
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setFocusPolicy(Qt::NoFocus);
  }
  c.window.setDefaultStatusText(
      QStringLiteral("Dialog: %1 x %2").arg(window->width()).arg(window->height()));
  return window;
}

}  // namespace kolvre
