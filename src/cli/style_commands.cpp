// The batch tool's style command: style parse and style text.
#include "cli/commands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "dialogs/dialog_writer.h"
#include "dialogs/styles.h"
#include "syntax/symbols.h"

namespace kolvre::cli {

namespace {

// A family as `style text` names it, and the writer's names for it. What no name covers is
// written as one hexadecimal term, so the text reads back as the number given.
struct StyleFamilyName {
  std::string_view family;
  std::optional<StyleWriter> writer;  // none: the dialog's own names
};

constexpr std::array<StyleFamilyName, 9> kStyleFamilies{{
    {"dialog", std::nullopt},
    {"button", StyleWriter::Button},
    {"combobox", StyleWriter::ComboBox},
    {"edit", StyleWriter::Edit},
    {"listbox", StyleWriter::ListBox},
    {"scrollbar", StyleWriter::ScrollBar},
    {"static", StyleWriter::Static},
    {"systreeview32", StyleWriter::TreeView},
    {"window", StyleWriter::WindowFlags},
}};

}  // namespace

int cmdStyle(Context& c) {
  if (c.args.size() == 2 && c.args[0] == "parse") {
    const auto style = readStyle(c.ui, c.args[1]);
    if (!style) return kFailed;
    std::array<char, 16> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%08X", static_cast<unsigned>(*style));
    c.out << hex.data() << '\n';
    return kOk;
  }
  if (c.args.size() != 3 || c.args[0] != "text") return kUsage;
  const auto family = std::find_if(kStyleFamilies.begin(), kStyleFamilies.end(),
                                   [&](const StyleFamilyName& f) { return f.family == c.args[1]; });
  const auto style = compilerNumber(c.args[2], false);
  if (family == kStyleFamilies.end() || !style) return kUsage;
  c.out << (family->writer ? styleText(*family->writer, *style) : dialogStyleText(*style)) << '\n';
  return kOk;
}

}  // namespace kolvre::cli
