#include "resources/accelerators.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <tuple>
#include <utility>

#include "base/text.h"
#include "messages/error_record.h"
#include "resources/body_tokens.h"
#include "resources/resource_data.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

namespace {

constexpr std::array<std::pair<std::string_view, unsigned>, 6> kOptionWords{{
    {"VIRTKEY", kAccelVirtualKey},
    {"ASCII", kAccelAscii},
    {"NOINVERT", kAccelNoInvert},
    {"ALT", kAccelAlt},
    {"SHIFT", kAccelShift},
    {"CONTROL", kAccelControl},
}};

// The virtual keys with a name of their own: the header's name and the key's name as shown.
// Letters and digits are their own codes; F1 to F24 follow from 0x70.
struct VirtualKeyRow {
  std::string_view word;
  std::uint32_t code;
  std::string_view name;
};
constexpr std::array<VirtualKeyRow, 42> kVirtualKeys{{
    {"VK_CANCEL", 0x03, "Interr"},
    {"VK_BACK", 0x08, "Backspace"},
    {"VK_TAB", 0x09, "Tab"},
    {"VK_RETURN", 0x0D, "Invio"},
    {"VK_SHIFT", 0x10, "Maiusc"},
    {"VK_CONTROL", 0x11, "Ctrl"},
    {"VK_MENU", 0x12, "Alt"},
    {"VK_PAUSE", 0x13, "Pausa"},
    {"VK_CAPITAL", 0x14, "Bloc Maiusc"},
    {"VK_ESCAPE", 0x1B, "Esc"},
    {"VK_SPACE", 0x20, "Spazio"},
    {"VK_PRIOR", 0x21, "Pag su"},
    {"VK_NEXT", 0x22, "Pag giù"},
    {"VK_END", 0x23, "Fine"},
    {"VK_HOME", 0x24, "Home"},
    {"VK_LEFT", 0x25, "Freccia sinistra"},
    {"VK_UP", 0x26, "Freccia su"},
    {"VK_RIGHT", 0x27, "Freccia destra"},
    {"VK_DOWN", 0x28, "Freccia giù"},
    {"VK_SNAPSHOT", 0x2C, "Stamp"},
    {"VK_INSERT", 0x2D, "Ins"},
    {"VK_DELETE", 0x2E, "Canc"},
    {"VK_NUMPAD0", 0x60, "Num 0"},
    {"VK_NUMPAD1", 0x61, "Num 1"},
    {"VK_NUMPAD2", 0x62, "Num 2"},
    {"VK_NUMPAD3", 0x63, "Num 3"},
    {"VK_NUMPAD4", 0x64, "Num 4"},
    {"VK_NUMPAD5", 0x65, "Num 5"},
    {"VK_NUMPAD6", 0x66, "Num 6"},
    {"VK_NUMPAD7", 0x67, "Num 7"},
    {"VK_NUMPAD8", 0x68, "Num 8"},
    {"VK_NUMPAD9", 0x69, "Num 9"},
    {"VK_MULTIPLY", 0x6A, "Num *"},
    {"VK_ADD", 0x6B, "Num +"},
    {"VK_SUBTRACT", 0x6D, "Num -"},
    {"VK_DECIMAL", 0x6E, "Num ."},
    {"VK_DIVIDE", 0x6F, "Num /"},
    {"VK_NUMLOCK", 0x90, "Bloc Num"},
    {"VK_SCROLL", 0x91, "Bloc Scorr"},
    {"VK_OEM_PLUS", 0xBB, "+"},
    {"VK_OEM_COMMA", 0xBC, ","},
    {"VK_OEM_MINUS", 0xBD, "-"},
}};
constexpr std::uint32_t kF1 = 0x70;
constexpr std::uint32_t kFunctionKeys = 24;

// The virtual-key names as symbols, for the keys' expressions.
const std::vector<std::pair<std::string_view, std::uint32_t>>& virtualKeyNames() {
  static const std::vector<std::pair<std::string_view, std::uint32_t>> names = [] {
    static std::array<std::string, kFunctionKeys> functionWords;
    std::vector<std::pair<std::string_view, std::uint32_t>> all;
    for (const VirtualKeyRow& row : kVirtualKeys) all.emplace_back(row.word, row.code);
    for (std::uint32_t n = 0; n < kFunctionKeys; ++n) {
      functionWords[n] = "VK_F" + std::to_string(n + 1);
      all.emplace_back(functionWords[n], kF1 + n);
    }
    return all;
  }();
  return names;
}

// A character typed as the key of an ASCII row: its control characters are Ctrl and a letter.
std::string characterName(std::uint32_t code, const ScriptCharset& charset, unsigned& options) {
  if (code == ' ') return "Spazio";
  if (code == '\t') return "Tab";
  if (code == '\r') return "Invio";
  if (code == 0x1B) return "Esc";
  if (code == 0x08) return "Backspace";
  if (code > 0 && code < 0x20) {
    options |= kAccelControl;
    return std::string(1, static_cast<char>(code + 0x40));
  }
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  if (code < 0x100) {
    // A byte of the script's code page.
    const std::string escaped = "\\x" + std::string(1, "0123456789ABCDEF"[code >> 4]) +
                                std::string(1, "0123456789ABCDEF"[code & 0xF]);
    const std::string shown = shownString(escaped, charset);
    if (!shown.empty()) return shown;
  }
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
  return buffer;
}

std::optional<unsigned> optionOf(std::string_view word) {
  for (const auto& [option, flag] : kOptionWords)
    if (isKeyword(word, option)) return flag;
  return std::nullopt;
}

class AcceleratorParser {
 public:
  AcceleratorParser(std::string_view text, const std::vector<Token>& tokens,
                    const SymbolTable* symbols, const ScriptCharset& charset)
      : text_(text),
        tokens_(tokens),
        symbols_(symbols),
        keys_(withSystemNames(symbols, virtualKeyNames())),
        charset_(charset) {}

