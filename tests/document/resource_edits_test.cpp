// The edits of whole resources, as pure functions of the text and the index.
#include "document/resource_edits.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "document/document.h"
#include "document/reorder.h"

namespace kolvre {
namespace {

const std::string kSep(kBlockSeparator);

// The text an edit leaves, and the entry it makes current, as the document applies it.
struct Applied {
  std::string text;
  std::optional<std::size_t> current;
};

Applied applyEdit(const std::string& text, const Edit& edit) {
  Document doc;
  doc.load("", text);
  EXPECT_TRUE(doc.commit(edit));
  Applied a{doc.text(), std::nullopt};
  if (edit.currentAfter) a.current = findEntry(doc.index(), *edit.currentAfter);
  return a;
}

ResourceIndex indexOf(const std::string& text) {
  return indexResources(text);
}

TEST(NarrowedSplice, ReplacesOnlyWhatStandsBetweenTheCommonEnds) {
  const struct {
    std::string_view before;
    std::string after;
    Splice splice;
  } rows[] = {
      {"A 1, 2, 3", "A 1, 7, 3", {15, 16, "7"}},
      {"A 1, 2, 3", "A 1, 2, 3", {19, 19, ""}},  // unchanged: nothing
      {"abc", "abXbc", {12, 12, "Xb"}},          // an insertion where the ends overlap
      {"abcabc", "abc", {13, 16, ""}},           // a deletion
      {"", "new", {10, 10, "new"}},
      {"old", "", {10, 13, ""}},
  };
  for (const auto& row : rows) {
    const Splice s = narrowedSplice(10, row.before, row.after);
    EXPECT_EQ(s.begin, row.splice.begin) << row.before << " -> " << row.after;
    EXPECT_EQ(s.end, row.splice.end) << row.before << " -> " << row.after;
    EXPECT_EQ(s.inserted, row.splice.inserted) << row.before << " -> " << row.after;
    // Applied, it gives the text after.
    std::string text = std::string(10, '.') + std::string(row.before);
    text.replace(s.begin, s.end - s.begin, s.inserted);
    EXPECT_EQ(text, std::string(10, '.') + row.after);
  }
}

TEST(RenameEdit, ChangesTheHeadersNameOnlyAndFollowsIt) {
  struct Row {
    std::string text;
    std::size_t position;
    std::string name;
    std::string after;
    std::size_t current;
  };
  const Row rows[] = {
      // The keyword and what follows it stay, and so do the same words in the body.
      {"MYDLG DIALOGEX 0, 0, 1, 1\r\nCAPTION \"MYDLG DIALOG\"\r\n{\r\n}", 0, "ZED",
       "ZED DIALOGEX 0, 0, 1, 1\r\nCAPTION \"MYDLG DIALOG\"\r\n{\r\n}", 0},
      // Renamed past another resource: sorted into place, still current.
      {"A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}", 0, "C",
       "B ICON\r\n{\r\n}" + kSep + "C ICON\r\n{\r\n}", 1},
      // The second of two namesakes is the one renamed.
      {"X ICON\r\n{\r\n 1\r\n}" + kSep + "X ICON\r\n{\r\n 2\r\n}", 1, "W",
       "W ICON\r\n{\r\n 2\r\n}" + kSep + "X ICON\r\n{\r\n 1\r\n}", 0},
      // A last resource without a line end, and a body in BEGIN and END.
      {"V VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\nEND", 0, "W",
       "W VERSIONINFO\r\nBEGIN\r\n BLOCK \"x\"\r\nEND", 0},
  };
  for (const Row& r : rows) {
    const ResourceIndex index = indexOf(r.text);
    const auto block = entryBlock(r.text, index, r.position);
    ASSERT_TRUE(block) << r.text;
    const Applied a = applyEdit(r.text, renameEdit(index, r.position, *block, r.name));
    EXPECT_EQ(a.text, r.after) << r.text;
    EXPECT_EQ(a.current, r.current) << r.text;
  }
}

TEST(DeleteEdit, TakesTheBlockAndItsSeparatorAndLandsOnANeighbour) {
  const std::string three =
      "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}" + kSep + "C ICON\r\n{\r\n}";
  struct Row {
    std::string text;
    std::size_t position;
    std::string after;
    std::optional<std::size_t> current;  // nothing: the first row
  };
  const Row rows[] = {
      {three, 0, "B ICON\r\n{\r\n}" + kSep + "C ICON\r\n{\r\n}", std::nullopt},
      {three, 1, "A ICON\r\n{\r\n}" + kSep + "C ICON\r\n{\r\n}", 1},
      // The last block goes with the separator above it; the text keeps its end.
      {three, 2, "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}", 1},
      {three + "\r\n", 2, "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}\r\n", 1},
      // At most two blank lines above it, and a comment above it stays.
      {"A ICON\r\n{\r\n}\r\n\r\n\r\n\r\nB ICON\r\n{\r\n}", 1, "A ICON\r\n{\r\n}\r\n", 0},
      {"A ICON\r\n{\r\n}\r\n\r\n// b\r\nB ICON\r\n{\r\n}\r\n", 1,
       "A ICON\r\n{\r\n}\r\n\r\n// b\r\n", 0},
      // With only blank lines above, those stay.
      {"\r\n\r\nA ICON\r\n{\r\n}\r\n", 0, "\r\n\r\n", std::nullopt},
      // Never more than three line ends, never the next resource.
      {"A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n}", 0, "B ICON\r\n{\r\n}", std::nullopt},
      {"A ICON\r\n{\r\n}\r\n\r\n\r\n\r\nB ICON\r\n{\r\n}", 0, "\r\nB ICON\r\n{\r\n}", std::nullopt},
      // The comments after it on its last line go with it; one before more text, or one that
      // runs on to the next line, stays.
      {"A BITMAP \"a.bmp\" // note\r\nB ICON \"b\"\r\n", 0, "B ICON \"b\"\r\n", std::nullopt},
      {"A ICON \"a\"\r\nB BITMAP \"b.bmp\" /* x */ // y\r\n", 1, "A ICON \"a\"\r\n", 0},
      {"A BITMAP \"a.bmp\" /* x\r\n y */\r\nB ICON \"b\"\r\n", 0,
       " /* x\r\n y */\r\nB ICON \"b\"\r\n", std::nullopt},
      // Of two namesakes, deleting the first leaves the list on the second, now the first.
      {"A ICON\r\n{\r\n}" + kSep + "X ICON\r\n{\r\n 1\r\n}" + kSep + "X ICON\r\n{\r\n 2\r\n}", 1,
       "A ICON\r\n{\r\n}" + kSep + "X ICON\r\n{\r\n 2\r\n}", 1},
  };
  for (const Row& r : rows) {
    const ResourceIndex index = indexOf(r.text);
    const auto block = entryBlock(r.text, index, r.position);
    ASSERT_TRUE(block) << r.text;
    const Edit edit = deleteEdit(r.text, index, r.position, *block).value();
    EXPECT_FALSE(edit.placeBlockAt);
    const Applied a = applyEdit(r.text, edit);
    EXPECT_EQ(a.text, r.after) << r.text;
    EXPECT_EQ(a.current, r.current) << r.text;
  }
}

TEST(AppendEdit, GoesInAtItsPlaceAndMovesNothingElse) {
  struct Row {
    std::string text;
    std::string block;
    std::string after;
  };
  const Row rows[] = {
      {"", "A ICON\r\n{\r\n}", "A ICON\r\n{\r\n}"},
      // White space only stays; the block goes after it, on a line of its own.
      {"\r\n  \r\n", "A ICON\r\n{\r\n}  ", "\r\n  \r\nA ICON\r\n{\r\n}\r\n"},
      {"B ICON\r\n{\r\n}", "A ICON\r\n{\r\n}", "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}"},
      // The text before the block it goes in front of stays as it is.
      {"\r\n\r\n X ICON\r\n{\r\n}", "A ICON\r\n{\r\n}",
       "\r\n\r\nA ICON\r\n{\r\n}" + kSep + " X ICON\r\n{\r\n}"},
      // After the last block, set apart as it is; the final line end stays last.
      {"A ICON\r\n{\r\n}\r\n\r\n", "B ICON\r\n{\r\n}",
       "A ICON\r\n{\r\n}\r\n\r\nB ICON\r\n{\r\n}\r\n\r\n"},
      // Not past a barrier into the last stretch's head: the last stretch holds no block.
      {"A ICON\r\n{\r\n}\r\n#endif\r\n", "B ICON\r\n{\r\n}",
       "A ICON\r\n{\r\n}\r\n#endif\r\n\r\n\r\nB ICON\r\n{\r\n}\r\n"},
  };
  for (const Row& r : rows) {
    const Applied a = applyEdit(r.text, appendEdit(r.text, r.block, kLabelNew).value());
    EXPECT_EQ(a.text, r.after) << r.text;
    EXPECT_TRUE(a.current) << r.text;
  }
}

// New and paste, then delete, give back the text byte for byte, wherever the block lands and
// however the text around it is laid out.
TEST(AppendEdit, DeletingTheAddedBlockGivesBackTheText) {
  const std::string a = "A ICON\r\n{\r\n}";
  const std::string c = "C ICON\r\n{\r\n}";
  const std::string texts[] = {
      "",
      "\r\n",
      "\r\n\r\n\r\n\r\n",
      "  ",
      "\r\n  ",
      // One resource: with and without a final line end, blank lines after it.
      a,
      a + "\r\n",
      a + "\r\n\r\n",
      a + "\r\n\r\n\r\n\r\n\r\n",
      a + "\r\n  ",
      a + "\r\n\r\n \t",
      "\r\n\r\n" + a + "\r\n",
      // Two: set apart by none, one, two, four blank lines, some holding blanks.
      a + "\r\n" + c,
      a + "\r\n\r\n" + c + "\r\n",
      a + kSep + c,
      a + kSep + c + "\r\n",
      a + "\r\n\r\n\r\n\r\n\r\n" + c + "\r\n\r\n\r\n\r\n\r\n",
      a + "\r\n  \r\n\t\r\n \r\n" + c,
      // Comments above, after and at the end.
      "// icons\r\n" + a + "\r\n\r\n// c\r\n/* more */\r\n" + c + " // last\r\n",
      a + kSep + c + "\r\n// end",
      a + kSep + c + "\r\n\r\n// end\r\n",
      // Other statements: a menu after the last icon, a preprocessor line last, a language.
      a + "\r\nM MENU\r\n{\r\n}\r\n",
      "#include \"r.h\"\r\n" + a + kSep + c + "\r\n#endif",
      "#include \"r.h\"\r\n",
      "LANGUAGE 16, 1\r\n\r\n" + a + "\r\n",
      "X DIALOG 0, 0, 1, 1\r\n{\r\n}" + kSep + a + kSep + c + "\r\n",
  };
  const std::string blocks[] = {"0 ICON\r\n{\r\n}",   "B ICON\r\n{\r\n}",
                                "Z ICON\r\n{\r\n}",   "D DIALOG 0, 0, 1, 1\r\n{\r\n}\r\n",
                                "0 BITMAP\r\n{\r\n}", "S STRINGTABLE\r\n{\r\n 1, \"x\"\r\n}"};
  for (const std::string& text : texts)
    for (const std::string& block : blocks) {
      SCOPED_TRACE(::testing::Message() << "text: " << ::testing::PrintToString(text)
                                        << " block: " << block.substr(0, 8));
      Document doc;
      doc.load("", text);
      ASSERT_TRUE(doc.commit(appendEdit(doc.text(), block, kLabelNew).value()));
      const std::string added = doc.text();
      const std::string_view content = trimSpace(block);
      const std::size_t at = added.find(content);
      ASSERT_NE(at, std::string::npos) << added;
      std::optional<std::size_t> position;
      for (std::size_t i = 0; i < doc.index().size(); ++i)
        if (doc.index()[i].offset == at) position = i;
      ASSERT_TRUE(position) << added;
      const auto extent = entryBlock(added, doc.index(), *position);
      ASSERT_TRUE(extent);
      ASSERT_TRUE(doc.commit(deleteEdit(added, doc.index(), *position, *extent).value()));
      EXPECT_EQ(doc.text(), text) << "added: " << ::testing::PrintToString(added);
    }
}

TEST(PastedBlock, KeepsTheTextAndChangesOnlyTheName) {
  EXPECT_EQ(pastedBlock("DLG DIALOG 0, 0, 1, 1\r\n{\r\n}", "CPY"),
            "CPY DIALOG 0, 0, 1, 1\r\n{\r\n}");
  // Only blanks separate the tokens: a keyword at the end of its line runs on.
  EXPECT_EQ(pastedBlock("  PIC BITMAP\r\n{\r\n}", "P2"), "P2 BITMAP\r\n{\r\n}");
  const HeaderTokens t = firstTwoTokens("PIC BITMAP\r\n{ x");
  EXPECT_EQ(t.name, "PIC");
  EXPECT_EQ(t.type, "BITMAP\r\n{");
}

TEST(ReplaceEdit, SameTextIsNoEditAndANewNameIsFollowed) {
  const std::string text = "A ICON\r\n{\r\n}" + kSep + "B ICON\r\n{\r\n}";
  const ResourceIndex index = indexOf(text);
  const auto block = entryBlock(text, index, 1);
  ASSERT_TRUE(block);
  EXPECT_FALSE(replaceEdit(text, index, 1, *block, "B ICON\r\n{\r\n}"));
  const auto edit = replaceEdit(text, index, 1, *block, "0 ICON\r\n{\r\n 'x'\r\n}");
  ASSERT_TRUE(edit);
  const Applied a = applyEdit(text, *edit);
  EXPECT_EQ(a.text, "0 ICON\r\n{\r\n 'x'\r\n}" + kSep + "A ICON\r\n{\r\n}");
  EXPECT_EQ(a.current, 0u);
  // Emptied: the resource goes, and nothing is current but the first row.
  const auto emptied = replaceEdit(text, index, 0, *entryBlock(text, index, 0), "");
  ASSERT_TRUE(emptied);
  EXPECT_EQ(applyEdit(text, *emptied).text, "B ICON\r\n{\r\n}");
}

TEST(ReplaceEdit, TheEditedNamesakeStaysCurrent) {
  const std::string text = "A DIALOG\r\n{\r\n 1\r\n}" + kSep + "A DIALOG\r\n{\r\n 2\r\n}";
  const ResourceIndex index = indexOf(text);
  const auto edit =
      replaceEdit(text, index, 1, *entryBlock(text, index, 1), "A DIALOG\r\n{\r\n 3\r\n}");
  ASSERT_TRUE(edit);
  EXPECT_EQ(applyEdit(text, *edit).current, 1u);
}

TEST(AppendEdit, AHeaderOfAUserTypeNamesItsEntry) {
  EXPECT_EQ(appendEdit("A DIALOG\r\n{\r\n}", "B C\r\n{\r\n}", kLabelPaste).value().currentAfter,
            (ResourceKey{"B", ResourceType::Other, 0, "C"}));
  EXPECT_TRUE(appendEdit("", "B CURSOR\r\n{\r\n}", kLabelPaste).value().currentAfter);
}

TEST(EntryBlock, FindsEachNamesakeInItsOwnPlaceAndNotUnlocatableHeaders) {
  const std::string text = "X ICON\r\n{\r\n 1\r\n}\r\nX ICON\r\n{\r\n 2\r\n}\r\nY  ICON\r\n{\r\n}";
  const ResourceIndex index = indexOf(text);
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(entryBlock(text, index, 1)->of(text), "X ICON\r\n{\r\n 2\r\n}");
  EXPECT_EQ(entryBlock(text, index, 3), std::nullopt);
}

}  // namespace
}  // namespace kolvre
