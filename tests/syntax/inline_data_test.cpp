// The inline data lines of a body: where they stand in a statement, and their bytes read line by
// line with the lexer's line ends and comments.
#include "syntax/inline_data.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvre {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The data lines of the first statement of `text`.
std::optional<InlineDataLines> linesOf(std::string_view text) {
  const std::vector<Statement> statements = readStatements(text);
  if (statements.empty()) return std::nullopt;
  return inlineDataLines(text, statements.front());
}

TEST(InlineDataLines, OnlyACrLfEndsALine) {
  // A lone LF or CR stays inside its line: the pairs after it are past the line's closing
  // apostrophe and give nothing.
  EXPECT_EQ(readHexDataLines(" '01'\n '02'\r\n '03'"), (Bytes{0x01, 0x03}));
  EXPECT_EQ(readHexDataLines(" '01'\r '02'\r\n '03'\r\n"), (Bytes{0x01, 0x03}));
  // A line that starts with a lone LF: blanks are only spaces and tabs, so the LF takes the
  // opening apostrophe's place and the apostrophe after it closes the line at once.
  EXPECT_EQ(readHexDataLines("\n'04 05'\r\n '06'"), (Bytes{0x06}));
  // A CR at the very end, or a CR CR LF.
  EXPECT_EQ(readHexDataLines(" '07'\r"), (Bytes{0x07}));
  EXPECT_EQ(readHexDataLines(" '07'\r\r\n '08'"), (Bytes{0x07, 0x08}));
  EXPECT_EQ(readHexDataLines(""), Bytes{});
  EXPECT_EQ(readHexDataLines("\r\n\r\n"), Bytes{});
}

TEST(InlineDataLines, FullLinesInTheWrittenLayoutAndOthersReadAlike) {
  const std::string full = " '00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF'";
  const Bytes sixteen{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                      0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  Bytes twice = sixteen;
  twice.insert(twice.end(), sixteen.begin(), sixteen.end());
  // The quick way (a full line and its CR LF) and the line by line way give the same bytes:
  // the last line without a CR LF, a full line after a lone LF, a full line indented by a tab.
  EXPECT_EQ(readHexDataLines(full + "\r\n" + full), twice);
  EXPECT_EQ(readHexDataLines(full + "\r\n" + full + "\r\n"), twice);
  EXPECT_EQ(readHexDataLines("\t'00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF'\r\n" + full),
            twice);
  Bytes thrice = twice;
  thrice.push_back(0x12);
  EXPECT_EQ(readHexDataLines(full + "\r\n" + full + "\r\n '12'"), thrice);
}

// The quick way takes 52 characters that look like a full line (a blank and an apostrophe, an
// apostrophe and a CR LF 47 characters on) only when no line ends inside them: a short line
// before a longer one was read as one line with it, its pairs taken across the line end.
TEST(InlineDataLines, AShortLineBeforeALongerOneIsReadAlone) {
  const std::string data = " '01 '\r\n '02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E '\r\n '0F'";
  ASSERT_EQ(data.substr(49, 3), "'\r\n");  // where a full line from the start would end
  EXPECT_EQ(readHexDataLines(data), (Bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                                           0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}));
  // A lone CR inside a full line keeps it one line.
  const std::string lone = " '00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE\rFF'\r\n";
  ASSERT_EQ(lone.size(), 52u);
  EXPECT_EQ(readHexDataLines(lone), (Bytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88,
                                           0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}));
}

TEST(InlineDataLines, CommentsGiveNoBytesWhateverTheyHold) {
  // A "}" or "*/" inside a line comment, a block comment over two lines with a data line inside
  // it, and data after the block comment's end on its line.
  EXPECT_EQ(readHexDataLines(" '01' // } '09'\r\n '02' // */ '09'\r\n/* '09'\r\n '09' */ '03'\r\n"
                             " '04'"),
            (Bytes{0x01, 0x02, 0x03, 0x04}));
  // A slash that opens no comment stays: the line is read by position as ever.
  EXPECT_EQ(readHexDataLines(" '0/ 05'\r\n '06'"), (Bytes{0x00, 0x05, 0x06}));
  // A comment left open takes every line after it.
  EXPECT_EQ(readHexDataLines(" '01'\r\n/* '02'\r\n '03'"), (Bytes{0x01}));
}

TEST(InlineDataLines, TheLinesStandBetweenTheDelimitersLines) {
  const std::string text = "A ICON\r\n{\r\n '00'\r\n '01'\r\n}\r\nB ICON \"b.ico\"";
  const auto lines = linesOf(text);
  ASSERT_TRUE(lines);
  EXPECT_EQ(text.substr(lines->begin, lines->end - lines->begin), " '00'\r\n '01'\r\n");
  EXPECT_EQ(lines->bodyEnd, text.find("}\r\nB") + 1);
  // No line between the delimiters: the data is empty, at the closer's line.
  const std::string empty = "A ICON BEGIN\r\nEND";
  const auto none = linesOf(empty);
  ASSERT_TRUE(none);
  EXPECT_EQ(none->begin, none->end);
  EXPECT_EQ(none->begin, empty.find("END"));
  // A "}" inside a comment among the lines closes nothing.
  const std::string commented = "A ICON\r\n{\r\n '00' // }\r\n/* } */\r\n '01'\r\n} // end";
  const auto inside = linesOf(commented);
  ASSERT_TRUE(inside);
  EXPECT_EQ(inside->bodyEnd, commented.rfind('}') + 1);
  // Comments on the delimiters' own lines: the opener's, and before the closer's on its line.
  EXPECT_TRUE(linesOf("A ICON\r\n{ // data\r\n '00'\r\n}"));
  EXPECT_TRUE(linesOf("A ICON\r\n{ /* data */\r\n '00'\r\n/* end */ }"));
}

TEST(InlineDataLines, NothingWhereTextBesideADelimiterBelongsToNoLine) {
  const std::string_view refused[] = {
      "A ICON \"a.ico\"",                         // no body
      "A ICON\r\n{\r\n '00'\r\n",                 // left open
      "A ICON { '00' }",                          // both delimiters on one line
      "A ICON\r\n{ '00'\r\n '01'\r\n}",           // data beside the opener
      "A ICON\r\n{\r\n '00'\r\n '01' }",          // data beside the closer
      "A ICON\r\n{ /* runs on\r\n */ '00'\r\n}",  // a comment after the opener runs on
      // A comment before the closer that started on a line above it.
      "A ICON\r\n{\r\n '00' /* one\r\n two */ }", "A ICON\r\n{\r\n '00'\r\n/* one\r\n two */ }",
      "A ICON\r\n{\r\n '00'\r\n STRINGTABLE }",  // a word before the closer
  };
  for (const std::string_view text : refused) EXPECT_FALSE(linesOf(text)) << text;
  // A statement that is no resource has no data lines.
  EXPECT_FALSE(linesOf("LANGUAGE 9, 1"));
}

}  // namespace
}  // namespace kolvre
