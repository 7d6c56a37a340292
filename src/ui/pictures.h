// Pictures from the bytes of image files: bitmaps, icons and cursors as the panels show them.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "syntax/resource_types.h"

namespace kolvre {

// The side of the square an icon or cursor is drawn in: the standard icon size.
inline constexpr int kIconSize = 32;

// The picture that image file bytes make: a bitmap file for BITMAP; for ICON and CURSOR the
// first image of an icon or cursor file, scaled to fit 32 by 32 when larger. A null image when
// the bytes make none.
QImage pictureOf(ResourceType type, const std::vector<std::uint8_t>& bytes);

}  // namespace kolvre
