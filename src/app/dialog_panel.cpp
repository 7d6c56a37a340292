#include "app/dialog_panel.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStringDecoder>

#include "app/check_measure.h"
#include "app/live_controls.h"
#include "app/main_window.h"
#include "dialogs/control_windows.h"
#include "dialogs/dialog_looks.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/styles.h"
#include "document/edit.h"
#include "document/image_resources.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "messages/messages.h"
#include "platform/system_metrics.h"
#include "syntax/symbols.h"
#include "ui/pictures.h"
#include "ui/qt_text_measure.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kWsChild = styleNameValue("WS_CHILD");

QRect rectOf(const PixelRect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

// Bytes of a code page as UTF-8: the program's own tables, then Qt's converters (those of its
// ICU, where it has one) under the page's usual names.
std::optional<std::string> codePageText(std::string_view bytes, int codePage) {
  if (auto own = codePageToUtf8(bytes, codePage)) return own;
  for (const QString& name :
       {QStringLiteral("windows-%1").arg(codePage), QStringLiteral("cp%1").arg(codePage)}) {
    QStringDecoder decoder(name.toLatin1().constData());
    if (!decoder.isValid()) continue;
    // A byte sequence the code page lacks shows as U+FFFD, as the system shows it.
    const QString text = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return text.toStdString();
  }
  return std::nullopt;
}

// The client area: the dialog's background, with what the designer paints on it.
class ClientArea : public QWidget {
 public:
  ClientArea(DialogWindow* owner) : QWidget(owner), owner_(owner) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!owner_->paintClient) return;
    QPainter painter(this);
    owner_->paintClient(painter);
  }

 private:
  DialogWindow* owner_;
};

}  // namespace

QString shownText(std::string_view asWritten, const ScriptCharset& charset) {
  return QString::fromStdString(shownString(asWritten, charset, codePageText));
}

DialogScript dialogScript(const Document& doc, std::size_t offset) {
  DialogScript script;
  script.charset = scriptCharsetAt(doc.text(), offset, doc.form().utf16 != Utf16::None);
  script.icon = [&doc](const std::string& name) {
    const auto position = findEntry(doc.index(), {name, ResourceType::Icon, 0});
    if (!position) return QImage();
    const ImageSource source = imageSource(doc, *position);
    if (source.kind != ImageSource::Kind::Inline) return QImage();
    return pictureOf(ResourceType::Icon, source.bytes);
  };
  return script;
}

DialogWindow::DialogWindow(const DialogModel& model, QWidget* parent, QPoint origin,
                           DialogScript script)
    : QWidget(parent), script_(std::move(script)) {
  // A child dialog's preview is its client area alone; every other dialog has a frame, and a
  // caption bar when its style has one (the designer's always has).
  designer_ = model.mode == DialogMode::Designer;
  framed_ = !(model.styleAsRead & kWsChild) || designer_;
  captioned_ = framed_ && (designer_ || hasCaptionBar(model));
  title_ = shownText(model.title, script_.charset);
  // A dialog has the colours of a dialog wherever it stands (not those of the panel area).
  QPalette own = palette();
  own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  setPalette(own);
  client_ = new ClientArea(this);
  client_->setAutoFillBackground(true);
  client_->setFont(dialogFont(model));
  buildControls(model);
  setGeometry(rectOf(designer_ ? model.rect : previewRect(model)).translated(origin));
  if (designer_) setMouseTracking(true);
}

void DialogWindow::place(QWidget* live, const DialogControl& control, BaseUnits base) {
  // Where Windows puts its window: a drop-down list is as high as its closed box, whatever its
  // designed height (the height of the list it drops down, 0 too).
  live->setGeometry(rectOf(controlWindowRect(control, base)));
}

