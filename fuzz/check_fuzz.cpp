// Fuzzes the checks: the input is a script (and, cut in two at its first NUL byte, two scripts
// compared as translations). Rules: every finding has a message; one that names a resource
// names an entry of the index at its offset; a control index stands among that dialog's
// controls.
#include <cstddef>
#include <cstdint>
#include <string>

#include "checks/checks.h"
#include "dialogs/dialog_reader.h"
#include "document/blocks.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("check", violation, rule);
}

// Widths by the byte count, so the rules that measure run too.
class ByteMeasure : public kolvre::FontMeasure {
 public:
  kolvre::TextSize textSize(const kolvre::DialogModel&, std::string_view text,
                            int wrapWidth) const override {
    const int width = 5 * static_cast<int>(text.size());
    if (wrapWidth <= 0 || width <= wrapWidth) return {width, 13};
    return {wrapWidth, 13 * ((width + wrapWidth - 1) / wrapWidth)};
  }
  int chromeWidth(kolvre::ControlClass) const override { return 8; }
};

void checkFindings(const std::string& text, const std::vector<kolvre::Finding>& found) {
  const auto statements = kolvre::readStatements(text);
  const auto index = kolvre::indexResources(text, statements);
  for (const kolvre::Finding& f : found) {
    require(unless(!f.message.empty(), "an empty message"), "message");
    if (f.resource.name.empty()) continue;
    const auto entry = kolvre::findEntry(index, f.resource);
    require(unless(entry && index[*entry].offset == f.offset, f.resource.name), "resource");
    if (!f.controlIndex) continue;
    const auto block = kolvre::blockAt(statements, f.offset);
    require(unless(block.has_value(), "no block"), "dialog");
    if (!block) continue;
    const auto reading = kolvre::readDialog(std::string_view(text).substr(block->begin),
                                            kolvre::DialogMode::Preview);
    require(unless(*f.controlIndex < reading.dialog.controls.size(), f.control), "control");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const ByteMeasure measure;
  checkFindings(input, kolvre::checkScript(input, "", &measure));
  const std::size_t cut = input.find('\0');
  if (cut != std::string::npos) {
    const std::vector<kolvre::ScriptSource> scripts{{"", input.substr(0, cut)},
                                                    {"", input.substr(cut + 1)}};
    const auto found = kolvre::checkScripts(scripts, &measure);
    checkFindings(scripts[1].text, found[1]);
  }
  return 0;
}
