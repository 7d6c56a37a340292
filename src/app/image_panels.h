// The panels of bitmap, icon and cursor resources (BUILDBMP, BUILDICON, BUILDCURSOR): the
// picture at the panel origin, on the colour of its kind, with its size in the status bar.
#pragma once

#include <QWidget>

#include "app/show_resource.h"

namespace kolvre {

// The panels of a bitmap (its size, on the button-face colour, "Bitmap: W x H" in the status
// bar), an icon and a cursor (32 by 32, on the workspace colour, no status text). A picture
// that cannot be shown gives the empty panel and a status text that says why.
QWidget* BUILDBMP(const PanelContext& context);
QWidget* BUILDICON(const PanelContext& context);
QWidget* BUILDCURSOR(const PanelContext& context);

// Edits an image entry in the external image editor (EDITBMP, EDITICON, EDITCURSOR).
bool editImage(const PanelContext& context);

}  // namespace kolvre
