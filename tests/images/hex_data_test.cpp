// The inline hex codec: the reading rule of data lines, the body of real image blocks, the
// written layout.
#include "images/hex_data.h"

#include <gtest/gtest.h>

#include "document/templates.h"

namespace kolvre {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes range(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i * 7);
  return b;
}

TEST(HexDataLine, ReadsPairsByPosition) {
  const std::pair<std::string, Bytes> rows[] = {
      {" '42 4D BE 00'", {0x42, 0x4D, 0xBE, 0x00}},
      {"\t\t'42 4d be 00'", {0x42, 0x4D, 0xBE, 0x00}},  // tabs, lower case
      {"      '0A'", {0x0A}},
      {"'42 4D '", {0x42, 0x4D}},  // no leading blank, a blank before the apostrophe
      {" '", {}},
      {"", {}},
      // Eighteen pairs: only the first sixteen are read.
      {" '00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11'",
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {" 'ZZ 1'", {0x00, 0x10}},  // a character that is no digit reads as 0
  };
  for (const auto& [line, bytes] : rows) EXPECT_EQ(readHexDataLine(line), bytes) << line;
}

TEST(ImageBlock, TheBitmapTemplateDecodesAndEncodesBackToItself) {
  const std::string block = resourceTemplate(ResourceType::Bitmap, "LOGO");
  const auto bytes = decodeImageBlock(block);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), 190u);
  EXPECT_EQ((*bytes)[0], 'B');
  EXPECT_EQ((*bytes)[1], 'M');
  EXPECT_EQ(encodeImageBlock(block, *bytes), block);
}

TEST(ImageBlock, EncodingWritesSixteenBytesALineAndKeepsTheHeader) {
  const std::string block =
      "P BITMAP MOVEABLE PURE\r\n{\r\n '01 02 03 04 05 06 07 08'\r\n "
      "'09 0A 0B 0C 0D 0E 0F 10'\r\n '11'\r\n}";
  const auto bytes = decodeImageBlock(block);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), 17u);
  EXPECT_EQ(encodeImageBlock(block, *bytes),
            "P BITMAP MOVEABLE PURE\r\n{\r\n '01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10'\r\n"
            " '11'\r\n}");
  EXPECT_EQ(encodeImageBlock(block, {}), "P BITMAP MOVEABLE PURE\r\n{\r\n}");
}

TEST(ImageBlock, RealShapesTakeOnlyTheLinesBetweenTheDelimiters) {
  const std::string data = "'42 4D '\r\n'00 01 '\r\n";
  const std::string shapes[] = {
      "A BITMAP\r\nMOVEABLE PURE LOADONCALL DISCARDABLE\r\n{\r\n" + data + "}",
      "A BITMAP\r\nLANGUAGE LANG_ITALIAN, SUBLANG_DEFAULT\r\nBEGIN\r\n" + data + "END",
      "A BITMAP\r\n  begin\r\n" + data + "  end\r\n",
      // A delimiter inside a comment is none: the compiler skips the comment.
      "A BITMAP\r\n{\r\n'42 4D ' // } is not the end\r\n/* nor } this */\r\n'00 01 '\r\n}",
      "A BITMAP\r\nBEGIN\r\n" + data + "/*\r\nEND\r\n*/\r\nEND // of the data",
  };
  for (const std::string& block : shapes) {
    const auto bytes = decodeImageBlock(block);
    ASSERT_TRUE(bytes) << block;
    EXPECT_EQ(*bytes, (Bytes{0x42, 0x4D, 0x00, 0x01})) << block;
    // Re-encoded, every line before the body and the delimiters stand as they stood.
    const auto again = encodeImageBlock(block, range(3));
    ASSERT_TRUE(again);
    const auto body = findImageBody(block);
    EXPECT_EQ(again->substr(0, body->dataBegin), block.substr(0, body->dataBegin));
    EXPECT_EQ(decodeImageBlock(*again), range(3));
  }
}

TEST(ImageBlock, RoundTripsAnyBytes) {
  for (std::size_t n : {0u, 1u, 15u, 16u, 17u, 32u, 1000u}) {
    const auto block = encodeImageBlock("X ICON\r\n{\r\n}", range(n));
    ASSERT_TRUE(block);
    EXPECT_EQ(decodeImageBlock(*block), range(n)) << n;
  }
}

