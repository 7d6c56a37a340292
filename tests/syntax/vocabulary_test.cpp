#include "syntax/vocabulary.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

TEST(Vocabulary, BodiesOpenAndCloseWithBracesOrTheWordsInAnyCase) {
  const std::string_view text = "{ } BEGIN end Begins \"{\" /* } */";
  Lexer lexer(text);
  std::vector<std::pair<bool, bool>> seen;  // opens, closes
  for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode())
    seen.emplace_back(opensBody(text, t), closesBody(text, t));
  EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{
                      {true, false},
                      {false, true},
                      {true, false},
                      {false, true},
                      {false, false},  // a longer word
                      {false, false},  // a string
                  }));
  EXPECT_TRUE(opensBodyLine("{ CONTROL"));
  EXPECT_TRUE(opensBodyLine("begin"));
  EXPECT_FALSE(opensBodyLine("BEGIN x"));
}

TEST(Vocabulary, QuotesDoubledAndBackAgain) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"", ""}, {"a", "a"}, {"\"", "\"\""}, {"a \"b\" c", "a \"\"b\"\" c"}, {"\\\"", "\\\"\""},
  };
  for (const auto& [plain, doubled] : rows) {
    EXPECT_EQ(doubledQuotes(plain), doubled);
    EXPECT_EQ(undoubledQuotes(doubled), plain);
  }
  // A quote left alone stays: only pairs are made one.
  EXPECT_EQ(undoubledQuotes("a\"b\"\"\""), "a\"b\"\"");
}

TEST(Vocabulary, AQuotedTextIsOneWholeStringAsTheLexerReadsIt) {
  using Q = std::optional<std::string_view>;
  EXPECT_EQ(quotedText("\"a\"\"b\""), Q("a\"\"b"));
  EXPECT_EQ(quotedText("\"a\\\"b\""), Q("a\\\"b"));  // a quote escaped with a backslash
  EXPECT_EQ(quotedText("\"\""), Q(""));
  EXPECT_EQ(quotedText("L\"w\""), std::nullopt);
  EXPECT_EQ(quotedText("L\"w\"", true), Q("w"));
  // Two strings, a string left open, text beside it, a word: no one quoted text.
  for (std::string_view no : {"\"a\" \"b\"", "\"a\"b\"", "\"a", "\"", "\"a\" x", "Button", "'a'"})
    EXPECT_EQ(quotedText(no, true), std::nullopt) << no;

  using S = std::optional<std::string>;
  EXPECT_EQ(stringsText("\"Ab\"\"c\""), S("Ab\"c"));
  EXPECT_EQ(stringsText("\"One \" \t\r\n \"two\""), S("One two"));  // joined, as windres joins them
  for (std::string_view no : {"", "  ", "\"a\" b", "IDI_ICON", "\"a\" L\"b\"", "\"open"})
    EXPECT_EQ(stringsText(no), std::nullopt) << no;
}

TEST(Vocabulary, AQuotedFileNameWithItsEscapesUndone) {
  const std::pair<std::string_view, std::string_view> rows[] = {
      {"\"res\\\\app.ico\"", "res\\app.ico"},  // a doubled backslash
      {"\"res\\app.ico\"", "res\\app.ico"},    // a single one is a separator
      {"\"a\"\"b.ico\"", "a\"b.ico"},          // a doubled quote
      {"\"a\\\"b.ico\"", "a\"b.ico"},          // a quote after a backslash
      {"\"dir\\\\\"", "dir\\"},                // a backslash before the closing quote
      {"\"\"", ""},
      {"\"open.ico", "open.ico"},  // left open
      {"\"", ""},
  };
  for (const auto& [literal, name] : rows) EXPECT_EQ(quotedFileName(literal), name) << literal;
}

// Every word of every list is found with its class, in any letter case; a word that only
// shares a list word's start, length or first letter is found in none.
TEST(Vocabulary, WordClassesFindEveryListedWordAndNoOther) {
  const auto everyCase = [](std::string_view word, std::uint32_t bit) {
    EXPECT_TRUE(wordClasses(word) & bit) << word;
    EXPECT_TRUE(wordClasses(lowerAscii(word)) & bit) << word;
    std::string mixed(word);
    mixed[0] = lowerByte(mixed[0]);
    EXPECT_TRUE(wordClasses(mixed) & bit) << mixed;
    EXPECT_EQ(wordClasses(std::string(word) + "S"), 0u) << word;
    EXPECT_EQ(wordClasses(word.substr(0, word.size() - 1)) & bit, 0u) << word;
  };
  for (std::string_view w : kControlWords) everyCase(w, words::kControl);
  for (std::string_view w : kHeaderWords) everyCase(w, words::kHeader);
  for (std::string_view w : kVersionFields) everyCase(w, words::kVersionField);
  for (std::string_view w : kMemoryOptionWords) everyCase(w, words::kMemoryOption);
  for (std::size_t i = 0; i < kResourceKeywords.size(); ++i) {
    everyCase(kResourceKeywords[i].word, words::kResourceType);
    EXPECT_EQ(resourceKeywordIndex(lowerAscii(kResourceKeywords[i].word)), static_cast<int>(i));
  }
  // A word in several lists has every class: ICON is a control and a type, MENU a header
  // statement and a type, LANGUAGE a header statement and a statement of its own.
  EXPECT_EQ(wordClasses("icon"), words::kControl | words::kResourceType);
  EXPECT_EQ(wordClasses("Menu"), words::kHeader | words::kResourceType);
  EXPECT_EQ(wordClasses("LANGUAGE"), words::kHeader | words::kLanguage);
  EXPECT_EQ(wordClasses("end"), words::kEnd);
  EXPECT_EQ(wordClasses("Not"), words::kNot);
  for (std::string_view other :
       {"", "E", "ENDS", "BEGI", "CONTROLS", "RT_MANIFEST", "24", "_END", "CHARACTERISTICSX", "Z",
        "\x80"
        "END"})
    EXPECT_EQ(wordClasses(other), 0u) << other;
  EXPECT_EQ(resourceKeywordIndex("CONTROL"), -1);
}

}  // namespace
}  // namespace kolvre
