// Fuzzes the edits of whole resources with undo and redo. The input is the file's bytes, a 0x00
// byte and then operations, each one letter followed by its arguments: a one-byte entry number
// k (taken modulo the index size) or a text that ends at the next 0x00 byte (or at the end).
//
//   R k name       rename entry k (renameEdit) to the name the user types
//   D k            delete entry k (deleteEdit)
//   P name text    paste the clipboard text under the typed name; an empty name confirms the
//                  name the clipboard holds (pastedBlock, appendEdit)
//   N t name       add the template of kind t (a byte, modulo the kinds) under the name, in
//                  the style of the bodies around its place (newResourceEdit)
//   E k text       replace entry k's block with the bytes (replaceEdit), as the editor returns it
//   S k            make entry k current
//   U, Y           undo, redo
//   L n            limit the history to n * 64 bytes (0: the default limit)
//
// Any other byte is skipped. A name is taken only when the prompt would take it (typedName,
// nameRefusal); an edit that cannot be made (no entry, no block, a refused name) is skipped.
// The edits go through Document::commit, and each keeps its own rules on the text
// (tests/support/reorder_invariants.h): a rename changes the block's name and moves it alone
// (checkRenamed), a delete leaves every other statement (checkDeleted), a paste or a new
// resource goes in whole at its place (checkInserted), an edit as text moves only the block
// written (checkPlaced). A plain list of the texts after each step is kept beside the document,
// and the run stops with the broken rule on standard error when the document and that list part
// ways.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "document/blocks.h"
#include "document/document.h"
#include "document/name_prompt.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "document/templates.h"
#include "support/current_entry.h"
#include "support/reorder_invariants.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using namespace kolvre;

void require(const std::string& violation, const char* rule) {
  fuzzing::require("edits", violation, rule);
}

using fuzzing::unless;

// With KOLVRE_EDITS_TRACE set, each step is told on standard error: for replaying an input.
const bool kTrace = std::getenv("KOLVRE_EDITS_TRACE") != nullptr;

void trace(const char* what, const Document& doc) {
  if (kTrace)
    std::fprintf(stderr, "%-12s %zu entries, %zu bytes, %zu steps held\n", what, doc.index().size(),
                 doc.text().size(), doc.history().size());
}

// Bounds the work one input can ask for.
constexpr std::size_t kMaxOperations = 64;

// Reads the operations' arguments from the input.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  bool done() const { return rest_.empty(); }
  char letter() { return byte(); }
  unsigned char number() { return static_cast<unsigned char>(byte()); }
  std::string_view text() {
    const std::size_t end = rest_.find('\0');
    const std::string_view t = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    return t;
  }

 private:
  char byte() {
    if (rest_.empty()) return 0;
    const char c = rest_.front();
    rest_.remove_prefix(1);
    return c;
  }
  std::string_view rest_;
};

std::string shownKey(const std::optional<ResourceKey>& key) {
  if (!key) return "none";
  return testing::detail::excerpt(key->name) + " " + std::string(typeCode(key->type)) +
         testing::detail::excerpt(key->typeWord) + " #" + std::to_string(key->occurrence);
}

// Follows the current entry as the list does and keeps every change reported.
class Observer : public testing::CurrentEntry {
 public:
  using CurrentEntry::CurrentEntry;
  std::vector<DocumentChange> reported;
  void documentChanged(const DocumentChange& change) override {
    CurrentEntry::documentChanged(change);
    reported.push_back(change);
  }
};

// One step of the reference history: the text after it, its label and the entries it names.
struct ModelStep {
  std::string text;
  std::string label;
  std::optional<ResourceKey> currentBefore;
  std::optional<ResourceKey> currentAfter;
};

// An edit as an operation asks for it. A paste, a new resource or a replacement names the
// resource to make current by the first listed statement of the block it adds: `headed` is true
// when that statement starts the block, under the block's first token, so that the block written
// is that resource. The edit names the resource by that statement, never by the first two tokens
// of a block that does not start with its header (seed unheaded_paste.bin).
struct Planned {
  Edit edit;
  bool headed = true;
  std::string written;    // the block the edit writes; empty for a delete
  char op = 0;            // the operation's letter
  std::size_t begin = 0;  // rename, delete, edit as text: where the block's name starts
  std::string name;       // rename: the new name
};

