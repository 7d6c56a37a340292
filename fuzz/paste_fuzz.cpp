// Fuzzes pasting clipboard text as a new resource (pasteResource) into a script loaded from file
// bytes (Document::load), with an observer following the current entry. The input is the file's
// bytes, a 0x00 byte, the clipboard text and, after a second 0x00 byte, the name the user types;
// without that part the user confirms the name the prompt shows, and an input without any 0x00 byte
// is pasted into itself. A refused name is followed by "NEWNAME", then by a cancel. Any broken rule
// stops the run with the rule's description on standard error.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"
#include "document/document.h"
#include "document/name_prompt.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "support/current_entry.h"
#include "support/reorder_invariants.h"
#include "support/scripted_ui.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using namespace kolvre;

void require(const std::string& violation, const char* rule) {
  fuzzing::require("paste", violation, rule);
}

using fuzzing::unless;

// The scripted user, who may also confirm the first prompt exactly as it is shown.
class PasteUi : public testing::ScriptedUi {
 public:
  bool confirmShown = false;
  std::vector<std::string> confirmed;  // the field's text at each confirmation, in order

  bool inputBox(std::string_view title, std::string_view prompt, std::string& value,
                std::size_t maxLength) override {
    if (confirmShown && prompts.empty()) {
      prompts.push_back(value);
    } else if (!ScriptedUi::inputBox(title, prompt, value, maxLength)) {
      return false;
    }
    confirmed.push_back(value);
    return true;
  }
};

// The name the prompt makes of a confirmed field: the first kMaxNameLength characters (the
// field may hold more when the name shown took more bytes than characters), trailing blanks
// dropped, a to z upper-cased. Blanks inside those characters stay and get the name refused.
std::string nameOfField(const std::string& field) {
  std::size_t end = 0, seen = 0;
  while (end < field.size()) {
    if ((static_cast<unsigned char>(field[end]) & 0xC0) != 0x80 && seen++ == kMaxNameLength) break;
    ++end;
  }
  std::string name = field.substr(0, end);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return upperAscii(name);
}

// The clipboard text cut where the paste cuts it: blanks (only blanks) end the first token,
// the pasted name, and the type token after it; the rest is the body.
struct PastedParts {
  std::string_view type;      // the type token
  std::string_view fromType;  // the type token and the body
};

PastedParts splitPasted(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  while (i < text.size() && text[i] != ' ') ++i;
  while (i < text.size() && text[i] == ' ') ++i;
  std::size_t end = i;
  while (end < text.size() && text[end] != ' ') ++end;
  return {text.substr(i, end - i), text.substr(i)};
}

