// Finding one resource's block in the script text: by where it starts, and by its name, type and
// occurrence as a command names it (the index's entry, then its block).
#include "document/blocks.h"

#include <gtest/gtest.h>

#include <string>

#include "document/edit.h"
#include "document/resource_edits.h"
#include "document/scanner.h"

namespace kolvre {
namespace {

const std::string kText =
    "A DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND // a\r\n\r\n"
    "Args  ICON \"1.ico\"\r\n"
    "B\tBITMAP\r\n{\r\n '00'\r\n}\r\n"
    "// X ICON \"x.ico\"\r\n"
    "x ICON\r\nBEGIN\r\n '01'\r\nEND\r\n"
    "args DIALOG 0, 0, 1, 1\r\n{\r\n}\r\n"
    "ARGS ICON \"2.ico\"\r\n"
    "M MENU\r\nBEGIN\r\nEND\r\n"
    "O DIALOG 0, 0, 1, 1\r\nBEGIN\r\n CONTROL \"x\", 1";

TEST(ResourceBlock, ByNameInAnyCaseTypeAndOccurrence) {
  struct Case {
    std::string_view name;
    ResourceType type;
    std::size_t occurrence;
    std::string_view block;  // empty: none
    bool complete = true;
  };
  const Case cases[] = {
      {"A", ResourceType::Dialog, 0, "A DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND"},
      {"a", ResourceType::Dialog, 0, "A DIALOG 0, 0, 9, 9\r\nBEGIN\r\nEND"},
      {"A", ResourceType::Icon, 0, ""},
      {"A", ResourceType::Dialog, 1, ""},
      // Namesakes of one type in text order, whatever their case; another type apart.
      {"ARGS", ResourceType::Icon, 0, "Args  ICON \"1.ico\""},
      {"args", ResourceType::Icon, 1, "ARGS ICON \"2.ico\""},
      {"Args", ResourceType::Icon, 2, ""},
      {"ARGS", ResourceType::Dialog, 0, "args DIALOG 0, 0, 1, 1\r\n{\r\n}"},
      {"B", ResourceType::Bitmap, 0, "B\tBITMAP\r\n{\r\n '00'\r\n}"},
      // The one in the comment is no resource.
      {"X", ResourceType::Icon, 0, "x ICON\r\nBEGIN\r\n '01'\r\nEND"},
      {"X", ResourceType::Icon, 1, ""},
      // Unlisted types are never found; a body left open runs to the end, incomplete.
      {"M", ResourceType::Dialog, 0, ""},
      {"O", ResourceType::Dialog, 0, "O DIALOG 0, 0, 1, 1\r\nBEGIN\r\n CONTROL \"x\", 1", false},
      {"", ResourceType::Dialog, 0, ""},
      {"AR", ResourceType::Icon, 0, ""},
  };
  const ResourceIndex index = indexResources(kText);
  for (const Case& c : cases) {
    const auto position = findEntry(index, {std::string(c.name), c.type, c.occurrence});
    const auto block = position ? entryBlock(kText, index, *position) : std::nullopt;
    if (c.block.empty()) {
      EXPECT_FALSE(block) << c.name << " #" << c.occurrence;
      continue;
    }
    ASSERT_TRUE(block) << c.name << " #" << c.occurrence;
    EXPECT_EQ(block->of(kText), c.block);
    EXPECT_EQ(block->complete, c.complete) << c.name;
    EXPECT_EQ(blockAt(kText, block->begin), block) << c.name;
  }
}

TEST(BlockAt, OnlyWhereAResourceNameStarts) {
  const std::size_t args = kText.find("Args");
  ASSERT_TRUE(blockAt(kText, args));
  EXPECT_EQ(blockAt(kText, args)->of(kText), "Args  ICON \"1.ico\"");
  EXPECT_TRUE(blockAt(kText, kText.find("M MENU")));
  for (std::size_t offset : {args + 1, args - 1, kText.find("// X"), kText.find("X ICON"),
                             kText.size(), kText.size() + 5})
    EXPECT_FALSE(blockAt(kText, offset)) << offset;
  EXPECT_FALSE(blockAt("", 0));
}

}  // namespace
}  // namespace kolvre
