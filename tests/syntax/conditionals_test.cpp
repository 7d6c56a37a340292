// Which statements the compiler skips: conditions evaluated with the script's own definitions,
// in order, and the names the compilers define.
#include "syntax/conditionals.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "support/crlf.h"

namespace kolvre {
namespace {

using testing::crlf;

// The names of the resources of `lf` the compiler skips, in text order, as one string.
std::string skipped(std::string_view lf, const HeaderReader& headers = {}) {
  const std::string text = crlf(lf);
  const std::vector<Statement> statements = readStatements(text);
  const std::vector<bool> marks = skippedStatements(text, statements, headers);
  std::string out;
  for (std::size_t i = 0; i < marks.size(); ++i)
    if (marks[i] && statements[i].kind == StatementKind::Resource)
      out += (out.empty() ? "" : " ") + std::string(statements[i].name(text));
  return out;
}

std::optional<bool> holds(std::string_view condition, std::string_view defines = "") {
  SymbolTable table;
  readDefines(crlf(defines), table);
  return conditionHolds(condition, table);
}

TEST(Conditionals, TheUsualWaysToLeaveResourcesOut) {
  EXPECT_EQ(skipped("A RCDATA { 1 }\n#if 0\nB RCDATA { 2 }\n#endif\nC RCDATA { 3 }\n"), "B");
  EXPECT_EQ(skipped("#ifdef UNDER_CE\nA RCDATA { 1 }\n#endif\nB RCDATA { 2 }\n"), "A");
  EXPECT_EQ(skipped("#ifdef APSTUDIO_INVOKED\n"
                    "1 TEXTINCLUDE\nBEGIN\n    \"resource.h\\0\"\nEND\n"
                    "#endif\n#ifndef APSTUDIO_INVOKED\nB RCDATA { 2 }\n#endif\n"),
            "1");
  // Both arms of a 64-bit test: the compiler keeps the second.
  EXPECT_EQ(skipped("#ifdef _WIN64\nX ICON \"a64.ico\"\n#else\nX ICON \"a.ico\"\n#endif\n"
                    "#ifdef _WIN32\nY ICON \"y.ico\"\n#else\nZ ICON \"z.ico\"\n#endif\n"
                    "#if RC_INVOKED\nW ICON \"w.ico\"\n#endif\n"),
            "X Z");
  EXPECT_EQ(skipped("A RCDATA { 1 }\n"), "");
  EXPECT_TRUE(
      skippedStatements("A RCDATA { 1 }\r\n", readStatements("A RCDATA { 1 }\r\n")).empty());
}

TEST(Conditionals, ElifChainsTakeTheFirstTrueBranchOnly) {
  EXPECT_EQ(skipped("#define V 2\n#if V == 1\nA RCDATA { 1 }\n#elif V == 2\nB RCDATA { 2 }\n"
                    "#elif V >= 2\nC RCDATA { 3 }\n#else\nD RCDATA { 4 }\n#endif\n"),
            "A C D");
  EXPECT_EQ(skipped("#if defined(X) && !defined(Y)\nA RCDATA { 1 }\n#elif defined _WIN32\n"
                    "B RCDATA { 2 }\n#endif\n"),
            "A");
  EXPECT_EQ(skipped("#define X\n#if defined(X) && !defined(Y)\nA RCDATA { 1 }\n#else\n"
                    "B RCDATA { 2 }\n#endif\n"),
            "B");
}

TEST(Conditionals, NestedSectionsInASkippedBranchStaySkipped) {
  EXPECT_EQ(skipped("#if 0\n#if 1\nA RCDATA { 1 }\n#else\nB RCDATA { 2 }\n#endif\n"
                    "C RCDATA { 3 }\n#else\n#ifndef Q\nD RCDATA { 4 }\n#else\nE RCDATA { 5 }\n"
                    "#endif\n#endif\nF RCDATA { 6 }\n"),
            "A B C E");
  // A line inside a resource's body opens a section the statements after it stand in.
  EXPECT_EQ(skipped("A DIALOG 0, 0, 10, 10\nBEGIN\n#if 0\nEND\nB RCDATA { 2 }\n#endif\n"
                    "C RCDATA { 3 }\n"),
            "B");
}

TEST(Conditionals, DefinitionsCountFromTheirPlaceAndOnlyWhereCompiled) {
  // Defined after its test: undefined there.
  EXPECT_EQ(skipped("#ifdef LATE\nA RCDATA { 1 }\n#endif\n#define LATE\n#ifdef LATE\n"
                    "B RCDATA { 2 }\n#endif\n"),
            "A");
  // A definition in a skipped branch does not count; #undef forgets.
  EXPECT_EQ(skipped("#if 0\n#define HIDDEN\n#endif\n#ifdef HIDDEN\nA RCDATA { 1 }\n#endif\n"
                    "#undef _WIN32\n#ifdef _WIN32\nB RCDATA { 2 }\n#endif\n"),
            "A B");
  // A header included with quotes defines names at its line, its own guard evaluated.
  const HeaderReader headers = [](const std::string& path) -> std::optional<std::string> {
    if (path == "inc/ids.h") return "#ifndef IDS_H\n#define IDS_H\n#define WANT_X 1\n#endif\n";
    return std::nullopt;
  };
  EXPECT_EQ(skipped("#include \"inc/ids.h\"\n#include \"inc/ids.h\"\n#if WANT_X\nA RCDATA { 1 }\n"
                    "#else\nB RCDATA { 2 }\n#endif\n",
                    headers),
            "B");
}

TEST(Conditionals, WhatCannotBeJudgedIsKept) {
  // A name no definition gives, a macro with parameters, a string: both arms kept.
  EXPECT_EQ(skipped("#if WINVER >= 0x0500\nA RCDATA { 1 }\n#else\nB RCDATA { 2 }\n#endif\n"), "");
  EXPECT_EQ(skipped("#define F(x) x\n#if F(0)\nA RCDATA { 1 }\n#elif 1\nB RCDATA { 2 }\n"
                    "#else\nC RCDATA { 3 }\n#endif\n"),
            "C");
  // Nested under an unjudged branch: its own sections still count.
  EXPECT_EQ(skipped("#if UNKNOWN\n#if 0\nA RCDATA { 1 }\n#endif\nB RCDATA { 2 }\n#endif\n"), "A");
  // A name defined under an unjudged branch cannot be judged after it either.
  EXPECT_EQ(skipped("#ifdef SOMETIMES\n#define MAYBE\n#endif\n#ifndef MAYBE\nA RCDATA { 1 }\n"
                    "#endif\n"),
            "");
}

TEST(Conditionals, ConditionsReadAsThePreprocessorReadsThem) {
  EXPECT_EQ(holds("1 + 2 * 3 == 7"), true);
  EXPECT_EQ(holds("(1 << 4) > 15 && 3 % 2"), true);
  EXPECT_EQ(holds("!defined X || defined(Y)", "#define Y 0\n"), true);
  EXPECT_EQ(holds("defined(X) ? X : 0", "#define X 0x10L\n"), true);
  EXPECT_EQ(holds("LEVEL - 3", "#define BASE 1\n#define LEVEL (BASE + 2)\n"), false);
  EXPECT_EQ(holds("-1 < 0"), true);  // signed
  EXPECT_EQ(holds("1 /* note */ && \\\r\n 1"), true);
  EXPECT_EQ(holds("SELF", "#define SELF SELF\n"), std::nullopt);
  EXPECT_EQ(holds("1 / 0"), std::nullopt);
  EXPECT_EQ(holds("\"text\""), std::nullopt);
  EXPECT_EQ(holds("defined"), std::nullopt);
  EXPECT_EQ(holds("(1"), std::nullopt);
  EXPECT_EQ(holds("1 2"), std::nullopt);
  EXPECT_EQ(holds(""), std::nullopt);
}

}  // namespace
}  // namespace kolvre