std::vector<std::pair<std::string, ResourceType>> indexPairs(const ResourceIndex& index) {
  std::vector<std::pair<std::string, ResourceType>> pairs;
  for (const IndexEntry& e : index) pairs.emplace_back(e.name, e.type);
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

// The document's index is the index of its text, no entry has an empty name, and the current
// row lies in the list.
std::string checkIndexCurrent(const Document& doc, const testing::CurrentEntry& list) {
  if (doc.index() != indexResources(doc.text())) return "index differs from the index of the text";
  for (const IndexEntry& e : doc.index())
    if (e.name.empty()) return "index entry with an empty name";
  if (!doc.index().empty() && !list.position())
    return "current row " + std::to_string(list.row) + " outside the list";
  return {};
}

// What the prompt promises of an accepted name (as script bytes): not empty, upper case, no
// blank, tab, CR or LF, and no entry under the same name, letter case aside, as the compilers
// compare names (seed case_variant_name.bin), whose type the type token's first word names: its
// keyword in any case (DIALOGEX and RT_MANIFEST too), or an Other type's own word. A name
// typed with an overlong UTF-8 form of a line feed or a small letter is held to them too (seeds
// overlong_*.bin).
std::string checkAcceptedName(const std::string& name, const ResourceIndex& before,
                              std::string_view typeToken) {
  if (name.empty()) return "empty name accepted";
  if (name.find_first_of(" \t\r\n") != std::string::npos)
    return "name with a blank or line break accepted";
  if (name != upperAscii(name)) return "name not in upper case";
  const std::string_view word = Lexer(typeToken).nextCode().of(typeToken);
  const auto names = [&](const IndexEntry& e) {
    return equalsIgnoringCase(word, e.keyword()) ||
           (e.type == ResourceType::Dialog && equalsIgnoringCase(word, "DIALOGEX")) ||
           (e.type == ResourceType::Manifest && equalsIgnoringCase(word, "RT_MANIFEST"));
  };
  for (const IndexEntry& e : before)
    if (sameName(e.name, name) && names(e))
      return "duplicate name " + testing::detail::excerpt(name) + " accepted";
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string_view script = input;
  std::string_view clipboard = input;
  std::optional<std::string_view> typed;
  if (const std::size_t nul = input.find('\0'); nul != std::string_view::npos) {
    script = input.substr(0, nul);
    clipboard = input.substr(nul + 1);
    if (const std::size_t second = clipboard.find('\0'); second != std::string_view::npos) {
      typed = clipboard.substr(second + 1);
      clipboard = clipboard.substr(0, second);
    }
  }

  Document doc;
  testing::CurrentEntry list{doc};
  doc.load({}, std::string(script));
  require(checkIndexCurrent(doc, list), "index before the paste");

  PasteUi ui;
  ui.clipboard = std::string(clipboard);
  ui.confirmShown = !typed;
  if (typed) ui.inputs.emplace_back(std::string(*typed));
  ui.inputs.emplace_back("NEWNAME");
  ui.inputs.emplace_back(std::nullopt);

  const std::string before = doc.text();
  const ResourceIndex indexBefore = doc.index();
  const int changesBefore = list.changes;
  const bool pasted = pasteResource(ui, doc, list.position());

  // The clipboard holds characters; the paste works on them as script bytes.
  const std::string text = withCrLf(fromDisplay(ui.clipboard, doc.encoding()));
  const PastedParts parts = splitPasted(text);
  require(unless(!parts.type.empty() || ui.prompts.empty(), "name asked for without a type token"),
          "no resource, no question");
  if (!pasted) {
    require(unless(doc.text() == before, "text changed"), "unchanged when nothing is pasted");
    require(unless(doc.index() == indexBefore, "index changed"),
            "unchanged when nothing is pasted");
    require(unless(list.changes == changesBefore, "observer told of a change"),
            "unchanged when nothing is pasted");
    require(unless(!doc.canUndo(), "a step to undo"), "unchanged when nothing is pasted");
    return 0;
  }
  require(checkIndexCurrent(doc, list), "index after the paste");
  require(unless(list.changes == changesBefore + 1 && list.last &&
                     list.last->kind == DocumentChange::Kind::Edited,
                 "observer told " + std::to_string(list.changes - changesBefore) + " times"),
          "one change reported");
  require(unless(doc.undoLabel() == kLabelPaste, "undo names " + std::string(doc.undoLabel())),
          "one step to undo");
  // A string table the text begins with, its body closed, goes in as copied: it has no name to
  // ask for (seed string_table_after_other_text.bin: one after other text is no resource).
  const std::vector<Statement> copied = readStatements(text);
  const auto first = std::find_if(copied.begin(), copied.end(), [](const Statement& s) {
    return s.kind != StatementKind::Comment;
  });
  if (first != copied.end() && first->kind == StatementKind::StringTable) {
    require(unless(first->complete, "string table pasted with its body open"),
            "string table whole");
    require(unless(ui.prompts.empty(), "name asked for a string table"), "string table as copied");
    require(testing::checkInserted(before, text, doc.text()), "string table put in");
    return 0;
  }
  require(unless(!parts.type.empty(), "pasted without a type token"), "type token");
  require(unless(!ui.confirmed.empty(), "pasted without a confirmed name"), "name confirmed");
  // The prompt takes characters and the script holds bytes in its own encoding.
  const std::string typedName = nameOfField(ui.confirmed.back());
  const std::string name = fromDisplay(typedName, doc.encoding());
  require(checkAcceptedName(name, indexBefore, parts.type), "accepted name");

  // The old text around the pasted block, which goes in whole on lines of its own at its place,
  // in a text that holds a statement left open too: there it goes where it leaves that statement
  // as it read, or not at all (seed block_becomes_body_of_open_header.bin).
  const std::string block = name + " " + std::string(parts.fromType);
  require(testing::checkInserted(before, block, doc.text()), "block put in");

  // A block that starts with a listed resource statement under the accepted name: that
  // resource is indexed and current.
  // (Not after a text that leaves a statement open at its end: that statement reads it.)
  const std::vector<Statement> own = readStatements(block);
  if (testing::detail::endsClosed(before) && !own.empty() && own.front().begin == 0 &&
      own.front().listed && own.front().name(block) == name) {
    const ResourceType type = *own.front().listed;
    bool found = false;
    for (const IndexEntry& e : doc.index()) found = found || (e.name == name && e.type == type);
    require(unless(found, "no entry " + testing::detail::excerpt(name) + " " +
                              std::string(typeCode(type))),
            "pasted resource indexed");
    const IndexEntry& current = doc.index()[static_cast<std::size_t>(list.row) - 1];
    require(unless(current.name == name && current.type == type,
                   "current entry is " + testing::detail::excerpt(current.name)),
            "pasted resource current");
  }

  // Undo gives back the text before the paste, byte for byte, and redo the text after it.
  const std::string after = doc.text();
  require(unless(doc.undo() && doc.text() == before, "undo gives another text"), "undo");
  require(unless(doc.index() == indexBefore, "index after undo"), "undo");
  require(unless(doc.redo() && doc.text() == after, "redo gives another text"), "redo");

  // The index gains exactly the entries of the pasted block, where the block closes every body,
  // comment and string it opens (else it may take in what follows it, as the compiler would).
  if (!testing::detail::closesItself(block) || !testing::detail::endsClosed(before)) return 0;
  auto expected = indexPairs(indexBefore);
  for (auto& pair : indexPairs(indexResources(block))) expected.push_back(std::move(pair));
  std::sort(expected.begin(), expected.end());
  require(unless(indexPairs(doc.index()) == expected,
                 "index has " + std::to_string(doc.index().size()) + " entries, expected " +
                     std::to_string(expected.size())),
          "index gains the pasted block");
  return 0;
}
