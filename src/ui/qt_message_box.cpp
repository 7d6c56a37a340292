#include "ui/qt_message_box.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSpacerItem>

namespace kolvre {

namespace {

struct KindLayout {
  MessageKind kind;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton;
  QMessageBox::StandardButton escapeButton;
};

constexpr KindLayout kLayouts[] = {
    {MessageKind::Info, QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok,
     QMessageBox::Ok},
    {MessageKind::OkCancel, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
     QMessageBox::Ok, QMessageBox::Cancel},
    {MessageKind::YesNoCancel, QMessageBox::Question,
     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
     QMessageBox::Cancel},
    {MessageKind::YesNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
     QMessageBox::Yes, QMessageBox::No},
    {MessageKind::YesNoDefaultNo, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
     QMessageBox::No, QMessageBox::No},
    {MessageKind::StopOkCancel, QMessageBox::Critical, QMessageBox::Ok | QMessageBox::Cancel,
     QMessageBox::Ok, QMessageBox::Cancel},
};

struct ButtonText {
  QMessageBox::StandardButton button;
  const char* text;  // UTF-8
  int code;
};

// What a title bar holds beside its text: the window icon and the buttons, with margins.
constexpr int kTitleBarExtras = 140;

// What the text's column has beside it: the icon and the margins.
constexpr int kIconColumn = 100;

// The words of a text that hold a "/" or a "\\": its paths.
QRegularExpressionMatchIterator pathWords(const QString& text) {
  static const QRegularExpression pathWord(QStringLiteral("\\S*[/\\\\]\\S*"));
  return pathWord.globalMatch(text);
}

int widestPath(const QString& text, const QFontMetrics& metrics) {
  int widest = 0;
  for (const QRegularExpressionMatch& m : pathWords(text))
    widest = std::max(widest, metrics.horizontalAdvance(m.captured()));
  return widest;
}

// The text with its paths unbreakable: a word joiner after every "/", "\\" and "-" of a path,
// where the line breaking would otherwise cut it.
QString keepPathsWhole(const QString& text) {
  QString kept;
  qsizetype from = 0;
  for (const QRegularExpressionMatch& m : pathWords(text)) {
    kept += text.mid(from, m.capturedStart() - from);
    for (const QChar c : m.captured()) {
      kept += c;
      if (c == u'/' || c == u'\\' || c == u'-') kept += QChar(0x2060);
    }
    from = m.capturedEnd();
  }
  return kept + text.mid(from);
}

constexpr ButtonText kButtons[] = {
    {QMessageBox::Ok, "OK", kIdOk},
    {QMessageBox::Cancel, "Annulla", kIdCancel},
    {QMessageBox::Yes, "Sì", kIdYes},
    {QMessageBox::No, "No", kIdNo},
};

const KindLayout& layoutOf(MessageKind kind) {
  for (const KindLayout& layout : kLayouts)
    if (layout.kind == kind) return layout;
  return kLayouts[0];
}

int codeOf(QMessageBox::StandardButton button) {
  for (const ButtonText& b : kButtons)
    if (b.button == button) return b.code;
  return kIdCancel;
}

}  // namespace

int showMessageBox(const QString& text, MessageKind kind, const QString& title, QWidget* owner) {
  const KindLayout& layout = layoutOf(kind);
  QMessageBox box(owner ? owner : QApplication::activeWindow());
  box.setWindowTitle(title);
  // Plain text: a message naming "<file>" must not turn into markup and lose its line breaks.
  box.setTextFormat(Qt::PlainText);
  box.setText(keepPathsWhole(text));
  box.setIcon(layout.icon);
  box.setStandardButtons(layout.buttons);
  for (const ButtonText& b : kButtons)
    if (QAbstractButton* button = box.button(b.button)) button->setText(QString::fromUtf8(b.text));
  box.setDefaultButton(layout.defaultButton);
  box.setEscapeButton(layout.escapeButton);
  // A box at least as wide as its title needs, so that the title bar shows it whole, and as
  // its longest path, which the text would otherwise break at a "/".
  const int width = std::max(box.fontMetrics().horizontalAdvance(title) + kTitleBarExtras,
                             widestPath(text, box.fontMetrics()) + kIconColumn);
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  box.exec();
  // The close box presses the escape button, so a button is always known.
  QAbstractButton* clicked = box.clickedButton();
  return codeOf(clicked ? box.standardButton(clicked) : layout.escapeButton);
}

}  // namespace kolvre
