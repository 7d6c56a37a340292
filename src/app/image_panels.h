// The panels of bitmap, icon and cursor resources (bitmapPanel, iconPanel, cursorPanel): the
// picture at the panel origin, on the colour of its kind, with its size in the status bar.
#pragma once

#include <QWidget>

#include "app/show_resource.h"

namespace kolvre {

// The panels of a bitmap (its size, on the button-face colour, "Bitmap: W x H" in the status
// bar), an icon and a cursor (32 by 32, on the workspace colour, no status text). A picture
// that cannot be shown gives the empty panel and a status text that says why.
QWidget* bitmapPanel(const PanelContext& context);
QWidget* iconPanel(const PanelContext& context);
QWidget* cursorPanel(const PanelContext& context);

// Edits an image entry in the external image editor (editBitmap, editIcon, editCursor).
bool editImage(const PanelContext& context);

}  // namespace kolvre
