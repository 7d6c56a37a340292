// Accelerator tables (ACCELERATORS): their rows read, and each key named as the editor shows it
// ("Ctrl+Maiusc+F5", "Ctrl+C" for "^C").
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/statements.h"
#include "syntax/string_literal.h"
#include "syntax/symbols.h"

namespace kolvre {

enum AcceleratorOption : unsigned {
  kAccelVirtualKey = 1 << 0,  // VIRTKEY: the key is a virtual-key code
  kAccelAscii = 1 << 1,       // ASCII, written
  kAccelNoInvert = 1 << 2,    // NOINVERT
  kAccelAlt = 1 << 3,         // ALT
  kAccelShift = 1 << 4,       // SHIFT
  kAccelControl = 1 << 5,     // CONTROL, or a "^X" key
};

// The words of the options, in the order of the table, one blank between.
std::string acceleratorOptionWords(unsigned options);

struct Accelerator {
  std::string key;  // as written: "^C", "a", 65, VK_F5
  std::string id;   // as written
  std::optional<std::uint32_t> idValue;
  unsigned options = 0;    // AcceleratorOption, as written
  std::string label;       // the key as the editor shows it, with its modifiers
  std::size_t offset = 0;  // where the row starts in the text
};

struct AcceleratorReading {
  std::vector<Accelerator> rows;
  std::string problem;  // why the body does not read ("Riga 12: ..."); the rows are then empty
};

// The rows of an ACCELERATORS statement of `text`. Keys and ids take the values of `symbols`
// (may be null) and of the virtual-key names of the system's headers (VK_F5, ...).
AcceleratorReading readAccelerators(std::string_view text, const Statement& statement,
                                    const SymbolTable* symbols, const ScriptCharset& charset);

// The name of virtual key `code` ("F5", "Canc", "A"); "Tasto 0xNN" for a code without a name.
std::string virtualKeyName(std::uint32_t code);

// A key as shown: its modifiers ("Ctrl+", "Alt+", "Maiusc+") before its name.
std::string acceleratorLabel(unsigned options, std::string_view name);

}  // namespace kolvre
