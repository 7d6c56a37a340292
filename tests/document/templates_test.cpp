#include "document/templates.h"

#include <gtest/gtest.h>

#include "document/scanner.h"

namespace kolvre {
namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
    out.push_back(text.substr(from, at - from));
  out.push_back(text.substr(from));
  return out;
}

const std::string kZeros16 = " '00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00'";
const std::string kZeros14 = " '00 00 00 00 00 00 00 00 00 00 00 00 00 00'";

// No header line of a new resource ends in a blank.
TEST(Templates, TextKindsAreThreeLines) {
  EXPECT_EQ(resourceTemplate(ResourceType::Manifest, "1"), "1 24\r\n{\r\n}");
  EXPECT_EQ(resourceTemplate(ResourceType::VersionInfo, "V"), "V VERSIONINFO\r\n{\r\n}");
}

TEST(Templates, DialogFrame) {
  EXPECT_EQ(
      lines(resourceTemplate(ResourceType::Dialog, "DLG")),
      (std::vector<std::string>{
          "DLG DIALOG 0, 0, 300, 300", "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU",
          "FONT 8, \"MS Sans Serif\"", "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL", "{", "}"}));
}

TEST(Templates, BitmapDataLinesAreExact) {
  const auto l = lines(resourceTemplate(ResourceType::Bitmap, "LOGO"));
  ASSERT_EQ(l.size(), 15u);
  EXPECT_EQ(l[0], "LOGO BITMAP");
  EXPECT_EQ(l[1], "{");
  EXPECT_EQ(l[2], " '42 4D BE 00 00 00 00 00 00 00 3E 00 00 00 28 00'");
  EXPECT_EQ(l[3], " '00 00 20 00 00 00 20 00 00 00 01 00 01 00 00 00'");
  EXPECT_EQ(l[4], kZeros16);
  EXPECT_EQ(l[5], " '00 00 00 00 00 00 00 00 FF 00 00 00 00 00 00 00'");
  for (int i = 6; i <= 12; ++i) EXPECT_EQ(l[i], kZeros16) << i;
  EXPECT_EQ(l[13], kZeros14);
  EXPECT_EQ(l[14], "}");
  EXPECT_EQ(templateBitmap().size(), 190u);
}

TEST(Templates, IconAndCursorDifferOnlyInTheirFirstColour) {
  const auto icon = lines(resourceTemplate(ResourceType::Icon, "I"));
  const auto cursor = lines(resourceTemplate(ResourceType::Cursor, "C"));
  ASSERT_EQ(icon.size(), 51u);
  ASSERT_EQ(cursor.size(), 51u);
  EXPECT_EQ(icon[0], "I ICON");
  EXPECT_EQ(cursor[0], "C CURSOR");
  const std::string common[] = {" '00 00 01 00 01 00 20 20 10 00 01 00 04 00 E8 02'",
                                " '00 00 16 00 00 00 28 00 00 00 20 00 00 00 40 00'",
                                " '00 00 01 00 04 00 00 00 00 00 00 00 00 00 00 00'",
                                " '00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF'"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(icon[2 + i], common[i]);
    EXPECT_EQ(cursor[2 + i], common[i]);
  }
  EXPECT_EQ(icon[6], kZeros16);
  EXPECT_EQ(cursor[6], " 'FF 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00'");
  for (int i = 7; i <= 48; ++i) {
    EXPECT_EQ(icon[i], kZeros16) << i;
    EXPECT_EQ(cursor[i], kZeros16) << i;
  }
  EXPECT_EQ(icon[49], kZeros14);
  EXPECT_EQ(icon[50], "}");
  EXPECT_EQ(templateIcon().size(), 766u);
}

TEST(Templates, EveryTemplateIsIndexedUnderItsName) {
  for (const auto& info : kResourceTypes) {
    SCOPED_TRACE(info.keyword);
    if (info.newLabel.empty()) {
      EXPECT_EQ(resourceTemplate(info.type, "NAME"), "");
      continue;
    }
    // With a body, and naming a file, where the kind can.
    for (const std::string_view file : {"", "res\\data file.bin"}) {
      const std::string block = resourceTemplate(info.type, "NAME", file);
      if ((file.empty() ? info.bodyTemplate : info.fileTemplate).empty()) {
        EXPECT_EQ(block, "");
        continue;
      }
      const auto index = indexResources(block);
      ASSERT_EQ(index.size(), 1u) << block;
      EXPECT_EQ(index[0].type, info.type);
      EXPECT_EQ(index[0].name, "NAME");
      if (!file.empty()) {
        EXPECT_TRUE(block.ends_with(" \"res\\\\data file.bin\"")) << block;
      }
    }
  }
}

}  // namespace
}  // namespace kolvre
