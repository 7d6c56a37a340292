#include "document/languages.h"

#include <gtest/gtest.h>

#include "syntax/statements.h"

namespace kolvre {
namespace {

// A LANGUAGE statement's two values, however comments and line ends stand among them.
TEST(Languages, ValuesAreNumbersAsTheCompilersReadThemOrNames) {
  using V = std::optional<std::uint16_t>;
  EXPECT_EQ(languageValue(" 0x09 "), V(9));
  EXPECT_EQ(languageValue("010"), V(8));  // octal, as both compilers read it
  EXPECT_EQ(languageValue("9L"), V(9));
  EXPECT_EQ(languageValue("0xFFFF"), V(0xFFFF));
  EXPECT_EQ(languageValue("LANG_ENGLISH"), V(9));
  for (std::string_view no : {"9U", "08", "0x10000", "4294967305", "", "lang_english", "9 + 1"})
    EXPECT_EQ(languageValue(no), std::nullopt) << no;
}

TEST(Languages, ALanguageStatementsValuesReadAcrossCommentsAndLines) {
  EXPECT_EQ(languageTagOf("LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN"), "it");
  EXPECT_EQ(languageTagOf("LANGUAGE 9, /* US */ 1"), "en-US");
  EXPECT_EQ(languageTagOf("LANGUAGE 0x07,\r\n  0x03"), "de-AT");
  EXPECT_EQ(languageTagOf("LANGUAGE LANG_ENGLISH\r\n , SUBLANG_ENGLISH_UK"), "en-GB");
  // Values that are not both known are shown as written.
  EXPECT_EQ(languageTagOf("LANGUAGE MY_LANG, 1"), "MY_LANG,1");
  EXPECT_EQ(languageTagOf("LANGUAGE , 1"), ",1");
}

std::vector<std::string> languagesOf(const std::string& text) {
  return statementLanguages(text, readStatements(text));
}

// A resource's own LANGUAGE header statement wins over the top-level one; a value on the line
// after a comma belongs to it (it was cut at the line end); the word in a body or a string is
// no header statement.
TEST(Languages, AResourcesOwnLanguageStatementIsReadFromItsHeader) {
  const std::string text =
      "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN\r\n"
      "STRINGTABLE\r\nLANGUAGE 9,\r\n 1\r\nBEGIN\r\n 1 \"a\"\r\nEND\r\n"
      "A DIALOG 0, 0, 10, 10\r\nCAPTION \"LANGUAGE 7, 1\"\r\nLANGUAGE 0x10, /* CH */ 2\r\n"
      "BEGIN\r\nEND\r\n"
      "M MENU\r\nBEGIN\r\n MENUITEM \"LANGUAGE\", 1\r\nEND\r\n"
      "I ICON \"LANGUAGE.ico\"\r\n";
  const std::vector<Statement> statements = readStatements(text);
  ASSERT_EQ(statements.size(), 5u);
  EXPECT_EQ(languagesOf(text), (std::vector<std::string>{"", "en-US", "it-CH", "it", "it"}));
  EXPECT_EQ(ownLanguageTag(text, statements[1]), "en-US");
  EXPECT_EQ(ownLanguageTag(text, statements[3]), std::nullopt);
  EXPECT_EQ(ownLanguageTag(text, statements[0]), std::nullopt);  // the statement itself
}

}  // namespace
}  // namespace kolvre
