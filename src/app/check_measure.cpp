#include "app/check_measure.h"

#include "ui/qt_text_measure.h"

namespace kolvre {

const FontMeasure* checkMeasure() {
  static const QtFontMeasure measure;
  return &measure;
}

}  // namespace kolvre
