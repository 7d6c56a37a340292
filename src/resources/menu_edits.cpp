// The edits of a menu's items (declared in menus.h): each computed from the menu as read, with
// where its parts stand, and checked by reading the menu again from the text it gives.
#include <algorithm>
#include <set>
#include <utility>

#include "base/text.h"
#include "messages/error_record.h"
#include "resources/body_tokens.h"
#include "resources/literals.h"
#include "resources/menus.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// What an item is, as the edits compare it before and after: its texts as written.
struct Shape {
  bool popup = false;
  unsigned flags = 0;
  std::string literal, id, type, state, helpId;
  std::vector<Shape> items;
  bool operator==(const Shape&) const = default;
};

std::string_view span(std::string_view script, std::size_t begin, std::size_t end) {
  return script.substr(begin, end - begin);
}

// A MENUEX item's flags are left out: its type and state as written give them, and their values
// may come from the script's symbols.
std::vector<Shape> shapeOf(std::string_view script, const std::vector<MenuEntry>& items,
                           bool extended) {
  std::vector<Shape> out;
  out.reserve(items.size());
  for (const MenuEntry& e : items)
    out.push_back({e.popup, extended ? 0 : e.flags,
                   std::string(span(script, e.textBegin, e.textEnd)), e.id, e.type, e.state,
                   e.helpId, shapeOf(script, e.items, extended)});
  return out;
}

// The list of items `path` stands in (its last index left out), in a shape.
std::vector<Shape>& siblingsIn(std::vector<Shape>& top, const MenuPath& path) {
  std::vector<Shape>* list = &top;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) list = &(*list)[path[i]].items;
  return *list;
}

const std::vector<MenuEntry>& siblingsOf(const MenuReading& menu, const MenuPath& path) {
  const std::vector<MenuEntry>* list = &menu.items;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) list = &(*list)[path[i]].items;
  return *list;
}

MenuPath parentOf(const MenuPath& path) {
  return MenuPath(path.begin(), path.end() - 1);
}

void readable(const MenuReading& menu) {
  if (!menu.problem.empty()) throw Refusal(menu.problem);
}

// Where an item is named in a message: by its text, or as a separator.
std::string named(const MenuEntry& e) {
  if (e.flags & kMenuSeparator) return "il separatore";
  return (e.popup ? "il pop-up «" : "la voce «") + e.text + "»";
}

const MenuEntry& entryAt(const MenuReading& menu, const MenuPath& path) {
  readable(menu);
  const MenuEntry* e = menuEntryAt(menu, path);
  if (!e) throw Refusal("Voce di menu non trovata.");
  return *e;
}

bool isSeparator(const MenuEntry& e) {
  return (e.flags & kMenuSeparator) != 0 && e.textEnd == 0;
}

// The splices in text order; an insertion where another splice begins goes before its text.
std::vector<Splice> inOrder(std::vector<Splice> splices) {
  std::stable_sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) {
    return a.begin < b.begin || (a.begin == b.begin && a.end < b.end);
  });
  std::vector<Splice> out;
  for (Splice& s : splices) {
    if (!out.empty() && out.back().begin == s.begin && out.back().end == out.back().begin) {
      out.back().end = s.end;
      out.back().inserted += s.inserted;
      continue;
    }
    out.push_back(std::move(s));
  }
  return out;
}

// The menu read again after `splices` (in text order, inside its statement): from the text of
// its statement alone (from the start of its line), not a copy of the whole script.
struct Reread {
  std::string text;
  MenuReading menu;
};
Reread readAfter(std::string_view script, const MenuReading& menu,
                 const std::vector<Splice>& splices, const SymbolTable* symbols,
                 const ScriptCharset& charset) {
  const Statement& before = menu.statement;
  const std::size_t from = lineStartOf(script, before.begin);
  std::vector<Splice> moved = splices;
  for (Splice& splice : moved) {
    splice.begin -= from;
    splice.end -= from;
  }
  Reread out;
  out.text = applySplices(script.substr(from, before.end - from), moved);
  Statement statement = before;
  statement.begin -= from;
  statement.nameEnd -= from;
  statement.typeBegin -= from;
  statement.typeEnd -= from;
  statement.end = out.text.size();
  out.menu = readMenu(out.text, statement, symbols, charset);
  return out;
}

// The edit, once the menu read again from the text it gives holds `expected` (and, where
// given, the text `text` at `path`); else a refusal.
Edit checked(std::string_view script, const MenuReading& menu, std::string label,
             std::vector<Splice> splices, const std::vector<Shape>& expected,
             const ScriptCharset& charset = {}, const MenuPath* path = nullptr,
             const std::string* text = nullptr) {
  Edit edit;
  edit.label = std::move(label);
  edit.splices = inOrder(std::move(splices));
  const Reread after = readAfter(script, menu, edit.splices, nullptr, charset);
  const MenuReading& again = after.menu;
  bool same = again.problem.empty() && shapeOf(after.text, again.items, menu.extended) == expected;
  if (same && path && text) same = menuEntryAt(again, *path)->fullText == *text;
  if (!same)
    throw Refusal(
        "Impossibile fare la modifica senza cambiare come si leggono le altre voci del menu.");
  return edit;
}

// A menu statement's tree, for what stands beside its tokens: offsets here are the script's.
struct MenuTree {
  MenuTree(std::string_view script, const MenuReading& menu)
      : script(script),
        base(menu.statement.begin),
        own(menu.statement.of(script)),
        tree(readStatementTree(script, menu.statement)) {}

