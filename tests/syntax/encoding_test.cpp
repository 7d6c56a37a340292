#include "syntax/encoding.h"

#include <gtest/gtest.h>

namespace kolvre {
namespace {

TEST(Encoding, DetectedFromByteOrderMarkOrCodePagePragma) {
  EXPECT_EQ(detectEncoding("\xEF\xBB\xBFX ICON"), TextEncoding::Utf8);
  EXPECT_EQ(detectEncoding("#pragma code_page(65001)\r\nX ICON"), TextEncoding::Utf8);
  EXPECT_EQ(detectEncoding("#pragma code_page(1252)\r\nX ICON"), TextEncoding::Windows1252);
}

// The names of the list and the texts of dialogs read one pragma alike (syntax/code_pages.h).
TEST(Encoding, ThePragmaIsReadAsTheCompilerReadsIt) {
  EXPECT_EQ(detectEncoding("#pragma CODE_PAGE ( 65001 ) // UTF-8\r\nX ICON"), TextEncoding::Utf8);
  for (const std::string commented :
       {"// #pragma code_page(65001)\r\nX ICON", "#PRAGMA code_page(65001)\r\nX ICON"})
    EXPECT_EQ(detectEncoding(commented), TextEncoding::Windows1252) << commented;
}

TEST(Encoding, CodePagesWithATableAndTheirUndefinedBytes) {
  EXPECT_EQ(codePageToUtf8("\x80\x81\xa9", 1250), "€\u0081©");
  EXPECT_EQ(codePageToUtf8("\x98\xff", 1251), "\u0098я");
  EXPECT_EQ(codePageToUtf8("\x81\x9f", 1252), "\u0081Ÿ");
  EXPECT_EQ(codePageToUtf8("\xe2\x82\xac\xe2\x82", kUtf8CodePage), "€\uFFFD\uFFFD");
  EXPECT_EQ(codePageToUtf8("abc", 932), std::nullopt);
}

TEST(Encoding, Windows1252BytesRoundTripThroughDisplay) {
  std::string every;
  for (int b = 1; b < 256; ++b) every += static_cast<char>(b);
  EXPECT_EQ(fromDisplay(toDisplay(every, TextEncoding::Windows1252), TextEncoding::Windows1252),
            every);
  EXPECT_EQ(toDisplay("\x80\xE9", TextEncoding::Windows1252), "€é");
}

TEST(Encoding, TypedTextTheCodePageLacksOrThatIsNotUtf8) {
  EXPECT_EQ(fromDisplay("中", TextEncoding::Windows1252), "?");
  EXPECT_EQ(fromDisplay("D\x90G", TextEncoding::Windows1252), "D\x90G");  // already bytes
  EXPECT_EQ(fromDisplay("中", TextEncoding::Utf8), "中");
  EXPECT_EQ(toDisplay("\xE9t\xC3\xA9", TextEncoding::Utf8),
            "ét"
            "é");  // invalid byte as 1252
}

}  // namespace
}  // namespace kolvre
