#include "resources/find.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "base/text.h"
#include "dialogs/dialog_model.h"
#include "dialogs/dialog_reader.h"
#include "resources/literals.h"
#include "resources/string_tables.h"
#include "resources/version_info.h"
#include "syntax/code_pages.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// The lower case of a capital whose lower case is as long in UTF-8; the letter itself else.
char32_t lowerLetter(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  // Latin-1: À to Þ but ×.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  // Latin Extended-A: capitals and small letters in pairs, the capital first; a few pairs
  // begin on an odd place, and ı, ĸ, ŉ and ſ have no capital here.
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddPairs) return c % 2 == 1 ? c + 1 : c;
    if (c == 0x178) return c;  // Ÿ: its small letter is in Latin-1, of another length
    return c % 2 == 0 ? c + 1 : c;
  }
  // Greek: Ά..Ώ, Α..Ω (no capital final sigma at 0x3A2).
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  // Cyrillic: Ѐ..Џ, А..Я, and the pairs of Ѡ..ҁ and Ҋ..ӿ (Ӏ aside).
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
    return c % 2 == 0 ? c + 1 : c;
  if (c >= 0x4C1 && c <= 0x4CE) return c % 2 == 1 ? c + 1 : c;
  return c;
}

// Appends a character of two bytes in UTF-8.
void appendTwoBytes(std::string& out, char32_t c) {
  out += static_cast<char>(0xC0 | (c >> 6));
  out += static_cast<char>(0x80 | (c & 0x3F));
}

// The numbers typed: a number as the compilers read it, a minus before it taken as the
// compilers take -1 (its two's complement).
std::optional<std::uint32_t> typedNumber(std::string_view typed) {
  typed = trimBlanks(typed);
  bool negative = false;
  if (!typed.empty() && typed.front() == '-') {
    negative = true;
    typed = trimBlanks(typed.substr(1));
  }
  const auto number = compilerNumber(typed, false);
  if (!number) return std::nullopt;
  return negative ? static_cast<std::uint32_t>(0u - *number) : *number;
}

// A text on one line: line ends, tabs and other control characters as blanks.
std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return out;
}

// Where the character before `at` starts in UTF-8 text.
std::size_t previousCharacter(std::string_view text, std::size_t at) {
  while (at > 0 && (static_cast<unsigned char>(text[--at]) & 0xC0) == 0x80) {
  }
  return at;
}
std::size_t nextCharacter(std::string_view text, std::size_t at) {
  while (++at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
  }
  return std::min(at, text.size());
}

// How much of a text a match shows, in characters, before it and after it.
constexpr std::size_t kBefore = 24;
constexpr std::size_t kAfter = 40;
constexpr std::string_view kCut = "…";

// The match's frame: the text around [begin, begin + length), cut where it runs on.
void frame(FindMatch& m, std::string_view shown, std::size_t begin, std::size_t length) {
  std::size_t from = begin;
  for (std::size_t n = 0; n < kBefore && from > 0; ++n) from = previousCharacter(shown, from);
  std::size_t to = begin + length;
  for (std::size_t n = 0; n < kAfter && to < shown.size(); ++n) to = nextCharacter(shown, to);
  m.context.clear();
  if (from > 0) m.context += kCut;
  m.matchBegin = m.context.size() + (begin - from);
  m.matchLength = length;
  m.context += oneLine(shown.substr(from, to - from));
  if (to < shown.size()) m.context += kCut;
}

// A name or an ID as written that is a plain number.
bool plainNumber(std::string_view written) {
  return compilerNumber(trimBlanks(written)).has_value();
}

}  // namespace

std::string foldCase(std::string_view utf8) {
  std::string out;
  foldCaseInto(utf8, out);
  return out;
}

void foldCaseInto(std::string_view utf8, std::string& out) {
  out.clear();
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += lowerByte(static_cast<char>(lead));
      ++i;
      continue;
    }
    if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size() &&
        (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(lead & 0x1F) << 6) |
                         (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
      const char32_t lower = lowerLetter(c);
      if (lower >= 0x80 && lower < 0x800)
        appendTwoBytes(out, lower);
      else
        out.append(utf8.substr(i, 2));
      i += 2;
      continue;
    }
    out += utf8[i];
    ++i;
  }
}