  std::size_t tokenAfter(std::size_t offset) const { return tokenAt(tree, offset - base); }
  // Where the line starts when only blanks stand before `offset` (a token's start) on it.
  std::optional<std::size_t> lineStartBefore(std::size_t offset) const {
    const auto at = kolvre::lineStartBefore(own, tree, tokenAfter(offset));
    return at ? std::optional(base + *at) : std::nullopt;
  }
  // After the line end when only blanks and comments follow `end` (a token's end) on its line.
  std::optional<std::size_t> nextLineAfter(std::size_t end) const {
    const auto at = kolvre::lineEndBefore(own, tree, tokenAfter(end));
    return at ? std::optional(base + *at + 2) : std::nullopt;
  }
  // An item's lines: from its line's start to after the line end of its last line (the
  // comments after it there included); nothing when it shares a line with other tokens.
  std::optional<std::pair<std::size_t, std::size_t>> linesOf(const MenuEntry& e) const {
    const auto start = lineStartBefore(e.offset);
    const auto end = nextLineAfter(e.end);
    if (!start || !end) return std::nullopt;
    return std::pair(*start, *end);
  }
  // The first preprocessor line that begins in [from, to); nothing when none does.
  std::optional<std::size_t> directiveIn(std::size_t from, std::size_t to) const {
    for (std::size_t i = tokenAfter(from); i < tree.tokens.size(); ++i) {
      const TreeToken& t = tree.tokens[i];
      if (base + t.begin >= to) break;
      if (t.kind == TokenKind::Directive) return base + t.begin;
    }
    return std::nullopt;
  }
  // True when the conditional lines in [from, to) open and close there: moved or removed
  // together, they take nothing else into their branches.
  bool conditionalsClose(std::size_t from, std::size_t to) const {
    int depth = 0;
    for (std::size_t i = tokenAfter(from); i < tree.tokens.size(); ++i) {
      const TreeToken& t = tree.tokens[i];
      if (base + t.begin >= to) break;
      if (t.kind != TokenKind::Directive) continue;
      switch (directiveKind(tokenText(own, t))) {
        case DirectiveKind::If:
          ++depth;
          break;
        case DirectiveKind::Else:
          if (depth == 0) return false;
          break;
        case DirectiveKind::EndIf:
          if (--depth < 0) return false;
          break;
        case DirectiveKind::Other:
          break;
      }
    }
    return depth == 0;
  }

  std::string_view script;
  std::size_t base;
  std::string_view own;
  StatementTree tree;
};

std::string indentAt(std::string_view script, std::size_t lineStart, std::size_t offset) {
  std::size_t end = lineStart;
  while (end < offset && isBlank(script[end])) ++end;
  return std::string(script.substr(lineStart, end - lineStart));
}

// The indentation of the line an item begins on (the blanks before its keyword when it begins
// the line; else the line's own).
std::string indentOfItem(const MenuTree& tree, const MenuEntry& e) {
  if (const auto start = tree.lineStartBefore(e.offset))
    return indentAt(tree.script, *start, e.offset);
  return indentOf(tree.script, e.offset);
}

// How much further in a pop-up's items stand than the pop-up, as the script indents them: from
// the first pop-up whose first item stands further in, else the top level's indentation.
std::optional<std::string> stepIn(const MenuTree& tree, const std::vector<MenuEntry>& items) {
  for (const MenuEntry& e : items) {
    if (!e.popup || e.items.empty()) continue;
    const std::string outer = indentOfItem(tree, e);
    const std::string inner = indentOfItem(tree, e.items.front());
    if (inner.size() > outer.size() && inner.starts_with(outer)) return inner.substr(outer.size());
    if (auto step = stepIn(tree, e.items)) return step;
  }
  return std::nullopt;
}

std::string indentStep(const MenuTree& tree, const MenuReading& menu) {
  if (auto step = stepIn(tree, menu.items)) return *step;
  if (!menu.items.empty())
    if (std::string first = indentOfItem(tree, menu.items.front()); !first.empty()) return first;
  return "    ";
}

// The lines of `block` with `from` at their start given `to` instead.
std::string reindented(std::string_view block, const std::string& from, const std::string& to) {
  if (from == to) return std::string(block);
  std::string out;
  std::size_t at = 0;
  while (at < block.size()) {
    std::size_t end = block.find("\r\n", at);
    end = end == std::string_view::npos ? block.size() : end + 2;
    const std::string_view line = block.substr(at, end - at);
    if (line.starts_with(from)) {
      out += to;
      out += line.substr(from.size());
    } else {
      out += line;
    }
    at = end;
  }
  return out;
}

