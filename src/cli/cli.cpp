#include "cli/cli.h"

#include <functional>
#include <iostream>
#include <map>

#include "cli/cli_interface.h"
#include "document/blocks.h"
#include "document/document_commands.h"
#include "ui/error_record.h"

namespace kolvre {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr std::string_view kUsageText =
    "uso: kolvre-cli COMANDO FILE [ARGOMENTI]\n"
    "  list FILE                 elenca le risorse: nome, tabulazione, codice del tipo\n"
    "  reorder FILE [-o OUT]     riordina le risorse per tipo e nome\n"
    "  show FILE NOME TIPO       scrive il testo della risorsa (TIPO: DIALOG o D, ...)\n";

struct Context {
  const std::vector<std::string>& args;  // after the command word
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  CliInterface& ui;
};

// Opens FILE through the editor's own reading code; false (with the message) when it fails.
bool openScript(Context& c, const std::string& file, Document& doc) {
  if (!fileExists(file)) {
    c.err << "Impossibile trovare il file " << file << ".\n";
    return false;
  }
  loadDocument(doc, file);
  AGGIORNA(doc, nullptr);
  return true;
}

// A type given as a keyword or a code ("DIALOG" or "D").
std::optional<ResType> parseType(std::string_view word) {
  for (const auto& info : kResTypes)
    if (word == info.keyword || word == info.code) return info.type;
  return std::nullopt;
}

int cmdList(Context& c) {
  if (c.args.size() != 1) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  for (const IndexEntry& e : doc.index) c.out << e.name << '\t' << e.code() << '\n';
  return kOk;
}

int cmdReorder(Context& c) {
  std::string target;
  if (c.args.size() == 3 && c.args[1] == "-o") {
    target = c.args[2];
  } else if (c.args.size() != 1) {
    return kUsage;
  }
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  ORDINARES(doc);
  AGGIORNA(doc, nullptr);
  if (!target.empty()) doc.fileName = target;
  return writeDocument(c.ui, doc) ? kOk : kFailed;
}

int cmdShow(Context& c) {
  if (c.args.size() != 3) return kUsage;
  const auto type = parseType(c.args[2]);
  if (!type) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const std::string& name = c.args[1];
  bool indexed = false;
  for (const IndexEntry& e : doc.index) indexed = indexed || (e.name == name && e.type == *type);
  if (!indexed) {
    c.err << "Risorsa " << name << " non trovata.\n";
    return kFailed;
  }
  const auto block = locateBlock(doc.text, name, *type);
  if (!block) {
    c.err << "Impossibile trovare il testo della risorsa " << name << ".\n";
    return kFailed;
  }
  c.out << toDisk(block->of(doc.text), doc.lineEnds);
  return kOk;
}

const std::map<std::string, std::function<int(Context&)>, std::less<>>& commands() {
  static const std::map<std::string, std::function<int(Context&)>, std::less<>> table{
      {"list", cmdList},
      {"reorder", cmdReorder},
      {"show", cmdShow},
  };
  return table;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    (args.empty() ? err : out) << kUsageText;
    return args.empty() ? kUsage : kOk;
  }
  const auto command = commands().find(args[0]);
  if (command == commands().end()) {
    err << "Comando sconosciuto: " << args[0] << "\n" << kUsageText;
    return kUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  CliInterface ui(err);
  Context context{rest, in, out, err, ui};
  try {
    const int code = command->second(context);
    if (code == kUsage) err << kUsageText;
    out.flush();
    return code;
  } catch (const CommandError& e) {
    err << stopMessage(e.record()).value_or(e.what()) << '\n';
    return kFailed;
  }
}

}  // namespace kolvre