std::string_view foundInWord(FoundIn in) {
  switch (in) {
    case FoundIn::Name:
      return "nome";
    case FoundIn::Caption:
      return "titolo";
    case FoundIn::ControlText:
    case FoundIn::ControlId:
      return "controllo";
    case FoundIn::StringText:
    case FoundIn::StringId:
      return "stringa";
    case FoundIn::MenuText:
    case FoundIn::MenuId:
      return "voce";
    case FoundIn::VersionValue:
      return "valore";
  }
  return {};
}

struct ResourceFinder::State {
  State(const Document& d, const SymbolTable* s, std::string_view typed)
      : doc(d),
        text(d.text()),
        symbols(s),
        needle(foldCase(typed)),
        number(typedNumber(typed)),
        codePages(codePageChanges(text, text.size())),
        context{s, d.form().utf16 != Utf16::None, &codePages} {
    // The index's positions in text order: sorted beside their offsets, in one piece of memory.
    const ResourceIndex& index = doc.index();
    std::vector<std::pair<std::size_t, std::size_t>> byOffset(index.size());
    for (std::size_t i = 0; i < index.size(); ++i) byOffset[i] = {index[i].offset, i};
    std::sort(byOffset.begin(), byOffset.end());
    order.resize(index.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = byOffset[i].second;
  }

  // Which of the entries of its name and type the entry at `position` is, as keyAt counts them:
  // the index keeps namesakes together (sorted by name, then type, then place), so only the
  // entries of an equal name before it are looked at.
  std::size_t occurrence(std::size_t position) const {
    const ResourceIndex& index = doc.index();
    const IndexEntry& e = index[position];
    const ResourceKey key{e.name, e.type, 0, e.typeWord};
    std::size_t count = 0;
    for (std::size_t j = position; j > 0 && compareNames(index[j - 1].name, e.name) == 0; --j)
      if (matchesKey(index[j - 1], key)) ++count;
    return count;
  }

  // The statement that begins at `offset`; nothing when none does.
  std::optional<std::size_t> statementAt(std::size_t offset) const {
    const std::vector<Statement>& statements = doc.statements();
    const auto at = std::partition_point(statements.begin(), statements.end(),
                                         [&](const Statement& s) { return s.begin < offset; });
    if (at == statements.end() || at->begin != offset) return std::nullopt;
    return static_cast<std::size_t>(at - statements.begin());
  }

  ScriptCharset charsetAt(std::size_t offset) const {
    return {codePageIn(codePages, offset), context.utf16File};
  }

  // A match of kind `in` in the resource of `position`, its frame still to be set.
  FindMatch matchOf(std::size_t position, FoundIn in, std::size_t offset) const {
    const IndexEntry& e = doc.index()[position];
    FindMatch m;
    m.in = in;
    m.resource = ResourceKey{e.name, e.type, occurrence(position), e.typeWord};
    m.type = doc.display(e.code());
    m.name = doc.display(e.name);
    m.language = e.language;
    m.resourceOffset = e.offset;
    m.offset = offset;
    return m;
  }

  // A text shown (UTF-8): a match when it holds the text typed.
  std::optional<FindMatch> inText(std::size_t position, FoundIn in, std::size_t offset,
                                  std::string_view shown) const {
    if (needle.empty()) return std::nullopt;
    foldCaseInto(shown, folded);
    const std::size_t at = folded.find(needle);
    if (at == std::string::npos) return std::nullopt;
    FindMatch m = matchOf(position, in, offset);
    frame(m, shown, at, needle.size());
    return m;
  }

  // An ID or a name as written (script bytes), with its value where known: found by its text
  // when it is written with names, by its value when the text typed is a number.
  std::optional<FindMatch> inId(std::size_t position, FoundIn in, std::size_t offset,
                                std::string_view written,
                                const std::optional<std::uint32_t>& value) const {
    // As the list shows it: ASCII as it stands, other bytes in the document's encoding.
    const bool ascii = std::all_of(written.begin(), written.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const std::string shown = ascii ? std::string(written) : doc.display(written);
    const bool numeric = plainNumber(written);
    if (!numeric || !number) {
      if (auto m = inText(position, in, offset, shown)) return m;
    }
    if (!number || !value || *value != *number) return std::nullopt;
    FindMatch m = matchOf(position, in, offset);
    if (numeric) {
      frame(m, shown, 0, shown.size());
    } else {
      // The symbol and the value it stands for.
      frame(m, shown + " = " + std::to_string(*value), 0, shown.size());
    }
    return m;
  }

  void readDialog(std::size_t position, std::size_t statement, std::vector<FindMatch>& out) const {
    const Statement& s = doc.statements()[statement];
    const StatementTree& tree = doc.tree().statementTree(text, statement);
    const std::string_view own = s.of(text);
    const ScriptCharset charset = charsetAt(s.begin);
    std::string problem;
    // The text of field `field` when it is a literal (adjacent literals joined).
    const auto literalOf = [&](std::size_t field) -> std::optional<WrittenText> {
      std::size_t at = tree.nodes[field].first;
      if (at >= tree.nodes[field].last || !isLiteral(own, tree.tokens[at])) return std::nullopt;
      return readLiterals(text, s.begin, tree, at, charset, problem);
    };
    struct ControlPlace {
      std::size_t number = 0;
      std::optional<std::size_t> text;
      std::optional<std::size_t> id;
    };
    std::vector<ControlPlace> controls;
    for (const std::size_t child : tree.children(0)) {
      const TreeNode& node = tree.nodes[child];
      if (node.kind == NodeKind::HeaderStatement &&
          isKeyword(tokenText(own, tree.tokens[node.first]), "CAPTION")) {
        const std::size_t field = childOfKind(tree, child, NodeKind::Field);
        if (field == 0) continue;
        if (const auto caption = literalOf(field))
          if (auto m = inText(position, FoundIn::Caption, caption->begin, caption->text))
            out.push_back(std::move(*m));
        continue;
      }
      if (node.kind != NodeKind::Body) continue;
      for (const std::size_t item : childrenOfKind(tree, child, NodeKind::Control)) {
        const std::vector<std::size_t> fields = childrenOfKind(tree, item, NodeKind::Field);
        const std::string_view keyword = tokenText(own, tree.tokens[tree.nodes[item].first]);
        bool hasText = isKeyword(keyword, "CONTROL");
        for (const ShortStatement& row : kShortStatements)
          if (isKeyword(keyword, row.keyword)) hasText = row.hasText;
        ControlPlace c;
        c.number = controls.size();
        const std::size_t idAt = hasText ? 1 : 0;
        if (hasText && !fields.empty()) c.text = fields[0];
        if (fields.size() > idAt) c.id = fields[idAt];
        controls.push_back(c);
      }
    }
    // The controls' IDs as written, counted when a match names its control.
    std::unordered_map<std::string, std::size_t> idCount;
    const auto idText = [&](const ControlPlace& c) {
      const TreeNode& n = tree.nodes[*c.id];
      return codeText(own, tree, n.first, n.last);
    };
    const auto place = [&](const ControlPlace& c) {
      if (idCount.empty())
        for (const ControlPlace& other : controls)
          if (other.id) ++idCount[idText(other)];
      if (!c.id) return "n. " + std::to_string(c.number + 1);
      const std::string id = idText(c);
      std::string shown = doc.display(id);
      if (idCount[id] > 1) shown += " (n. " + std::to_string(c.number + 1) + ")";
      return shown;
    };
    for (const ControlPlace& c : controls) {
      std::optional<FindMatch> found;
      if (c.text)
        if (const auto written = literalOf(*c.text))
          found = inText(position, FoundIn::ControlText, written->begin, written->text);
      if (found) {
        found->control = c.number;
        found->place = place(c);
        out.push_back(std::move(*found));
      }
      if (!c.id) continue;
      const TreeNode& n = tree.nodes[*c.id];
      // Its tokens, one blank between them: most IDs are one token.
      const std::string id = n.last == n.first + 1
                                 ? std::string(tokenText(own, tree.tokens[n.first]))
                                 : codeText(own, tree, n.first, n.last);
      std::optional<std::uint32_t> value;
      if (number) {
        const Evaluation evaluation = evaluate(id, symbols);
        if (evaluation.undefined.empty()) value = evaluation.value;
      }
      if (auto m = inId(position, FoundIn::ControlId, s.begin + tree.beginOf(n), id, value)) {
        m->control = c.number;
        m->place = place(c);
        out.push_back(std::move(*m));
      }
    }
  }

  void readStrings(std::size_t position, std::size_t statement, std::vector<FindMatch>& out) const {
    const Statement& s = doc.statements()[statement];
    const StringTable table =
        readStringTable(text, s, doc.tree().statementTree(text, statement), context);
    for (std::size_t k = 0; k < table.entries.size(); ++k) {
      const StringEntry& e = table.entries[k];
      const std::string id = doc.display(e.id);
      // A string's ID is 16 bits: a negative number typed finds it by its low bits.
      std::optional<std::uint32_t> value;
      if (e.value) value = *e.value | (number && *number >= 0xFFFF0000u ? 0xFFFF0000u : 0u);
      if (auto m = inId(position, FoundIn::StringId, e.idBegin, e.id, value)) {
        m->place = id;
        m->stringEntry = k;
        out.push_back(std::move(*m));
      }
      if (auto m = inText(position, FoundIn::StringText, e.text.begin, e.text.text)) {
        m->place = id;
        m->stringEntry = k;
        out.push_back(std::move(*m));
      }
    }
  }

  void readMenuItems(std::size_t position, const MenuReading& menu,
                     const std::vector<MenuEntry>& items, MenuPath& path,
                     std::vector<FindMatch>& out) const {
    for (std::size_t k = 0; k < items.size(); ++k) {
      const MenuEntry& item = items[k];
      path.push_back(k);
      const auto add = [&](std::optional<FindMatch> m) {
        if (!m) return;
        m->place = menuTextPath(menu, path);
        m->menuPath = path;
        out.push_back(std::move(*m));
      };
      if (item.textEnd > item.textBegin)
        add(inText(position, FoundIn::MenuText, item.textBegin, item.fullText));
      if (!item.id.empty()) {
        const std::size_t idAt =
            menu.extended ? (item.fields.empty() ? item.offset : item.fields.front().begin)
                          : item.idBegin;
        add(inId(position, FoundIn::MenuId, idAt, item.id, item.idValue));
      }
      readMenuItems(position, menu, item.items, path, out);
      path.pop_back();
    }
  }

  void readVersion(std::size_t position, std::size_t statement, std::vector<FindMatch>& out) const {
    const VersionInfo info = readVersionInfo(text, doc.statements()[statement], context);
    const std::vector<std::size_t> shown = info.stringBlocks();
    for (std::size_t b = 0; b < info.blocks.size(); ++b) {
      const VersionBlock& block = info.blocks[b];
      for (std::size_t v = 0; v < block.values.size(); ++v) {
        const VersionValue& value = block.values[v];
        if (!value.text) continue;
        if (auto m = inText(position, FoundIn::VersionValue, value.text->begin, value.text->text)) {
          m->place = doc.display(block.name) + "/" + value.key.text;
          // The panel shows the blocks of StringFileInfo, one table each.
          const auto table = std::find(shown.begin(), shown.end(), b);
          if (table != shown.end()) {
            m->versionBlock = static_cast<std::size_t>(table - shown.begin());
            m->versionValue = v;
          }
          out.push_back(std::move(*m));
        }
      }
    }
  }

  // The matches of the resource of index position `position`, in text order.
  void read(std::size_t position, std::vector<FindMatch>& out) const {
    const IndexEntry& e = doc.index()[position];
    const std::size_t first = out.size();
    // A string table's name is made of its IDs, which are found one by one.
    if (e.type != ResourceType::StringTable) {
      std::optional<std::uint32_t> value;
      if (number && plainNumber(e.name)) value = compilerNumber(trimBlanks(e.name));
      if (auto m = inId(position, FoundIn::Name, e.offset, e.name, value))
        out.push_back(std::move(*m));
    }
    const auto statement = statementAt(e.offset);
    if (!statement) return;
    switch (e.type) {
      case ResourceType::Dialog:
        readDialog(position, *statement, out);
        break;
      case ResourceType::StringTable:
        readStrings(position, *statement, out);
        break;
      case ResourceType::Menu:
      case ResourceType::MenuEx: {
        const Statement& s = doc.statements()[*statement];
        const MenuReading menu = readMenu(text, s, symbols, charsetAt(s.begin));
        MenuPath path;
        readMenuItems(position, menu, menu.items, path, out);
        break;
      }
      case ResourceType::VersionInfo:
        readVersion(position, *statement, out);
        break;
      default:
        break;
    }
    std::stable_sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                     [](const FindMatch& a, const FindMatch& b) { return a.offset < b.offset; });
  }

  const Document& doc;
  std::string_view text;
  const SymbolTable* symbols;
  std::string needle;
  std::optional<std::uint32_t> number;
  mutable std::string folded;  // the text being compared, folded: its memory kept
  std::vector<CodePageChange> codePages;
  StringContext context;
  std::vector<std::size_t> order;  // the index's positions in text order
  std::size_t next = 0;            // the next place in `order` to read
};

ResourceFinder::ResourceFinder(const Document& doc, const SymbolTable* symbols,
                               std::string_view typed)
    : state_(std::make_unique<State>(doc, symbols, typed)) {}

ResourceFinder::~ResourceFinder() = default;

std::vector<FindMatch> ResourceFinder::next(std::size_t matches, std::size_t resources) {
  std::vector<FindMatch> out;
  State& s = *state_;
  if (s.needle.empty()) s.next = s.order.size();
  for (std::size_t read = 0; s.next < s.order.size() && out.size() < matches && read < resources;
       ++read)
    s.read(s.order[s.next++], out);
  return out;
}

bool ResourceFinder::done() const {
  return state_->next >= state_->order.size();
}

std::size_t ResourceFinder::resourcesRead() const {
  return state_->next;
}

std::size_t ResourceFinder::resourceCount() const {
  return state_->order.size();
}

std::vector<FindMatch> findInResources(const Document& doc, const SymbolTable* symbols,
                                       std::string_view typed) {
  ResourceFinder finder(doc, symbols, typed);
  return finder.next(SIZE_MAX);
}

std::optional<std::size_t> designerControl(const Document& doc, std::size_t resourceOffset,
                                           std::size_t control, const SymbolTable* symbols) {
  const std::vector<Statement>& statements = doc.statements();
  const auto at =
      std::partition_point(statements.begin(), statements.end(),
                           [&](const Statement& s) { return s.begin < resourceOffset; });
  if (at == statements.end() || at->begin != resourceOffset) return std::nullopt;
  const std::size_t statement = static_cast<std::size_t>(at - statements.begin());
  const StatementTree& tree = doc.tree().statementTree(doc.text(), statement);
  const std::string_view own = at->of(doc.text());
  const std::size_t body = childOfKind(tree, 0, NodeKind::Body);
  if (body == 0) return std::nullopt;
  // The dialog's reader makes a control of each control statement that reads as one.
  SymbolUse use{symbols, {}};
  std::size_t number = 0;
  std::size_t controls = 0;
  for (const std::size_t item : childrenOfKind(tree, body, NodeKind::Control)) {
    const StatementFields fields = itemFields(tree, own, item, own, 0);
    // Only whether it reads as a control counts here, not where it stands.
    const bool isControl =
        readBodyStatement(fields, kFixedBaseUnits, symbols ? &use : nullptr).kind ==
        ControlReading::Kind::Control;
    if (number++ == control) return isControl ? std::optional(controls) : std::nullopt;
    if (isControl) ++controls;
  }
  return std::nullopt;
}

}  // namespace kolvre
