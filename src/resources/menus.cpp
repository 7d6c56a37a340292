#include "resources/menus.h"

#include <array>
#include <utility>

#include "base/text.h"
#include "resources/body_tokens.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// The options of a MENU item, with the flag each one sets.
constexpr std::array<std::pair<std::string_view, unsigned>, 8> kMenuOptions{{
    {"GRAYED", kMenuGrayed},
    {"INACTIVE", kMenuInactive},
    {"CHECKED", kMenuChecked},
    {"MENUBARBREAK", kMenuBarBreak},
    {"MENUBREAK", kMenuBreak},
    {"HELP", kMenuHelp},
    {"SEPARATOR", kMenuSeparator},
    {"DEFAULT", kMenuDefault},
}};

// The flags a MENUEX item's type and state values give.
unsigned extendedFlags(std::uint32_t type, std::uint32_t state) {
  unsigned flags = 0;
  if ((state & 0x3) == 0x3 || (state & 0x3) == 0x1) flags |= kMenuGrayed;
  if ((state & 0x3) == 0x2) flags |= kMenuInactive;
  if (state & 0x8) flags |= kMenuChecked;
  if (state & 0x1000) flags |= kMenuDefault;
  if (type & 0x20) flags |= kMenuBarBreak;
  if (type & 0x40) flags |= kMenuBreak;
  if (type & 0x4000) flags |= kMenuHelp;
  if (type & 0x800) flags |= kMenuSeparator;
  return flags;
}

// An option a MENU item may be written with: SEPARATOR stands alone after MENUITEM, and only a
// MENUEX state makes a default item.
std::optional<unsigned> optionFlag(std::string_view word) {
  for (const auto& [option, flag] : kMenuOptions)
    if (isKeyword(word, option) && flag != kMenuSeparator && flag != kMenuDefault) return flag;
  return std::nullopt;
}

bool isItemWord(std::string_view word) {
  return wordClasses(word, words::kMenuItem | words::kPopup | words::kBegin | words::kEnd) != 0;
}

class MenuParser {
 public:
  MenuParser(std::string_view text, const std::vector<Token>& tokens, bool extended,
             const SymbolTable* symbols, const ScriptCharset& charset)
      : text_(text), tokens_(tokens), extended_(extended), symbols_(symbols), charset_(charset) {}

  // The items up to the "}" or END that closes the body or pop-up, which begins at `closer`;
  // false with the problem set.
  bool items(std::vector<MenuEntry>& out, std::size_t& closer) {
    while (true) {
      if (at_ >= tokens_.size()) return fail(text_.size(), "il corpo del menu non è chiuso.");
      const Token& t = tokens_[at_];
      if (closesBody(text_, t)) {
        closer = t.begin;
        ++at_;
        return true;
      }
      const std::string_view word = t.of(text_);
      MenuEntry item;
      item.offset = t.begin;
      ++at_;
      if (t.kind == TokenKind::Word && isKeyword(word, "MENUITEM")) {
        if (!menuItem(item)) return false;
      } else if (t.kind == TokenKind::Word && isKeyword(word, "POPUP")) {
        item.popup = true;
        if (!popup(item)) return false;
      } else {
        return fail(t.begin, "«" + std::string(word) +
                                 "» non è una voce di menu (attesi MENUITEM, POPUP o END).");
      }
      item.end = tokens_[at_ - 1].end;
      out.push_back(std::move(item));
    }
  }

  const std::string& problem() const { return problem_; }

 private:
  bool fail(std::size_t offset, const std::string& why) {
    problem_ = "Riga " + std::to_string(lineNumberAt(text_, offset)) + ": " + why;
    return false;
  }

  const Token* peek(std::size_t ahead = 0) const {
    return at_ + ahead < tokens_.size() ? &tokens_[at_ + ahead] : nullptr;
  }
  bool peekIs(std::string_view punct, std::size_t ahead = 0) const {
    const Token* t = peek(ahead);
    return t && t->kind == TokenKind::Punct && t->of(text_) == punct;
  }

