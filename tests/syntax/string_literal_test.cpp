// Quoted texts as the compiled resource holds them and as a window shows them.
#include "syntax/string_literal.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

TEST(StringLiteral, EscapesGiveTheBytesTheCompilerStores) {
  EXPECT_EQ(compiledBytes(R"(a\tb\nc\rd\ae)"), "a\tb\nc\rd\be");
  EXPECT_EQ(compiledBytes(R"(say ""hi"" \"there\" C:\\dir)"), "say \"hi\" \"there\" C:\\dir");
  // Octal takes at most three digits, hexadecimal at most two; the next digit stands as itself.
  EXPECT_EQ(compiledBytes(R"(\251\2512\0010\xa9\xA9f\x7)"),
            "\xa9\xa9"
            "2\001"
            "0\xa9\xa9"
            "f\x07");
  EXPECT_EQ(compiledBytes(R"(\777\08)"), std::string("\xff\0"
                                                     "8",
                                                     3));
  // What is no escape stands as written, a backslash at the very end too.
  EXPECT_EQ(compiledBytes(R"(\q\9\)"), R"(\q\9\)");
  EXPECT_EQ(compiledBytes(R"(\X41\xg)"), std::string("A\0g", 3));
}

TEST(StringLiteral, ABackslashAtALineEndJoinsTheNextLineWithoutItsIndent) {
  EXPECT_EQ(compiledBytes("Sposta \\\r\n\t   gi\\xf9"), "Sposta gi\xf9");
  EXPECT_EQ(compiledBytes("a\\\nb"), "ab");
  // A line end that is not escaped stays.
  EXPECT_EQ(compiledBytes("a\r\n  b"), "a\r\n  b");
}

TEST(StringLiteral, RunsTellEscapedBytesFromWrittenOnes) {
  const std::vector<CompiledRun> runs = compiledRuns(R"(gi\xf9 \\ ok""!)");
  const std::vector<CompiledRun> expected{
      {"gi", false}, {"\xf9", true}, {" ", false}, {"\\", true}, {" ok\"!", false}};
  EXPECT_EQ(runs, expected);
}

TEST(StringLiteral, ShownInTheScriptsCodePage) {
  const ScriptCharset latin{1252, false}, cyrillic{1251, false}, central{1250, false};
  EXPECT_EQ(shownString(R"(Sposta gi\xf9 \251)", latin), "Sposta giù ©");
  EXPECT_EQ(shownString("gi\xf9", latin), "giù");
  EXPECT_EQ(shownString(R"(\xcf\xf0\xe8)", cyrillic), "При");
  EXPECT_EQ(shownString("\x8a\xe8", central), "Šč");
  // UTF-8: escapes that together make a character make it; a stray byte is U+FFFD.
  EXPECT_EQ(shownString(R"(gi\xc3\xb9 \xff)", {kUtf8CodePage, false}), "giù \xEF\xBF\xBD");
  // A UTF-16 file's characters are held as UTF-8; its escapes follow the code page.
  EXPECT_EQ(shownString(R"(giù \xa9)", {1252, true}), "giù ©");
  // A code page without a table reads as Windows-1252; the text ends at a zero byte.
  EXPECT_EQ(shownString(R"(\xe0)", {1253, false}), "à");
  EXPECT_EQ(shownString(R"(ab\0cd)", latin), "ab");
}

TEST(StringLiteral, TheCodePageIsTheLastPragmaBeforeTheText) {
  const std::string script =
      "A DIALOG 0,0,1,1\r\n#pragma code_page(1251)\r\nB DIALOG\r\n"
      "  #  pragma  CODE_PAGE ( 65001 ) // UTF-8\r\nC DIALOG\r\n#pragma code_page(DEFAULT)\r\n"
      "D\r\n#pragma code_page(12x)\r\n#pragma once\r\nE";
  EXPECT_EQ(codePageAt(script, script.find("A DIALOG")), 1252);
  EXPECT_EQ(codePageAt(script, script.find("B DIALOG")), 1251);
  EXPECT_EQ(codePageAt(script, script.find("C DIALOG")), 65001);
  EXPECT_EQ(codePageAt(script, script.size()), 1252);
  EXPECT_EQ(scriptCharsetAt(script, script.find("C DIALOG"), true),
            (ScriptCharset{kUtf8CodePage, true}));
}

