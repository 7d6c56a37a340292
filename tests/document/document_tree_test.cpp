#include <gtest/gtest.h>

#include <string>

#include "document/document.h"
#include "document/resource_edits.h"
#include "syntax/syntax_tree.h"

namespace kolvre {
namespace {

// The document's tree reads every statement as a fresh reading of its text does.
void expectTreeOfTheText(const Document& doc) {
  const SyntaxTree fresh(doc.text());
  ASSERT_EQ(doc.tree().statements().size(), fresh.statements().size());
  for (std::size_t i = 0; i < fresh.statements().size(); ++i)
    EXPECT_EQ(doc.tree().statementTree(doc.text(), i), fresh.statementTree(doc.text(), i))
        << "statement " << i;
}

TEST(DocumentTree, FollowsEveryCommitUndoAndRedoKeepingTheTreesOfStatementsLeftAlone) {
  std::string script;
  for (int i = 0; i < 40; ++i)
    script += "N" + std::to_string(i) + " MENU\r\nBEGIN\r\n  MENUITEM \"x\", " + std::to_string(i) +
              "\r\nEND\r\n";
  Document doc;
  doc.load("a.rc", script);
  for (std::size_t i = 0; i < doc.statements().size(); ++i) doc.tree().statementTree(doc.text(), i);
  const StatementTree* last = &doc.tree().statementTree(doc.text(), doc.statements().size() - 1);

  // A rename that moves its block past the others: every other statement keeps its tree.
  const std::size_t position = 0;  // N0, renamed to sort last
  const auto block = entryBlock(doc.statements(), doc.index(), position);
  ASSERT_TRUE(block);
  ASSERT_TRUE(doc.commit(renameEdit(doc.index(), position, *block, "Z0")));
  EXPECT_EQ(doc.tree().treesKept(), doc.statements().size() - 1);
  expectTreeOfTheText(doc);
  bool stillKept = false;
  for (std::size_t i = 0; i < doc.statements().size(); ++i)
    stillKept = stillKept || &doc.tree().statementTree(doc.text(), i) == last;
  EXPECT_TRUE(stillKept);

  ASSERT_TRUE(doc.undo());
  expectTreeOfTheText(doc);
  ASSERT_TRUE(doc.redo());
  expectTreeOfTheText(doc);

  // A line end taken away before a statement: it no longer starts its line, and is read again.
  Edit joined;
  const std::size_t at = doc.text().find("\r\nN5 MENU");
  joined.splices.push_back({at, at + 2, " "});
  ASSERT_TRUE(doc.commit(joined));
  expectTreeOfTheText(doc);
}

}  // namespace
}  // namespace kolvre
