// Fuzzes the edits of accelerator tables. The input's first four bytes choose an edit and its
// values (which edit, the row, a virtual-key code, a character and the modifiers, an ID); the
// rest is a table's body, read as the body of an ACCELERATORS statement. Rules, for an edit the
// editor does not refuse:
//  - it splices only inside the table's statement;
//  - the table reads back whole, in place, with as many rows as before (one more after an
//    insert, one fewer after a delete), every other row's key, ID and options as they were;
//  - a key set reads back as that key: the code it asked for and, in a VIRTKEY row, its
//    modifiers; setting it again changes nothing;
//  - an ID set reads back as typed; options set read back as asked;
//  - a row set to the key its label shows changes nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "messages/error_record.h"
#include "resources/accelerators.h"
#include "syntax/statements.h"
#include "syntax/symbols.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;
using namespace kolvre;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("accelerator", violation, rule);
}

constexpr std::string_view kHead = "#define ID_X 7\r\nA ACCELERATORS\r\nBEGIN\r\n";
constexpr std::string_view kIds[] = {"5",       "ID_X", "ID_Y", "ID_X + 1",
                                     "VIRTKEY", "0x10", "",     "\"a\""};

AcceleratorReading tableOf(std::string_view text, const SymbolTable& symbols) {
  for (const Statement& s : readStatements(text))
    if (s.kind == StatementKind::Resource) return readAccelerators(text, s, &symbols, {});
  return {};
}

bool sameRow(const Accelerator& a, const Accelerator& b) {
  return a.key == b.key && a.id == b.id && a.options == b.options;
}

// The edit, or nothing where the editor refuses it.
template <typename Make>
std::optional<Edit> attempt(Make make) {
  try {
    return make();
  } catch (const Refusal&) {
    return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const unsigned op = data[0] % 6;
  AcceleratorKey key;
  key.modifiers = (data[0] >> 3) & kAccelModifiers;
  if (data[2] != 0) key.virtualKey = data[2];
  if (data[3] >= 0x20 && data[3] <= 0x7E) key.character = static_cast<char>(data[3]);
  if (!key.virtualKey && !key.character) key.character = 'a';
  const std::string_view id = kIds[data[3] % std::size(kIds)];
  const std::string text =
      std::string(kHead) + std::string(reinterpret_cast<const char*>(data + 4), size - 4);
  SymbolTable symbols;
  readDefines(text, symbols);
  const AcceleratorContext context{&symbols, (data[0] & 0x80) != 0};
  const AcceleratorReading table = tableOf(text, symbols);
  if (!acceleratorTableProblem(text, table).empty()) return 0;
  const std::size_t count = table.rows.size();
  if (count == 0 && op != 4) return 0;
  const std::size_t row = count == 0 ? 0 : data[1] % count;

  std::optional<Edit> edit;
  switch (op) {
    case 0:
      edit = attempt([&] { return setAcceleratorKey(text, table, row, key, context); });
      break;
    case 1:
      edit = attempt([&] { return setAcceleratorId(text, table, row, id, context); });
      break;
    case 2:
      edit = attempt([&] { return setAcceleratorOptions(text, table, row, data[1] & 0x3F); });
      break;
    case 3:
      edit = attempt([&] { return deleteAccelerator(text, table, row); });
      break;
    case 4: {
      const auto after = count == 0 ? std::nullopt : std::optional<std::size_t>(row);
      edit = attempt([&] { return insertAccelerator(text, table, after, key, id, context); });
      break;
    }
    default: {
      // The key the row's label shows, set again.
      const auto shown = parseAcceleratorKey(table.rows[row].label);
      if (!shown || !(table.rows[row].options & kAccelVirtualKey) || !table.rows[row].code)
        return 0;
      edit = attempt([&] { return setAcceleratorKey(text, table, row, *shown, context); });
      if (edit)
        require(unless(edit->splices.empty(),
                       "a key set to its label changed the row " + table.rows[row].key),
                "own label");
      return 0;
    }
  }
  if (!edit) return 0;
  for (const Splice& s : edit->splices)
    require(unless(s.begin >= table.statement.begin && s.end <= table.statement.end,
                   "a splice outside the table"),
            "inside the table");
  const std::string after = applySplices(text, edit->splices);
  SymbolTable symbolsAfter;
  readDefines(after, symbolsAfter);
  const AcceleratorReading again = tableOf(after, symbolsAfter);
  require(unless(acceleratorTableProblem(after, again).empty(),
                 "does not read back: " + acceleratorTableProblem(after, again)),
          "reads back");
  const std::size_t expected = op == 3 ? count - 1 : op == 4 ? count + 1 : count;
  require(unless(again.rows.size() == expected, std::to_string(again.rows.size()) + " rows, " +
                                                    std::to_string(expected) + " expected"),
          "row count");
  if (again.rows.size() != expected) return 0;
  // The rows not edited, in order.
  const std::size_t edited = op == 4 ? (count == 0 ? 0 : row + 1) : row;
  for (std::size_t i = 0, j = 0; i < count; ++i, ++j) {
    if (op == 4 && j == edited) ++j;
    if (op == 3 && i == row) {
      --j;
      continue;
    }
    if (op != 4 && i == row) continue;
    require(unless(sameRow(table.rows[i], again.rows[j]),
                   "row " + std::to_string(i) + " changed: " + again.rows[j].key),
            "other rows");
  }
  if (op == 3) return 0;
  const Accelerator& now = again.rows.at(edited);
  if (op == 1 || op == 4)
    require(unless(now.id == trimBlanks(id), "ID " + now.id + " for " + std::string(id)), "ID set");
  if (op == 2)
    require(
        unless(now.options == (data[1] & 0x3Fu), "options " + acceleratorOptionWords(now.options)),
        "options set");
  if (op == 0 || op == 4) {
    if (now.options & kAccelVirtualKey) {
      require(unless(now.code == key.virtualKey && now.modifiers == key.modifiers,
                     "key " + now.label + " for " + acceleratorKeyLabel(key)),
              "key set");
    } else {
      require(unless(now.code.has_value(), "key " + now.key + " of no code"), "key set");
    }
    if (op == 0) {
      const auto twice = attempt([&] {
        return setAcceleratorKey(after, again, row, key, {&symbolsAfter, context.keyNames});
      });
      require(unless(!twice || twice->splices.empty(), "a key set twice changed the row again"),
              "key set twice");
    }
  }
  return 0;
}