  bool rows(std::vector<Accelerator>& out) {
    while (true) {
      if (at_ >= tokens_.size()) return fail(text_.size(), "la tabella non è chiusa.");
      if (closesBody(text_, tokens_[at_])) return true;
      Accelerator row;
      if (!readRow(row)) return false;
      out.push_back(std::move(row));
    }
  }

  const std::string& problem() const { return problem_; }

 private:
  bool fail(std::size_t offset, const std::string& why) {
    problem_ = "Riga " + std::to_string(lineNumberAt(text_, offset)) + ": " + why;
    return false;
  }
  bool isComma() const {
    return at_ < tokens_.size() && tokens_[at_].kind == TokenKind::Punct &&
           tokens_[at_].of(text_) == ",";
  }
  std::size_t here() const { return at_ < tokens_.size() ? tokens_[at_].begin : text_.size(); }

  std::string expression() {
    const std::size_t end = expressionEnd(text_, tokens_, at_, [](std::string_view word) {
      return optionOf(word).has_value() || isEndWord(word) || isBeginWord(word);
    });
    if (end == at_) return {};
    const std::string written(
        text_.substr(tokens_[at_].begin, tokens_[end - 1].end - tokens_[at_].begin));
    at_ = end;
    return written;
  }

  bool readRow(Accelerator& row) {
    const Token& first = tokens_[at_];
    row.offset = first.begin;
    std::optional<std::string> character;  // the bytes of a quoted key
    if (first.kind == TokenKind::String) {
      const std::string_view quoted = first.of(text_);
      row.key = quoted;
      character = compiledBytes(quoted.substr(1, quoted.size() >= 2 ? quoted.size() - 2 : 0));
      ++at_;
    } else {
      row.key = expression();
      if (row.key.empty())
        return fail(first.begin,
                    "«" + std::string(first.of(text_)) + "» non è il tasto di un acceleratore.");
    }
    row.keyEnd = tokens_[at_ - 1].end;
    if (!isComma()) return fail(here(), "manca la virgola dopo il tasto " + row.key + ".");
    ++at_;
    row.idBegin = here();
    row.id = expression();
    if (row.id.empty()) return fail(here(), "manca l'id dopo il tasto " + row.key + ".");
    row.idEnd = tokens_[at_ - 1].end;
    row.idValue = knownValue(row.id, symbols_);
    while (isComma()) {
      const std::size_t comma = here();
      ++at_;
      const Token* t = at_ < tokens_.size() ? &tokens_[at_] : nullptr;
      const auto option = t && t->kind == TokenKind::Word ? optionOf(t->of(text_)) : std::nullopt;
      if (!option)
        return fail(here(), "opzione sconosciuta «" + std::string(t ? t->of(text_) : "") + "».");
      row.options |= *option;
      row.words.push_back({*option, comma, t->begin, t->end});
      ++at_;
    }
    row.end = tokens_[at_ - 1].end;
    // The label: a quoted character, "^X", or a code as a virtual key or a character.
    unsigned shown = row.options;
    std::string name;
    if (character) {
      if (character->size() == 2 && (*character)[0] == '^') {
        shown |= kAccelControl;
        name = std::string(1, upperByte((*character)[1]));
        row.code = static_cast<unsigned char>(upperByte((*character)[1])) & 0x1Fu;
      } else if (character->size() == 1) {
        const auto code = static_cast<unsigned char>((*character)[0]);
        row.code = code;
        name = (row.options & kAccelVirtualKey) ? virtualKeyName(code)
                                                : characterName(code, charset_, shown);
      } else {
        return fail(row.offset, "il tasto " + row.key + " non è un solo carattere.");
      }
    } else if (const auto code = knownValue(row.key, &keys_)) {
      row.code = *code;
      name = (row.options & kAccelVirtualKey) ? virtualKeyName(*code)
                                              : characterName(*code, charset_, shown);
    } else {
      name = row.key;
    }
    row.modifiers = shown & kAccelModifiers;
    row.label = acceleratorLabel(shown, name);
    return true;
  }

  std::string_view text_;
  const std::vector<Token>& tokens_;
  const SymbolTable* symbols_;
  SymbolTable keys_;  // the script's symbols and the virtual-key names
  ScriptCharset charset_;
  std::size_t at_ = 0;
  std::string problem_;
};

}  // namespace

