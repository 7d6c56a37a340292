#include "app/live_classes.h"

#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace kolvre {

void LiveStaticText::paintEvent(QPaintEvent* event) {
  if (shape == StaticShape::None) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  const QColor dark = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
  const int right = width() - 1, bottom = height() - 1;
  switch (shape) {
    case StaticShape::Rect:
      painter.fillRect(rect(), colour);
      break;
    case StaticShape::Frame:
      painter.setPen(colour);
      painter.drawRect(0, 0, right, bottom);
      break;
    // An etched edge is a dark line with a light one inside it, along the top (a horizontal
    // line), the left side (a vertical one) or all round.
    case StaticShape::EtchedTop:
      painter.setPen(dark);
      painter.drawLine(0, 0, right, 0);
      painter.setPen(light);
      painter.drawLine(0, 1, right, 1);
      break;
    case StaticShape::EtchedLeft:
      painter.setPen(dark);
      painter.drawLine(0, 0, 0, bottom);
      painter.setPen(light);
      painter.drawLine(1, 0, 1, bottom);
      break;
    case StaticShape::EtchedFrame:
      painter.setPen(dark);
      painter.drawRect(0, 0, right - 1, bottom - 1);
      painter.setPen(light);
      painter.drawRect(1, 1, right - 1, bottom - 1);
      break;
    case StaticShape::None:
      break;
  }
}

QString oneLine(QString text) {
  return text.remove(u'\r').remove(u'\n');
}

QString wrappedText(const QString& text, const QFont& font, int width) {
  QStringList lines;
  for (const QString& paragraph : QString(text).remove(u'\r').split(u'\n')) {
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(std::max(width, 1));
      lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (paragraph.isEmpty()) lines << QString();
  }
  return lines.join(u'\n');
}

}  // namespace kolvre
