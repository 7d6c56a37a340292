#include "ui/qt_text_measure.h"

#include "ui/qt_dialog_fonts.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace kolvre {

namespace {

// What a group box keeps beside its title: the frame's corner and a gap on each side.
constexpr int kGroupTitleMargins = 16;

}  // namespace

QFont dialogFont(const DialogModel& dialog) {
  return dialogQFont(dialogFontOf(dialog));
}

BaseUnits QtFontMeasure::baseUnits(const DialogFont& font) const {
  return dialogBaseUnits(font);
}

TextSize QtFontMeasure::textSize(const DialogModel& dialog, std::string_view text,
                                 int wrapWidth) const {
  const QFont font = dialogFont(dialog);
  const QFontMetrics metrics(font);
  TextSize size;
  // Each line feed starts a line; a carriage return is left out, as the preview leaves it.
  const QString all = QString::fromUtf8(text.data(), qsizetype(text.size())).remove(u'\r');
  for (const QString& paragraph : all.split(u'\n')) {
    if (wrapWidth <= 0) {
      size.width = std::max(size.width, metrics.horizontalAdvance(paragraph));
      size.height += metrics.lineSpacing();
      continue;
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(wrapWidth);
      size.width = std::max(size.width, int(std::ceil(line.naturalTextWidth())));
      ++lines;
    }
    layout.endLayout();
    size.height += std::max(lines, 1) * metrics.lineSpacing();
  }
  return size;
}

int QtFontMeasure::chromeWidth(ControlClass live) const {
  const QStyle* style = QApplication::style();
  switch (live) {
    case ControlClass::Button:
      return 2 * style->pixelMetric(QStyle::PM_ButtonMargin);
    case ControlClass::CheckBox:
      return style->pixelMetric(QStyle::PM_IndicatorWidth) +
             style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    case ControlClass::RadioButton:
      return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
             style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    case ControlClass::GroupBox:
      return kGroupTitleMargins;
    default:
      return 0;
  }
}

}  // namespace kolvre