void DialogWindow::buildControls(const DialogModel& model) {
  // The old controls go through the event loop: the input that rebuilds them may be one of
  // theirs (a control's own context menu deleting it), its event filter still on the stack.
  for (QWidget* old : std::as_const(controls_)) {
    old->hide();
    divertInput(old, nullptr);
    old->deleteLater();
  }
  controls_.clear();
  // The preview shows each window where Windows puts it, an up-down control on its buddy's side
  // too; the designer keeps each control at its own rectangle, which its gestures edit.
  const std::vector<PixelRect> shown = controlWindowRects(model.controls, model.baseUnits);
  std::size_t at = 0;
  for (const DialogControl& control : model.controls) {
    LiveControlRequest request;
    request.fields.liveClass = control.live;
    request.fields.id = control.id;
    request.fields.style = control.liveStyle;
    request.compiledStyle = control.compiledStyle;
    request.fields.dropDown = control.dropDown;
    request.fields.selected = control.selected;
    // A placeholder's caption names its class; every other caption is the script's text.
    request.caption = control.live == ControlClass::Placeholder
                          ? QString::fromStdString(control.caption)
                          : shownText(controlTextAsWritten(control), script_.charset);
    if (const auto icon = iconName(control); icon && script_.icon)
      request.picture = script_.icon(*icon);
    QWidget* live = makeLiveControl(request, client_);
    if (designer_)
      place(live, control, model.baseUnits);
    else
      live->setGeometry(rectOf(shown[at]));
    ++at;
    // The designer's controls are worked by the designer, not by the keyboard.
    if (designer_) {
      // Texts paint their background, as their windows do, so the grid does not run
      // through them.
      if (control.live == ControlClass::StaticText || control.live == ControlClass::CheckBox ||
          control.live == ControlClass::RadioButton)
        live->setAutoFillBackground(true);
      live->setFocusPolicy(Qt::NoFocus);
      for (QWidget* inner : live->findChildren<QWidget*>()) inner->setFocusPolicy(Qt::NoFocus);
    }
    live->show();
    controls_.append(live);
  }
}

void DialogWindow::resizeEvent(QResizeEvent*) {
  if (framed_) {
    const int caption = captioned_ ? kCaptionHeight : 0;
    client_->setGeometry(kFrameWidth, kFrameHeight + caption, width() - 2 * kFrameWidth,
                         height() - 2 * kFrameHeight - caption);
  } else {
    client_->setGeometry(0, 0, width(), height());
  }
}

QRect DialogWindow::closeBox() const {
  if (!designer_) return {};
  const int side = kCaptionHeight - 6;
  return QRect(width() - kFrameWidth - side - 3, kFrameHeight + 2, side, side);
}

int DialogWindow::grip(QPoint at) const {
  if (!designer_) return 0;
  int edges = 0;
  if (at.x() < kFrameWidth) edges |= 1;
  if (at.y() < kFrameHeight) edges |= 2;
  if (at.x() >= width() - kFrameWidth) edges |= 4;
  if (at.y() >= height() - kFrameHeight) edges |= 8;
  if (edges) return edges;
  if (at.y() < kFrameHeight + kCaptionHeight && !closeBox().contains(at)) return 16;
  return 0;
}

void DialogWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (closeBox().contains(event->position().toPoint())) {
    if (closeRequested) closeRequested();
    return;
  }
  held_ = grip(event->position().toPoint());
  pressGlobal_ = event->globalPosition().toPoint();
  pressGeometry_ = geometry();
}

void DialogWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!held_) {
    // The cursor tells what a press would take hold of.
    const int g = grip(event->position().toPoint());
    const bool horizontal = g & 5, vertical = g & 10;
    if ((g & 9) == 9 || (g & 6) == 6)
      setCursor(Qt::SizeBDiagCursor);
    else if ((g & 3) == 3 || (g & 12) == 12)
      setCursor(Qt::SizeFDiagCursor);
    else if (horizontal)
      setCursor(Qt::SizeHorCursor);
    else if (vertical)
      setCursor(Qt::SizeVerCursor);
    else
      unsetCursor();
    return;
  }
  const QPoint d = event->globalPosition().toPoint() - pressGlobal_;
  QRect r = pressGeometry_;
  if (held_ == 16) {
    r.translate(d);
  } else {
    const int minWidth = 2 * kFrameWidth + kMinimumClient;
    const int minHeight = 2 * kFrameHeight + kCaptionHeight + kMinimumClient;
    if (held_ & 1) r.setLeft(std::min(r.left() + d.x(), r.right() + 1 - minWidth));
    if (held_ & 4) r.setRight(std::max(r.right() + d.x(), r.left() + minWidth - 1));
    if (held_ & 2) r.setTop(std::min(r.top() + d.y(), r.bottom() + 1 - minHeight));
    if (held_ & 8) r.setBottom(std::max(r.bottom() + d.y(), r.top() + minHeight - 1));
  }
  if (r == geometry()) return;
  setGeometry(r);
  if (moved) moved();
}

void DialogWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) held_ = 0;
}

