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
  EXPECT_EQ(codePageToUtf8("abc", 949), std::nullopt);
}

// Japanese: two bytes for most characters, one for the half-width kana; a lead byte without a
// trail byte it pairs with is U+FFFD. Written back, the characters give their bytes again.
TEST(Encoding, TheJapaneseCodePageReadsAndWritesPairs) {
  EXPECT_EQ(codePageToUtf8("\x88\xF3\x8D\xFC a \xB1\x95\x5C", 932), "印刷 a ｱ表");
  EXPECT_EQ(codePageToUtf8("\x88\x20\x88", 932), "\uFFFD \uFFFD");
  EXPECT_EQ(codePageToUtf8("\xF0\x40\x87\x40", 932), "\uE000①");
  EXPECT_EQ(utf8ToCodePage("印刷 a ｱ表", 932), "\x88\xF3\x8D\xFC a \xB1\x95\x5C");
  EXPECT_EQ(utf8ToCodePage("Печать", 1251), "\xCF\xE5\xF7\xE0\xF2\xFC");
  EXPECT_EQ(utf8ToCodePage("é", 932), std::nullopt);
  EXPECT_EQ(utf8ToCodePage("印", 949), std::nullopt);
  EXPECT_EQ(utf8ToCodePage("印\xFF", kUtf8CodePage), std::nullopt);
  // Every pair of the table reads back to its bytes, but where two pairs stand for one
  // character: then the first of them.
  std::size_t pairs = 0, sameCharacter = 0;
  for (int lead = 0x81; lead <= 0xFC; lead += lead == 0x9F ? 0x41 : 1)  // 0xA0 to 0xDF: kana
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string shown = *codePageToUtf8(bytes, 932);
      if (shown.find("\uFFFD") != std::string::npos) continue;  // no pair
      ++pairs;
      const auto back = utf8ToCodePage(shown, 932);
      ASSERT_TRUE(back) << lead << ' ' << trail;
      if (*back != bytes) {
        ++sameCharacter;
        EXPECT_LT(*back, bytes);
        EXPECT_EQ(codePageToUtf8(*back, 932), shown);
      }
    }
  EXPECT_GT(pairs, 9000u);
  EXPECT_LT(sameCharacter, 500u);
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
