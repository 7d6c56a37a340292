// Fuzzes the string tables and version resources (src/resources/): arbitrary file bytes are read
// as the editor reads a script, every STRINGTABLE statement and VERSIONINFO resource is read,
// and edits are made to the first of their strings and values. Rules:
//
//   - a table's entries stand in order inside its body, each ID before its literal;
//   - a text set (one of the table's own texts, and one with every escape the writer makes)
//     reads back as that text, the statements keep their number, the other strings read as
//     before, and setting it again changes nothing;
//   - a string added after the first reads back with its ID and text, one entry more; deleting
//     the first leaves one entry fewer;
//   - a version value set (its own key, and a key the block lacks) reads back as that text.
//
// An edit refused (a character the code page lacks, an ID the table holds) is no fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/script_file.h"
#include "messages/error_record.h"
#include "resources/string_tables.h"
#include "resources/version_info.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("string_table", violation, rule);
}

constexpr std::size_t kMostEdits = 4;

// The table of the statement at `place` of `text`.
kolvre::StringTable tableAt(const std::string& text, std::size_t place) {
  const auto statements = kolvre::readStatements(text);
  require(unless(place < statements.size() &&
                     statements[place].kind == kolvre::StatementKind::StringTable,
                 "the table's statement moved"),
          "statements");
  return kolvre::readStringTable(text, statements[place], {});
}

void checkTable(const std::string& text, std::size_t place, const kolvre::StringTable& table) {
  using namespace kolvre;
  std::size_t at = table.bodyBegin;
  for (const StringEntry& entry : table.entries) {
    require(unless(at <= entry.idBegin && entry.idBegin < entry.idEnd &&
                       entry.idEnd <= entry.text.begin && entry.text.begin < entry.text.end &&
                       entry.text.end <= table.end,
                   "an entry out of order"),
            "order");
    at = entry.text.end;
  }
  const std::size_t count = std::min(table.entries.size(), kMostEdits);
  for (std::size_t e = 0; e < count; ++e) {
    for (const std::string& wanted : {table.entries[(e + 1) % table.entries.size()].text.text,
                                      std::string("a\"\"b\\c\td\ne\rf\x01") + "7"}) {
      Edit edit;
      try {
        edit = setStringText(text, table, e, wanted, {});
      } catch (const Refusal&) {
        continue;
      }
      const std::string after = applySplices(text, edit.splices);
      const StringTable again = tableAt(after, place);
      require(unless(again.problem.empty() && again.entries.size() == table.entries.size(),
                     "the table reads otherwise after a text was set"),
              "set");
      for (std::size_t k = 0; k < table.entries.size(); ++k)
        require(unless(again.entries[k].text.text == (k == e ? wanted : table.entries[k].text.text),
                       "a text reads back otherwise"),
                "set");
      require(unless(setStringText(after, again, e, wanted, {}).splices.empty(),
                     "the same text again changes the script"),
              "set");
    }
  }
  if (table.entries.empty()) return;
  try {
    const std::string after =
        applySplices(text, insertString(text, {table}, 0, 0, "65000", "nuova", {}).splices);
    const StringTable again = tableAt(after, place);
    require(unless(again.entries.size() == table.entries.size() + 1 &&
                       again.entries[1].id == "65000" && again.entries[1].text.text == "nuova",
                   "the added string does not read back"),
            "insert");
  } catch (const Refusal&) {
  }
  try {
    const std::string after = applySplices(text, deleteString(text, table, 0).splices);
    require(unless(tableAt(after, place).entries.size() == table.entries.size() - 1,
                   "a deleted string still reads"),
            "delete");
  } catch (const Refusal&) {
  }
}

void checkVersion(const std::string& text, std::size_t place, const kolvre::VersionInfo& info) {
  using namespace kolvre;
  for (std::size_t b = 0; b < std::min(info.blocks.size(), kMostEdits); ++b) {
    const VersionBlock& block = info.blocks[b];
    for (const std::string& key :
         {block.values.empty() ? std::string("Chiave") : block.values.front().key.text,
          std::string("KolvreFuzz")}) {
      Edit edit;
      try {
        edit = setVersionValue(text, info, b, key, "v \"1\"\t\\", {});
      } catch (const Refusal&) {
        continue;
      }
      const std::string after = applySplices(text, edit.splices);
      const auto statements = readStatements(after);
      require(unless(place < statements.size(), "the resource's statement moved"), "version");
      const VersionInfo again = readVersionInfo(after, statements[place], {});
      require(unless(again.problem.empty() && again.blocks.size() == info.blocks.size(),
                     "the resource reads otherwise after a value was set"),
              "version");
      bool found = false;
      for (const VersionValue& value : again.blocks[b].values)
        if (value.key.text == key) {
          found = value.text && value.text->text == "v \"1\"\t\\";
          break;
        }
      require(unless(found, "the value does not read back"), "version");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string text = fromDisk(std::string(reinterpret_cast<const char*>(data), size)).text;
  const auto statements = readStatements(text);
  for (std::size_t i = 0; i < statements.size(); ++i) {
    if (statements[i].kind == StatementKind::StringTable) {
      const StringTable table = readStringTable(text, statements[i], {});
      if (table.problem.empty()) checkTable(text, i, table);
    } else if (statements[i].listed == ResourceType::VersionInfo) {
      const VersionInfo info = readVersionInfo(text, statements[i], {});
      if (info.problem.empty()) checkVersion(text, i, info);
    }
  }
  return 0;
}
