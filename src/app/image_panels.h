// The panels of bitmap, icon and cursor resources (BUILDBMP, BUILDICON, BUILDCURSOR): the
// picture at the panel origin, on the colour of its kind, with its size in the status bar.
#pragma once

#include <QWidget>

#include "app/show_resource.h"

namespace kolvre {

// Shows an image entry: BUILDBMP, BUILDICON or BUILDCURSOR by the entry's type. A picture that
// cannot be shown gives the empty panel and a status text that says why.
QWidget* showImage(const PanelContext& context);

// Edits an image entry in the external image editor (EDITBMP, EDITICON, EDITCURSOR).
bool editImage(const PanelContext& context);

}  // namespace kolvre
