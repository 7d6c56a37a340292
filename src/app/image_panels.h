// The panels of bitmap, icon and cursor resources (BUILDBMP, BUILDICON, BUILDCURSOR): the
// picture at the panel origin, on the colour of its kind, with its size in the status bar.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "app/show_resource.h"

namespace kolvre {

// The picture that image file bytes make: a bitmap file for BITMAP; for ICON and CURSOR the
// first image of an icon or cursor file, scaled to fit 32 by 32 when larger. A null image when
// the bytes make none.
QImage pictureOf(ResType type, const std::vector<std::uint8_t>& bytes);

// Shows an image entry: BUILDBMP, BUILDICON or BUILDCURSOR by the entry's type. A picture that
// cannot be shown gives the empty panel and a status text that says why.
QWidget* showImage(const PanelContext& context);

// Edits an image entry in the external image editor (EDITBMP, EDITICON, EDITCURSOR).
bool editImage(const PanelContext& context);

}  // namespace kolvre
