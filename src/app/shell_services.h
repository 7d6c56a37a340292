// Services of the application shell that the main window calls: failure reports, window
// placement, the about box and the settings flags.
#pragma once

#include <QWidget>

#include "document/document.h"
#include "platform/qt_user_interface.h"
#include "ui/error_record.h"

namespace kolvre {

class MainWindow;

// Hands a failure to the error handler: a sentence and the command abandoned, or the fatal
// report and the end of the program.
void reportFailure(QtUserInterface& ui, const Document* doc, const ErrorRecord& record);

// True when the settings let Esc close the main window.
bool escClosesWindow(UserInterface& ui);

// The window was placed (-1 moved, 0 restored or sized, 1 minimised, 2 maximised).
void placementChanged(MainWindow& window, UserInterface& ui, int sizeType);

// The about box.
void INFOS(QWidget* parent, const char* name, const char* version);

}  // namespace kolvre
