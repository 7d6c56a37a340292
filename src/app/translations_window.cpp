#include "app/translations_window.h"

#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/check_measure.h"
#include "app/dialog_panel.h"
#include "checks/checks.h"
#include "checks/translations.h"
#include "dialogs/dialog_looks.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "document/document.h"
#include "document/resource_commands.h"
#include "syntax/symbols.h"
#include "ui/qt_text_measure.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

// The outlines: 2 pixels wide, just outside what they mark, so the marked control stays
// readable.
constexpr int kOutline = 2;
// Room around a preview for the outline of a finding about the whole dialog.
constexpr int kMargin = 4;

void outline(QPainter& painter, const QRect& around) {
  const QRect r = around.adjusted(-kOutline, -kOutline, kOutline, kOutline);
  const QColor red(Qt::red);
  painter.fillRect(r.left(), r.top(), r.width(), kOutline, red);
  painter.fillRect(r.left(), r.bottom() - kOutline + 1, r.width(), kOutline, red);
  painter.fillRect(r.left(), r.top(), kOutline, r.height(), red);
  painter.fillRect(r.right() - kOutline + 1, r.top(), kOutline, r.height(), red);
}

// Above a preview's client area, its size kept: the outlines of the controls with a finding.
// Clicks go through to what is below.
class ControlMarks : public QWidget {
 public:
  ControlMarks(DialogWindow* preview, std::vector<std::size_t> controls)
      : QWidget(preview->clientArea()), preview_(preview), controls_(std::move(controls)) {
    setObjectName(QStringLiteral("findingsOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    parentWidget()->installEventFilter(this);
    setGeometry(parentWidget()->rect());
    raise();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    for (std::size_t at : controls_)
      if (at < static_cast<std::size_t>(preview_->controls().size()))
        outline(painter, preview_->controls()[static_cast<qsizetype>(at)]->geometry());
  }

 private:
  DialogWindow* preview_;
  std::vector<std::size_t> controls_;
};

// Holds a preview with room around it, outlined when a finding is about the whole dialog.
class PreviewFrame : public QWidget {
 public:
  explicit PreviewFrame(bool outlined) : outlined_(outlined) {}
  void hold(DialogWindow* preview) {
    preview_ = preview;
    setFixedSize(preview->size() + QSize(2 * kMargin, 2 * kMargin));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!outlined_ || !preview_) return;
    QPainter painter(this);
    outline(painter, preview_->geometry());
  }

 private:
  bool outlined_;
  DialogWindow* preview_ = nullptr;
};

// One language's column: its tag, its preview and its findings.
QWidget* languageColumn(const Document& doc, std::size_t position, const DialogMarks& marks,
                        const SymbolTable* symbols) {
  auto* column = new QWidget;
  auto* layout = new QVBoxLayout(column);
  const IndexEntry& entry = doc.index()[position];
  auto* tag = new QLabel(entry.language.empty() ? QStringLiteral("neutra")
                                                : qstr(doc.display(entry.language)));
  QFont bold = tag->font();
  bold.setBold(true);
  tag->setFont(bold);
  layout->addWidget(tag);

  const auto block = dialogExtent(doc.text(), doc.index(), position);
  const DialogReading reading =
      block ? readDialog(block->of(doc.text()), DialogMode::Preview, symbols, checkMeasure())
            : DialogReading{};
  int width = 240;
  if (!block || reading.failure != DialogFailure::None) {
    const std::string why = block ? std::string(dialogFailureText(reading.failure))
                                  : unlocatableMessage(doc.display(entry.name));
    layout->addWidget(new QLabel(qstr(why)));
  } else {
    auto* frame = new PreviewFrame(marks.wholeDialog);
    frame->setObjectName(QStringLiteral("translationFrame"));
    const PixelRect at = previewRect(reading.dialog);
    auto* preview = new DialogWindow(reading.dialog, frame, QPoint(kMargin - at.x, kMargin - at.y),
                                     dialogScript(doc, block->begin));
    preview->setObjectName(QStringLiteral("translationPreview"));
    // A preview takes no input, as the one beside the list.
    preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QWidget* w : preview->findChildren<QWidget*>()) {
      w->setAttribute(Qt::WA_TransparentForMouseEvents);
      w->setFocusPolicy(Qt::NoFocus);
    }
    new ControlMarks(preview, marks.controls);
    frame->hold(preview);
    layout->addWidget(frame);
    width = std::max(width, frame->width());
  }

  auto* list = new QListWidget;
  list->setObjectName(QStringLiteral("translationFindings"));
  for (const Finding& f : marks.findings) list->addItem(qstr(f.message));
  if (marks.findings.empty()) list->addItem(QStringLiteral("Nessuna segnalazione."));
  list->setWordWrap(true);
  list->setFixedSize(width, 150);
  layout->addWidget(list);
  layout->addStretch();
  return column;
}

}  // namespace

bool hasTranslations(const Document& doc, std::size_t position) {
  return position < doc.index().size() && doc.index()[position].type == ResourceType::Dialog &&
         translationEntries(doc.index(), position).size() > 1;
}

QDialog* translationsWindow(const Document& doc, std::size_t position, QWidget* parent) {
  if (!hasTranslations(doc, position)) return nullptr;
  const std::vector<std::size_t> entries = translationEntries(doc.index(), position);
  const QtFontMeasure measure;
  const std::vector<Finding> findings =
      checkScript(doc.text(), doc.fileName(), &measure, doc.form().utf16 != Utf16::None);
  const auto symbols = cachedScriptSymbols(doc.text(), doc.fileName(), &doc.headerTexts());

  auto* window = new QDialog(parent);
  window->setObjectName(QStringLiteral("translationsWindow"));
  window->setWindowTitle(QStringLiteral("Confronta traduzioni: ") +
                         qstr(doc.display(doc.index()[position].name)));
  auto* row = new QWidget;
  auto* columns = new QHBoxLayout(row);
  for (std::size_t entry : entries)
    columns->addWidget(languageColumn(
        doc, entry, findingsByControl(findings, doc.index()[entry].offset), symbols.get()));
  columns->addStretch();
  auto* scroll = new QScrollArea;
  scroll->setWidget(row);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(scroll);

  // As large as the previews, within the screen.
  const QSize wanted = row->sizeHint() + QSize(40, 40);
  const QScreen* screen = parent ? parent->screen() : nullptr;
  const QSize room = screen ? screen->availableSize() * 9 / 10 : QSize(1000, 700);
  window->resize(wanted.boundedTo(room));
  return window;
}

}  // namespace kolvre
