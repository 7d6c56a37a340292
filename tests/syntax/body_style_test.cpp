#include "syntax/body_style.h"

#include <gtest/gtest.h>

#include "support/crlf.h"

namespace kolvre {
namespace {

using testing::crlf;

BodyStyle styleAt(const std::string& text, std::size_t at) {
  return bodyStyleNear(text, readStatements(text), at);
}

TEST(BodyStyle, TheNeighboursWritingDecides) {
  const std::string braces = crlf("A RCDATA {\n    1\n}\nB RCDATA {\n}\n");
  EXPECT_EQ(styleAt(braces, braces.size()), (BodyStyle{"{", "}", "    "}));
  // BEGIN in its own case, END in the same; a tab indents.
  const std::string lower = crlf("A MENU\nbegin\n\tMENUITEM \"a\", 1\nend\n");
  EXPECT_EQ(styleAt(lower, lower.size()), (BodyStyle{"begin", "end", "\t"}));
  const std::string title = crlf("A MENU\nBegin\nEnd\n");
  EXPECT_EQ(styleAt(title, 0), (BodyStyle{"Begin", "End", "  "}));
  // Most of the nearest ones; on a tie, the nearest before the place.
  const std::string mixed = crlf("A RCDATA { 1 }\nB RCDATA\nBEGIN\n 2\nEND\nC RCDATA { 3 }\n");
  EXPECT_EQ(styleAt(mixed, mixed.size()).open, "{");
  const std::string tie = crlf("A RCDATA { 1 }\nB RCDATA\nBEGIN\n 2\nEND\n");
  EXPECT_EQ(styleAt(tie, tie.size()).open, "BEGIN");
  EXPECT_EQ(styleAt(tie, 0).open, "{");
  // A statement on the opener's line, or none at all, tells no indentation; neither does a
  // script without bodies.
  EXPECT_EQ(styleAt(crlf("A RCDATA { 1,\n 2 }\n"), 0).indent, "  ");
  EXPECT_EQ(styleAt(crlf("A ICON a.ico\n"), 0), BodyStyle{});
}

TEST(BodyStyle, ATemplateTakesTheOpenersAndTheIndentation) {
  const std::string block = crlf("N MENU\n{\n  POPUP \"a\"\n  {\n    MENUITEM \"b\", 1\n  }\n}");
  EXPECT_EQ(inBodyStyle(block, BodyStyle{"BEGIN", "END", "\t"}),
            crlf("N MENU\nBEGIN\n\tPOPUP \"a\"\n\tBEGIN\n\t\tMENUITEM \"b\", 1\n\tEND\nEND"));
  EXPECT_EQ(inBodyStyle(block, BodyStyle{}), block);
  // A brace that is not alone on its line, or text of one blank, stays as it is.
  EXPECT_EQ(inBodyStyle(crlf("N RCDATA { 1 }\n '00'"), BodyStyle{"BEGIN", "END", "\t"}),
            crlf("N RCDATA { 1 }\n '00'"));
}

}  // namespace
}  // namespace kolvre
