// What the designer needs of the window that holds it, and of the text it draws.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "designer/control_properties.h"
#include "dialogs/dialog_model.h"

namespace kolvre {

class DesignerHost {
 public:
  virtual ~DesignerHost() = default;
  // F9: write the dialog back into the script and save the file (a failed save shows its
  // message and leaves the designer open).
  virtual void store(const DialogModel& dialog) = 0;
  // Esc: close the designer.
  virtual void close() = 0;
  // The main window's status bar: its default text, and with `message` its current message too.
  virtual void setStatus(std::string_view text, bool message) = 0;
  // The properties form, modal, filled with `shown` and checked with checkProperties (and the
  // question "Annullo le modifiche?" on a cancel after a change); the values on confirm,
  // nothing on cancel.
  virtual std::optional<ControlProperties> editProperties(const ControlProperties& shown) = 0;
};

// The width in pixels of a text (UTF-8) drawn in the dialog's font.
using TextMeasure = std::function<int(std::string_view)>;

}  // namespace kolvre