std::string acceleratorOptionWords(unsigned options) {
  std::string words;
  for (const auto& [word, flag] : kOptionWords) {
    if (!(options & flag)) continue;
    if (!words.empty()) words += ' ';
    words += word;
  }
  return words;
}

std::string virtualKeyName(std::uint32_t code) {
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
    return std::string(1, static_cast<char>(code));
  if (code >= kF1 && code < kF1 + kFunctionKeys) return "F" + std::to_string(code - kF1 + 1);
  for (const VirtualKeyRow& row : kVirtualKeys)
    if (row.code == code) return std::string(row.name);
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "Tasto 0x%02X", static_cast<unsigned>(code));
  return buffer;
}

std::string acceleratorLabel(unsigned options, std::string_view name) {
  std::string label;
  if (options & kAccelControl) label += "Ctrl+";
  if (options & kAccelAlt) label += "Alt+";
  if (options & kAccelShift) label += "Maiusc+";
  return label + std::string(name);
}

AcceleratorReading readAccelerators(std::string_view text, const Statement& statement,
                                    const SymbolTable* symbols, const ScriptCharset& charset) {
  AcceleratorReading reading;
  reading.statement = statement;
  const auto body = bodyTokens(text, statement);
  if (!body) {
    reading.problem = "Riga " + std::to_string(lineNumberAt(text, statement.begin)) +
                      ": la tabella non ha corpo (manca BEGIN o {).";
    return reading;
  }
  AcceleratorParser parser(text, body->tokens, symbols, charset);
  if (!parser.rows(reading.rows)) {
    reading.rows.clear();
    reading.problem = parser.problem();
  }
  return reading;
}

// The edits.

