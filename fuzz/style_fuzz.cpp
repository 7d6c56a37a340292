// Fuzzes the style texts: an arbitrary text is read with parseStyle, and so is the same text with
// every byte from 0x80 up standing for a flag name of kStyleNames (odd bytes in small letters),
// so that the search reaches the names without a dictionary. For every number read, the text
// each writer makes must read again, give no bit the number did not hold, and, written and read
// once more, stay the same number.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/text.h"
#include "dialogs/styles.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("style", violation, rule);
}

std::string windowText(std::uint32_t style, bool dialog) {
  std::string text = kolvre::windowStyleNames(style, dialog);
  if (!text.empty()) {
    require(unless(text.ends_with(" | "), "window flags without a final separator: " + text),
            "window");
    text.resize(text.size() - 3);
  }
  return text;
}

struct Writer {
  const char* family;
  std::string (*text)(std::uint32_t style);
};

constexpr Writer kWriters[] = {
    {"dialog", kolvre::dialogStyleNames},
    {"button", kolvre::buttonStyleNames},
    {"combobox", kolvre::comboBoxStyleNames},
    {"edit", kolvre::editStyleNames},
    {"listbox", kolvre::listBoxStyleNames},
    {"scrollbar", kolvre::scrollBarStyleNames},
    {"static", kolvre::staticStyleNames},
    {"systreeview32", kolvre::treeViewStyleNames},
    {"window", [](std::uint32_t style) { return windowText(style, false); }},
    {"dialog window", [](std::uint32_t style) { return windowText(style, true); }},
};

std::string hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

void checkWriters(std::uint32_t style) {
  for (const Writer& w : kWriters) {
    const std::string text = w.text(style);
    const std::string where = std::string(w.family) + " " + hex(style) + ": \"" + text + "\"";
    const auto again = kolvre::parseStyle(text);
    require(unless(again.has_value(), "written text does not read: " + where), "reads");
    require(unless((*again & ~style) == 0, "written text adds bits: " + where), "no new bits");
    const std::string second = w.text(*again);
    require(unless(kolvre::parseStyle(second) == again,
                   "second round changed the number: " + where + " then \"" + second + "\""),
            "stable");
  }
}

void check(const std::string& text) {
  const auto style = kolvre::parseStyle(text);
  if (!style) return;
  require(unless(kolvre::parseStyle(hex(*style)) == style,
                 "its number reads otherwise: " + hex(*style)),
          "number");
  checkWriters(*style);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  check(raw);
  std::string named;
  for (unsigned char byte : raw) {
    if (byte < 0x80) {
      named += static_cast<char>(byte);
      continue;
    }
    const auto& row = kolvre::kStyleNames[((byte - 0x80u) >> 1) % kolvre::kStyleNames.size()];
    named += (byte & 1) != 0 ? kolvre::lowerAscii(row.name) : std::string(row.name);
  }
  check(named);
  return 0;
}