  // The quoted text that follows MENUITEM or POPUP (L"..." too), split at its first tab.
  bool itemText(MenuEntry& item, std::string_view keyword) {
    const Token* t = peek();
    // The body's tokens hold a wide string's L as a word of its own, just before the string.
    const bool wide = t && t->kind == TokenKind::Word && t->of(text_) == "L" && peek(1) &&
                      peek(1)->kind == TokenKind::String && peek(1)->begin == t->end;
    const Token* literal = wide ? peek(1) : t;
    const auto quoted = literal && literal->kind == TokenKind::String
                            ? quotedText(literal->of(text_))
                            : std::nullopt;
    if (!quoted)
      return fail(t ? t->begin : text_.size(),
                  "atteso il testo tra virgolette dopo " + std::string(keyword) + ".");
    const std::string_view inner = *quoted;
    item.fullText = shownString(inner, charset_);
    const std::size_t tab = item.fullText.find_first_of("\t\b");
    item.text = item.fullText.substr(0, tab);
    if (tab != std::string::npos) item.shortcut = item.fullText.substr(tab + 1);
    item.textBegin = t->begin;
    item.textEnd = literal->end;
    item.wide = wide;
    at_ += wide ? 2 : 1;
    return true;
  }

  // An expression field; empty when none stands here.
  std::string expression() {
    const std::size_t end = expressionEnd(text_, tokens_, at_, [](std::string_view word) {
      return isItemWord(word) || optionFlag(word).has_value();
    });
    if (end == at_) return {};
    const std::string written(
        text_.substr(tokens_[at_].begin, tokens_[end - 1].end - tokens_[at_].begin));
    at_ = end;
    return written;
  }

  // MENU options after an item's text or id: words, with or without commas between them.
  bool options(MenuEntry& item) {
    while (true) {
      std::size_t ahead = peekIs(",") ? 1 : 0;
      const Token* t = peek(ahead);
      if (!t || t->kind != TokenKind::Word || isItemWord(t->of(text_)) ||
          (ahead == 0 && t->newLine)) {
        if (ahead == 1)
          return fail(t ? t->begin : text_.size(), "attesa un'opzione dopo la virgola.");
        return true;
      }
      const auto flag = optionFlag(t->of(text_));
      if (!flag) return fail(t->begin, "opzione sconosciuta «" + std::string(t->of(text_)) + "».");
      item.flags |= *flag;
      item.options.push_back({tokens_[at_ - 1].end, t->begin, t->end, *flag});
      at_ += ahead + 1;
    }
  }

  // MENUEX fields after the text: each after a comma, each may be left empty.
  std::vector<std::string> fields(MenuEntry& item, std::size_t most) {
    std::vector<std::string> out;
    while (out.size() < most && peekIs(",")) {
      MenuField field;
      field.comma = tokens_[at_].begin;
      field.begin = field.end = tokens_[at_].end;
      const std::size_t first = ++at_;
      out.push_back(expression());
      if (at_ > first) {
        field.begin = tokens_[first].begin;
        field.end = tokens_[at_ - 1].end;
      }
      item.fields.push_back(field);
    }
    return out;
  }

  void setId(MenuEntry& item, std::string written) {
    item.id = std::move(written);
    if (!item.id.empty()) item.idValue = knownValue(item.id, symbols_);
  }

  void setExtended(MenuEntry& item, const std::vector<std::string>& values) {
    if (!values.empty()) setId(item, values[0]);
    if (values.size() > 1) item.type = values[1];
    if (values.size() > 2) item.state = values[2];
    if (values.size() > 3) item.helpId = values[3];
    const auto value = [&](const std::string& written) {
      if (written.empty()) return std::uint32_t{0};
      // Made at the first type or state: a copy of the script's symbols, which a MENU never
      // needs (a search reads every menu of a large script).
      if (!names_) names_ = withSystemNames(symbols_, menuHeaderNames());
      return evaluate(written, &*names_).value.value_or(0);
    };
    item.flags = extendedFlags(value(item.type), value(item.state));
  }

  bool menuItem(MenuEntry& item) {
    const Token* t = peek();
    if (t && t->kind == TokenKind::Word && isKeyword(t->of(text_), "SEPARATOR")) {
      ++at_;
      item.flags |= kMenuSeparator;
      return true;
    }
    if (!itemText(item, "MENUITEM")) return false;
    if (extended_) {
      setExtended(item, fields(item, 3));
      return true;
    }
    if (!peekIs(",")) return fail(t->begin, "manca l'id della voce dopo il testo.");
    ++at_;
    item.idBegin = item.idEnd = tokens_[at_ - 1].end;
    if (at_ < tokens_.size()) item.idBegin = tokens_[at_].begin;
    setId(item, expression());
    item.idEnd = tokens_[at_ - 1].end;
    if (item.id.empty()) return fail(t->begin, "manca l'id della voce dopo il testo.");
    return options(item);
  }