// A MENU option or MENUEX name spelled as the item's keyword is: in lower case where that is.
std::string spelled(std::string_view script, const MenuEntry* model, std::string_view word) {
  if (!model) return std::string(word);
  const std::string_view keyword = script.substr(model->offset, model->popup ? 5 : 8);
  const bool lower =
      std::none_of(keyword.begin(), keyword.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  if (!lower) return std::string(word);
  std::string out(word);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The words that open and close a body (`{` and `}`, or BEGIN and END as spelled), as the body
// nearest a new pop-up has them: a sibling pop-up's, else its parent's, else the menu's.
std::pair<std::string, std::string> bodyWords(std::string_view script, const MenuReading& menu,
                                              const MenuEntry* parent, const MenuEntry* before,
                                              const MenuEntry* after) {
  std::size_t bodyBegin = menu.bodyBegin;
  if (before && before->popup)
    bodyBegin = before->bodyBegin;
  else if (after && after->popup)
    bodyBegin = after->bodyBegin;
  else if (parent)
    bodyBegin = parent->bodyBegin;
  if (bodyBegin >= 1 && script[bodyBegin - 1] == '{') return {"{", "}"};
  const std::string begin =
      bodyBegin >= 5 ? std::string(script.substr(bodyBegin - 5, 5)) : std::string("BEGIN");
  const bool lower = begin[0] == 'b', capital = !lower && begin[1] == 'e';
  return {begin, lower ? "end" : capital ? "End" : "END"};
}

// Blanks and one comma at most, with the comma: a separator the edits copy.
bool commaGap(std::string_view gap) {
  return std::count(gap.begin(), gap.end(), ',') == 1 &&
         gap.find_first_not_of(" \t,") == std::string_view::npos;
}

// An ID as the user writes it: a number, or words and numbers with the operators of an
// expression, every name defined. Refused, naming it, otherwise.
std::string checkedId(std::string_view id, const SymbolTable* symbols) {
  const std::string_view trimmed = trimBlanks(id);
  const std::string refusal =
      "ID non valido: «" + std::string(trimmed) + "» non è un numero né un simbolo definito.";
  if (trimmed.empty()) throw Refusal("Manca l'ID della voce.");
  Lexer lexer(trimmed, 0, false);
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
    const bool allowed =
        t.kind == TokenKind::Number ||
        (t.kind == TokenKind::Word && !isReservedWord(t.of(trimmed))) ||
        (t.kind == TokenKind::Punct &&
         std::string_view("+-*/|&~()").find(trimmed[t.begin]) != std::string_view::npos);
    if (!allowed) throw Refusal(refusal);
  }
  const Evaluation value = evaluate(trimmed, symbols);
  if (!value.value || !value.undefined.empty()) throw Refusal(refusal);
  return std::string(trimmed);
}

// The names a new term is written with, for each flag: state first, then type.
constexpr std::pair<unsigned, std::string_view> kStateNames[] = {
    {kMenuGrayed, "MFS_GRAYED"},
    {kMenuInactive, "MF_DISABLED"},
    {kMenuChecked, "MFS_CHECKED"},
    {kMenuDefault, "MFS_DEFAULT"},
};
constexpr std::pair<unsigned, std::string_view> kTypeNames[] = {
    {kMenuBarBreak, "MFT_MENUBARBREAK"},
    {kMenuBreak, "MFT_MENUBREAK"},
    {kMenuHelp, "MFT_RIGHTJUSTIFY"},
};

std::uint32_t nameValue(std::string_view name) {
  for (const auto& [known, value] : menuHeaderNames())
    if (known == name) return value;
  return 0;
}

SymbolTable menuSymbols(const SymbolTable* symbols) {
  return withSystemNames(symbols, menuHeaderNames());
}

// The bits of a MENUEX state or type the flags give.
std::uint32_t stateBits(unsigned flags) {
  std::uint32_t bits = 0;
  if (flags & kMenuGrayed)
    bits |= 0x3;
  else if (flags & kMenuInactive)
    bits |= 0x2;
  if (flags & kMenuChecked) bits |= 0x8;
  if (flags & kMenuDefault) bits |= 0x1000;
  return bits;
}
std::uint32_t typeBits(unsigned flags) {
  std::uint32_t bits = 0;
  if (flags & kMenuBarBreak) bits |= 0x20;
  if (flags & kMenuBreak) bits |= 0x40;
  if (flags & kMenuHelp) bits |= 0x4000;
  return bits;
}

// True when an item of the menu writes a type or state with the headers' names.
bool writesNames(const std::vector<MenuEntry>& items) {
  for (const MenuEntry& e : items) {
    for (const std::string* field : {&e.type, &e.state})
      if (field->find("MF") != std::string::npos) return true;
    if (writesNames(e.items)) return true;
  }
  return false;
}

// A number as written, its form kept: hexadecimal (its prefix and case, an L suffix) or decimal.
std::string numberLike(std::string_view written, std::uint32_t value) {
  const bool hex =
      written.size() >= 2 && written[0] == '0' && (written[1] == 'x' || written[1] == 'X');
  const bool suffix = !written.empty() && (written.back() == 'L' || written.back() == 'l');
  std::string digits;
  if (hex) {
    const bool upper = written.find_first_of("ABCDEF") != std::string_view::npos;
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
      digits.insert(digits.begin(), set[value & 0xF]);
      value >>= 4;
    } while (value != 0);
    digits = std::string(written.substr(0, 2)) + digits;
  } else {
    digits = std::to_string(value);
  }
  if (suffix) digits += written.back();
  return digits;
}

