#include "dialogs/reader_fields.h"

#include <cstdint>

#include "base/text.h"
#include "syntax/lexer.h"

namespace kolvre::reader_fields {

namespace {

constexpr std::size_t npos = std::string_view::npos;

}  // namespace

std::string readable(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    if (c == '\t') {
      do out += ' ';
      while (out.size() % 4 != 0);
    } else {
      out += c;
    }
  }
  return std::string(trimSpace(out));
}

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

std::vector<Field> splitFields(std::string_view text) {
  std::vector<Field> fields;
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = text.find(',', at);
    fields.push_back({at, text.substr(at, comma == npos ? npos : comma - at)});
    if (comma == npos) return fields;
    at = comma + 1;
  }
}

std::string tailFrom(std::string_view text, const std::vector<Field>& fields, std::size_t i) {
  return fields.size() > i ? std::string(text.substr(fields[i].at - 1)) : std::string();
}

std::string withoutQuotes(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

std::vector<FieldSpan> fieldSpans(std::string_view raw, std::size_t from) {
  std::vector<FieldSpan> fields;
  std::size_t begin = from;
  for (std::size_t i = from; i <= raw.size(); ++i) {
    // A string is read whole, as the lexer reads it: its commas are no field's end.
    if (i < raw.size() && raw[i] == '"') {
      i = lexing::stringEnd(raw, i) - 1;
      continue;
    }
    if (i < raw.size() && raw[i] != ',') continue;
    FieldSpan field{begin, i};
    while (field.begin < field.end && isSpace(raw[field.begin])) ++field.begin;
    while (field.end > field.begin && isSpace(raw[field.end - 1])) --field.end;
    fields.push_back(field);
    begin = i + 1;
  }
  return fields;
}

}  // namespace kolvre::reader_fields