  bool popup(MenuEntry& item) {
    if (!itemText(item, "POPUP")) return false;
    if (extended_) {
      setExtended(item, fields(item, 4));
    } else if (!options(item)) {
      return false;
    }
    const Token* open = peek();
    if (open && open->kind == TokenKind::Word && !opensBody(text_, *open))
      return fail(open->begin, "«" + std::string(open->of(text_)) +
                                   "» non è atteso dopo il pop-up «" + item.text +
                                   "» (manca BEGIN o {).");
    if (!open || !opensBody(text_, *open))
      return fail(open ? open->begin : text_.size(),
                  "manca BEGIN o { dopo il pop-up «" + item.text + "».");
    item.bodyBegin = open->end;
    ++at_;
    return items(item.items, item.bodyEnd);
  }

  std::string_view text_;
  const std::vector<Token>& tokens_;
  bool extended_;
  const SymbolTable* symbols_;
  // The script's symbols and the menu names of the headers.
  std::optional<SymbolTable> names_;
  ScriptCharset charset_;
  std::size_t at_ = 0;
  std::string problem_;
};

}  // namespace

std::string menuFlagWords(unsigned flags) {
  std::string words;
  for (const auto& [word, flag] : kMenuOptions) {
    if (!(flags & flag)) continue;
    if (!words.empty()) words += ' ';
    words += word;
  }
  return words;
}

MenuReading readMenu(std::string_view text, const Statement& statement, const SymbolTable* symbols,
                     const ScriptCharset& charset) {
  MenuReading reading;
  reading.extended = isKeyword(statement.type(text), "MENUEX");
  reading.statement = statement;
  const auto body = bodyTokens(text, statement);
  if (!body) {
    reading.problem = "Riga " + std::to_string(lineNumberAt(text, statement.begin)) +
                      ": il menu non ha corpo (manca BEGIN o {).";
    return reading;
  }
  // The opener: "{", or BEGIN in any case.
  reading.bodyBegin = body->bodyOffset + (text[body->bodyOffset] == '{' ? 1 : 5);
  MenuParser parser(text, body->tokens, reading.extended, symbols, charset);
  if (!parser.items(reading.items, reading.bodyEnd)) {
    reading.items.clear();
    reading.problem = parser.problem();
  }
  return reading;
}

std::size_t countMenuEntries(const std::vector<MenuEntry>& items) {
  std::size_t count = items.size();
  for (const MenuEntry& item : items) count += countMenuEntries(item.items);
  return count;
}

const std::vector<std::pair<std::string_view, std::uint32_t>>& menuHeaderNames() {
  static const std::vector<std::pair<std::string_view, std::uint32_t>> names{
      {"MFT_STRING", 0x0},       {"MFT_BITMAP", 0x4},        {"MFT_MENUBARBREAK", 0x20},
      {"MFT_MENUBREAK", 0x40},   {"MFT_OWNERDRAW", 0x100},   {"MFT_RADIOCHECK", 0x200},
      {"MFT_SEPARATOR", 0x800},  {"MFT_RIGHTORDER", 0x2000}, {"MFT_RIGHTJUSTIFY", 0x4000},
      {"MFS_GRAYED", 0x3},       {"MFS_DISABLED", 0x3},      {"MFS_CHECKED", 0x8},
      {"MFS_HILITE", 0x80},      {"MFS_ENABLED", 0x0},       {"MFS_UNCHECKED", 0x0},
      {"MFS_UNHILITE", 0x0},     {"MFS_DEFAULT", 0x1000},    {"MF_GRAYED", 0x1},
      {"MF_DISABLED", 0x2},      {"MF_CHECKED", 0x8},        {"MF_SEPARATOR", 0x800},
      {"MF_MENUBARBREAK", 0x20}, {"MF_MENUBREAK", 0x40},     {"MF_HELP", 0x4000},
  };
  return names;
}

}  // namespace kolvre