// A MENUEX type or state expression `written` (value `now`) made to give `want` instead: the
// terms that still hold kept as written, those that only give bits no longer wanted taken away
// with their "|", a number that gives some of them written without them, and a term for each
// bit still missing after the last.
std::string retargeted(std::string_view written, std::uint32_t now, std::uint32_t want,
                       const std::pair<unsigned, std::string_view>* names, std::size_t count,
                       bool useNames, const SymbolTable& symbols) {
  const std::uint32_t clear = now & ~want;
  std::uint32_t kept = 0;
  const std::vector<OrTerm> terms =
      trimBlanks(written).empty() ? std::vector<OrTerm>{} : orTerms(written);
  std::vector<bool> dropped(terms.size(), false);
  std::vector<std::pair<std::size_t, std::string>> rewritten;
  for (std::size_t i = 0; i < terms.size(); ++i) {
    const std::string_view term = terms[i].of(written);
    const auto value = knownValue(term, &symbols);
    if (terms[i].negated || !value)
      throw Refusal("Il campo «" + std::string(written) +
                    "» non si modifica: scritto con un'espressione che non si legge per termini.");
    if (!(*value & clear)) {
      kept |= *value;
      continue;
    }
    if ((*value & ~clear) == 0) {
      dropped[i] = true;
      continue;
    }
    if (!compilerNumber(term))
      throw Refusal("Il campo «" + std::string(written) + "» non si modifica: «" +
                    std::string(term) + "» dà anche altro.");
    rewritten.emplace_back(i, numberLike(term, *value & ~clear));
    kept |= *value & ~clear;
  }
  // Each term's text, nothing for one taken away.
  std::vector<std::optional<std::string>> texts(terms.size());
  std::optional<std::size_t> lastNumber;
  for (std::size_t i = 0; i < terms.size(); ++i) {
    if (dropped[i]) continue;
    texts[i] = std::string(terms[i].of(written));
    for (const auto& [at, number] : rewritten)
      if (at == i) texts[i] = number;
    if (compilerNumber(terms[i].of(written))) lastNumber = i;
  }
  std::uint32_t missing = want & ~kept;
  std::vector<std::string> added;
  if (useNames) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t value = nameValue(names[i].second);
      if ((missing & value) == 0 || (value & ~want) != 0) continue;
      added.emplace_back(names[i].second);
      missing &= ~value;
    }
  }
  if (missing != 0 && lastNumber) {
    // Into the last number (a plain 0 becomes hexadecimal).
    const std::uint32_t value = *compilerNumber(*texts[*lastNumber]) | missing;
    texts[*lastNumber] = numberLike(*texts[*lastNumber] == "0" ? "0x" : *texts[*lastNumber], value);
  } else if (missing != 0) {
    added.push_back(numberLike("0x", missing));
  }
  // A 0 beside a name added says nothing.
  if (!added.empty())
    for (auto& text : texts)
      if (text && compilerNumber(*text) == 0u) text.reset();
  // The terms kept, each with what stood before it since the term before it; the new ones after.
  std::string out;
  std::optional<std::size_t> previous;
  for (std::size_t i = 0; i < terms.size(); ++i) {
    if (!texts[i]) continue;
    if (previous) out += written.substr(terms[i - 1].end, terms[i].begin - terms[i - 1].end);
    previous = i;
    out += *texts[i];
  }
  const std::string bar =
      terms.size() > 1 ? std::string(written.substr(terms[0].end, terms[1].begin - terms[0].end))
                       : std::string(" | ");
  for (const std::string& term : added) out += (out.empty() ? "" : bar) + term;
  return out;
}

// The splices that give a MENUEX item's fields (ID, type, state, help ID) the texts `want`,
// those not given kept: an empty field after the last one written is left out, one before it
// written 0, a new one after the last with the separator of the first.
std::vector<Splice> fieldSplices(std::string_view script, const MenuEntry& e,
                                 const std::vector<std::optional<std::string>>& wanted) {
  std::vector<std::string> want;
  for (std::size_t k = 0; k < std::max(e.fields.size(), wanted.size()); ++k) {
    if (k < wanted.size() && wanted[k])
      want.push_back(*wanted[k]);
    else if (k < e.fields.size())
      want.emplace_back(span(script, e.fields[k].begin, e.fields[k].end));
    else
      want.emplace_back();
  }
  std::size_t count = want.size();
  while (count > 0 && want[count - 1].empty()) --count;
  for (std::size_t k = 0; k < count; ++k)
    if (want[k].empty()) want[k] = "0";
  std::vector<Splice> splices;
  const std::size_t have = e.fields.size();
  for (std::size_t k = 0; k < std::min(count, have); ++k) {
    const MenuField& f = e.fields[k];
    if (span(script, f.begin, f.end) == want[k]) continue;
    if (f.begin < f.end) {
      splices.push_back({f.begin, f.end, want[k]});
    } else {  // an empty field: after one blank, or with one before it at a line's end
      std::size_t at = f.begin;
      if (at < script.size() && isBlank(script[at])) ++at;
      const bool gap = at == f.begin && at < script.size() && script[at] != ',';
      splices.push_back({at, at, (gap ? " " : "") + want[k]});
    }
  }
  const std::size_t last = have > 0 ? e.fields[have - 1].end : e.textEnd;
  if (count < have) {
    const std::size_t from = count > 0 ? e.fields[count - 1].end : e.textEnd;
    splices.push_back({from, last, ""});
  } else if (count > have) {
    std::string separator = ", ";
    if (have > 0)
      if (const std::string_view gap = span(script, e.fields[0].comma, e.fields[0].begin);
          commaGap(gap) && e.fields[0].begin < e.fields[0].end)
        separator = std::string(gap);
    std::string added;
    for (std::size_t k = have; k < count; ++k) added += separator + want[k];
    splices.push_back({last, last, added});
  }
  return splices;
}

Edit labelled(std::string label) {
  Edit edit;
  edit.label = std::move(label);
  return edit;
}

Shape& shapeAt(std::vector<Shape>& top, const MenuPath& path) {
  return siblingsIn(top, path)[path.back()];
}

}  // namespace

const MenuEntry* menuEntryAt(const MenuReading& menu, const MenuPath& path) {
  if (path.empty()) return nullptr;
  const std::vector<MenuEntry>* list = &menu.items;
  const MenuEntry* e = nullptr;
  for (const std::size_t i : path) {
    if (i >= list->size()) return nullptr;
    e = &(*list)[i];
    list = &e->items;
  }
  return e;
}

std::string menuTextPath(const MenuReading& menu, const MenuPath& path) {
  std::string out;
  const std::vector<MenuEntry>* list = &menu.items;
  for (std::size_t depth = 0; depth < path.size(); ++depth) {
    if (path[depth] >= list->size()) break;
    const MenuEntry& e = (*list)[path[depth]];
    if (depth > 0) out += '/';
    for (const char c : e.text)
      if (c != '&') out += c;
    list = &e.items;
  }
  return out;
}

