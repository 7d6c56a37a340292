#include "document/name_prompt.h"

#include <algorithm>

#include "base/text.h"
#include "document/edit.h"
#include "messages/messages.h"
#include "syntax/lexer.h"
#include "syntax/statements.h"

namespace kolvre {

namespace {

// An entry of that name whose type the type word names as the script writes it (any letter
// case, DIALOGEX for a dialog, an Other type by its word; a word that is a type code, such as
// "D", is a user-defined type there), other than the entry at `renamed`.
// Only the word's first token counts: a header's second blank-delimited token may run on into
// its body ("ICON\r\n{").
bool isDuplicate(const ResourceIndex& index, std::string_view name, std::string_view typeWord,
                 std::optional<std::size_t> renamed) {
  const Token first = Lexer(typeWord).nextCode();
  const std::optional<ResourceKey> key = keyForWrittenHeader(name, first.of(typeWord));
  if (!key) return false;
  for (std::size_t i = 0; i < index.size(); ++i)
    if (i != renamed && matchesKey(index[i], *key)) return true;
  return false;
}

// The number of UTF-8 characters in a text (bytes that do not continue a character).
std::size_t characterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// A name is one word or one number, as the compiler reads a resource's name, and no keyword.
bool isOneName(std::string_view typed) {
  Lexer lexer(typed);
  const Token t = lexer.next();
  if (t.begin != 0 || t.end != typed.size()) return false;
  if (t.kind == TokenKind::Number) return true;
  return t.kind == TokenKind::Word && !isReservedWord(typed);
}

bool isControl(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7F;
}

}  // namespace

std::string typedName(std::string_view field) {
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return upperAscii(field);
}

std::string nameRefusal(const ResourceIndex& index, std::string_view typed,
                        std::string_view typeWord, TextEncoding encoding,
                        std::optional<std::size_t> renamed) {
  if (typed.empty()) return "Nome risorsa mancante.";
  if (characterCount(typed) > kMaxNameLength)
    return "Nome troppo lungo: al massimo " + std::to_string(kMaxNameLength) + " caratteri.";
  // CR and LF count as blanks: in a header they split the name across lines, at once or when
  // the file is saved with LF line ends and read again.
  if (typed.find_first_of(" \t\r\n") != std::string_view::npos) return "Spazi non ammessi.";
  for (char c : typed)
    if (isControl(c)) return "Carattere non ammesso nel nome.";
  if (!isOneName(typed))
    return "Nome non ammesso: usa lettere, cifre e _, e non una parola chiave.";
  // A character the script's code page lacks would be written as "?".
  if (!representable(typed, encoding)) return "Carattere non ammesso nel nome.";
  if (isDuplicate(index, fromDisplay(typed, encoding), typeWord, renamed))
    return "Nome risorsa già presente.";
  return {};
}

std::optional<std::string> askResourceName(UserInterface& ui, const ResourceIndex& index,
                                           std::string_view title, std::string_view prompt,
                                           std::string_view initial, std::string_view typeWord,
                                           TextEncoding encoding,
                                           std::optional<std::size_t> renamed) {
  // The field shows and takes characters; the script holds bytes in its own encoding. It takes
  // a longer name already in the script whole, so that confirming it unchanged cannot rename
  // the resource to a cut name: the length check refuses it instead.
  std::string name = toDisplay(initial, encoding);
  const std::size_t limit = std::max(kMaxNameLength, characterCount(name));
  for (;;) {
    if (!askText(ui, title, prompt, name, limit)) return std::nullopt;
    name = typedName(name);
    // An empty field is a name forgotten, not a cancel: the prompt says so and stays open.
    const std::string refusal = name.empty()
                                    ? std::string(kMissingNameMessage)
                                    : nameRefusal(index, name, typeWord, encoding, renamed);
    if (refusal.empty()) return fromDisplay(name, encoding);
    inform(ui, refusal);
  }
}

}  // namespace kolvre