namespace {

// The faults the compilers find in a row (llvm-rc's rules, stricter than windres's), as bits.
enum AcceleratorFault : unsigned {
  kFaultBothForms = 1 << 0,          // VIRTKEY and ASCII together
  kFaultModifierNoVirtual = 1 << 1,  // ALT, SHIFT or CONTROL without VIRTKEY
  kFaultNumberNoForm = 1 << 2,       // a key written as a number or a name without either
  kFaultCaretVirtual = 1 << 3,       // "^X" in a VIRTKEY row
  kFaultCaretNoLetter = 1 << 4,      // "^" before anything but a letter
  kFaultQuotedVirtual = 1 << 5,      // a VIRTKEY row's quoted key that is no letter or digit
  kFaultQuotedLength = 1 << 6,       // a quoted key of other than one character or "^X"
};

constexpr std::array<std::pair<unsigned, std::string_view>, 7> kFaultReasons{{
    {kFaultBothForms, "VIRTKEY e ASCII non stanno nella stessa riga"},
    {kFaultModifierNoVirtual, "ALT, SHIFT e CONTROL valgono solo con VIRTKEY"},
    {kFaultNumberNoForm, "un tasto scritto come numero o come nome vuole VIRTKEY o ASCII"},
    {kFaultCaretVirtual, "un tasto \"^X\" non va con VIRTKEY"},
    {kFaultCaretNoLetter, "dopo ^ ci vuole una lettera"},
    {kFaultQuotedVirtual, "con VIRTKEY il tasto tra virgolette è una lettera o una cifra"},
    {kFaultQuotedLength, "tra virgolette ci vuole un solo carattere, o ^ e una lettera"},
}};

bool isAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isAsciiAlphanumeric(char c) {
  return isAsciiLetter(c) || (c >= '0' && c <= '9');
}

unsigned rowFaults(std::string_view key, unsigned options) {
  unsigned faults = 0;
  const bool virtualKey = options & kAccelVirtualKey;
  if (virtualKey && (options & kAccelAscii)) faults |= kFaultBothForms;
  if (!virtualKey && (options & kAccelModifiers)) faults |= kFaultModifierNoVirtual;
  if (key.empty() || key[0] != '"') {
    if (!virtualKey && !(options & kAccelAscii)) faults |= kFaultNumberNoForm;
    return faults;
  }
  // Between the quotes, as written: the compilers count the characters as written.
  const std::string_view inside = key.substr(1, key.size() >= 2 ? key.size() - 2 : 0);
  if (inside.size() == 2 && inside[0] == '^') {
    if (virtualKey) faults |= kFaultCaretVirtual;
    if (!isAsciiLetter(inside[1])) faults |= kFaultCaretNoLetter;
  } else if (inside.size() == 1 && inside[0] != '^') {
    if (virtualKey && !isAsciiAlphanumeric(inside[0])) faults |= kFaultQuotedVirtual;
  } else {
    faults |= kFaultQuotedLength;
  }
  return faults;
}

void refuseFaults(std::string_view label, unsigned faults) {
  for (const auto& [fault, reason] : kFaultReasons)
    if (faults & fault)
      throw Refusal("La riga del tasto " + std::string(label) +
                    " non si scrive così: " + std::string(reason) + " (llvm-rc la rifiuterebbe).");
}

// Refuses a row that would have a fault the row as it stands has not.
void refuseNewFaults(const Accelerator& row, std::string_view key, unsigned options) {
  refuseFaults(row.label, rowFaults(key, options) & ~rowFaults(row.key, row.options));
}

std::string_view optionWord(unsigned option) {
  for (const auto& [word, flag] : kOptionWords)
    if (flag == option) return word;
  return {};
}

// The order new option words take among those written: the form first, then the modifiers,
// then NOINVERT.
constexpr std::array<unsigned, 6> kWordOrder{kAccelVirtualKey, kAccelAscii, kAccelControl,
                                             kAccelShift,      kAccelAlt,   kAccelNoInvert};
std::size_t orderOf(unsigned option) {
  for (std::size_t i = 0; i < kWordOrder.size(); ++i)
    if (kWordOrder[i] == option) return i;
  return kWordOrder.size();
}

// Whether what stands between two fields is a comma and blanks alone.
bool plainSeparator(std::string_view between) {
  return !between.empty() && between[0] == ',' &&
         between.find_first_not_of(" \t", 1) == std::string_view::npos;
}

// What stands between two option words of a row: its comma and blanks as written between its
// last two words, else between its ID and its word, or its key and its ID, where that is a comma
// and at most one blank (not a column's padding); ", " otherwise.
std::string wordSeparator(std::string_view script, const Accelerator& row) {
  if (row.words.size() >= 2) {
    const std::size_t from = row.words[row.words.size() - 2].end;
    const std::string_view between = script.substr(from, row.words.back().begin - from);
    if (plainSeparator(between)) return std::string(between);
  }
  const std::size_t from = row.words.empty() ? row.keyEnd : row.idEnd;
  const std::size_t to = row.words.empty() ? row.idBegin : row.words.front().begin;
  const std::string_view between = script.substr(from, to - from);
  if (plainSeparator(between) && between.size() <= 2) return std::string(between);
  return ", ";
}

// The splices that turn the option words of `row` into `options`: the words kept stay where
// they are (a word written twice too), a word taken away goes with its comma (and the blanks
// before it), a new word
// follows the last written word that comes before it in kWordOrder (after the ID when none
// does).
std::vector<Splice> optionSplices(std::string_view script, const Accelerator& row,
                                  unsigned options) {
  std::vector<Splice> splices;
  // Where a comma's blanks before it begin.
  const auto blanksBefore = [&](std::size_t at) {
    while (at > 0 && isBlank(script[at - 1])) --at;
    return at;
  };
  unsigned written = 0;
  for (const AcceleratorWord& word : row.words) {
    if (options & word.option) {
      written |= word.option;  // kept, written twice too: that is no edit's business
      continue;
    }
    splices.push_back({blanksBefore(word.comma), word.end, ""});
  }
  const unsigned added = options & ~written;
  if (added == 0) return splices;
  const std::string separator = wordSeparator(script, row);
  // Each new word after the last kept word before it in kWordOrder.
  std::vector<std::pair<std::size_t, std::string>> inserts;  // (offset, text)
  for (const unsigned option : kWordOrder) {
    if (!(added & option)) continue;
    std::size_t at = row.idEnd;
    for (const AcceleratorWord& word : row.words)
      if ((written & word.option) && orderOf(word.option) < orderOf(option)) at = word.end;
    inserts.emplace_back(at, separator + std::string(optionWord(option)));
  }
  for (const auto& insert : inserts) {
    // A word that goes where another goes away takes its place.
    const std::size_t at = insert.first;
    const auto same = std::find_if(splices.begin(), splices.end(),
                                   [at](const Splice& s) { return s.begin == at; });
    if (same != splices.end())
      same->inserted += insert.second;
    else
      splices.push_back({at, at, insert.second});
  }
  std::sort(splices.begin(), splices.end(),
            [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
  return splices;
}

// A number as another was written: hexadecimal with its prefix and digits' case, or decimal.
std::string numberLike(std::string_view written, std::uint32_t value) {
  if (written.size() >= 2 && written[0] == '0' && (written[1] == 'x' || written[1] == 'X')) {
    const bool lower = written.find_first_of("abcdef", 2) != std::string_view::npos;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, lower ? "%02x" : "%02X", static_cast<unsigned>(value));
    return std::string(written.substr(0, 2)) + buffer;
  }
  return std::to_string(value);
}

bool writtenAsNumber(std::string_view key) {
  return compilerNumber(key).has_value();
}

// A key's meaning in a row of a form: the code the compiler stores and the modifiers it shows.
struct KeyMeaning {
  std::uint32_t code = 0;
  unsigned modifiers = 0;
};

// What `key` means in a VIRTKEY row, or why it cannot be said there.
KeyMeaning virtualMeaning(const AcceleratorKey& key) {
  if (!key.virtualKey)
    throw Refusal("Il tasto " + acceleratorKeyLabel(key) +
                  " non ha un codice di tasto virtuale: la riga è VIRTKEY.");
  return {*key.virtualKey, key.modifiers};
}

// The characters a key of an ASCII row may be: printable, and writable between quotes where the
// row writes them so (llvm-rc takes neither a quote nor a backslash there).
std::optional<std::uint32_t> asciiCode(const AcceleratorKey& key) {
  if (key.character) return static_cast<unsigned char>(*key.character);
  // The keys whose virtual-key code is their character: Backspace, Tab, Invio, Esc, Spazio.
  if (key.virtualKey &&
      (*key.virtualKey == 0x08 || *key.virtualKey == 0x09 || *key.virtualKey == 0x0D ||
       *key.virtualKey == 0x1B || *key.virtualKey == 0x20))
    return *key.virtualKey;
  return std::nullopt;
}

// What `key` means in an ASCII row (`alt`: the row has its ALT word already), or why it cannot
// be said there.
KeyMeaning asciiMeaning(const AcceleratorKey& key, bool alt) {
  const std::string label = acceleratorKeyLabel(key);
  if (key.modifiers & kAccelShift)
    throw Refusal("Il tasto " + label +
                  " non si scrive in una riga ASCII: Maiusc è nel carattere stesso (\"A\" e "
                  "\"a\"), o serve una riga VIRTKEY.");
  if ((key.modifiers & kAccelAlt) && !alt)
    throw Refusal("Il tasto " + label +
                  " non si scrive in una riga ASCII: llvm-rc accetta ALT solo con VIRTKEY.");
  if (key.modifiers & kAccelControl) {
    const std::optional<char> letter =
        key.virtualKey && *key.virtualKey >= 'A' && *key.virtualKey <= 'Z'
            ? std::optional<char>(static_cast<char>(*key.virtualKey))
        : key.character && isAsciiLetter(*key.character)
            ? std::optional<char>(upperByte(*key.character))
            : std::nullopt;
    if (!letter)
      throw Refusal("Il tasto " + label +
                    " non si scrive in una riga ASCII: con Ctrl ci vuole una lettera (\"^C\").");
    return {static_cast<std::uint32_t>(*letter) & 0x1Fu, key.modifiers};
  }
  const auto code = asciiCode(key);
  if (!code)
    throw Refusal("Il tasto " + label + " non è un carattere: la riga è ASCII, serve VIRTKEY.");
  return {*code, key.modifiers};
}

// The key's text in a VIRTKEY row written as `written` was.
std::string virtualKeyText(std::string_view written, std::uint32_t code, bool keyNames) {
  const bool letterOrDigit = (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
  if (writtenAsNumber(written)) return numberLike(written, code);
  if (letterOrDigit) return "\"" + std::string(1, static_cast<char>(code)) + "\"";
  const std::string word = virtualKeyWord(code);
  if (!word.empty() && keyNames) return word;
  return numberLike("0x", code);
}

// The key's text in an ASCII row written as `written` was.
std::string asciiKeyText(std::string_view written, const KeyMeaning& meaning,
                         const std::string& label) {
  if (writtenAsNumber(written)) return std::to_string(meaning.code);
  if (meaning.modifiers & kAccelControl)
    return "\"^" + std::string(1, static_cast<char>(meaning.code + 0x40)) + "\"";
  const auto c = static_cast<char>(meaning.code);
  if (meaning.code < 0x20 || meaning.code > 0x7E || c == '"' || c == '\\')
    throw Refusal("Il tasto " + label +
                  " non si scrive tra virgolette in una riga ASCII (llvm-rc non lo accetta).");
  return "\"" + std::string(1, c) + "\"";
}

// The text and options of a row whose key becomes `key`.
struct WrittenKey {
  std::string text;
  unsigned options = 0;
};
WrittenKey writtenKey(const Accelerator& row, const AcceleratorKey& key,
                      const AcceleratorContext& context) {
  WrittenKey out;
  out.options = row.options & ~kAccelModifiers;
  if (row.options & kAccelVirtualKey) {
    const KeyMeaning meaning = virtualMeaning(key);
    out.text = row.code == meaning.code ? row.key
                                        : virtualKeyText(row.key, meaning.code, context.keyNames);
    out.options |= meaning.modifiers;
  } else {
    const KeyMeaning meaning = asciiMeaning(key, row.options & kAccelAlt);
    out.text = row.code == meaning.code ? row.key
                                        : asciiKeyText(row.key, meaning, acceleratorKeyLabel(key));
    out.options |= meaning.modifiers & kAccelAlt;
  }
  return out;
}

const Accelerator& editableRow(std::string_view script, const AcceleratorReading& table,
                               std::size_t row) {
  if (const std::string problem = acceleratorTableProblem(script, table); !problem.empty())
    throw Refusal(problem);
  return table.rows.at(row);
}

// An ID as typed: a number, a symbol, or an expression of them on one line, every name in it
// defined.
std::string checkedId(std::string_view typed, const AcceleratorContext& context) {
  const std::string_view id = trimBlanks(typed);
  bool readable = !id.empty();
  Lexer lexer(id, 0, false);
  for (Token t = lexer.next(); readable && t.kind != TokenKind::End; t = lexer.next())
    readable = t.kind == TokenKind::Number ||
               (t.kind == TokenKind::Word && !isReservedWord(t.of(id)) && !optionOf(t.of(id))) ||
               (t.kind == TokenKind::Punct &&
                std::string_view("+-*/|&~()").find(id[t.begin]) != std::string_view::npos);
  const Evaluation value = readable ? evaluate(id, context.symbols) : Evaluation{};
  if (!value.value) throw Refusal("ID non valido: " + std::string(id) + ".");
  if (!value.undefined.empty())
    throw Refusal("ID non valido: " + value.undefined.front() +
                  " non è un numero né un simbolo definito.");
  return std::string(id);
}

}  // namespace

std::string virtualKeyWord(std::uint32_t code) {
  if (code >= kF1 && code < kF1 + kFunctionKeys) return "VK_F" + std::to_string(code - kF1 + 1);
  for (const VirtualKeyRow& row : kVirtualKeys)
    if (row.code == code) return std::string(row.word);
  return {};
}

std::optional<AcceleratorKey> parseAcceleratorKey(std::string_view shown) {
  AcceleratorKey key;
  std::string_view rest = trimBlanks(shown);
  // The modifiers, each followed by "+" and something after it ("Ctrl++" is Ctrl and "+").
  constexpr std::array<std::pair<std::string_view, unsigned>, 4> kModifierWords{{
      {"Ctrl", kAccelControl},
      {"Alt", kAccelAlt},
      {"Maiusc", kAccelShift},
      {"Shift", kAccelShift},
  }};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [word, flag] : kModifierWords)
      if (rest.size() > word.size() + 1 && rest[word.size()] == '+' &&
          equalsIgnoringCase(rest.substr(0, word.size()), word)) {
        key.modifiers |= flag;
        rest.remove_prefix(word.size() + 1);
        found = true;
      }
  }
  if (rest.empty()) return std::nullopt;
  // A key as an ASCII row writes it: "^C" or "a" in quotes.
  if (rest.size() >= 3 && rest.front() == '"' && rest.back() == '"') {
    const std::string_view inside = rest.substr(1, rest.size() - 2);
    if (inside.size() == 2 && inside[0] == '^' && isAsciiLetter(inside[1])) {
      key.modifiers |= kAccelControl;
      key.virtualKey = static_cast<unsigned char>(upperByte(inside[1]));
      key.character = upperByte(inside[1]);
      return key;
    }
    if (inside.size() != 1) return std::nullopt;
    rest = inside;
  }
  if (rest.size() == 1) {
    const char c = rest[0];
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
      return std::nullopt;
    key.character = c;
    if (isAsciiAlphanumeric(c)) {
      key.virtualKey = static_cast<unsigned char>(upperByte(c));
      return key;
    }
  }
  if (rest == "Spazio") key.character = ' ';
  // A key's name as shown, or its header's name.
  for (std::uint32_t code = 1; code < 0x100; ++code)
    if (equalsIgnoringCase(rest, virtualKeyName(code)) ||
        (rest.size() > 3 && equalsIgnoringCase(rest, virtualKeyWord(code)))) {
      key.virtualKey = code;
      return key;
    }
  if (key.character) return key;
  // "Tasto 0xNN", as a key without a name is shown.
  constexpr std::string_view kCodePrefix = "Tasto ";
  if (rest.size() > kCodePrefix.size() && rest.substr(0, kCodePrefix.size()) == kCodePrefix)
    if (const auto code = compilerNumber(rest.substr(kCodePrefix.size()), false);
        code && *code > 0 && *code < 0x100) {
      key.virtualKey = *code;
      return key;
    }
  return std::nullopt;
}

