#include "resources/accelerators.h"

#include <array>
#include <cstdio>
#include <utility>

#include "base/text.h"
#include "resources/body_tokens.h"

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
    if (!isComma()) return fail(here(), "manca la virgola dopo il tasto " + row.key + ".");
    ++at_;
    row.id = expression();
    if (row.id.empty()) return fail(here(), "manca l'id dopo il tasto " + row.key + ".");
    row.idValue = knownValue(row.id, symbols_);
    while (isComma()) {
      ++at_;
      const Token* t = at_ < tokens_.size() ? &tokens_[at_] : nullptr;
      const auto option = t && t->kind == TokenKind::Word ? optionOf(t->of(text_)) : std::nullopt;
      if (!option)
        return fail(here(), "opzione sconosciuta «" + std::string(t ? t->of(text_) : "") + "».");
      row.options |= *option;
      ++at_;
    }
    // The label: a quoted character, "^X", or a code as a virtual key or a character.
    unsigned shown = row.options;
    std::string name;
    if (character) {
      if (character->size() == 2 && (*character)[0] == '^') {
        shown |= kAccelControl;
        name = std::string(1, upperByte((*character)[1]));
      } else if (character->size() == 1) {
        const auto code = static_cast<unsigned char>((*character)[0]);
        name = (row.options & kAccelVirtualKey) ? virtualKeyName(code)
                                                : characterName(code, charset_, shown);
      } else {
        return fail(row.offset, "il tasto " + row.key + " non è un solo carattere.");
      }
    } else if (const auto code = knownValue(row.key, &keys_)) {
      name = (row.options & kAccelVirtualKey) ? virtualKeyName(*code)
                                              : characterName(*code, charset_, shown);
    } else {
      name = row.key;
    }
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

}  // namespace kolvre
