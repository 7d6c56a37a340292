// The script's tokens: comments, strings, preprocessor lines, words, numbers, punctuation.
#include "syntax/lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/reorder_invariants.h"

namespace kolvre {
namespace {

// A token as the tables write it: its kind's letter, '^' when a line end stands before it, and
// its text. The tables leave the mark off the first token, which the text's start always gives
// one (ALineEndBeforeTheFirstTokenCounts).
std::string shown(std::string_view text, const Token& t) {
  static constexpr std::string_view kLetters = "WNSPCD";
  std::string out(1, kLetters[static_cast<std::size_t>(t.kind)]);
  if (t.newLine) out += '^';
  out += ':';
  out += t.of(text);
  return out;
}

std::vector<std::string> tokens(std::string_view text) {
  EXPECT_EQ(testing::checkTokens(text), "") << text;
  std::vector<std::string> out;
  Lexer lexer(text);
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
    EXPECT_LT(t.begin, t.end) << "empty token at " << t.begin;
    if (out.empty()) t.newLine = false;
    out.push_back(shown(text, t));
  }
  return out;
}

using V = std::vector<std::string>;

struct LexCase {
  std::string text;
  V tokens;
};

void expectTokens(const std::vector<LexCase>& cases) {
  for (const LexCase& c : cases) EXPECT_EQ(tokens(c.text), c.tokens) << c.text;
}

TEST(Lexer, Comments) {
  expectTokens({
      // To the line end, which is not the comment's.
      {"a // b */ c\r\nd", {"W:a", "C:// b */ c", "W^:d"}},
      // Across lines: what follows starts a new line.
      {"/* a\r\n b */x", {"C:/* a\r\n b */", "W^:x"}},
      // Mid-line, on one line: the line goes on.
      {"a /* b */ c", {"W:a", "C:/* b */", "W:c"}},
      {"a/**/b", {"W:a", "C:/**/", "W:b"}},
      // Unterminated: to the end of the text, whatever it holds.
      {"a /* b\r\nC ICON \"c\"", {"W:a", "C:/* b\r\nC ICON \"c\""}},
      {"/*/", {"C:/*/"}},
      {"// \"x\r\ny", {"C:// \"x", "W^:y"}},
      // A lone CR or LF does not end a line comment.
      {"// a\nb\rc\r\nd", {"C:// a\nb\rc", "W^:d"}},
      // A single slash is punctuation.
      {"a / b", {"W:a", "P:/", "W:b"}},
  });
}

TEST(Lexer, Strings) {
  expectTokens({
      {"\"a\"\"b\" x", {"S:\"a\"\"b\"", "W:x"}},
      {"\"a\\\"b\" x", {"S:\"a\\\"b\"", "W:x"}},
      // An even run of backslashes escapes no quote.
      {"\"a\\\\\" x", {"S:\"a\\\\\"", "W:x"}},
      {"\"\" x", {"S:\"\"", "W:x"}},
      // Comment marks inside a string are the string's.
      {"\"/* // \" x", {"S:\"/* // \"", "W:x"}},
      // A string left open ends with its line, before the CR LF; the next line reads on.
      {"\"a\r\nb\" c", {"S:\"a", "W^:b", "S:\" c"}},
      {"x \"open\r\nB ICON \"b.ico", {"W:x", "S:\"open", "W^:B", "W:ICON", "S:\"b.ico"}},
      {"\"open\r\nB ICON", {"S:\"open", "W^:B", "W:ICON"}},
      // An odd string: the quote escaped last opens a string the line end closes.
      {"6 \"\"\"\\\"\"\\\"\"\\\\\\\\\\\\\" }\r\n1 MENU",
       {"N:6", "S:\"\"\"\\\"\"", "P:\\", "S:\"\"", "P:\\", "P:\\", "P:\\", "P:\\", "P:\\", "P:\\",
        "S:\" }", "N^:1", "W:MENU"}},
      // A backslash right before the line end continues the string, as the compilers splice
      // lines: after an escaped backslash too.
      {"\"a\\\r\n  b\" c", {"S:\"a\\\r\n  b\"", "W:c"}},
      {"\"a\\\\\r\nb\" c", {"S:\"a\\\\\r\nb\"", "W:c"}},
      {"\"a\\\r\nb", {"S:\"a\\\r\nb"}},
      // A lone CR or LF does not end the line.
      {"\"a\nb\rc\" d", {"S:\"a\nb\rc\"", "W:d"}},
      // Apostrophes: a string only when closed on the same line.
      {"'00 01' x", {"S:'00 01'", "W:x"}},
      {"'a\r\nb'", {"P:'", "W:a", "W^:b", "P:'"}},
      // A lone LF does not end the line, so the apostrophe closes.
      {"'a\nb'", {"S:'a\nb'"}},
  });
}

// Left open is what would take in the text after it: a string that runs to the end of the text
// without its closing quote, not one its line end closed. Closed is the closing quote alone.
TEST(Lexer, StringsLeftOpenAndClosed) {
  const auto lastToken = [](std::string_view text) {
    Lexer lexer(text);
    Token last;
    for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) last = t;
    return last;
  };
  const auto openAtEnd = [&](std::string_view text) { return leftOpen(text, lastToken(text)); };
  EXPECT_TRUE(openAtEnd("A \"open"));
  EXPECT_TRUE(openAtEnd("A \"a\\\r\nb"));  // continued onto the last line
  EXPECT_TRUE(openAtEnd("A \"a\\\r\n"));   // continued, nothing after
  EXPECT_FALSE(openAtEnd("A \"closed\""));
  EXPECT_FALSE(openAtEnd("A \"open\r\n"));  // the line end closed it
  EXPECT_TRUE(openAtEnd("A /* open"));
  // Only what a line put after it would run into: a comment, a string a backslash continues.
  EXPECT_FALSE(endsLeftOpen("1 \"a\r\n2 \"b", 0, 10));
  EXPECT_TRUE(endsLeftOpen("1 \"a\r\n2 \"b\\", 0, 11));
  EXPECT_FALSE(endsLeftOpen("1 \"a\r\n2 \"b\\\r\n", 0, 13));
  EXPECT_TRUE(endsLeftOpen("1 \"a\r\n2 /* b", 0, 12));
  EXPECT_FALSE(endsLeftOpen("1 \"a\r\n2 \"b\"", 0, 11));
  EXPECT_FALSE(endsLeftOpen("1 \"a\r\n", 0, 6));
  // A string its line end closed, mid-text: not left open, and not closed either.
  const std::string_view text = "A \"open\r\nB";
  Lexer lexer(text);
  lexer.next();
  const Token open = lexer.next();
  EXPECT_EQ(open.of(text), "\"open");
  EXPECT_FALSE(leftOpen(text, open));
  EXPECT_FALSE(stringClosed(open.of(text)));
  EXPECT_TRUE(stringClosed("\"a\"\"b\""));
  EXPECT_TRUE(stringClosed("\"a\\\\\""));
  EXPECT_TRUE(stringClosed("\"a\\\r\nb\""));
  EXPECT_FALSE(stringClosed("\"a\"\""));  // a doubled quote at the end closes nothing
  EXPECT_FALSE(stringClosed("\"a\\\""));  // an escaped quote neither
  EXPECT_FALSE(stringClosed("\"a\" b"));  // more after the closing quote
  EXPECT_FALSE(stringClosed("\""));
  EXPECT_FALSE(stringClosed("'a'"));
}