unsigned menuFlagsFromWords(std::string_view words) {
  unsigned flags = 0;
  std::size_t at = 0;
  while (at < words.size()) {
    const std::size_t end = std::min(words.find_first_of(" \t,|", at), words.size());
    const std::string_view word = words.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    bool known = false;
    for (const unsigned flag : {kMenuGrayed, kMenuInactive, kMenuChecked, kMenuBarBreak, kMenuBreak,
                                kMenuHelp, kMenuDefault}) {
      if (!isKeyword(word, menuFlagWords(flag))) continue;
      flags |= flag;
      known = true;
    }
    if (!known)
      throw Refusal("Opzione sconosciuta «" + std::string(word) +
                    "»: valgono GRAYED, INACTIVE, CHECKED, MENUBREAK, MENUBARBREAK, HELP e, nei "
                    "menu MENUEX, DEFAULT.");
  }
  return flags;
}

Edit setMenuText(std::string_view script, const MenuReading& menu, const MenuPath& path,
                 std::string_view text, const ScriptCharset& charset) {
  const MenuEntry& e = entryAt(menu, path);
  if (isSeparator(e)) throw Refusal("Un separatore non ha testo.");
  if (e.fullText == text) return labelled("Modifica voce di menu");
  // A shortcut written after \a keeps that escape.
  const bool bell = span(script, e.textBegin, e.textEnd).find("\\a") != std::string_view::npos;
  const std::string wanted(text);
  for (const bool octalApostrophes : {false, true}) {
    std::string literal = e.wide ? "L\"" : "\"";
    std::size_t at = 0;
    while (true) {
      const std::size_t stop = bell ? text.find('\b', at) : std::string_view::npos;
      literal += writtenString(text.substr(at, stop - at), charset, octalApostrophes);
      if (stop == std::string_view::npos) break;
      literal += "\\a";
      at = stop + 1;
    }
    literal += '"';
    std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
    shapeAt(expected, path).literal = literal;
    try {
      return checked(script, menu, "Modifica voce di menu", {{e.textBegin, e.textEnd, literal}},
                     expected, charset, &path, &wanted);
    } catch (const Refusal&) {
      if (octalApostrophes) throw;
    }
  }
  return {};
}

Edit setMenuId(std::string_view script, const MenuReading& menu, const MenuPath& path,
               std::string_view id, const SymbolTable* symbols) {
  const MenuEntry& e = entryAt(menu, path);
  if (isSeparator(e)) throw Refusal("Un separatore non ha ID.");
  if (e.popup && !menu.extended) throw Refusal("Un pop-up di un menu MENU non ha ID.");
  const std::string_view trimmed = trimBlanks(id);
  const Edit none = labelled("Modifica ID di voce di menu");
  if (trimmed == e.id) return none;
  const std::string written =
      trimmed.empty() && menu.extended ? std::string() : checkedId(trimmed, symbols);
  std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
  shapeAt(expected, path).id = written;
  if (!menu.extended)
    return checked(script, menu, none.label, {{e.idBegin, e.idEnd, written}}, expected);
  // An ID left empty before a type is written 0.
  if (written.empty() && e.fields.size() > 1) shapeAt(expected, path).id = "0";
  return checked(script, menu, none.label, fieldSplices(script, e, {written}), expected);
}

Edit setMenuFlags(std::string_view script, const MenuReading& menu, const MenuPath& path,
                  unsigned flags, const SymbolTable* symbols) {
  const MenuEntry& e = entryAt(menu, path);
  const std::string label = "Modifica opzioni di voce di menu";
  if (isSeparator(e) || (e.flags & kMenuSeparator))
    throw Refusal("Le opzioni di un separatore non si modificano.");
  flags &= ~unsigned(kMenuSeparator);
  if (!menu.extended && (flags & kMenuDefault))
    throw Refusal("DEFAULT vale solo per le voci di un menu MENUEX.");
  // MENUEX: a grayed item is disabled too.
  if (menu.extended && (flags & kMenuGrayed)) flags &= ~unsigned(kMenuInactive);
  if (flags == e.flags) return labelled(label);
  std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
  Shape& shape = shapeAt(expected, path);
  if (!menu.extended) shape.flags = flags;
  if (!menu.extended) {
    std::vector<Splice> splices;
    std::size_t insertAt = e.popup ? e.textEnd : e.idEnd;
    std::string separator = ", ";
    for (const MenuOption& o : e.options) {
      const std::string_view gap = span(script, o.after, o.begin);
      if (commaGap(gap)) separator = gap;
      if (flags & o.flag) {
        insertAt = o.end;
        continue;
      }
      if (gap.find_first_not_of(" \t,") != std::string_view::npos)
        throw Refusal("L'opzione " + std::string(span(script, o.begin, o.end)) +
                      " non si toglie: un commento o un a capo la precede.");
      splices.push_back({o.after, o.end, ""});
    }
    std::string added;
    for (const unsigned flag :
         {kMenuGrayed, kMenuInactive, kMenuChecked, kMenuBarBreak, kMenuBreak, kMenuHelp})
      if ((flags & flag) && !(e.flags & flag))
        added += separator + spelled(script, &e, menuFlagWords(flag));
    if (!added.empty()) splices.push_back({insertAt, insertAt, added});
    return checked(script, menu, label, std::move(splices), expected);
  }
  const SymbolTable names = menuSymbols(symbols);
  const auto value = [&](const std::string& written) -> std::uint32_t {
    if (written.empty()) return 0;
    const auto known = knownValue(written, &names);
    if (!known) throw Refusal("Il campo «" + written + "» non si modifica: un nome non ha valore.");
    return *known;
  };
  const std::uint32_t typeNow = value(e.type), stateNow = value(e.state);
  const std::uint32_t kStateFlags = 0x3 | 0x8 | 0x1000, kTypeFlags = 0x20 | 0x40 | 0x4000;
  const std::uint32_t typeWant = (typeNow & ~kTypeFlags) | typeBits(flags);
  std::uint32_t stateWant = (stateNow & ~kStateFlags) | stateBits(flags);
  // A state already disabled and grayed (1 or 3) stays as it is while it should.
  if ((flags & kMenuGrayed) && ((stateNow & 0x3) == 0x1))
    stateWant = (stateWant & ~std::uint32_t(0x3)) | 0x1;
  const bool useNames = writesNames(menu.items);
  std::vector<std::optional<std::string>> wanted(3);
  if (typeWant != typeNow)
    wanted[1] =
        retargeted(e.type, typeNow, typeWant, kTypeNames, std::size(kTypeNames), useNames, names);
  if (stateWant != stateNow)
    wanted[2] = retargeted(e.state, stateNow, stateWant, kStateNames, std::size(kStateNames),
                           useNames, names);
  const std::vector<Splice> splices = fieldSplices(script, e, wanted);
  // What the fields read as after: the texts written.
  const Reread after = readAfter(script, menu, inOrder(splices), symbols, {});
  const MenuReading& again = after.menu;
  const MenuEntry* now = again.problem.empty() ? menuEntryAt(again, path) : nullptr;
  if (!now || (now->flags & ~unsigned(kMenuSeparator)) != flags)
    throw Refusal("Impossibile scrivere le opzioni senza cambiare come si legge la voce.");
  shape.id = now->id;
  shape.type = now->type;
  shape.state = now->state;
  return checked(script, menu, label, splices, expected);
}