TEST(ImageBlock, BlocksWithoutDataNameTheirFileOrNothing) {
  EXPECT_FALSE(decodeImageBlock("IDI_APP ICON \"res\\\\app.ico\""));
  EXPECT_EQ(imageFileName("IDI_APP ICON \"res\\\\app.ico\""), "res\\app.ico");
  EXPECT_EQ(imageFileName("IDI_APP ICON DISCARDABLE \"a.ico\"\r\n"), "a.ico");
  EXPECT_EQ(imageFileName("IDI_APP ICON\r\n{\r\n}"), std::nullopt);
  EXPECT_EQ(imageFileName("IDI_APP ICON"), std::nullopt);
  EXPECT_FALSE(findImageBody("A BITMAP\r\n{\r\n '00'"));  // no closing brace
  // A file named without quotes, and the next statement's body is not taken for data.
  const std::string unquoted =
      "MULTHARDCURSOR      CURSOR mhard.cur\r\n\r\nWFACCEL ACCELERATORS PRELOAD\r\nBEGIN\r\n"
      "    VK_ESCAPE, 1\r\nEND";
  EXPECT_FALSE(findImageBody(unquoted));
  EXPECT_EQ(imageFileName(unquoted), "mhard.cur");
  EXPECT_EQ(imageFileName("IDB_T\tBITMAP  DISCARDABLE  \"tearoff.bmp\""), "tearoff.bmp");
  EXPECT_FALSE(findImageBody("A ICON\r\nSTRINGTABLE\r\n{\r\n 1, \"x\"\r\n}"));
  // Memory options, a comment and a language line may stand before the data.
  EXPECT_TRUE(findImageBody("A ICON\r\n// c\r\nPURE\r\nLANGUAGE 9, 1\r\n{\r\n '00'\r\n}"));
  // Block comments between the header and the data are skipped as the compiler skips them.
  EXPECT_TRUE(findImageBody("A CURSOR\r\n/* c */\r\n{\r\n '00'\r\n}"));
  EXPECT_TRUE(findImageBody("A ICON\r\n/*\r\n x { y\r\n*/\r\nBEGIN\r\n '00'\r\nEND"));
  EXPECT_TRUE(findImageBody("A ICON\r\n/* c */ {\r\n '00'\r\n}"));
  EXPECT_FALSE(findImageBody("A ICON\r\n/* c */ \"a.ico\""));
  EXPECT_EQ(decodeImageBlock("A ICON {\r\n '07'\r\n}"), (Bytes{7}));
}

TEST(ImageBlock, TheBodyIsWhereTheStatementReaderFindsIt) {
  // Each block holds the bytes 42 4D 00 01, whatever stands around them.
  const std::string shapes[] = {
      // A "}" or END inside a string or a comment among the data closes nothing.
      "A BITMAP\r\n{\r\n '42 4D' \"}\"\r\n '00 01' // }\r\n}",
      // Braces and the words pair alike.
      "A BITMAP\r\nBEGIN\r\n '42 4D'\r\n '00 01'\r\n}",
      // The words in any case, and on the header line with a comment after them.
      "A BITMAP Begin // the data\r\n '42 4D'\r\n '00 01'\r\neNd",
      "A BITMAP{\r\n '42 4D'\r\n '00 01'\r\n}",
      // Memory options and LANGUAGE, VERSION and CHARACTERISTICS lines, one of them written
      // over two lines, with comments among them.
      "A BITMAP PRELOAD\r\nDISCARDABLE // moves\r\nLANGUAGE LANG_ITALIAN,\r\n    "
      "SUBLANG_ITALIAN\r\n"
      "VERSION 3 /* v */ CHARACTERISTICS 7\r\nBEGIN\r\n '42 4D'\r\n '00 01'\r\nEND",
      // A comment before the closer on its line.
      "A BITMAP\r\n{\r\n '42 4D'\r\n '00 01'\r\n/* end */ }",
  };
  for (const std::string& block : shapes) {
    const auto bytes = decodeImageBlock(block);
    ASSERT_TRUE(bytes) << block;
    EXPECT_EQ(*bytes, (Bytes{0x42, 0x4D, 0x00, 0x01})) << block;
    EXPECT_EQ(findImageBody(block)->end, block.size()) << block;
    EXPECT_EQ(imageFileName(block), std::nullopt) << block;
    const auto again = encodeImageBlock(block, range(20));
    ASSERT_TRUE(again);
    EXPECT_EQ(decodeImageBlock(*again), range(20)) << block;
  }
}

TEST(ImageBlock, TextBesideADelimiterLeavesNoDataLines) {
  // Data on a delimiter's line would be neither read nor written: such a body is not taken.
  for (const std::string block : {
           "A ICON {}", "A ICON { '00' }", "A ICON {\r\n '00' }", "A ICON { '00'\r\n '01'\r\n}",
           "A ICON {\r\n '00' /* runs on\r\n */ }",  // a comment from the data to the closer
           "A ICON { /* runs on\r\n */ '00'\r\n}",   // one from the opener's line to the data
       }) {
    EXPECT_FALSE(findImageBody(block)) << block;
    EXPECT_FALSE(decodeImageBlock(block)) << block;
    EXPECT_FALSE(encodeImageBlock(block, {1})) << block;
    EXPECT_EQ(imageFileName(block), std::nullopt) << block;  // a body all the same
  }
}

TEST(ImageBlock, TheFileNameIsTheTokenAfterTheHeader) {
  const std::pair<std::string, std::optional<std::string>> rows[] = {
      {"A ICON \"dir\\\\sub dir\\\\a\"\"b.ico\"", "dir\\sub dir\\a\"b.ico"},
      {"A ICON \"res\\app.ico\" // the icon", "res\\app.ico"},
      {"A ICON ..\\res\\a.ico// the icon", "..\\res\\a.ico"},
      {"A ICON PRELOAD\r\nLANGUAGE 9, 1\r\n  \"a.ico\"", "a.ico"},
      {"A ICON\r\n\"a.ico\"", "a.ico"},
      {"A ICON a.ico b.ico", "a.ico"},
      {"A ICON", std::nullopt},
      {"A ICON PRELOAD DISCARDABLE", std::nullopt},
      {"A ICON \"\"", std::nullopt},
      {"A ICON\r\n{\r\n '00'", std::nullopt},  // a body left open names no file
      {"// c\r\nA ICON a.ico", "a.ico"},
      {"LANGUAGE 9, 1\r\nA ICON a.ico", std::nullopt},  // the block is no resource
  };
  for (const auto& [block, name] : rows) {
    EXPECT_EQ(imageFileName(block), name) << block;
    EXPECT_FALSE(findImageBody(block)) << block;
  }
}

}  // namespace
}  // namespace kolvre
