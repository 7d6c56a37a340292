#include "syntax/number_form.h"

#include "syntax/symbols.h"

namespace kolvre {

namespace {

bool isDigitOf(char c, NumberForm::Base base) {
  if (c >= '0' && c <= '7') return true;
  if (base == NumberForm::Octal) return false;
  if (c == '8' || c == '9') return true;
  return base == NumberForm::Hexadecimal && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

}  // namespace

std::optional<NumberForm> numberForm(std::string_view word) {
  if (!compilerNumber(word)) return std::nullopt;
  NumberForm form;
  std::string_view digits = word;
  if (digits.size() > 1 && digits[0] == '0' &&
      (digits[1] == 'x' || digits[1] == 'X' || digits[1] == 'o' || digits[1] == 'O')) {
    form.base = digits[1] == 'x' || digits[1] == 'X' ? NumberForm::Hexadecimal : NumberForm::Octal;
    form.prefix = std::string(digits.substr(0, 2));
    digits.remove_prefix(2);
  } else if (digits.size() > 1 && digits[0] == '0' && digits[1] >= '0' && digits[1] <= '7') {
    form.base = NumberForm::Octal;
    form.prefix = "0";
    digits.remove_prefix(1);
  }
  std::size_t count = 0;
  while (count < digits.size() && isDigitOf(digits[count], form.base)) {
    if (digits[count] >= 'A' && digits[count] <= 'F') form.upperDigits = true;
    ++count;
  }
  form.width = count;
  form.suffix = std::string(digits.substr(count));
  return form;
}

std::string writtenInForm(std::uint32_t value, const NumberForm& form) {
  std::string digits;
  const unsigned radix = form.base == NumberForm::Hexadecimal ? 16
                         : form.base == NumberForm::Octal     ? 8
                                                              : 10;
  const char* const figures = form.upperDigits ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits.insert(digits.begin(), figures[value % radix]);
    value /= radix;
  } while (value != 0);
  // A leading 0 is the octal prefix itself: "0" stays "0".
  if (form.base == NumberForm::Octal && form.prefix == "0" && digits == "0")
    return "0" + form.suffix;
  // A decimal number is never padded: a leading 0 would make it octal.
  if (form.base != NumberForm::Decimal && digits.size() < form.width)
    digits.insert(0, form.width - digits.size(), '0');
  return form.prefix + digits + form.suffix;
}

}  // namespace kolvre