Edit setMenuExField(std::string_view script, const MenuReading& menu, const MenuPath& path,
                    MenuExField field, std::string_view written, const SymbolTable* symbols) {
  const MenuEntry& e = entryAt(menu, path);
  if (!menu.extended) throw Refusal("Tipo, stato e ID della guida valgono solo nei menu MENUEX.");
  if (isSeparator(e)) throw Refusal("Un separatore scritto SEPARATOR non ha altri campi.");
  if (field == MenuExField::HelpId && !e.popup)
    throw Refusal("Solo un pop-up ha l'ID della guida.");
  const std::string_view trimmed = trimBlanks(written);
  const auto k = static_cast<std::size_t>(field);
  const std::string label = "Modifica voce di menu";
  const std::string* now = field == MenuExField::Type    ? &e.type
                           : field == MenuExField::State ? &e.state
                                                         : &e.helpId;
  if (trimmed == *now) return labelled(label);
  std::string value;
  if (!trimmed.empty()) {
    const SymbolTable names = menuSymbols(symbols);
    value = checkedId(trimmed, &names);
  }
  std::vector<std::optional<std::string>> wanted(k + 1);
  wanted[k] = value;
  const std::vector<Splice> splices = fieldSplices(script, e, wanted);
  std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
  Shape& shape = shapeAt(expected, path);
  // What the item reads as after: its fields as written, its flags from them.
  const Reread after = readAfter(script, menu, inOrder(splices), nullptr, {});
  const MenuReading& again = after.menu;
  const MenuEntry* read = again.problem.empty() ? menuEntryAt(again, path) : nullptr;
  if (!read || [&] {
        const std::string* got = field == MenuExField::Type    ? &read->type
                                 : field == MenuExField::State ? &read->state
                                                               : &read->helpId;
        return *got != (value.empty() && !read->fields.empty() && read->fields.size() > k
                            ? std::string("0")
                            : value);
      }())
    throw Refusal("Impossibile scrivere il campo senza cambiare come si legge la voce.");
  shape.id = read->id;
  shape.type = read->type;
  shape.state = read->state;
  shape.helpId = read->helpId;
  return checked(script, menu, label, splices, expected);
}