std::string acceleratorKeyLabel(const AcceleratorKey& key) {
  if (key.virtualKey) return acceleratorLabel(key.modifiers, virtualKeyName(*key.virtualKey));
  if (key.character) return acceleratorLabel(key.modifiers, std::string(1, *key.character));
  return acceleratorLabel(key.modifiers, "?");
}

AcceleratorContext acceleratorContext(const Document& doc, const SymbolTable* symbols) {
  // The headers whose names (or those they include) define the virtual keys' names.
  constexpr std::array<std::string_view, 6> kSystemHeaders{"windows.h", "winuser.h",  "winres.h",
                                                           "afxres.h",  "winresrc.h", "winuser.rh"};
  AcceleratorContext context;
  context.symbols = symbols;
  context.keyNames = false;
  const std::vector<Statement>& statements = doc.statements();
  for (std::size_t i = 0; i < statements.size() && !context.keyNames; ++i) {
    if (statements[i].kind != StatementKind::Directive) continue;
    const StatementTree& tree = doc.tree().statementTree(doc.text(), i);
    if (tree.nodes.empty() || tree.nodes[0].kind != NodeKind::Include) continue;
    const std::string_view own = statements[i].of(doc.text());
    const std::string line = lowerAscii(nodeText(own, tree, tree.nodes[0]));
    context.keyNames = line.find('<') != std::string::npos;
    for (const std::string_view header : kSystemHeaders)
      context.keyNames = context.keyNames || line.find(header) != std::string::npos;
  }
  return context;
}