// True when the block starts with a listed resource statement whose name is the block's first
// token.
bool startsWithItsHeader(std::string_view block) {
  const std::vector<Statement> statements = readStatements(block);
  return !statements.empty() && statements.front().begin == 0 && statements.front().listed &&
         statements.front().name(block) == firstTwoTokens(block).name;
}

// The index positions of the entries whose block is exactly `written`.
std::vector<std::size_t> entriesWriting(const Document& doc, std::string_view written) {
  std::vector<std::size_t> found;
  for (const Statement& s : readStatements(doc.text())) {
    if (!s.listed || s.of(doc.text()) != written) continue;
    for (std::size_t at = 0; at < doc.index().size(); ++at)
      if (doc.index()[at].offset == s.begin) found.push_back(at);
  }
  return found;
}

// How many listed statements of a text are exactly `written`.
std::size_t blocksReading(std::string_view text, std::string_view written) {
  std::size_t n = 0;
  for (const Statement& s : readStatements(text)) n += s.listed && s.of(text) == written;
  return n;
}

// The rules of the edit itself, between the text before it and the text after it. They hold
// beside statements left open too: an edit that would change where such a statement ends, or
// read a block into it, takes another place or is refused. The seeds in seeds/edits/ named after
// a case keep edits on which they once broke: a block renamed away from, moved to, deleted from
// or put in right after a statement left open, a new block or a replacement in a text that holds
// one (rename_after_open_statement.bin, delete_after_open_statement.bin,
// new_after_open_statement.bin, new_manifest_after_open_statement.bin,
// edit_closes_open_body.bin); a delete of a block that shares its line with another statement,
// which is refused where what stood after it would join the statement before it
// (delete_block_sharing_a_line.bin); and a rename to a name that reads as no name in a header,
// punctuation or a keyword, which the prompt refuses (rename_to_punctuation.bin). They hold as
// well on texts that end inside a string or comment left open, hold a preprocessor line after a
// comment in a body or leave a parenthesis open, read as fuzz/reorder_fuzz.cpp describes.
std::string checkEditRules(const Planned& planned, std::string_view before,
                           std::string_view after) {
  switch (planned.op) {
    case 'R':
      return testing::checkRenamed(before, planned.begin, planned.name, after);
    case 'D':
      return testing::checkDeleted(before, planned.begin, after);
    case 'P':
    case 'N':
      return testing::checkInserted(before, planned.written, after);
    case 'E':
      return testing::checkPlaced(applySplices(before, planned.edit.splices), planned.begin, after);
    default:
      return {};
  }
}

// How many entries of the index share the key's type and name (letter case aside).
std::size_t namesakes(const Document& doc, const ResourceKey& key) {
  std::size_t n = 0;
  for (const IndexEntry& e : doc.index()) n += sameName(e.name, key.name) && e.type == key.type;
  return n;
}

// An edit that writes a block makes that block's resource current: when a resource of the new
// text has exactly the written block, the entry reported is such a resource, among namesakes
// too (entries of that type whose names are equal but for letter case, as the compilers compare
// them: seeds case_variant_name.bin, replace_makes_namesake.bin, edit_second_namesake.bin).
std::string checkWrittenIsCurrent(const Document& doc, const Planned& planned,
                                  const std::optional<ResourceKey>& key, std::string_view before) {
  if (planned.written.empty() || !planned.headed) return {};
  const std::vector<std::size_t> writing = entriesWriting(doc, planned.written);
  // A block that reads as no resource where it was written (the text after it takes it on) may
  // still stand, the same bytes, as a namesake written before: that one is not the resource
  // written (seed fuzz-findings' edits-current-after-edit.bin, kept as
  // written_block_twin_elsewhere.bin).
  if (writing.size() <= blocksReading(before, planned.written)) return {};
  const auto at = key ? findEntry(doc.index(), *key) : std::nullopt;
  if (at && std::find(writing.begin(), writing.end(), *at) != writing.end()) return {};
  return "reported " + shownKey(key) + ", not the resource written (" +
         testing::detail::excerpt(planned.written) + ")";
}

// The reference history: `first` is the text before the oldest step still held and steps[i] the
// text after step i + 1; the first `at` steps are done (undo moves back, redo forward).
struct Model {
  std::string first;
  std::vector<ModelStep> steps;
  std::size_t at = 0;

  const std::string& text() const { return at == 0 ? first : steps[at - 1].text; }
};

