// The batch tool's style command: style parse and style text.
#include "cli/commands.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "dialogs/styles.h"

namespace kolvre::cli {

namespace {

// The window flags alone, as written for a control that has no family of names.
std::string windowStyleText(std::uint32_t style) {
  std::string text = windowStyleNames(style);
  text.resize(text.size() < 3 ? 0 : text.size() - 3);  // no separator after the last name
  return text;
}

struct StyleWriter {
  std::string_view family;  // as given to `style text`
  std::string (*text)(std::uint32_t style);
};

constexpr std::array<StyleWriter, 9> kStyleWriters{{
    {"dialog", dialogStyleNames},
    {"button", buttonStyleNames},
    {"combobox", comboBoxStyleNames},
    {"edit", editStyleNames},
    {"listbox", listBoxStyleNames},
    {"scrollbar", scrollBarStyleNames},
    {"static", staticStyleNames},
    {"systreeview32", treeViewStyleNames},
    {"window", windowStyleText},
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
  const auto writer = std::find_if(kStyleWriters.begin(), kStyleWriters.end(),
                                   [&](const StyleWriter& w) { return w.family == c.args[1]; });
  const auto style = parseStyleNumber(c.args[2]);
  if (writer == kStyleWriters.end() || !style) return kUsage;
  c.out << writer->text(*style) << '\n';
  return kOk;
}

}  // namespace kolvre::cli
