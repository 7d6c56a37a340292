// The panels of bitmap, icon and cursor resources (bitmapPanel, iconPanel, cursorPanel): the
// picture at the panel origin, on the colour of its kind, with its size in the status bar.
#pragma once

#include <QWidget>

#include "app/show_resource.h"

namespace kolvre {

// The panels of a bitmap (its size, on the button-face colour) and of an icon and a cursor (32 by
// 32, on the workspace colour), with the picture's size in the status bar ("Bitmap: W x H",
// "Icon: W x H", "Cursor: W x H"). A picture
// that cannot be shown gives the empty panel and a status text that says why.
QWidget* bitmapPanel(const PanelContext& context);
QWidget* iconPanel(const PanelContext& context);
QWidget* cursorPanel(const PanelContext& context);

// Edits an image entry in the external image editor (editBitmap, editIcon, editCursor).
bool editImage(const PanelContext& context);

}  // namespace kolvre
