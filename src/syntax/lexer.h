// The script's tokens as a resource compiler reads them: comments, string literals,
// preprocessor lines, words, numbers and punctuation. Lines end at CR LF: a lone CR or LF is
// white space inside a line. The lexer is total: any bytes give tokens. A block comment left
// open runs to the end of the text; a string left open ends with its line (before the CR LF),
// unless a backslash right before the line end continues it, as the compilers splice lines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"

namespace kolvre {

enum class TokenKind : std::uint8_t {
  Word,       // a name or keyword: letters, digits, '_' and bytes above 0x7F, not first a digit
  Number,     // a digit first, then what a word holds (0x1F, 10L)
  String,     // "..." (with "" and backslash escapes; one left open ends with its line), or
              // '...' closed on its own line
  Punct,      // any other single byte
  Comment,    // // to the line end, or /* to */
  Directive,  // a preprocessor line: '#' first on its line, through its \ continuations
  End,        // no more tokens
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::size_t begin = 0;
  std::size_t end = 0;
  bool newLine = false;  // a line end stands between the token before (or the start) and this
  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
};

namespace lexing {

// What each byte can start, as a table.
enum class ByteClass : std::uint8_t { Space, Word, Digit, Other };
inline constexpr std::array<ByteClass, 256> kByteClass = [] {
  std::array<ByteClass, 256> table{};
  for (std::size_t c = 0; c < 256; ++c) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
      table[c] = ByteClass::Space;
    else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80)
      table[c] = ByteClass::Word;
    else if (c >= '0' && c <= '9')
      table[c] = ByteClass::Digit;
    else
      table[c] = ByteClass::Other;
  }
  return table;
}();

inline constexpr bool isWordByte(char c) {
  const ByteClass k = kByteClass[static_cast<unsigned char>(c)];
  return k == ByteClass::Word || k == ByteClass::Digit;
}

// Where the comment that starts at `pos` ("//" or "/*") ends.
std::size_t lineCommentEnd(std::string_view text, std::size_t pos);
std::size_t blockCommentEnd(std::string_view text, std::size_t pos);
// Where the string literal that starts with the quote at `pos` ends: after its closing quote;
// else before the first CR LF that no backslash continues, or at the end of the text.
std::size_t stringEnd(std::string_view text, std::size_t pos);
// Where an apostrophe string that starts at `pos` ends on its own line; `pos + 1` when the
// line holds no closing apostrophe (the apostrophe is then punctuation).
std::size_t apostropheStringEnd(std::string_view text, std::size_t pos);
// Where the preprocessor line whose '#' stands at `pos` ends: before the CR LF of its last
// line, after its backslash continuations and any comment that runs on from it.
std::size_t directiveEnd(std::string_view text, std::size_t pos);
// Where the word or number that starts at `pos` ends.
inline std::size_t wordEnd(std::string_view text, std::size_t pos) {
  ++pos;
  while (pos < text.size() && isWordByte(text[pos])) ++pos;
  return pos;
}

}  // namespace lexing

// The kinds of preprocessor line that matter to the block rules.
enum class DirectiveKind : std::uint8_t { If, Else, EndIf, Other };
// The kind of the preprocessor line `directive` ('#' first).
DirectiveKind directiveKind(std::string_view directive);

// The file a line marker names, as written between its quotes: `#line 12 "res.h"`, or
// `# 12 "res.h" 1` as a preprocessor writes its output. Nothing for any other preprocessor line.
std::optional<std::string_view> lineMarkerFile(std::string_view directive);

// True when the preprocessor line `directive` is a line marker naming a header (.h, .hh, .hpp,
// .hxx in any case): in preprocessed input, what follows it up to the next line marker is the
// header's text, never resources.
bool marksHeader(std::string_view directive);

// A cursor over the tokens of a text.
class Lexer {
 public:
  // Reads from `from`; `atLineStart` tells whether `from` starts a line (for '#').
  explicit Lexer(std::string_view text, std::size_t from = 0, bool atLineStart = true)
      : text_(text), pos_(from), atLineStart_(atLineStart), newLine_(atLineStart) {}

  // The next token, comments included.
  Token next();
  // The next token that is no comment.
  Token nextCode() {
    Token t = next();
    while (t.kind == TokenKind::Comment) {
      const bool newLine = t.newLine;
      t = next();
      t.newLine = t.newLine || newLine;
    }
    return t;
  }
  // The next code token without taking it.
  Token peekCode() const {
    Lexer copy = *this;
    return copy.nextCode();
  }

  std::size_t position() const { return pos_; }
  // Goes on from `pos`; `atLineStart` as for the constructor.
  void seek(std::size_t pos, bool atLineStart) {
    pos_ = pos;
    atLineStart_ = atLineStart;
    newLine_ = atLineStart;
  }

 private:
  std::string_view text_;
  std::size_t pos_;
  bool atLineStart_;  // only white space since the last line end
  bool newLine_;      // a line end since the last token
};

// True when `t` is a string or block comment left open: it runs to the end of the text without
// its closing quote or "*/", and would take in whatever came after it on its line (a string) or
// anywhere (a comment). A string closed by its line end is not left open: see stringClosed.
bool leftOpen(std::string_view text, const Token& t);

// True when the string token `literal` (as written, from its opening quote) ends with its
// closing quote.
bool stringClosed(std::string_view literal);

// True when `t`, left open at the end of the text (leftOpen), would take in a line put after it
// (a line end, then more text): a block comment, or a string whose last byte is a backslash that
// continues it. A string its line end closes takes in nothing from the next line.
bool takesNextLine(std::string_view text, const Token& t);

// True when the last token from `from` to the text's end would take in a line put after it
// (takesNextLine), when `end` is the text's end (nothing else ends there open).
bool endsLeftOpen(std::string_view text, std::size_t from, std::size_t end);

// True when only comments stand in `text` from `from` to `to`, each whole in that stretch, with
// `atLineStart` telling whether `from` starts a line.
bool onlyComments(std::string_view text, std::size_t from, std::size_t to, bool atLineStart);

// True when `token` is `keyword` as a whole word, in any letter case.
inline bool isKeyword(std::string_view token, std::string_view keyword) {
  return equalsIgnoringCase(token, keyword);
}

// The text with every comment replaced by blanks, its line ends (CR LF) kept: what the
// compiler reads, at the same offsets. Strings and preprocessor lines are left alone.
std::string blankComments(std::string_view text);

}  // namespace kolvre

namespace kolvre {

// True when the string literal `literal` (a String token as written, an L prefix included)
// holds a quote escaped with a backslash, an odd run of backslashes before it: windres reads it
// as a quote, llvm-rc refuses the script.
bool holdsBackslashQuote(std::string_view literal);

}  // namespace kolvre
