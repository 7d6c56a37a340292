// Fuzzes the designer's paste: clipboard text (control lines written by hand or by another
// program) pasted into a small dialog, then copied, deleted and undone. Rules: every control
// the paste adds reads back from the written dialog; undoing the paste gives back the dialog's
// text; a copy of the pasted controls pasted again adds as many controls.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "designer/designer.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "support/scripted_ui.h"

#include "fuzz_check.h"

namespace {

using namespace kolvre;

void require(const std::string& violation, const char* rule) {
  fuzzing::require("designer", violation, rule);
}

using fuzzing::unless;

// The designer's window, reduced to what paste needs: nothing is stored or shown.
class NoHost : public DesignerHost {
 public:
  void store(const DialogModel&) override {}
  void close() override {}
  void setStatus(std::string_view, bool) override {}
  std::optional<ControlProperties> editProperties(const ControlProperties&) override {
    return std::nullopt;
  }
};

constexpr std::string_view kDialog =
    "D DIALOG 0, 0, 200, 120\r\n"
    "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
    "CAPTION \"Prova\"\r\n"
    "FONT 8, \"MS Sans Serif\"\r\n"
    "{\r\n"
    " CONTROL \"OK\", 57, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE, 5, 5, 50, 14\r\n"
    "}";

std::size_t controlsOf(const std::string& block) {
  return readDialog(block).dialog.controls.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  testing::ScriptedUi ui;
  ui.clipboard.assign(reinterpret_cast<const char*>(data), size);
  NoHost host;
  DialogModel dialog = readDialog(kDialog).dialog;
  Designer designer(dialog, ui, host, [](std::string_view text) { return int(text.size()) * 4; });
  DesignerCommands& commands = designer.commands();
  const std::string before = dialogBlock(dialog, "D");
  commands.paste(PixelPoint{20, 40});
  const std::string pasted = dialogBlock(dialog, "D");
  const std::size_t added = dialog.controls.size() - 1;
  require(unless(controlsOf(pasted) == dialog.controls.size(),
                 "the written dialog reads back " + std::to_string(controlsOf(pasted)) +
                     " controls of " + std::to_string(dialog.controls.size())),
          "pasted controls read back");
  if (added > 0) {
    // Every control selected and none current: the copy takes the selection.
    designer.selection().selectAll(true);
    designer.selection().setCurrent(std::nullopt);
    commands.copy();
    commands.paste(std::nullopt);  // by key: at a free place beside the copied ones
    require(unless(dialog.controls.size() == 2 * (added + 1),
                   "a copy of " + std::to_string(added + 1) + " controls pasted " +
                       std::to_string(dialog.controls.size() - added - 1)),
            "a copy pastes as many controls");
    commands.undo();
  }
  commands.undo();
  require(unless(dialogBlock(dialog, "D") == before, "undo left:\n" + dialogBlock(dialog, "D")),
          "undo gives back the dialog");
  return 0;
}