AcceleratorReading documentAccelerators(const Document& doc, std::size_t begin,
                                        const SymbolTable* symbols) {
  const Statement* statement = statementAt(doc.statements(), begin);
  if (!statement) {
    AcceleratorReading none;
    none.problem = "La risorsa non si trova nel testo.";
    return none;
  }
  return readAccelerators(doc.text(), *statement, symbols,
                          scriptCharsetAt(doc.text(), begin, doc.form().utf16 != Utf16::None));
}

std::string acceleratorTableProblem(std::string_view script, const AcceleratorReading& table) {
  if (!table.problem.empty()) return table.problem;
  // The rows the reader found must be the tree's rows, one for one: text the tree cannot place
  // inside the body, or a row the tree reads otherwise, leaves the table to the text editor.
  const StatementLines lines(script, table.statement);
  const StatementTree& tree = lines.tree;
  const std::size_t body = childOfKind(tree, 0, NodeKind::Body);
  std::size_t row = 0;
  for (const std::size_t item : body ? tree.children(body) : std::vector<std::size_t>{}) {
    const TreeNode& node = tree.nodes[item];
    if (node.kind == NodeKind::Directive) continue;
    const std::size_t at = table.statement.begin + tree.beginOf(node);
    if (node.kind != NodeKind::Accelerator || row >= table.rows.size() ||
        table.rows[row].offset != at ||
        table.rows[row].end != table.statement.begin + tree.endOf(node))
      return "Riga " + std::to_string(lineNumberAt(script, at)) +
             ": la tabella si legge solo in parte; si modifica come testo.";
    ++row;
  }
  if (row != table.rows.size()) return "La tabella si legge solo in parte; si modifica come testo.";
  return {};
}

