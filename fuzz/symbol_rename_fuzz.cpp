// Fuzzes the symbol list and the rename of a symbol (src/resources/symbol_list.*). The input is
// a script, then (after the first NUL byte) the text of every header the script includes in
// quotes. Rules:
//
//   - every definition and use stands inside its file, on the bytes of the symbol's name, on the
//     line it names;
//   - a rename to a new name, when not refused, changes only the name's words: renamed back, the
//     script and the header are byte for byte what they were;
//   - renamed, the list holds the new name with as many definitions and uses, and not the old.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/edit.h"
#include "messages/error_record.h"
#include "resources/symbol_list.h"
#include "syntax/syntax_tree.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("symbol rename", violation, rule);
}

// The line (from 1) of byte `at`, a line ending with CR LF, a lone LF or a lone CR.
std::size_t lineAt(const std::string& text, std::size_t at) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < at && i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++line;
  return line;
}

struct Files {
  std::string script;
  std::string header;
};

kolvre::SymbolList readList(const Files& files, kolvre::SyntaxTree& tree) {
  tree = kolvre::SyntaxTree(files.script);
  return kolvre::readSymbolList(
      files.script, tree,
      [&](const std::string&) -> std::optional<std::string> { return files.header; });
}

void checkPlaces(const Files& files, const kolvre::SymbolList& list) {
  for (const kolvre::Symbol& symbol : list.symbols) {
    const auto check = [&](const kolvre::SymbolPlace& place) {
      require(unless(place.file < list.files.size(), "a place in a file the list has not"), "file");
      const std::string& text = place.file == 0 ? files.script : files.header;
      require(
          unless(place.begin <= place.end && place.end <= text.size(), "a place outside its file"),
          "inside");
      require(unless(text.compare(place.begin, place.end - place.begin, symbol.name) == 0,
                     "a place on other bytes than " + symbol.name),
              "name");
      require(unless(lineAt(text, place.begin) == place.line,
                     symbol.name + " on another line than its place names"),
              "line");
    };
    for (const kolvre::SymbolDefinition& d : symbol.definitions) check(d.place);
    for (const kolvre::SymbolReference& use : symbol.uses) check(use.place);
  }
}

// The files after `edit`: the script's splices, and the header's when it changes.
Files applied(const Files& files, const kolvre::Edit& edit) {
  Files after{kolvre::applySplices(files.script, edit.splices), files.header};
  for (const kolvre::FileEdit& file : edit.files)
    after.header = kolvre::applySplices(files.header, file.splices);
  return after;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const Files files{input.substr(0, nul),
                    nul == std::string::npos ? std::string() : input.substr(nul + 1)};
  SyntaxTree tree;
  const SymbolList list = readList(files, tree);
  checkPlaces(files, list);
  // Every quoted include is answered with the one header: only one header file may change.
  if (list.files.size() > 2) return 0;
  const std::string fresh = "KVZ_RENAMED_9";
  for (std::size_t s = 0; s < list.symbols.size() && s < 4; ++s) {
    const Symbol& symbol = list.symbols[s];
    Edit there;
    try {
      there = renameSymbolEdit(files.script, tree, list, "s.rc", symbol.name, fresh);
    } catch (const Refusal&) {
      continue;
    }
    const Files renamed = applied(files, there);
    SyntaxTree renamedTree;
    const SymbolList after = readList(renamed, renamedTree);
    checkPlaces(renamed, after);
    const Symbol* now = after.find(fresh);
    require(unless(now && !after.find(symbol.name), symbol.name + " not renamed in the list"),
            "renamed");
    require(unless(now->definitions.size() == symbol.definitions.size() &&
                       now->uses.size() == symbol.uses.size(),
                   symbol.name + " renamed with other definitions or uses"),
            "same uses");
    Edit back;
    try {
      back = renameSymbolEdit(renamed.script, renamedTree, after, "s.rc", fresh, symbol.name);
    } catch (const Refusal& refusal) {
      require(std::string("the rename back refused: ") + refusal.what(), "back");
    }
    const Files again = applied(renamed, back);
    require(unless(again.script == files.script, symbol.name + ": the script changed"),
            "round trip");
    require(unless(again.header == files.header, symbol.name + ": the header changed"),
            "round trip");
  }
  return 0;
}
