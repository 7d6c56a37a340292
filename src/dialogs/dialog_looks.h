// How the preview shows a dialog beyond the model's own values: the style the resource compilers
// give it, and the texts and icons its controls show. Nothing here changes the model or the
// script: a dialog is written back as it was read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs/dialog_model.h"

namespace kolvre {

// The style both compilers give a dialog whose block has no STYLE statement.
inline constexpr std::uint32_t kNoStyleStatementStyle =
    styleNameValue("WS_POPUP") | styleNameValue("WS_BORDER") | styleNameValue("WS_SYSMENU");

// True when the block has a CAPTION statement (a blank caption too).
bool hasCaptionStatement(const DialogModel& dialog);

// The style the compilers give the dialog: the style read (kNoStyleStatementStyle without a
// STYLE statement; the default style when its text could not be read), with WS_CAPTION for a
// CAPTION statement and DS_SETFONT for a FONT statement.
std::uint32_t compiledDialogStyle(const DialogModel& dialog);

// True when the dialog's window has a caption bar: its compiled style holds WS_CAPTION.
bool hasCaptionBar(const DialogModel& dialog);

// The preview's window rectangle: the placement's (dialog.rect), without its caption bar when
// the window has none.
PixelRect previewRect(const DialogModel& dialog);

// A control's text as written between its quotes (doubled quotes kept), for the classes that
// receive one: the model holds it with its doubled quotes undone, so they are doubled again.
std::string controlTextAsWritten(const DialogControl& control);

// The name of the icon a control shows: the text field of an ICON statement, or the text of a
// static with SS_ICON (by the compiled style where the reading could not take the style text),
// without its quotes. Nothing for any other control.
std::optional<std::string> iconName(const DialogControl& control);

}  // namespace kolvre
