// The conditional sections as the checks read them from the tree's preprocessor lines: which
// places exclude each other and which are never compiled.
#include "checks/branches.h"

#include <gtest/gtest.h>

#include <string>

#include "support/crlf.h"

namespace kolvre {
namespace {

using testing::crlf;

// A script with its places marked: each word "@a", "@b", ... is found by its name.
struct Marked {
  std::string text;
  SyntaxTree tree;
  ConditionalBranches branches;
  explicit Marked(std::string_view lf) : text(crlf(lf)), tree(text), branches(text, tree) {}
  std::size_t at(std::string_view mark) const { return text.find(mark); }
  bool exclusive(std::string_view a, std::string_view b) const {
    return branches.exclusive(at(a), at(b));
  }
  bool dead(std::string_view mark) const { return branches.dead(at(mark)); }
};

TEST(ConditionalBranches, NestedSectionsAndElifChains) {
  const Marked m(
      "A RCDATA { @a }\n"
      "#ifdef X\n"
      "B RCDATA { @b }\n"
      "#if Y\n"
      "C RCDATA { @c }\n"
      "#else\n"
      "D RCDATA { @d }\n"
      "#endif\n"
      "E RCDATA { @e }\n"
      "#elif Z\n"
      "F RCDATA { @f }\n"
      "#elif W\n"
      "G RCDATA { @g }\n"
      "#else\n"
      "H RCDATA { @h }\n"
      "#endif\n"
      "I RCDATA { @i }\n");
  EXPECT_TRUE(m.exclusive("@c", "@d"));
  EXPECT_FALSE(m.exclusive("@b", "@c"));  // the inner section is within @b's branch
  EXPECT_FALSE(m.exclusive("@b", "@e"));
  EXPECT_TRUE(m.exclusive("@d", "@f"));
  EXPECT_TRUE(m.exclusive("@f", "@g"));
  EXPECT_TRUE(m.exclusive("@g", "@h"));
  EXPECT_TRUE(m.exclusive("@b", "@h"));
  EXPECT_FALSE(m.exclusive("@a", "@h"));
  EXPECT_FALSE(m.exclusive("@h", "@i"));
  for (const char* mark : {"@a", "@b", "@c", "@d", "@e", "@f", "@g", "@h", "@i"})
    EXPECT_FALSE(m.dead(mark)) << mark;
}

TEST(ConditionalBranches, TheBranchesOfTheConditionZero) {
  const Marked m(
      "#if 0\n"
      "A RCDATA { @a }\n"
      "#ifdef X\n"
      "B RCDATA { @b }\n"
      "#endif\n"
      "#elif 0\n"
      "C RCDATA { @c }\n"
      "#elif 1\n"
      "D RCDATA { @d }\n"
      "#else\n"
      "E RCDATA { @e }\n"
      "#endif\n"
      "#ifdef 0\n"
      "F RCDATA { @f }\n"
      "#endif\n"
      "#if 00\n"
      "G RCDATA { @g }\n"
      "#endif\n"
      "#if 0 + 1\n"
      "H RCDATA { @h }\n"
      "#endif\n");
  EXPECT_TRUE(m.dead("@a"));
  EXPECT_TRUE(m.dead("@b"));  // a section inside a dead branch
  EXPECT_TRUE(m.dead("@c"));
  EXPECT_FALSE(m.dead("@d"));
  EXPECT_FALSE(m.dead("@e"));
  EXPECT_FALSE(m.dead("@f"));  // #ifdef 0 tests a name
  EXPECT_FALSE(m.dead("@g"));  // only the number 0 itself is read, as written
  EXPECT_FALSE(m.dead("@h"));
}

TEST(ConditionalBranches, CommentsAndContinuationsInsideTheLines) {
  const Marked m(
      "#/* c */if /* c */ 0 // c\n"
      "A RCDATA { @a }\n"
      "#   endif\n"
      "#if \\\n"
      "  0\n"
      "B RCDATA { @b }\n"
      "# /* c */ else\n"
      "C RCDATA { @c }\n"
      "#endif /* c\n"
      "  c */\n"
      "D RCDATA { @d }\n"
      "// #if 0\n"
      "E RCDATA { \"#if 0\" @e }\n");
  EXPECT_TRUE(m.dead("@a"));
  EXPECT_TRUE(m.dead("@b"));
  EXPECT_FALSE(m.dead("@c"));
  EXPECT_TRUE(m.exclusive("@b", "@c"));
  EXPECT_FALSE(m.exclusive("@c", "@d"));
  EXPECT_FALSE(m.dead("@d"));
  EXPECT_FALSE(m.dead("@e"));  // a #if in a comment or a string is none
}

TEST(ConditionalBranches, SectionsInsideAResourceBody) {
  const Marked m(
      "S STRINGTABLE\n"
      "{\n"
      "#ifdef X\n"
      " 1 \"@a\"\n"
      "#elif defined(Y)\n"
      " 1 \"@b\"\n"
      "#endif\n"
      "#if 0\n"
      " 2 \"@c\"\n"
      "#endif\n"
      " 3 \"@d\"\n"
      "}\n"
      "M MENU\n"
      "BEGIN\n"
      "  POPUP \"F\"\n"
      "#if 0\n"
      "  BEGIN MENUITEM \"@e\", 1 END\n"
      "#else\n"
      "  BEGIN MENUITEM \"@f\", 1 END\n"
      "#endif\n"
      "END\n"
      "T RCDATA { @t }\n");
  EXPECT_TRUE(m.exclusive("@a", "@b"));
  EXPECT_FALSE(m.exclusive("@a", "@d"));
  EXPECT_TRUE(m.dead("@c"));
  EXPECT_FALSE(m.dead("@d"));
  EXPECT_TRUE(m.dead("@e"));
  EXPECT_FALSE(m.dead("@f"));
  EXPECT_FALSE(m.dead("@t"));
}

TEST(ConditionalBranches, LinesWithoutTheirSectionAreLeftAside) {
  const Marked m(
      "#endif\n"
      "A RCDATA { @a }\n"
      "#else\n"
      "B RCDATA { @b }\n"
      "#if 0\n"
      "C RCDATA { @c }\n");  // never closed: to the end
  EXPECT_FALSE(m.exclusive("@a", "@b"));
  EXPECT_FALSE(m.dead("@b"));
  EXPECT_TRUE(m.dead("@c"));
}

}  // namespace
}  // namespace kolvre
