// What the panels that edit a resource in place share: how they run a command, and how they
// fill the space beside the list.
#pragma once

#include <QWidget>
#include <functional>

namespace kolvre {

class MainWindow;

// Runs one command of a panel: the window's dispatch (a refusal shown, the screen refreshed
// once it has returned).
using CommandRunner = std::function<void(const std::function<void()>&)>;
CommandRunner windowRunner(MainWindow& window);

// Places `panel` in the window's workspace beside the list, filling the rest of it, and keeps
// it so while the workspace is resized.
void fillBesideList(QWidget* panel, MainWindow& window);

}  // namespace kolvre
