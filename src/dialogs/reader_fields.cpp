#include "dialogs/reader_fields.h"

#include <cstdint>

#include "base/text.h"
#include "syntax/lexer.h"
#include "syntax/vocabulary.h"

namespace kolvre::reader_fields {

NumberField readNumber(std::string_view field, SymbolUse* symbols) {
  std::size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  const std::size_t firstDigit = i;
  long long magnitude = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
    if (magnitude < 1000000) magnitude = magnitude * 10 + (field[i] - '0');
    ++i;
  }
  const std::size_t digits = i - firstDigit;
  const long long value = negative ? -magnitude : magnitude;
  NumberField n;
  n.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
  n.plain = digits > 0 && i == field.size() && field[0] != '+' &&
            (digits == 1 || field[firstDigit] != '0') && !(negative && magnitude == 0) &&
            value == n.value;
  // Anything else is an expression, its numbers read as the symbols' evaluator reads them
  // (0x1F, 010 in octal), with or without the script's symbols.
  if (!n.plain) {
    const Evaluation e = evaluate(field, symbols ? symbols->table : nullptr);
    if (e.value) n.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(*e.value & 0xFFFF));
    if (symbols) symbols->note(e.undefined);
  }
  return n;
}

int readKept(std::string_view field, std::optional<KeptText<int>>& kept, SymbolUse* symbols) {
  const NumberField n = readNumber(field, symbols);
  if (!n.plain) kept = KeptText<int>{std::string(field), n.value};
  return n.value;
}

std::optional<std::uint32_t> symbolStyle(std::string_view text, std::uint32_t base,
                                         SymbolUse* symbols) {
  if (!symbols) return std::nullopt;
  const Evaluation e = evaluate(text, symbols->table, base);
  symbols->note(e.undefined);
  return e.value;
}

std::string unquotedName(std::string_view field) {
  return std::string(quotedText(field, true).value_or(field));
}

}  // namespace kolvre::reader_fields
