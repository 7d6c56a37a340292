// Building dialog blocks for the tests: lines joined by CR LF, none after the last.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kolvre::testing {

inline std::string crlfLines(std::initializer_list<std::string_view> lines) {
  std::string out;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) out += "\r\n";
    out += line;
    first = false;
  }
  return out;
}

// A brace dialog in the writer's own form around the given body lines.
inline std::string ownFormDialog(std::string_view body) {
  std::string out =
      "DLG DIALOG 0, 0, 200, 100\r\n"
      "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
      "CAPTION \"Prova\"\r\n"
      "FONT 8, \"MS Sans Serif\"\r\n"
      "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n"
      "{\r\n";
  out += body;
  if (!body.empty()) out += "\r\n";
  out += "}";
  return out;
}

}  // namespace kolvre::testing
