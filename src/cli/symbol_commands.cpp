// The batch tool's commands over the script's symbols: symbols and symbol-rename.
#include <algorithm>
#include <ostream>

#include "cli/commands.h"
#include "resources/symbol_list.h"

namespace kolvre::cli {

namespace {

// A file of the list as printed: the script as named on the command line, a header by its path
// from the script's folder.
std::string fileLabel(const SymbolList& list, std::size_t file, const std::string& script) {
  return file == 0 ? script : list.files[file];
}

// A value on one line of tab-separated fields: tabs and line ends become blanks.
std::string oneField(std::string text) {
  for (char& ch : text)
    if (ch == '\t' || ch == '\r' || ch == '\n') ch = ' ';
  return text;
}

std::string marks(const Symbol& symbol) {
  std::string out;
  if (symbol.unused()) out = "non usato";
  if (!symbol.sameValue.empty()) {
    out += out.empty() ? "stesso valore di " : "; stesso valore di ";
    for (std::size_t i = 0; i < symbol.sameValue.size(); ++i)
      out += (i == 0 ? "" : ", ") + symbol.sameValue[i];
  }
  return out.empty() ? "-" : out;
}

void printJson(std::ostream& out, const SymbolList& list, const std::string& script) {
  out << '[';
  bool first = true;
  for (const Symbol& symbol : list.symbols)
    for (const SymbolDefinition& definition : symbol.definitions) {
      out << (first ? "\n" : ",\n") << "  {\"name\": " << jsonString(symbol.name)
          << ", \"value\": " << jsonString(definition.value) << ", \"number\": ";
      first = false;
      if (definition.number)
        out << *definition.number;
      else
        out << "null";
      out << ", \"file\": " << jsonString(fileLabel(list, definition.place.file, script))
          << ", \"line\": " << definition.place.line
          << ", \"unused\": " << (symbol.unused() ? "true" : "false") << ", \"sameValue\": [";
      for (std::size_t i = 0; i < symbol.sameValue.size(); ++i)
        out << (i == 0 ? "" : ", ") << jsonString(symbol.sameValue[i]);
      out << "], \"uses\": [";
      for (std::size_t i = 0; i < symbol.uses.size(); ++i) {
        const SymbolReference& use = symbol.uses[i];
        out << (i == 0 ? "" : ", ")
            << "{\"file\": " << jsonString(fileLabel(list, use.place.file, script))
            << ", \"line\": " << use.place.line
            << ", \"kind\": " << jsonString(symbolUseKindName(use.kind)) << '}';
      }
      out << "]}";
    }
  out << (first ? "]\n" : "\n]\n");
}

}  // namespace

int cmdSymbols(Context& c) {
  std::vector<std::string> args = c.args;
  const auto jsonAt = std::find(args.begin(), args.end(), "--json");
  const bool json = jsonAt != args.end();
  if (json) args.erase(jsonAt);
  if (args.size() != 1) return kUsage;
  Document doc;
  if (!openScript(c, args[0], doc)) return kFailed;
  const SymbolList list = documentSymbols(doc);
  if (json) {
    printJson(c.out, list, args[0]);
    return kOk;
  }
  for (const Symbol& symbol : list.symbols)
    for (const SymbolDefinition& definition : symbol.definitions)
      c.out << doc.display(symbol.name) << '\t' << doc.display(oneField(definition.value)) << '\t'
            << fileLabel(list, definition.place.file, args[0]) << ':' << definition.place.line
            << '\t' << symbol.uses.size() << '\t' << marks(symbol) << '\n';
  return kOk;
}

int cmdSymbolRename(Context& c) {
  if (c.args.size() != 3) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  return commitAndSave(c, doc,
                       renameSymbol(doc, doc.scriptBytes(c.args[1]), doc.scriptBytes(c.args[2])));
}

}  // namespace kolvre::cli