// A line may end inside a literal only after a backslash that continues it.
TEST(StringLiteral, LineEndsInsideALiteralOnlyAfterABackslash) {
  EXPECT_TRUE(lineEndsContinued("\"one line\""));
  EXPECT_TRUE(lineEndsContinued("\"two \\\r\n  lines\""));
  EXPECT_TRUE(lineEndsContinued("\"a\\\r\nb\\\r\nc\""));
  EXPECT_FALSE(lineEndsContinued("\"a\r\nb\""));
  EXPECT_FALSE(lineEndsContinued("\"a\\\r\nb\r\nc\""));  // the second line end is bare
  EXPECT_FALSE(lineEndsContinued("\"a\\ \r\nb\""));      // a blank after the backslash
  // A lone LF or CR is no line end inside a line.
  EXPECT_TRUE(lineEndsContinued("\"a\nb\rc\""));
  // The backslash right before the line end joins the lines, as the preprocessor joins them
  // before the literal is read: a backslash before it changes nothing.
  EXPECT_TRUE(lineEndsContinued("\"a\\\\\r\nb\""));
}

TEST(StringLiteral, AdjacentLiteralsAsWrittenJoined) {
  EXPECT_EQ(literalsAsWritten("\"a\""), "a");
  EXPECT_EQ(literalsAsWritten("L\"a\\n\" \"\"\"b\"\"\""), "a\\n\"\"b\"\"");
  // Blanks, line ends and comments between them, a quote or apostrophe inside a comment.
  EXPECT_EQ(literalsAsWritten("\"x\" /* \" */\r\n  // '\r\n L\"y\\\r\n z\""), "xy\\\r\n z");
  EXPECT_EQ(literalsAsWritten(""), "");
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

// Bytes as written (escapes untouched) read in a code page and typed back: the same bytes.
TEST(StringLiteral, WrittenBytesReadInTheCodePageAndTypedBack) {
  const ScriptCharset cyrillic{1251, false}, latin{1252, false}, utf8{kUtf8CodePage, false},
      utf16File{1251, true}, unknown{949, false};
  // "Печать\t" as cp1251 bytes, the escape left as written.
  const std::string print = "\xCF\xE5\xF7\xE0\xF2\xFC\\t";
  EXPECT_EQ(writtenToUtf8(print, cyrillic), "Печать\\t");
  EXPECT_EQ(utf8ToWritten("Печать\\t", cyrillic), print);
  EXPECT_EQ(writtenToUtf8(print, latin), "Ïå÷àòü\\t");
  // Every byte of a single-byte page comes back, those the page leaves undefined too.
  std::string all;
  for (int b = 1; b < 0x100; ++b) all += static_cast<char>(b);
  for (const ScriptCharset& charset : {cyrillic, latin, ScriptCharset{1250, false}})
    EXPECT_EQ(utf8ToWritten(writtenToUtf8(all, charset), charset), all) << charset.codePage;
  // A character the page lacks is no text of it.
  EXPECT_EQ(utf8ToWritten("Печать", latin), std::nullopt);
  EXPECT_EQ(utf8ToWritten("é", cyrillic), std::nullopt);
  EXPECT_EQ(utf8ToWritten("€", cyrillic), "\x88");
  // UTF-8 scripts and UTF-16 files hold any character; a page without a table reads as 1252.
  EXPECT_EQ(utf8ToWritten("Печать 印刷", utf8), "Печать 印刷");
  EXPECT_EQ(writtenToUtf8("Печать 印刷", utf16File), "Печать 印刷");
  EXPECT_EQ(utf8ToWritten("印刷", utf16File), "印刷");
  EXPECT_EQ(writtenToUtf8("\xE9", unknown), "é");
}

}  // namespace
}  // namespace kolvre
