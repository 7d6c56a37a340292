// Services of the application shell that the main window calls: failure reports and window
// placement.
#pragma once

#include <QPointer>
#include <QTimer>
#include <optional>

#include "document/document.h"
#include "messages/error_record.h"
#include "platform/user_interface.h"
#include "settings/pending_settings.h"
#include "settings/placement.h"

namespace kolvre {

class MainWindow;

// Hands a failure to the error handler: a sentence and the command abandoned, or the fatal
// report, after which the program ends.
void reportFailure(UserInterface& ui, const Document* doc, const ErrorRecord& record);

// applyPlacement for the main window (no size type: the first placement, which shows the window).
void placeWindow(MainWindow& window, UserInterface& ui, PlacementMemory& memory,
                 std::optional<SizeType> sizeType);

// The main window's moves, resizes and state changes. Each one goes through applyPlacement at once
// (the list is laid out, and the rules see what the earlier ones wrote), but the settings file is
// written only once no further change has come for kDelayMs, or on flush(): a drag that
// reports a hundred moves writes the file once, with what the last of them left.
class PlacementWrites {
 public:
  static constexpr int kDelayMs = 300;

  PlacementWrites(MainWindow& window, UserInterface& ui, PlacementMemory& memory);

  void record(SizeType sizeType);
  // Writes what is held now.
  void flush();

 private:
  MainWindow& window_;
  PlacementMemory& memory_;
  PendingSettings settings_;
  QTimer timer_;
};

}  // namespace kolvre
