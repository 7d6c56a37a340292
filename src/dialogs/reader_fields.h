// The values of dialog statements as the dialog's reader reads them: number fields, style
// expressions over the script's symbols, texts without their quotes. Shared
// by the reading of the header (dialog_reader.cpp) and of the controls (control_reader.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_model.h"
#include "syntax/symbols.h"

namespace kolvre::reader_fields {

// A number field (trimmed): its value as the dialog template holds it (16 bits, signed), read
// from its leading number (0 when it has none), and whether it is a plain number the writer
// gives back as it stood: decimal digits without leading zeros, a minus for a negative value,
// within 16 bits. With the script's symbols (`symbols` given), a field that is not plain is read
// as an expression over them (evaluate, symbols.h) when it is one; the names it lacks are noted.
struct NumberField {
  int value = 0;
  bool plain = false;
};

NumberField readNumber(std::string_view field, SymbolUse* symbols = nullptr);

// A number field read into a value, keeping its text when it is not plain.
int readKept(std::string_view field, std::optional<KeptText<int>>& kept,
             SymbolUse* symbols = nullptr);

// A style text read with the script's symbols from `base` (evaluate), the names it lacks noted;
// nothing without symbols or when the text is no expression.
std::optional<std::uint32_t> symbolStyle(std::string_view text, std::uint32_t base,
                                         SymbolUse* symbols);

// A name field as a notice or a class table shows it: a quoted one ("Button", L"Button")
// between its quotes, anything else as written.
std::string unquotedName(std::string_view field);

}  // namespace kolvre::reader_fields
