// The undo history: compact differences that give back the exact bytes, and the byte limit.
#include "document/history.h"

#include <gtest/gtest.h>

#include <random>

#include "document/document.h"
#include "support/current_entry.h"

namespace kolvre {
namespace {

// A text of `n` distinct lines, for differences that must not be stored whole.
std::string lines(int from, int n, const std::string& tag = "line") {
  std::string s;
  for (int i = from; i < from + n; ++i) s += tag + " " + std::to_string(i) + "\r\n";
  return s;
}

void expectRoundTrip(const std::string& before, const std::string& after) {
  const TextDiff d = TextDiff::between(before, after);
  std::string text = after;
  d.undo(text);
  EXPECT_EQ(text, before);
  d.redo(text);
  EXPECT_EQ(text, after);
}

TEST(TextDiff, GivesBackTheExactBytesBothWays) {
  const std::string big = lines(0, 2000);
  const std::pair<std::string, std::string> rows[] = {
      {"", ""},
      {"", "abc"},
      {"abc", ""},
      {"abcdef", "abXYef"},
      {"aaaa", "aaaaaa"},  // a repeated byte: head and tail overlap
      {big, big + "tail"},
      {"head" + big, big},
      // A block moved forward and backward past text it does not store.
      {"X BLOCK\r\n" + big, big + "Y BLOCK\r\n"},
      {big + "X BLOCK\r\n", "Y BLOCK\r\n" + big},
      {lines(0, 10, "a") + big + lines(0, 10, "z"), lines(0, 10, "a") + lines(0, 3) + "NEW\r\n"},
  };
  for (const auto& [before, after] : rows) expectRoundTrip(before, after);
}

TEST(TextDiff, AMovedBlockIsNotStored) {
  const std::string middle = lines(0, 5000);
  const std::string before = "head\r\nOLDNAME ICON\r\n{\r\n}\r\n" + middle + "tail";
  const std::string after = "head\r\n" + middle + "NEWNAME ICON\r\n{\r\n}\r\ntail";
  const TextDiff d = TextDiff::between(before, after);
  EXPECT_LT(d.bytes(), 256u);
  expectRoundTrip(before, after);
}

TEST(TextDiff, ARenamedBlockSortedElsewhereCostsItsNameNotItsText) {
  // Blocks joined by the separator, as a reordered script holds them; the big one is renamed
  // and sorts past the others, either way.
  const std::string sep = "\r\n\r\n\r\n";
  const std::string body = " ICON\r\n{\r\n" + lines(0, 300, " 'data'") + "}";
  const std::string middle = "M1" + body + sep + "M2" + body;
  const std::pair<std::string, std::string> rows[] = {
      {"A" + body + sep + middle + sep + "Z" + body, middle + sep + "N" + body + sep + "Z" + body},
      {"A" + body + sep + middle + sep + "Z" + body, "A" + body + sep + "B" + body + sep + middle},
  };
  for (const auto& [before, after] : rows) {
    const TextDiff d = TextDiff::between(before, after);
    EXPECT_LT(d.payloadBytes(), 16u);
    expectRoundTrip(before, after);
  }
}

TEST(TextDiff, RandomEditsRoundTrip) {
  std::mt19937 random(7);
  std::string text = lines(0, 300);
  for (int i = 0; i < 300; ++i) {
    std::string next = text;
    const std::size_t at = random() % (next.size() + 1);
    const std::size_t length = std::min<std::size_t>(random() % 200, next.size() - at);
    std::string piece = next.substr(at, length);
    next.erase(at, length);
    const std::size_t to = random() % (next.size() + 1);
    if (random() % 2) piece += "changed";
    next.insert(to, piece);
    expectRoundTrip(text, next);
    text = next;
  }
}

HistoryStep step(std::size_t size) {
  HistoryStep s;
  s.label = "x";
  s.diff = TextDiff::between("", std::string(size, 'x'));
  return s;
}

TEST(History, DropsTheOldestStepsPastItsLimitButKeepsTheNewest) {
  History h;
  h.setLimit(3000);
  for (int i = 0; i < 5; ++i) h.push(step(1000));
  EXPECT_LE(h.bytes(), 3000u);
  EXPECT_EQ(h.size(), 2u);
  h.push(step(10000));  // larger than the limit alone: still undoable
  EXPECT_EQ(h.size(), 1u);
  EXPECT_TRUE(h.canUndo());
}

TEST(History, ANewStepEmptiesTheRedoSide) {
  Document doc;
  doc.load("", "A ICON\r\n{\r\n}");
  Edit edit;
  edit.label = "Uno";
  edit.splices = {{0, 1, "B"}};
  ASSERT_TRUE(doc.commit(edit));
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.redoLabel(), "Uno");
  edit.label = "Due";
  edit.splices = {{0, 1, "C"}};
  ASSERT_TRUE(doc.commit(edit));
  EXPECT_FALSE(doc.canRedo());
  EXPECT_EQ(doc.undoLabel(), "Due");
  EXPECT_FALSE(doc.commit(Edit{}));  // no change: no step
  EXPECT_EQ(doc.history().size(), 1u);
  doc.load("", "");  // a new file starts a new history
  EXPECT_FALSE(doc.canUndo());
}

TEST(History, UndoAndRedoReportTheEntryThatWasCurrent) {
  Document doc;
  testing::CurrentEntry current(doc);
  doc.load("", "A ICON\r\n{\r\n}\r\nB ICON\r\n{\r\n}");
  Edit edit;
  edit.splices = {{0, 1, "C"}};
  edit.placeBlockAt = 0;
  edit.currentBefore = ResourceKey{"A", ResourceType::Icon, 0};
  edit.currentAfter = ResourceKey{"C", ResourceType::Icon, 0};
  ASSERT_TRUE(doc.commit(edit));
  EXPECT_EQ(current.row, 2);
  doc.undo();
  EXPECT_EQ(current.last->kind, DocumentChange::Kind::Undone);
  EXPECT_EQ(current.row, 1);
  doc.redo();
  EXPECT_EQ(current.row, 2);
  EXPECT_FALSE(doc.redo());
}

}  // namespace
}  // namespace kolvre