void DialogWindow::paintEvent(QPaintEvent*) {
  if (!framed_) return;
  QPainter painter(this);
  const QPalette& p = palette();
  painter.fillRect(rect(), p.color(QPalette::Active, QPalette::Button));
  qDrawWinPanel(&painter, rect(), p, false);
  if (!captioned_) return;
  const QRect caption(kFrameWidth, kFrameHeight, width() - 2 * kFrameWidth, kCaptionHeight - 1);
  painter.fillRect(caption, p.color(QPalette::Active, QPalette::Highlight));
  painter.setPen(p.color(QPalette::Active, QPalette::HighlightedText));
  QFont bold = font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.drawText(caption.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, title_);
  const QRect box = closeBox();
  if (!box.isEmpty()) {
    painter.fillRect(box, p.color(QPalette::Active, QPalette::Button));
    qDrawWinPanel(&painter, box, p, false);
    painter.setPen(QPen(p.color(QPalette::Active, QPalette::ButtonText), 1.5));
    painter.drawLine(box.adjusted(4, 4, -4, -4).topLeft(),
                     box.adjusted(4, 4, -4, -4).bottomRight());
    painter.drawLine(box.adjusted(4, 4, -4, -4).topRight(),
                     box.adjusted(4, 4, -4, -4).bottomLeft());
  }
}

QWidget* dialogPanel(const PanelContext& c) {
  const auto block = entryBlock(c.doc.statements(), c.doc.index(), c.position);
  const auto symbols = cachedScriptSymbols(c.doc.text(), c.doc.fileName(), &c.doc.headerTexts());
  const DialogReading reading = block
                                    ? readDialog(c.doc.text().substr(block->begin),
                                                 DialogMode::Preview, symbols.get(), checkMeasure())
                                    : DialogReading{};
  if (!block || reading.failure != DialogFailure::None) {
    QWidget* empty = emptyPanel(c.window);
    const std::string why = block
                                ? std::string(dialogFailureText(reading.failure))
                                : unlocatableMessage(c.doc.display(c.doc.index()[c.position].name));
    c.window.setDefaultStatusText(qstr(why));
    return empty;
  }
  auto* window =
      new DialogWindow(reading.dialog, c.window.centralWidget(), QPoint(c.window.panelLeft(), 0),
                       dialogScript(c.doc, block->begin));
  window->setObjectName(QStringLiteral("dialogPreview"));
  window->show();
  // A preview takes no input; it is not greyed out as a disabled window would be, so that it
  // shows the dialog as it will look.
  window->setAttribute(Qt::WA_TransparentForMouseEvents);
  for (QWidget* w : window->findChildren<QWidget*>()) {
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setFocusPolicy(Qt::NoFocus);
  }
  // What the reading noticed ("Stile non valido: IDS_FOO.", an unsupported control) follows the
  // size in the status bar: a message box on every move through the list would stop the user at
  // each such dialog of a real script. The designer shows them in one message when it opens.
  QString status = QStringLiteral("Dialog: %1 x %2").arg(window->width()).arg(window->height());
  QStringList notices;
  for (const std::string& notice : reading.notices) notices << qstr(c.doc.display(notice));
  notices.removeDuplicates();
  if (!notices.isEmpty()) status += QStringLiteral("   ") + notices.join(QLatin1Char(' '));
  c.window.setDefaultStatusText(status);
  return window;
}

std::optional<QImage> dialogSnapshot(const Document& doc, std::string_view name, std::string& why) {
  const auto position = findEntry(doc.index(), {doc.scriptBytes(name), ResourceType::Dialog, 0});
  if (!position) {
    why = "Risorsa " + std::string(name) + " non trovata.";
    return std::nullopt;
  }
  const auto block = dialogExtent(doc.text(), doc.index(), *position);
  if (!block) {
    why = unlocatableMessage(name);
    return std::nullopt;
  }
  const auto symbols = cachedScriptSymbols(doc.text(), doc.fileName(), &doc.headerTexts());
  const DialogReading reading =
      readDialog(block->of(doc.text()), DialogMode::Preview, symbols.get(), checkMeasure());
  if (reading.failure != DialogFailure::None) {
    why = dialogFailureText(reading.failure);
    return std::nullopt;
  }
  const DialogModel& dialog = reading.dialog;
  DialogWindow window(dialog, nullptr, -QPoint(dialog.rect.x, dialog.rect.y),
                      dialogScript(doc, block->begin));
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.show();
  return window.grab().toImage();
}

}  // namespace kolvre
