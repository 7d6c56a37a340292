// The text measure "Verifica" (F8) gives the checks: the one place the editor chooses it.
#pragma once

#include "checks/text_measure.h"

namespace kolvre {

// The preview's font on Qt's font metrics (QtFontMeasure), one for the whole run.
const FontMeasure* checkMeasure();

}  // namespace kolvre
