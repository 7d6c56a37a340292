// Services of the application shell that the main window calls: failure reports and window
// placement.
#pragma once

#include <QPointer>
#include <optional>

#include "document/document.h"
#include "messages/error_record.h"
#include "platform/user_interface.h"
#include "settings/placement.h"

namespace kolvre {

class MainWindow;

// Hands a failure to the error handler: a sentence and the command abandoned, or the fatal
// report, after which the program ends.
void reportFailure(UserInterface& ui, const Document* doc, const ErrorRecord& record);

// RESIZE for the main window (no size type: the first placement, which shows the window).
void placeWindow(MainWindow& window, UserInterface& ui, PlacementMemory& memory,
                 std::optional<SizeType> sizeType);

}  // namespace kolvre