TEST(Lexer, PreprocessorLines) {
  expectTokens({
      {"#define A 1\r\nB", {"D:#define A 1", "W^:B"}},
      // Backslash continuations join the next line.
      {"#define A \\\r\n  1 \\\r\n  2\r\nB", {"D:#define A \\\r\n  1 \\\r\n  2", "W^:B"}},
      // A line comment ends it; a block comment inside it runs on across lines.
      {"#endif // X\r\nB", {"D:#endif // X", "W^:B"}},
      {"#if A /* x\r\n y */ B\r\nC", {"D:#if A /* x\r\n y */ B", "W^:C"}},
      // A comment mark inside a string on the line is the string's.
      {"#include \"a//b.h\" x\r\nC", {"D:#include \"a//b.h\" x", "W^:C"}},
      // Blanks and comments before '#' leave it first on its line.
      {"  \t#if X", {"D:#if X"}},
      {"/* c */ #if X", {"C:/* c */", "D^:#if X"}},
      {"x /* c */ #if X", {"W:x", "C:/* c */", "P:#", "W:if", "W:X"}},
      {"x /* c\r\n */ #if X", {"W:x", "C:/* c\r\n */", "D^:#if X"}},
      // Not first on its line: punctuation.
      {"a # b", {"W:a", "P:#", "W:b"}},
      {"a\n#if X", {"W:a", "P:#", "W:if", "W:X"}},
      {"a\r#if X", {"W:a", "P:#", "W:if", "W:X"}},
      // A lone LF does not end it.
      {"#define A\nB ICON x\r\nC", {"D:#define A\nB ICON x", "W^:C"}},
  });
}

