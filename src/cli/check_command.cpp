// The batch tool's check: every rule over the scripts given, one finding a line or a JSON array.
#include <cstdio>
#include <ostream>

#include "checks/checks.h"
#include "cli/commands.h"
#include "document/document_commands.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "resources/literals.h"
#include "syntax/resource_types.h"

namespace kolvre::cli {

namespace {

// One finding as printed: every field UTF-8, the line counted from 1.
struct PrintedFinding {
  std::string file;
  std::size_t line = 0;
  std::string type;  // the kind's code, or an Other type's own word
  std::string resource;
  std::string language;  // empty when neutral
  std::string control;   // empty when the finding is about the whole resource
  const CheckRuleInfo* rule = nullptr;
  std::string message;
};

PrintedFinding printed(const std::string& file, const Document& doc, const Finding& f) {
  const ResourceKey& key = f.resource;
  // A finding about the whole script (a header it includes) names no resource.
  const bool script = key.name.empty();
  return {file,
          lineNumberAt(doc.text(), f.offset),
          script                            ? std::string()
          : key.type == ResourceType::Other ? doc.display(key.typeWord)
                                            : std::string(typeCode(key.type)),
          doc.display(key.name),
          f.language,
          f.control,
          &ruleInfo(f.rule),
          f.message};
}

std::string jsonOrNull(std::string_view text) {
  return text.empty() ? "null" : jsonString(text);
}

void printJson(std::ostream& out, const std::vector<PrintedFinding>& findings) {
  out << '[';
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const PrintedFinding& f = findings[i];
    out << (i == 0 ? "\n" : ",\n") << "  {\"file\": " << jsonString(f.file)
        << ", \"line\": " << f.line << ", \"type\": " << jsonOrNull(f.type)
        << ", \"resource\": " << jsonOrNull(f.resource)
        << ", \"language\": " << jsonOrNull(f.language)
        << ", \"control\": " << jsonOrNull(f.control) << ", \"rule\": " << jsonString(f.rule->word)
        << ", \"severity\": "
        << jsonString(f.rule->severity == Severity::Error ? "errore" : "avviso")
        << ", \"message\": " << jsonString(f.message) << '}';
  }
  out << (findings.empty() ? "]\n" : "\n]\n");
}

// A field of a line: tabs and line ends would split it, so they become blanks.
std::string field(std::string_view text) {
  std::string out(text);
  for (char& ch : out)
    if (ch == '\t' || ch == '\r' || ch == '\n') ch = ' ';
  return out.empty() ? "-" : out;
}

void printLines(std::ostream& out, const std::vector<PrintedFinding>& findings) {
  for (const PrintedFinding& f : findings)
    out << field(f.file) << '\t' << f.line << '\t'
        << field(f.type.empty() ? f.resource : f.type + " " + f.resource) << '\t'
        << field(f.language) << '\t' << field(f.control) << '\t' << f.rule->word << '\t'
        << field(f.message) << '\n';
}

}  // namespace

// The scripts that read are checked even when another does not: its message goes to standard
// error, the others' findings are printed, and the exit code is 2.
int cmdCheck(Context& c) {
  std::vector<std::string> files;
  bool json = false;
  for (const std::string& arg : c.args) {
    if (arg == "--json")
      json = true;
    else
      files.push_back(arg);
  }
  if (files.empty()) return kUsage;
  std::vector<std::string> read;
  std::vector<Document> docs;
  docs.reserve(files.size());
  bool unreadable = false;
  for (const std::string& file : files) {
    Document doc;
    try {
      if (!isDirectory(file) && fileExists(file)) {
        loadDocument(doc, file);
        read.push_back(file);
        docs.push_back(std::move(doc));
        continue;
      }
      c.err << "Impossibile trovare il file " << file << ".\n";
    } catch (const CommandError& e) {
      c.err << stopMessage(e.record()).value_or(e.what()) << '\n';
    } catch (const Refusal& e) {
      c.err << messageLines(e.what()) << '\n';
    }
    unreadable = true;
  }
  std::vector<ScriptSource> scripts;
  for (const Document& doc : docs)
    scripts.push_back({doc.fileName(), doc.text(), doc.form().utf16 != Utf16::None});
  const FontMeasure* measure = c.measure ? c.measure() : nullptr;
  const std::vector<std::vector<Finding>> found = checkScripts(scripts, measure);
  std::vector<PrintedFinding> findings;
  for (std::size_t i = 0; i < found.size(); ++i)
    for (const Finding& f : found[i]) findings.push_back(printed(read[i], docs[i], f));
  if (json)
    printJson(c.out, findings);
  else
    printLines(c.out, findings);
  if (unreadable) {
    c.reported = true;
    return kUsage;
  }
  return findings.empty() ? kOk : kFailed;
}

}  // namespace kolvre::cli
