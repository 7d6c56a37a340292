#include "cli/cli.h"

#include <functional>
#include <iostream>
#include <iterator>
#include <map>

#include "cli/cli_interface.h"
#include "document/blocks.h"
#include "document/document_commands.h"
#include "document/resource_commands.h"
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
    "  show FILE NOME TIPO       scrive il testo della risorsa (TIPO: DIALOG o D, ...)\n"
    "  rename FILE NOME TIPO NUOVONOME\n"
    "                            rinomina la risorsa\n"
    "  delete FILE NOME TIPO     elimina la risorsa\n"
    "  new FILE TIPO NOME        aggiunge una nuova risorsa (24, VERSIONINFO, BITMAP, CURSOR,\n"
    "                            DIALOG, ICON)\n"
    "  paste FILE [NUOVONOME]    aggiunge la risorsa letta dallo standard input\n"
    "  replace FILE NOME TIPO    sostituisce il testo della risorsa con lo standard input\n";

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

// The list of a batch run: it only keeps the current row.
class CliList : public ResourceList {
 public:
  void bind(const ResourceIndex&) override { row_ = 1; }
  void setCurrentRow(int row) override { row_ = row; }
  int currentRow() const override { return row_; }
  void stabilize() override {}
  void clearStatusText() override {}

 private:
  int row_ = 1;
};

// Makes the resource NAME of TYPE the current entry; false (with the message) when it is not
// in the index.
bool selectResource(Context& c, const Document& doc, CliList& list, const std::string& name,
                    ResType type) {
  for (std::size_t i = 0; i < doc.index.size(); ++i) {
    if (doc.index[i].name == name && doc.index[i].type == type) {
      list.setCurrentRow(static_cast<int>(i) + 1);
      return true;
    }
  }
  c.err << "Risorsa " << name << " non trovata.\n";
  return false;
}

std::string readAll(std::istream& in) {
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Opens FILE, selects NAME TYPE when given, runs the command and saves FILE when it changed
// the script.
int editScript(Context& c, const std::string* name, const std::string* typeWord,
               const std::function<bool(Document&, CliList&)>& command) {
  std::optional<ResType> type;
  if (typeWord && !(type = parseType(*typeWord))) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  CliList list;
  if (name && !selectResource(c, doc, list, *name, *type)) return kFailed;
  if (!command(doc, list)) return c.ui.messageShown() ? kFailed : kOk;
  return writeDocument(c.ui, doc) ? kOk : kFailed;
}

int cmdRename(Context& c) {
  if (c.args.size() != 4) return kUsage;
  c.ui.queueAnswer(c.args[3]);
  return editScript(c, &c.args[1], &c.args[2],
                    [&](Document& doc, CliList& list) { return RINORIS(c.ui, doc, list); });
}

int cmdDelete(Context& c) {
  if (c.args.size() != 3) return kUsage;
  return editScript(c, &c.args[1], &c.args[2],
                    [&](Document& doc, CliList& list) { return ELIMRIS(c.ui, doc, list, false); });
}

int cmdNew(Context& c) {
  if (c.args.size() != 3) return kUsage;
  const std::string& kind = c.args[1];
  if (!parseType(kind) || kind.size() < 2) return kUsage;  // a keyword, not a code
  c.ui.queueAnswer(c.args[2]);
  return editScript(c, nullptr, nullptr,
                    [&](Document& doc, CliList& list) { return NUOVARIS(c.ui, doc, list, kind); });
}

int cmdPaste(Context& c) {
  if (c.args.size() != 1 && c.args.size() != 2) return kUsage;
  std::string clip = readAll(c.in);
  if (c.args.size() == 2) {
    c.ui.queueAnswer(c.args[1]);
  } else {
    // Without a new name the pasted one is kept, checked as if typed.
    std::size_t i = 0;
    while (i < clip.size() && clip[i] == ' ') ++i;
    std::size_t j = i;
    while (j < clip.size() && clip[j] != ' ') ++j;
    c.ui.queueAnswer(clip.substr(i, j - i));
  }
  c.ui.setClipboard(std::move(clip));
  return editScript(c, nullptr, nullptr,
                    [&](Document& doc, CliList& list) { return INCOLLARIS(c.ui, doc, list); });
}

int cmdReplace(Context& c) {
  if (c.args.size() != 3) return kUsage;
  std::string edited = readAll(c.in);
  return editScript(c, &c.args[1], &c.args[2], [&](Document& doc, CliList& list) {
    return replaceResourceText(c.ui, doc, list, static_cast<std::size_t>(list.currentRow() - 1),
                               std::move(edited));
  });
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
    c.err << unlocatableMessage(name) << "\n";
    return kFailed;
  }
  c.out << toDisk(block->of(doc.text), doc.lineEnds);
  return kOk;
}

const std::map<std::string, std::function<int(Context&)>, std::less<>>& commands() {
  static const std::map<std::string, std::function<int(Context&)>, std::less<>> table{
      {"delete", cmdDelete}, {"list", cmdList},       {"new", cmdNew},         {"paste", cmdPaste},
      {"rename", cmdRename}, {"reorder", cmdReorder}, {"replace", cmdReplace}, {"show", cmdShow},
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