Edit setAcceleratorKey(std::string_view script, const AcceleratorReading& table, std::size_t row,
                       const AcceleratorKey& key, const AcceleratorContext& context) {
  const Accelerator& written = editableRow(script, table, row);
  Edit edit;
  edit.label = "Modifica tasto";
  const WrittenKey wanted = writtenKey(written, key, context);
  refuseNewFaults(written, wanted.text, wanted.options);
  if (wanted.text != written.key)
    edit.splices.push_back({written.offset, written.keyEnd, wanted.text});
  for (Splice& splice : optionSplices(script, written, wanted.options))
    edit.splices.push_back(std::move(splice));
  return edit;
}

Edit setAcceleratorId(std::string_view script, const AcceleratorReading& table, std::size_t row,
                      std::string_view id, const AcceleratorContext& context) {
  const Accelerator& written = editableRow(script, table, row);
  Edit edit;
  edit.label = "Modifica ID acceleratore";
  if (trimBlanks(id) == written.id) return edit;
  edit.splices.push_back({written.idBegin, written.idEnd, checkedId(id, context)});
  return edit;
}

Edit setAcceleratorOptions(std::string_view script, const AcceleratorReading& table,
                           std::size_t row, unsigned options) {
  const Accelerator& written = editableRow(script, table, row);
  refuseNewFaults(written, written.key, options);
  Edit edit;
  edit.label = "Modifica opzioni acceleratore";
  edit.splices = optionSplices(script, written, options);
  return edit;
}