Edit insertMenuItem(std::string_view script, const MenuReading& menu, const MenuPath& path,
                    const NewMenuItem& item, const ScriptCharset& charset,
                    const SymbolTable* symbols) {
  readable(menu);
  if (path.empty()) throw Refusal("Voce di menu non trovata.");
  const MenuEntry* parent = path.size() > 1 ? menuEntryAt(menu, parentOf(path)) : nullptr;
  if (path.size() > 1 && (!parent || !parent->popup)) throw Refusal("Voce di menu non trovata.");
  const std::vector<MenuEntry>& siblings = siblingsOf(menu, path);
  const std::size_t index = path.back();
  if (index > siblings.size()) throw Refusal("Voce di menu non trovata.");
  std::string id;
  // A MENU pop-up has no ID; a MENUEX item or pop-up may go without.
  if (!item.separator && !(item.popup && !menu.extended) &&
      (!menu.extended || !trimBlanks(item.id).empty()))
    id = checkedId(item.id, symbols);
  const MenuTree tree(script, menu);
  const MenuEntry* before = index > 0 ? &siblings[index - 1] : nullptr;
  const MenuEntry* after = index < siblings.size() ? &siblings[index] : nullptr;
  const MenuEntry* model = before ? before : after;
  const std::string parentIndent = parent ? indentOfItem(tree, *parent) : std::string();
  const std::string indent =
      model ? indentOfItem(tree, *model) : parentIndent + indentStep(tree, menu);
  // Spelled like the model: its keyword's case, the blanks after it, the separator before the ID.
  const std::string keyword = spelled(script, model, item.popup ? "POPUP" : "MENUITEM");
  std::string afterKeyword = " ";
  std::string beforeId = ", ";
  bool wide = false;
  for (const MenuEntry* m : {before, after}) {
    if (!m || isSeparator(*m)) continue;
    wide = m->wide;
    const std::size_t keywordEnd = m->offset + (m->popup ? 5 : 8);
    if (const std::string_view gap = span(script, keywordEnd, m->textBegin);
        !gap.empty() && gap.find_first_not_of(" \t") == std::string_view::npos)
      afterKeyword = gap;
    const std::size_t idAt =
        menu.extended ? (m->fields.empty() ? 0 : m->fields[0].begin) : (m->popup ? 0 : m->idBegin);
    if (idAt > m->textEnd)
      if (const std::string_view gap = span(script, m->textEnd, idAt); commaGap(gap))
        beforeId = gap;
    break;
  }
  std::string line = keyword + afterKeyword;
  if (item.separator) {
    line = keyword + " " + spelled(script, model, "SEPARATOR");
  } else {
    line += (wide ? "L\"" : "\"") + writtenString(item.text, charset) + "\"";
    if (!id.empty()) line += beforeId + id;
    if (item.popup) {
      // Its body opened and closed on lines of their own, with the word the nearest body uses.
      const auto [open, close] = bodyWords(script, menu, parent, before, after);
      line += "\r\n" + indent + open + "\r\n" + indent + close;
    }
  }
  std::vector<Splice> splices;
  if (before) {
    if (const auto next = tree.nextLineAfter(before->end))
      splices.push_back({*next, *next, indent + line + "\r\n"});
    else
      splices.push_back({before->end, before->end, "\r\n" + indent + line});
  } else if (after) {
    if (const auto start = tree.lineStartBefore(after->offset))
      splices.push_back({*start, *start, indent + line + "\r\n"});
    else
      splices.push_back({after->offset, after->offset, line + " "});
  } else {
    const std::size_t closer = parent ? parent->bodyEnd : menu.bodyEnd;
    if (const auto start = tree.lineStartBefore(closer))
      splices.push_back({*start, *start, indent + line + "\r\n"});
    else
      splices.push_back({closer, closer, "\r\n" + indent + line + "\r\n" + parentIndent});
  }
  // The item as it reads after, for the check.
  const Reread reread = readAfter(script, menu, splices, nullptr, charset);
  const MenuReading& again = reread.menu;
  const std::string& afterText = reread.text;
  const MenuEntry* added = again.problem.empty() ? menuEntryAt(again, path) : nullptr;
  if (!added || (!item.separator && added->fullText != item.text) ||
      item.separator != isSeparator(*added) || item.popup != added->popup || !added->items.empty())
    throw Refusal("Impossibile aggiungere la voce senza cambiare come si legge il menu.");
  std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
  std::vector<Shape>& list = siblingsIn(expected, path);
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(index),
              Shape{item.popup,
                    menu.extended ? 0 : added->flags,
                    std::string(span(afterText, added->textBegin, added->textEnd)),
                    added->id,
                    added->type,
                    added->state,
                    added->helpId,
                    {}});
  return checked(script, menu,
                 item.separator ? "Nuovo separatore"
                 : item.popup   ? "Nuovo pop-up"
                                : "Nuova voce di menu",
                 std::move(splices), expected, charset);
}

Edit deleteMenuItem(std::string_view script, const MenuReading& menu, const MenuPath& path) {
  const MenuEntry& e = entryAt(menu, path);
  const MenuTree tree(script, menu);
  std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
  std::vector<Shape>& list = siblingsIn(expected, path);
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(path.back()));
  const std::string label = e.popup ? "Elimina pop-up" : "Elimina voce di menu";
  if (const auto lines = tree.linesOf(e)) {
    if (!tree.conditionalsClose(lines->first, lines->second))
      throw Refusal("Impossibile eliminare " + named(e) +
                    ": le sue righe aprono o chiudono un blocco #if.");
    return checked(script, menu, label, {{lines->first, lines->second, ""}}, expected);
  }
  if (!tree.conditionalsClose(e.offset, e.end))
    throw Refusal("Impossibile eliminare " + named(e) +
                  ": le sue righe aprono o chiudono un blocco #if.");
  // The item shares its line: its tokens go, with the blanks after them.
  std::size_t end = e.end;
  while (end < script.size() && isBlank(script[end])) ++end;
  const TreeToken& next = tree.tree.tokens[tree.tokenAfter(e.end)];
  if (!next.newLine && next.kind == TokenKind::Punct && tree.own[next.begin] == '#')
    throw Refusal("Impossibile eliminare " + named(e) +
                  ": il resto della sua riga diventerebbe una direttiva.");
  const bool joins = e.offset > 0 && !isSpace(script[e.offset - 1]) && end < script.size() &&
                     !isSpace(script[end]);
  return checked(script, menu, label, {{e.offset, end, joins ? " " : ""}}, expected);
}

std::optional<MenuPath> movedMenuPath(const MenuReading& menu, const MenuPath& path,
                                      MenuMove move) {
  const MenuEntry* e = menuEntryAt(menu, path);
  if (!e) return std::nullopt;
  const std::vector<MenuEntry>& siblings = siblingsOf(menu, path);
  const std::size_t index = path.back();
  MenuPath to = path;
  switch (move) {
    case MenuMove::Up:
      if (index == 0) return std::nullopt;
      to.back() = index - 1;
      return to;
    case MenuMove::Down:
      if (index + 1 >= siblings.size()) return std::nullopt;
      to.back() = index + 1;
      return to;
    case MenuMove::Out:
      if (path.size() < 2) return std::nullopt;
      to.pop_back();
      if (index > 0) ++to.back();
      return to;
    case MenuMove::In:
      if (index > 0 && siblings[index - 1].popup) {
        to.back() = index - 1;
        to.push_back(siblings[index - 1].items.size());
        return to;
      }
      if (index + 1 < siblings.size() && siblings[index + 1].popup) {
        to.push_back(0);
        return to;
      }
      return std::nullopt;
  }
  return std::nullopt;
}