std::string checkIndex(const Document& doc) {
  if (!testing::sameStatements(doc.statements(), readStatements(doc.text())))
    return "statements kept differ from the statements of the text";
  return unless(doc.index() == indexResources(doc.text()),
                "index differs from the index of the text");
}

// The document can undo and redo exactly what the model can, under the same labels.
std::string checkSides(const Document& doc, const Model& model) {
  if (doc.canUndo() != (model.at > 0)) return "can undo: " + std::to_string(doc.canUndo());
  if (doc.canRedo() != (model.at < model.steps.size()))
    return "can redo: " + std::to_string(doc.canRedo());
  if (model.at > 0 && doc.undoLabel() != model.steps[model.at - 1].label)
    return "undo names " + std::string(doc.undoLabel());
  if (model.at < model.steps.size() && doc.redoLabel() != model.steps[model.at].label)
    return "redo names " + std::string(doc.redoLabel());
  if (doc.history().size() != model.steps.size())
    return "history holds " + std::to_string(doc.history().size()) + " steps, expected " +
           std::to_string(model.steps.size());
  return {};
}

// The one change reported since `seen` changes: of `kind`, naming `current`, which (when given)
// is an entry of the index.
std::string checkReported(const Document& doc, const Observer& observer, std::size_t seen,
                          DocumentChange::Kind kind, const std::optional<ResourceKey>& current) {
  if (observer.reported.size() != seen + 1)
    return "observer told " + std::to_string(observer.reported.size() - seen) + " times";
  const DocumentChange& change = observer.reported.back();
  if (change.kind != kind) return "another kind of change reported";
  if (change.current != current)
    return "reported " + shownKey(change.current) + ", the step names " + shownKey(current);
  if (current && !findEntry(doc.index(), *current))
    return "reported " + shownKey(current) + ", which the index does not hold";
  return {};
}

// The drops of oldest steps the history made to stay within its limit: only steps that can be
// undone go, and never the newest.
void followTrim(const Document& doc, Model& model) {
  const std::size_t held = doc.history().size();
  require(unless(held <= model.steps.size(), "history grew while trimming"), "trim");
  const std::size_t dropped = model.steps.size() - held;
  if (dropped == 0) return;
  require(unless(dropped < model.at, "dropped " + std::to_string(dropped) + " of " +
                                         std::to_string(model.at) + " steps to undo"),
          "trim keeps the newest step and the redo side");
  model.first = model.steps[dropped - 1].text;
  model.steps.erase(model.steps.begin(),
                    model.steps.begin() + static_cast<std::ptrdiff_t>(dropped));
  model.at -= dropped;
}

void commitAndCheck(Document& doc, const Observer& observer, Model& model, const Planned& planned) {
  const Edit& edit = planned.edit;
  const std::string before = doc.text();
  const std::size_t seen = observer.reported.size();
  const std::size_t held = doc.history().size();
  const bool canRedo = doc.canRedo();
  const bool committed = doc.commit(edit);
  trace(committed ? edit.label.c_str() : "(no change)", doc);
  if (!committed) {
    require(unless(doc.text() == before, "text changed"), "a refused edit changes nothing");
    require(unless(observer.reported.size() == seen, "observer told"),
            "a refused edit changes nothing");
    require(unless(doc.history().size() == held && doc.canRedo() == canRedo, "history changed"),
            "a refused edit changes nothing");
    return;
  }
  require(unless(doc.text() != before, "commit without a change"), "commit changes the text");
  require(checkEditRules(planned, before, doc.text()), "the edit's own rules");
  // The document names the block written where it landed (among namesakes too), and no entry
  // the index does not hold; otherwise the key the edit planned.
  const std::optional<ResourceKey> current =
      observer.reported.size() == seen + 1 ? observer.reported.back().current : edit.currentAfter;
  // A key spelled otherwise (a type word whose letter case the edit changed) that finds the
  // same entry names the same resource.
  const bool sameEntry =
      current && edit.currentAfter && findEntry(doc.index(), *current) &&
      findEntry(doc.index(), *current) == findEntry(doc.index(), *edit.currentAfter);
  if (current != edit.currentAfter && !sameEntry)
    require(unless(edit.currentAfter && (!findEntry(doc.index(), *edit.currentAfter) ||
                                         namesakes(doc, *edit.currentAfter) > 1),
                   "reported " + shownKey(current) + ", the edit planned " +
                       shownKey(edit.currentAfter)),
            "current after an edit");
  model.steps.resize(model.at);
  model.steps.push_back({doc.text(), edit.label, edit.currentBefore, current});
  ++model.at;
  followTrim(doc, model);
  require(checkIndex(doc), "index after an edit");
  require(checkSides(doc, model), "history after an edit");
  require(checkReported(doc, observer, seen, DocumentChange::Kind::Edited, current),
          "current after an edit");
  require(checkWrittenIsCurrent(doc, planned, current, before), "the resource written is current");
}