Edit insertAccelerator(std::string_view script, const AcceleratorReading& table,
                       std::optional<std::size_t> after, const AcceleratorKey& key,
                       std::string_view id, const AcceleratorContext& context) {
  if (const std::string problem = acceleratorTableProblem(script, table); !problem.empty())
    throw Refusal(problem);
  const std::string checked = checkedId(id, context);
  const StatementLines lines(script, table.statement);
  // The model: the row it follows, or the first; a table without rows takes a VIRTKEY row.
  const std::optional<std::size_t> model =
      after ? after : (table.rows.empty() ? std::nullopt : std::optional<std::size_t>(0));
  Accelerator form;
  form.key = "VK_F1";
  form.options = kAccelVirtualKey;
  std::string indent = "    ";
  std::optional<std::size_t> lineStart;
  if (model) {
    form = table.rows.at(*model);
    lineStart = lines.lineStartBefore(form.offset);
    if (lineStart) indent = std::string(script.substr(*lineStart, form.offset - *lineStart));
  }
  // The new key in the model's form; a key an ASCII row cannot say takes a VIRTKEY row.
  WrittenKey wanted;
  Accelerator blank = form;
  blank.code.reset();
  try {
    wanted = writtenKey(blank, key, context);
  } catch (const Refusal&) {
    if (blank.options & kAccelVirtualKey) throw;
    blank.options = (blank.options & ~kAccelAscii) | kAccelVirtualKey;
    blank.key = context.keyNames ? "VK_F1" : "0x70";
    wanted = writtenKey(blank, key, context);
  }
  refuseFaults(acceleratorKeyLabel(key), rowFaults(wanted.text, wanted.options));
  // The fields at the model's columns where it lines them up (blanks after the comma), else
  // with its separators.
  std::string line = indent + wanted.text;
  const auto separatorTo = [&](std::size_t fieldEnd, std::size_t nextBegin) {
    if (!model || !lineStart) return std::string(", ");
    const std::string_view between = script.substr(fieldEnd, nextBegin - fieldEnd);
    if (!plainSeparator(between)) return std::string(", ");
    if (between.find('\t') != std::string_view::npos || between.size() <= 2)
      return std::string(between);
    const std::size_t column = nextBegin - *lineStart;
    return "," + std::string(column > line.size() + 1 ? column - line.size() - 1 : 1, ' ');
  };
  line += separatorTo(form.keyEnd, form.idBegin) + checked;
  const std::string separator = model ? wordSeparator(script, form) : ", ";
  bool firstWord = true;
  for (const unsigned option : kWordOrder) {
    if (!(wanted.options & option)) continue;
    line += firstWord && !form.words.empty() ? separatorTo(form.idEnd, form.words.front().begin)
                                             : separator;
    line += optionWord(option);
    firstWord = false;
  }
  Edit edit;
  edit.label = "Nuovo acceleratore";
  if (after) {
    const Accelerator& previous = table.rows.at(*after);
    if (const auto lineEnd = lines.lineEndAfter(previous.end))
      edit.splices.push_back({*lineEnd + 2, *lineEnd + 2, line + "\r\n"});
    else
      edit.splices.push_back({previous.end, previous.end, "\r\n" + line});
  } else if (lineStart) {
    edit.splices.push_back({*lineStart, *lineStart, line + "\r\n"});
  } else {
    // After the body's opener, on a line of its own.
    const std::size_t body = childOfKind(lines.tree, 0, NodeKind::Body);
    if (body == 0) throw Refusal("La tabella non ha corpo (manca BEGIN o {).");
    const std::size_t opener =
        table.statement.begin + lines.tree.tokens[lines.tree.nodes[body].first].end;
    if (const auto lineEnd = lines.lineEndAfter(opener))
      edit.splices.push_back({*lineEnd + 2, *lineEnd + 2, line + "\r\n"});
    else
      edit.splices.push_back({opener, opener, "\r\n" + line + "\r\n"});
  }
  return edit;
}

Edit deleteAccelerator(std::string_view script, const AcceleratorReading& table, std::size_t row) {
  const Accelerator& written = editableRow(script, table, row);
  const StatementLines lines(script, table.statement);
  Edit edit;
  edit.label = "Elimina acceleratore";
  const auto lineStart = lines.lineStartBefore(written.offset);
  const auto lineEnd = lines.lineEndAfter(written.end);
  if (lineStart && lineEnd) {
    edit.splices.push_back({*lineStart, *lineEnd + 2, ""});
    return edit;
  }
  // The row shares its line: its tokens go, with the blanks after them. What follows must not
  // become a preprocessor line by standing first on it.
  std::size_t end = written.end;
  while (end < script.size() && isBlank(script[end])) ++end;
  const TreeToken& next = lines.tree.tokens[lines.tokenAfter(written.end)];
  if (!next.newLine && next.kind == TokenKind::Punct && lines.own[next.begin] == '#')
    throw Refusal("Impossibile eliminare il tasto " + written.label +
                  ": il resto della sua riga diventerebbe una direttiva.");
  const bool joins = written.offset > 0 && !isSpace(script[written.offset - 1]) &&
                     end < script.size() && !isSpace(script[end]);
  edit.splices.push_back({written.offset, end, joins ? " " : ""});
  return edit;
}

std::optional<unsigned> parseAcceleratorOptions(std::string_view words, std::string* unknown) {
  unsigned options = 0;
  std::size_t at = 0;
  while (at < words.size()) {
    if (words[at] == ',' || isBlank(words[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < words.size() && words[end] != ',' && !isBlank(words[end])) ++end;
    const std::string_view word = words.substr(at, end - at);
    const auto option = optionOf(word);
    if (!option) {
      if (unknown) *unknown = std::string(word);
      return std::nullopt;
    }
    options |= *option;
    at = end;
  }
  return options;
}

std::vector<std::optional<std::size_t>> duplicateAcceleratorKeys(const AcceleratorReading& table) {
  std::vector<std::optional<std::size_t>> earlier(table.rows.size());
  // A key: the form it is read in, its code (or its text where the code is unknown) and its
  // modifiers.
  std::map<std::tuple<bool, std::uint32_t, std::string, unsigned>, std::size_t> first;
  for (std::size_t i = 0; i < table.rows.size(); ++i) {
    const Accelerator& row = table.rows[i];
    const auto key =
        std::make_tuple(static_cast<bool>(row.options & kAccelVirtualKey), row.code.value_or(0),
                        row.code ? std::string() : row.key, row.modifiers);
    const auto [at, added] = first.emplace(key, i);
    if (!added) earlier[i] = at->second;
  }
  return earlier;
}

std::string duplicateAcceleratorMessage(std::string_view label, std::string_view earlierId,
                                        std::size_t earlierLine) {
  return "Tasto " + std::string(label) + " già usato dall'acceleratore " + std::string(earlierId) +
         " alla riga " + std::to_string(earlierLine) + ".";
}

}  // namespace kolvre