TEST(Lexer, WordsNumbersAndPunctuation) {
  expectTokens({
      {"IDD_ABOUT _x9 \xC3\xA9t\xC3\xA9", {"W:IDD_ABOUT", "W:_x9", "W:\xC3\xA9t\xC3\xA9"}},
      {"0x1F 10L 1a 007", {"N:0x1F", "N:10L", "N:1a", "N:007"}},
      {"a,b|(c)-1", {"W:a", "P:,", "W:b", "P:|", "P:(", "W:c", "P:)", "P:-", "N:1"}},
      {"{}&", {"P:{", "P:}", "P:&"}},
      // Only CR LF ends a line; a lone CR or LF, a form feed, a tab are white space.
      {"a\nb\rc\td\fe\vf", {"W:a", "W:b", "W:c", "W:d", "W:e", "W:f"}},
      {"a\r\n\r\n  b", {"W:a", "W^:b"}},
      {"\n\r\r\n", {}},
      {"", {}},
      // A NUL byte is punctuation.
      {std::string("A\0B", 3), {"W:A", std::string("P:\0", 3), "W:B"}},
  });
}

TEST(Lexer, ALineEndBeforeTheFirstTokenCounts) {
  // The text's start is a line start; so is a start given as one.
  Lexer atStart("x");
  EXPECT_TRUE(atStart.next().newLine);
  const std::string text = "a #if";
  Lexer midLine(text, 2, false);
  const Token hash = midLine.next();
  EXPECT_EQ(hash.kind, TokenKind::Punct);
  EXPECT_FALSE(hash.newLine);
  Lexer lineStart(text, 2, true);
  EXPECT_EQ(lineStart.next().kind, TokenKind::Directive);
}

TEST(Lexer, CodeTokensSkipCommentsAndKeepTheirLineEnds) {
  const std::string text = "a /* x\r\n */ b // y\r\nc";
  Lexer lexer(text);
  EXPECT_EQ(shown(text, lexer.nextCode()), "W^:a");
  EXPECT_EQ(shown(text, lexer.peekCode()), "W^:b");
  EXPECT_EQ(shown(text, lexer.nextCode()), "W^:b");
  EXPECT_EQ(shown(text, lexer.nextCode()), "W^:c");
  EXPECT_EQ(lexer.nextCode().kind, TokenKind::End);
}

TEST(Lexer, DirectiveKinds) {
  struct Case {
    std::string_view line;
    DirectiveKind kind;
  };
  const Case cases[] = {
      {"#if 0", DirectiveKind::If},          {"# ifdef X", DirectiveKind::If},
      {"#\tifndef X", DirectiveKind::If},    {"#if(X)", DirectiveKind::If},
      {"#elif X", DirectiveKind::Else},      {"#else", DirectiveKind::Else},
      {"#endif// c", DirectiveKind::EndIf},  {"#ifdefX", DirectiveKind::Other},
      {"#IF X", DirectiveKind::Other},       {"#include \"a.h\"", DirectiveKind::Other},
      {"#define X 1", DirectiveKind::Other}, {"#", DirectiveKind::Other},
  };
  for (const Case& c : cases) EXPECT_EQ(directiveKind(c.line), c.kind) << c.line;
}

TEST(Lexer, KeywordsAreWholeWordsInAnyCase) {
  struct Case {
    std::string_view token;
    bool begin;
  };
  const Case cases[] = {
      {"BEGIN", true}, {"begin", true},   {"BeGiN", true}, {"BEGINS", false},
      {"BEGI", false}, {"XBEGIN", false}, {"", false},     {"BEGIN ", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isKeyword(c.token, "BEGIN"), c.begin) << c.token;
}

TEST(Lexer, BlankCommentsKeepsOffsetsAndLineEnds) {
  struct Case {
    std::string text;
    std::string blanked;
  };
  const Case cases[] = {
      {"A // x\r\nB", "A     \r\nB"},
      {"B /* y\r\nz */ C", "B     \r\n     C"},
      // Lone CRs and LFs inside a comment are blanked with it.
      {"/* a\rb\nc */x", "           x"},
      // Strings and preprocessor lines stay as they are, comment marks and all.
      {"\"//\" /*x*/", "\"//\"      "},
      {"#if X // c\r\nA", "#if X // c\r\nA"},
      // An unterminated comment blanks to the end, its line ends kept.
      {"A /* x\r\n\r\nB", "A     \r\n\r\n "},
      {"", ""},
  };
  for (const Case& c : cases) {
    const std::string out = blankComments(c.text);
    EXPECT_EQ(out, c.blanked) << c.text;
    EXPECT_EQ(out.size(), c.text.size()) << c.text;
  }
}

}  // namespace
}  // namespace kolvre
