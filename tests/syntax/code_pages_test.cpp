#include "syntax/code_pages.h"

#include <gtest/gtest.h>

#include <string>

namespace kolvre {
namespace {

// One reading of the pragma for every reader: spelled as the compiler reads it, and never one
// inside a comment or a string.
TEST(CodePages, ThePragmaIsReadAsTheCompilerReadsIt) {
  const std::string spaced = "#pragma CODE_PAGE ( 65001 ) // UTF-8\r\nX ICON";
  EXPECT_EQ(codePageAt(spaced, spaced.size()), kUtf8CodePage);
  EXPECT_EQ(codePageAt("# pragma code_page(/* cp */1251)\r\nX", 40), 1251);
  // A line continued by a backslash is one line to the preprocessor.
  EXPECT_EQ(pragmaCodePage("#pragma code_page( \\\r\n 1250 )"), 1250);
  EXPECT_EQ(pragmaCodePage("#pragma code_page(default)"), kDefaultCodePage);
  for (const std::string commented :
       {"// #pragma code_page(65001)\r\nX ICON", "/*\r\n#pragma code_page(65001)\r\n*/ X ICON",
        "X RCDATA { \"#pragma code_page(65001)\" }", "#PRAGMA code_page(65001)\r\nX ICON",
        "#pragma code_page(65001, 2)\r\nX ICON", "#pragma code_page(65001) x\r\nX ICON",
        "#pragma code_page(1234567)\r\nX ICON", "#pragma code_page(0x4E4)\r\nX ICON"})
    EXPECT_EQ(codePageAt(commented, commented.size()), kDefaultCodePage) << commented;
}

TEST(CodePages, TheLastPragmaBeforeThePlaceInsideStatementsToo) {
  const std::string two =
      "#pragma code_page(1251)\r\nA\r\nS STRINGTABLE\r\nBEGIN\r\n#pragma code_page(DEFAULT)\r\n"
      "1 \"B\"\r\nEND\r\n#pragma code_page(65001)\r\nC";
  EXPECT_EQ(codePageAt(two, two.find('A')), 1251);
  EXPECT_EQ(codePageAt(two, two.find("\"B\"")), kDefaultCodePage);
  EXPECT_EQ(codePageAt(two, two.find('C')), kUtf8CodePage);
  const auto changes = codePageChanges(two, two.size());
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[1].at, two.find("#pragma code_page(DEFAULT)"));
  EXPECT_EQ(codePageAt(two, 0), kDefaultCodePage);
}

}  // namespace
}  // namespace kolvre