Edit moveMenuItem(std::string_view script, const MenuReading& menu, const MenuPath& path,
                  MenuMove move) {
  const MenuEntry& e = entryAt(menu, path);
  const auto to = movedMenuPath(menu, path, move);
  if (!to) {
    switch (move) {
      case MenuMove::Up:
        throw Refusal("La voce è già la prima del suo livello.");
      case MenuMove::Down:
        throw Refusal("La voce è già l'ultima del suo livello.");
      case MenuMove::Out:
        throw Refusal("La voce non sta in un pop-up.");
      case MenuMove::In:
        throw Refusal("Nessun pop-up accanto alla voce in cui spostarla.");
    }
  }
  const MenuTree tree(script, menu);
  const auto lines = tree.linesOf(e);
  const std::string cannot = "Impossibile spostare " + named(e);
  if (!lines) throw Refusal(cannot + ": non sta su righe sue.");
  if (!tree.conditionalsClose(lines->first, lines->second))
    throw Refusal(cannot + ": le sue righe aprono o chiudono un blocco #if.");
  // No preprocessor line between where the item stands and where it goes.
  const auto passes = [&](std::size_t from, std::size_t upTo) {
    if (tree.directiveIn(from, upTo))
      throw Refusal(cannot + ": passerebbe una riga del preprocessore.");
  };
  const std::string_view block = span(script, lines->first, lines->second);
  const std::string indent = indentAt(script, lines->first, e.offset);
  const std::vector<MenuEntry>& siblings = siblingsOf(menu, path);
  const std::size_t index = path.back();
  std::vector<Splice> splices;
  std::string label = "Sposta voce di menu";
  if (move == MenuMove::Up || move == MenuMove::Down) {
    const MenuEntry& other = siblings[move == MenuMove::Up ? index - 1 : index + 1];
    const auto otherLines = tree.linesOf(other);
    if (!otherLines) throw Refusal(cannot + ": " + named(other) + " non sta su righe sue.");
    if (!tree.conditionalsClose(otherLines->first, otherLines->second))
      throw Refusal(cannot + ": le righe di " + named(other) + " aprono o chiudono un blocco #if.");
    const auto first = move == MenuMove::Up ? *otherLines : *lines;
    const auto second = move == MenuMove::Up ? *lines : *otherLines;
    passes(first.second, second.first);
    splices.push_back({first.first, second.second,
                       std::string(span(script, second.first, second.second)) +
                           std::string(span(script, first.second, second.first)) +
                           std::string(span(script, first.first, first.second))});
  } else {
    std::size_t target = 0;
    std::string newIndent;
    if (move == MenuMove::Out) {
      const MenuEntry& parent = *menuEntryAt(menu, parentOf(path));
      const auto parentLines = tree.linesOf(parent);
      if (!parentLines) throw Refusal(cannot + ": " + named(parent) + " non sta su righe sue.");
      newIndent = indentAt(script, parentLines->first, parent.offset);
      if (index == 0) {
        target = parentLines->first;
        passes(target, lines->first);
      } else {
        target = parentLines->second;
        passes(lines->second, target);
      }
    } else if (index > 0 && siblings[index - 1].popup) {
      const MenuEntry& popup = siblings[index - 1];
      const auto closer = tree.lineStartBefore(popup.bodyEnd);
      if (!closer)
        throw Refusal(cannot + ": la fine di " + named(popup) + " non sta su una riga sua.");
      target = *closer;
      newIndent = !popup.items.empty() && tree.lineStartBefore(popup.items.back().offset)
                      ? indentOfItem(tree, popup.items.back())
                      : indentOfItem(tree, popup) + indentStep(tree, menu);
      passes(target, lines->first);
    } else {
      const MenuEntry& popup = siblings[index + 1];
      const auto opened = tree.nextLineAfter(popup.bodyBegin);
      if (!opened)
        throw Refusal(cannot + ": l'inizio di " + named(popup) + " non finisce la sua riga.");
      target = *opened;
      newIndent = !popup.items.empty() && tree.lineStartBefore(popup.items.front().offset)
                      ? indentOfItem(tree, popup.items.front())
                      : indentOfItem(tree, popup) + indentStep(tree, menu);
      passes(lines->second, target);
    }
    splices.push_back({lines->first, lines->second, ""});
    splices.push_back({target, target, reindented(block, indent, newIndent)});
  }
  // The menu as it should read after: the item taken away and put at its new place.
  std::vector<Shape> expected = shapeOf(script, menu.items, menu.extended);
  std::vector<Shape>& from = siblingsIn(expected, path);
  Shape moved = std::move(from[index]);
  from.erase(from.begin() + static_cast<std::ptrdiff_t>(index));
  const MenuPath& place = *to;
  std::vector<Shape>& into = siblingsIn(expected, place);
  into.insert(into.begin() + static_cast<std::ptrdiff_t>(place.back()), std::move(moved));
  return checked(script, menu, label, std::move(splices), expected);
}

std::uint32_t nextFreeMenuId(const MenuReading& menu, const SymbolTable* symbols) {
  std::set<std::uint32_t> taken;
  std::uint32_t largest = 0;
  const auto walk = [&](const auto& self, const std::vector<MenuEntry>& items) -> void {
    for (const MenuEntry& e : items) {
      if (e.idValue && *e.idValue <= 0xFFFF) {
        taken.insert(*e.idValue);
        largest = std::max(largest, *e.idValue);
      }
      self(self, e.items);
    }
  };
  walk(walk, menu.items);
  std::uint32_t next = largest + 1;
  if (symbols) {
    for (const auto& [name, written] : symbols->definitions())
      if (!name.starts_with("_APS_"))
        if (const auto value = knownValue(written, symbols)) taken.insert(*value);
    if (const std::string* aps = symbols->find("_APS_NEXT_COMMAND_VALUE"))
      if (const auto value = knownValue(*aps, symbols)) next = std::max(next, *value);
  }
  while (taken.count(next) && next < 0xFFFF) ++next;
  return next;
}

}  // namespace kolvre
