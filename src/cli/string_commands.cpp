// The batch tool's commands over string tables and version information: strings, string-set,
// version and version-set.
#include <algorithm>
#include <cctype>
#include <set>

#include "base/text.h"
#include "cli/commands.h"
#include "document/languages.h"
#include "resources/string_tables.h"
#include "resources/version_info.h"
#include "syntax/symbols.h"
#include "syntax/vocabulary.h"

namespace kolvre::cli {

namespace {

std::string joined(const std::set<std::string>& tags) {
  std::string out;
  for (const std::string& tag : tags)
    out += (out.empty() ? "" : ", ") + (tag.empty() ? "neutra" : tag);
  return out;
}

// The language tag of a StringFileInfo block's name ("040904b0": 0x0409, "en-US"); empty when
// the name does not begin with four hexadecimal digits.
std::string blockLanguage(std::string_view name) {
  if (name.size() < 4) return {};
  unsigned id = 0;
  for (const char c : name.substr(0, 4)) {
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                  : -1;
    if (digit < 0) return {};
    id = id * 16 + static_cast<unsigned>(digit);
  }
  return languageTag(
      {static_cast<std::uint16_t>(id & 0x3FF), static_cast<std::uint16_t>(id >> 10)});
}

// The VERSIONINFO resource NAME of FILE read, then the command on it, with the code page in
// force where the resource stands.
int onVersion(
    Context& c, const std::vector<std::string>& args,
    const std::function<int(Document&, const VersionInfo&, const ScriptCharset&)>& command) {
  const std::vector<std::string> withType{args[0], args[1], "VERSIONINFO"};
  Context inner{withType, c.in, c.out, c.err, c.ui, c.nth, c.measure};
  return onResource(inner, [&](Document& doc, std::size_t, const BlockExtent& block) {
    const auto statement = std::find_if(doc.statements().begin(), doc.statements().end(),
                                        [&](const Statement& s) { return s.begin == block.begin; });
    if (statement == doc.statements().end()) return kFailed;
    const VersionInfo info = readVersionInfo(doc.text(), *statement, stringContext(doc, nullptr));
    // The reader's reason is a message of the program's, already UTF-8: not script bytes.
    if (!info.problem.empty()) {
      c.err << info.problem << "\n";
      return kFailed;
    }
    return command(doc, info,
                   scriptCharsetAt(doc.text(), statement->begin, doc.form().utf16 != Utf16::None));
  });
}

// Sets the fixed field `keyword` to `value`. A field written more than once (in the branches of
// a conditional) is set only to what one of them already is: which one to change is for the
// panel to say.
int setFixedField(Context& c, Document& doc, const VersionInfo& info, const std::string& keyword,
                  const std::string& value) {
  const std::vector<std::size_t> fields = info.fieldsNamed(keyword);
  const StringContext context = stringContext(doc, nullptr);
  if (fields.empty()) {
    c.err << "La risorsa non ha il campo " << keyword << ".\n";
    return kFailed;
  }
  const std::string typed = doc.scriptBytes(value);
  if (fields.size() > 1) {
    for (const std::size_t field : fields)
      if (setVersionField(doc.text(), info, field, typed, context).splices.empty()) return kOk;
    c.err << keyword << " è scritto più volte (righe";
    for (std::size_t i = 0; i < fields.size(); ++i)
      c.err << (i == 0 ? " " : ", ") << lineNumberAt(doc.text(), info.fields[fields[i]].begin);
    c.err << "): si modifica dal pannello della risorsa.\n";
    return kFailed;
  }
  return commitAndSave(c, doc, setVersionField(doc.text(), info, fields.front(), typed, context));
}

}  // namespace

int cmdStrings(Context& c) {
  std::vector<std::string> args = c.args;
  const auto rawAt = std::find(args.begin(), args.end(), "--raw");
  const bool raw = rawAt != args.end();
  if (raw) args.erase(rawAt);
  if (args.size() != 1) return kUsage;
  Document doc;
  if (!openScript(c, args[0], doc)) return kFailed;
  const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
  int code = kOk;
  for (const StringTable& table : documentStringTables(doc, &symbols)) {
    if (!table.problem.empty()) {
      c.err << "Tabella delle stringhe alla riga " << lineNumberAt(doc.text(), table.begin) << ": "
            << table.problem << "\n";
      code = kFailed;
    }
    for (const StringEntry& entry : table.entries)
      c.out << table.language << '\t' << doc.display(entry.id) << '\t'
            << (raw ? entry.text.text : oneLineText(entry.text.text)) << '\n';
  }
  return code;
}

int cmdStringSet(Context& c) {
  std::vector<std::string> args = c.args;
  std::optional<std::string> language;
  if (!takeOption(args, "--lang", language) || args.size() != 3) return kUsage;
  Document doc;
  if (!openScript(c, args[0], doc)) return kFailed;
  const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
  const StringContext context = stringContext(doc, &symbols);
  const std::vector<StringTable> tables = documentStringTables(doc, &symbols);
  // The strings of that ID, by its text as written or by its value.
  StringEntry asked;
  asked.id = doc.scriptBytes(args[1]);
  asked.value = stringIdValue(asked.id, &symbols);
  std::vector<std::pair<std::size_t, std::size_t>> found;
  std::set<std::string> languages;
  for (std::size_t t = 0; t < tables.size(); ++t) {
    if (language && tables[t].language != *language) continue;
    for (std::size_t e = 0; e < tables[t].entries.size(); ++e)
      if (tables[t].entries[e].id == asked.id || sameStringId(tables[t].entries[e], asked)) {
        found.emplace_back(t, e);
        languages.insert(tables[t].language);
      }
  }
  if (found.empty()) {
    c.err << "Stringa " << args[1] << " non trovata";
    if (language) c.err << " nella lingua " << *language;
    c.err << ".\n";
    return kFailed;
  }
  if (languages.size() > 1) {
    c.err << "La stringa " << args[1] << " è in più lingue (" << joined(languages)
          << "): indicarne una con --lang.\n";
    return kFailed;
  }
  // The text as strings prints it. A string of that ID that already has it is left as it is,
  // and so is the script.
  const std::string text = fromOneLine(args[2]);
  for (const auto& [table, entry] : found)
    if (tables[table].entries[entry].text.text == text) return kOk;
  const auto [table, entry] = found.front();
  return commitAndSave(c, doc, setStringText(doc.text(), tables[table], entry, text, context));
}

int cmdVersion(Context& c) {
  if (c.args.size() != 2) return kUsage;
  return onVersion(
      c, c.args, [&](Document& doc, const VersionInfo& info, const ScriptCharset& charset) {
        const auto shown = [&](std::string_view bytes) { return writtenToUtf8(bytes, charset); };
        for (const VersionField& field : info.fields)
          c.out << field.keyword << '\t' << shown(field.value) << '\n';
        for (const VersionBlock& block : info.blocks)
          for (const VersionValue& value : block.values)
            c.out << shown(block.name) << '\t' << shown(value.key.text) << '\t'
                  << shown(value.text ? textAsWritten(doc.text(), *value.text) : value.asWritten)
                  << '\n';
        return kOk;
      });
}

int cmdVersionSet(Context& c) {
  std::vector<std::string> args = c.args;
  std::optional<std::string> language;
  if (!takeOption(args, "--lang", language) || args.size() != 4) return kUsage;
  return onVersion(c, args, [&](Document& doc, const VersionInfo& info, const ScriptCharset&) {
    // A fixed field, named as the script's keyword in capitals ("FileVersion" is a value).
    if (std::find(kVersionFields.begin(), kVersionFields.end(), args[2]) != kVersionFields.end())
      return setFixedField(c, doc, info, args[2], args[3]);
    std::vector<std::size_t> blocks = info.stringBlocks();
    if (language)
      std::erase_if(blocks, [&](std::size_t b) {
        return !equalsIgnoringCase(info.blocks[b].name, *language) &&
               blockLanguage(info.blocks[b].name) != *language;
      });
    if (blocks.size() != 1) {
      std::set<std::string> names;
      for (std::size_t b : info.stringBlocks()) names.insert(doc.display(info.blocks[b].name));
      if (blocks.empty() && language)
        c.err << "Blocco " << *language << " non trovato";
      else if (blocks.empty())
        c.err << "Nessun blocco in StringFileInfo";
      else
        c.err << "Più blocchi in StringFileInfo: indicarne uno con --lang";
      c.err << (names.empty() ? "" : " (" + joined(names) + ")") << ".\n";
      return kFailed;
    }
    return commitAndSave(c, doc,
                         setVersionValue(doc.text(), info, blocks.front(), args[2], args[3],
                                         stringContext(doc, nullptr)));
  });
}

}  // namespace kolvre::cli