void undoAndCheck(Document& doc, const Observer& observer, Model& model) {
  const std::size_t seen = observer.reported.size();
  const std::string before = doc.text();
  const bool undone = doc.undo();
  trace(undone ? "undo" : "(no undo)", doc);
  require(unless(undone == (model.at > 0), "undo " + std::to_string(undone) + " with " +
                                               std::to_string(model.at) + " steps to undo"),
          "undo when there is a step");
  if (!undone) {
    require(unless(doc.text() == before && observer.reported.size() == seen, "changed"),
            "nothing to undo");
    return;
  }
  --model.at;
  require(unless(doc.text() == model.text(), "text " + testing::detail::excerpt(doc.text()) +
                                                 ", expected " +
                                                 testing::detail::excerpt(model.text())),
          "undo gives the text before the step");
  require(checkIndex(doc), "index after undo");
  require(checkSides(doc, model), "history after undo");
  require(checkReported(doc, observer, seen, DocumentChange::Kind::Undone,
                        model.steps[model.at].currentBefore),
          "current after undo");
}

void redoAndCheck(Document& doc, const Observer& observer, Model& model) {
  const std::size_t seen = observer.reported.size();
  const std::string before = doc.text();
  const bool redone = doc.redo();
  trace(redone ? "redo" : "(no redo)", doc);
  require(unless(redone == (model.at < model.steps.size()),
                 "redo " + std::to_string(redone) + " with " +
                     std::to_string(model.steps.size() - model.at) + " steps to redo"),
          "redo when there is a step");
  if (!redone) {
    require(unless(doc.text() == before && observer.reported.size() == seen, "changed"),
            "nothing to redo");
    return;
  }
  ++model.at;
  require(unless(doc.text() == model.text(), "text " + testing::detail::excerpt(doc.text()) +
                                                 ", expected " +
                                                 testing::detail::excerpt(model.text())),
          "redo gives the text after the step");
  require(checkIndex(doc), "index after redo");
  require(checkSides(doc, model), "history after redo");
  require(checkReported(doc, observer, seen, DocumentChange::Kind::Redone,
                        model.steps[model.at - 1].currentAfter),
          "current after redo");
}

// The name the prompt takes from what the user types (UTF-8), as script bytes; nothing when
// the prompt refuses it.
std::optional<std::string> acceptedName(const Document& doc, std::string_view field,
                                        std::string_view typeWord) {
  const std::string typed = typedName(field);
  if (!nameRefusal(doc.index(), typed, typeWord, doc.encoding()).empty()) return std::nullopt;
  return doc.scriptBytes(typed);
}

std::optional<std::size_t> entryNumber(const Document& doc, unsigned char k) {
  if (doc.index().empty()) return std::nullopt;
  return k % doc.index().size();
}

