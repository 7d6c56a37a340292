// Test scripts written with \n, as the files the editor reads have them: with CR LF.
#pragma once

#include <string>
#include <string_view>

namespace kolvre::testing {

inline std::string crlf(std::string_view text) {
  std::string out;
  for (char ch : text) out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  return out;
}

}  // namespace kolvre::testing
