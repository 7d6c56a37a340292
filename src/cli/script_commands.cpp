// The batch tool's commands on the script and its resources as text: list, reorder, show,
// rename, delete, replace, new and paste.
#include "cli/commands.h"

#include <istream>
#include <iterator>

#include "document/document_commands.h"
#include "document/name_prompt.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "document/templates.h"
#include "messages/messages.h"
#include "resources/string_tables.h"
#include "syntax/syntax_tree.h"

namespace kolvre::cli {

namespace {

// A name given on the command line, checked as the name prompt checks a typed one; nothing
// (with the prompt's message) when the prompt would refuse it. `renamed`: the entry a rename
// names, which may take its own name in other letters.
std::optional<std::string> acceptedName(Context& c, const Document& doc, std::string_view given,
                                        std::string_view typeWord,
                                        std::optional<std::size_t> renamed = std::nullopt) {
  const std::string typed = typedName(given);
  const std::string refusal = nameRefusal(doc.index(), typed, typeWord, doc.encoding(), renamed);
  if (!refusal.empty()) {
    c.err << refusal << "\n";
    return std::nullopt;
  }
  return doc.scriptBytes(typed);
}

// Standard input whole, as a file is read: without a final end-of-file mark.
std::string readAll(std::istream& in) {
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  dropEndOfFileMark(bytes);
  return bytes;
}

// Text from standard input in the document's form: a UTF-16 text (with its byte-order mark,
// as `show` prints it from a UTF-16 script) decoded, LF line ends made CR LF.
std::string readText(std::istream& in) {
  return fromDisk(readAll(in)).text;
}

}  // namespace

int cmdRename(Context& c) {
  if (c.args.size() != 4) return kUsage;
  return onResource(c, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    if (doc.index()[position].type == ResourceType::StringTable) {
      c.err << kUnnamedMessage << "\n";
      return kFailed;
    }
    const auto name = acceptedName(c, doc, c.args[3], doc.index()[position].keyword(), position);
    if (!name) return kFailed;
    return commitAndSave(c, doc, renameEdit(doc.index(), position, block, *name));
  });
}

int cmdDelete(Context& c) {
  if (c.args.size() != 3) return kUsage;
  return onResource(c, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    if (!block.complete) {
      c.err << unclosedMessage(doc.display(doc.index()[position].name)) << "\n";
      return kFailed;
    }
    const auto edit = deleteEdit(doc.text(), doc.index(), position, block);
    if (!edit) {
      c.err << joinsNeighboursMessage(doc.display(doc.index()[position].name)) << "\n";
      return kFailed;
    }
    return commitAndSave(c, doc, *edit);
  });
}

int cmdReplace(Context& c) {
  if (c.args.size() != 3) return kUsage;
  std::string edited = readText(c.in);
  return onResource(c, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    const auto edit = replaceEdit(doc.text(), doc.index(), position, block, std::move(edited));
    return edit ? commitAndSave(c, doc, *edit) : kOk;
  });
}

int cmdNew(Context& c) {
  // FILE TIPO NOME [--file F]
  std::string file;
  bool namesFile = false;
  if (c.args.size() == 5 && c.args[3] == "--file") {
    file = c.args[4];
    namesFile = true;
  } else if (c.args.size() != 3) {
    return kUsage;
  }
  const std::string& kind = c.args[1];
  const auto type = parseType(kind);
  // A keyword, not a code, of a kind with a template.
  if (!type || kind.size() < 2 || typeInfo(*type).newLabel.empty()) return kUsage;
  const ResourceTypeInfo& info = typeInfo(*type);
  if (namesFile && info.fileTemplate.empty()) return kUsage;
  if (const auto fault = newFileNameFault(file, info.bodyTemplate.empty())) {
    c.err << *fault << "\n";
    return kFailed;
  }
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  std::optional<Edit> edit;
  std::string shownName = c.args[2];
  if (*type == ResourceType::StringTable) {
    // Its name is its first ID.
    const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
    edit = newStringTableEdit(doc.text(), doc.statements(), doc.scriptBytes(c.args[2]),
                              stringContext(doc, &symbols));
  } else {
    const auto name = acceptedName(c, doc, c.args[2], info.keyword);
    if (!name) return kFailed;
    shownName = doc.display(*name);
    edit = newResourceEdit(doc.text(), doc.statements(), *type, *name,
                           fromDisplay(trimBlanks(file), doc.encoding()));
  }
  if (!edit) {
    c.err << noPlaceMessage(shownName) << "\n";
    return kFailed;
  }
  return commitAndSave(c, doc, *edit);
}

int cmdPaste(Context& c) {
  if (c.args.size() != 1 && c.args.size() != 2) return kUsage;
  const std::string pasted = readText(c.in);
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  // A string table has no name: it goes in as given.
  if (const std::optional<ResourceKey> key = keyOfText(pasted);
      key && key->type == ResourceType::StringTable) {
    if (c.args.size() == 2) return kUsage;
    const auto edit = appendEdit(doc.text(), pasted, kLabelPaste);
    if (!edit) {
      c.err << noPlaceMessage("STRINGTABLE") << "\n";
      return kFailed;
    }
    return commitAndSave(c, doc, *edit);
  }
  const HeaderTokens tokens = firstTwoTokens(pasted);
  if (tokens.type.empty()) {
    c.err << kNothingToPasteMessage << "\n";
    return kFailed;
  }
  // Without a new name the pasted one is kept, checked as if typed.
  const std::string given = c.args.size() == 2 ? c.args[1] : doc.display(tokens.name);
  const auto name = acceptedName(c, doc, given, pastedTypeWord(pasted));
  if (!name) return kFailed;
  const auto edit = appendEdit(doc.text(), pastedBlock(pasted, *name), kLabelPaste);
  if (!edit) {
    c.err << noPlaceMessage(doc.display(*name)) << "\n";
    return kFailed;
  }
  return commitAndSave(c, doc, *edit);
}

int cmdList(Context& c) {
  const bool six = c.args.size() == 2 && c.args[1] == "--six";
  if (c.args.size() != 1 && !six) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  if (six) doc.setListedKinds(ListedKinds::CreatableOnly);
  for (const IndexEntry& e : doc.index()) {
    c.out << doc.display(e.name) << '\t' << doc.display(e.code());
    const std::string_view language = six ? std::string_view() : std::string_view(e.language);
    if (!language.empty() || e.inactive) c.out << '\t' << language;
    if (e.inactive) c.out << "\tinattivo";
    c.out << '\n';
  }
  return kOk;
}

int cmdTree(Context& c) {
  if (c.args.size() != 1) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  c.out << dumpTree(doc.text());
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
  Edit edit;
  edit.reorderAll = true;
  doc.commit(edit);
  if (target == "-") {
    c.out << doc.diskBytes();
    return kOk;
  }
  if (!target.empty()) doc.setFileName(target);
  return writeDocument(c.ui, doc) ? kOk : kFailed;
}

int cmdShow(Context& c) {
  if (c.args.size() != 3) return kUsage;
  return onResource(c, [&](Document& doc, std::size_t, const BlockExtent& block) {
    c.out << toDisk(block.of(doc.text()), doc.form());
    return kOk;
  });
}

}  // namespace kolvre::cli
