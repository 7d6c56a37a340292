// Showing the current resource beside the list, and the commands on whole resources.
#pragma once

#include <QWidget>

#include "app/key_commands.h"
#include "document/document.h"
#include "platform/qt_user_interface.h"

namespace kolvre {

class MainWindow;

// BUILDEMPTY: the empty panel, a disabled zero-size window at the panel origin (just right of
// the list, below the button bar). Clears the status bar's default text.
QWidget* BUILDEMPTY(MainWindow& window);

// SHOWRES: shows (or, with `edit`, edits) one resource. Returns the panel now shown, or null.
// Every type shows the empty panel until its own panel exists.
QWidget* SHOWRES(MainWindow& window, Document& doc, UserInterface& ui, const IndexEntry& entry,
                 bool edit);

// Runs a command on whole resources (new, rename, delete, copy, paste, edit as text).
void runResourceCommand(MainWindow& window, Document& doc, UserInterface& ui, KeyAction action);

}  // namespace kolvre
