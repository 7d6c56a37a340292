// The control properties form of the designer ("Proprietà controllo"), on CheckedDialog: one
// field per row of kPropertyFields (read-only where the control cannot change it), the notes of
// kPropertyNotes beside their fields, checked by checkProperties as the user leaves a field and
// on confirm.
#pragma once

#include <QPoint>
#include <QWidget>
#include <optional>

#include "designer/control_properties.h"
#include "platform/user_interface.h"

namespace kolvre {

// Shows the form modally at `at` (global), filled with `shown`; the values on confirm, nothing
// on cancel.
std::optional<ControlProperties> editControlProperties(UserInterface& ui, QWidget* parent,
                                                       QPoint at, const ControlProperties& shown);

}  // namespace kolvre