// The edit an operation asks for, with the entry the list shows as current before it; nothing
// when it cannot be made.
std::optional<Planned> editFor(char op, Reader& in, const Document& doc, const Observer& observer) {
  const std::optional<ResourceKey> current =
      observer.position() ? std::optional(keyAt(doc.index(), *observer.position())) : std::nullopt;
  switch (op) {
    case 'R': {
      const auto k = entryNumber(doc, in.number());
      const std::string_view field = in.text();
      // A string table has no name: the command refuses to rename it.
      if (!k || doc.index()[*k].type == ResourceType::StringTable) return std::nullopt;
      const auto block = entryBlock(doc.text(), doc.index(), *k);
      const auto name = acceptedName(doc, field, doc.index()[*k].keyword());
      if (!block || !name) return std::nullopt;
      std::string written = *name;
      written += block->of(doc.text()).substr(doc.index()[*k].name.size());
      return Planned{renameEdit(doc.index(), *k, *block, *name),
                     true,
                     std::move(written),
                     'R',
                     block->begin,
                     *name};
    }
    case 'D': {
      const auto k = entryNumber(doc, in.number());
      if (!k) return std::nullopt;
      const auto block = entryBlock(doc.text(), doc.index(), *k);
      if (!block) return std::nullopt;
      std::optional<Edit> edit = deleteEdit(doc.text(), doc.index(), *k, *block);
      // Refused: taking it away would join its neighbours (the command says so).
      if (!edit) return std::nullopt;
      return Planned{std::move(*edit), true, {}, 'D', block->begin, {}};
    }
    case 'P': {
      const std::string_view field = in.text();
      const std::string text = withCrLf(doc.scriptBytes(in.text()));
      const HeaderTokens tokens = firstTwoTokens(text);
      if (tokens.type.empty()) return std::nullopt;
      const std::string shown = doc.display(tokens.name);
      const auto name =
          acceptedName(doc, field.empty() ? std::string_view(shown) : field, tokens.type);
      if (!name) return std::nullopt;
      const std::string block = pastedBlock(text, *name);
      std::optional<Edit> edit = appendEdit(doc.text(), block, kLabelPaste);
      if (!edit) return std::nullopt;  // refused: no place leaves its neighbours as they read
      Planned planned{std::move(*edit), startsWithItsHeader(block), block, 'P', 0, {}};
      planned.edit.currentBefore = current;
      return planned;
    }
    case 'N': {
      const ResourceType kind = kResourceTypes[in.number() % kResourceTypes.size()].type;
      const auto name = acceptedName(doc, in.text(), typeKeyword(kind));
      if (!name) return std::nullopt;
      // Written in the style of its neighbours (a kind without a template makes nothing).
      std::optional<Edit> edit = newResourceEdit(doc.text(), doc.statements(), kind, *name);
      if (!edit) return std::nullopt;  // refused: no place leaves its neighbours as they read
      const std::string block(trimSpace(edit->splices.front().inserted));
      Planned planned{std::move(*edit), startsWithItsHeader(block), block, 'N', 0, {}};
      planned.edit.currentBefore = current;
      return planned;
    }
    case 'E': {
      const auto k = entryNumber(doc, in.number());
      std::string replacement = withCrLf(std::string(in.text()));
      if (!k) return std::nullopt;
      const auto block = entryBlock(doc.text(), doc.index(), *k);
      if (!block) return std::nullopt;
      const bool headed = startsWithItsHeader(replacement);
      auto edit = replaceEdit(doc.text(), doc.index(), *k, *block, replacement);
      if (!edit) return std::nullopt;
      return Planned{std::move(*edit), headed, std::move(replacement), 'E', block->begin, {}};
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string_view script = input.substr(0, nul);
  Reader in(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));

  Document doc;
  Observer observer{doc};
  doc.load({}, std::string(script));
  require(checkIndex(doc), "index after loading");
  require(unless(!doc.canUndo() && !doc.canRedo(), "history after loading"), "a new history");

  Model model;
  model.first = doc.text();
  for (std::size_t count = 0; count < kMaxOperations && !in.done(); ++count) {
    const char op = in.letter();
    switch (op) {
      case 'U':
        undoAndCheck(doc, observer, model);
        break;
      case 'Y':
        redoAndCheck(doc, observer, model);
        break;
      case 'S':
        if (const auto k = entryNumber(doc, in.number())) observer.row = static_cast<int>(*k) + 1;
        break;
      case 'L': {
        const std::size_t n = in.number();
        doc.history().setLimit(n == 0 ? History::kDefaultLimit : n * 64);
        followTrim(doc, model);
        require(checkSides(doc, model), "history after a new limit");
        break;
      }
      default:
        if (const auto edit = editFor(op, in, doc, observer))
          commitAndCheck(doc, observer, model, *edit);
        else if (kTrace && std::string_view("RDPNE").find(op) != std::string_view::npos)
          std::fprintf(stderr, "%c skipped\n", op);
        break;
    }
  }

  // Back to the oldest text held and forward again to the newest.
  while (model.at > 0) undoAndCheck(doc, observer, model);
  undoAndCheck(doc, observer, model);
  while (model.at < model.steps.size()) redoAndCheck(doc, observer, model);
  redoAndCheck(doc, observer, model);
  return 0;
}
