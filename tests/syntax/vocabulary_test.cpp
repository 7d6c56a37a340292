#include "syntax/vocabulary.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kolvre
