// How a number is written in the script (its base, the case of its prefix and digits, its
// width, its L suffix), and a value written the same way: an edit that changes a number keeps
// the form the author gave it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvre {

struct NumberForm {
  enum Base : std::uint8_t { Decimal, Hexadecimal, Octal } base = Decimal;
  std::string prefix;        // "0x", "0X", "0", "0o" or nothing, as written
  bool upperDigits = false;  // hexadecimal digits A-F in capitals
  std::size_t width = 0;     // the digits written, leading zeros included
  std::string suffix;        // "L", "l" or nothing
};

// The form of `word`, a number as compilerNumber reads it; nothing for anything else.
std::optional<NumberForm> numberForm(std::string_view word);

// `value` in `form`: the same base, prefix, case and suffix; a hexadecimal or octal number padded
// with zeros to the width written when that was more than the digits needed (0x0001 stays four
// digits wide), a decimal one never (91 set to 8 is 8, not the octal 08).
std::string writtenInForm(std::uint32_t value, const NumberForm& form);

}  // namespace kolvre
