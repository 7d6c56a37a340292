// An independent judge of the inline hex codec: Wine's resource compiler reads the same inline
// form. Scripts with inline bitmaps and icons are compiled, and the bytes in the compiled
// resources must be the bytes the codec decodes: a bitmap's data is its file without the 14-byte
// file header; an icon file is split into its group directory and one resource per image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "document/document.h"
#include "document/image_resources.h"
#include "document/templates.h"
#include "images/hex_data.h"
#include "support/corpus_images.h"
#include "support/res_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Compiled;
using testing::le16;
using testing::le32;
using testing::readRes;
using testing::TempDir;

// The compiler: $KOLVRE_WRC, or where Debian's wine64-tools puts it.
std::string compiler() {
  if (const char* given = std::getenv("KOLVRE_WRC")) return given;
  for (const char* path : {"/usr/lib/wine/wrc", "/usr/bin/wrc"})
    if (std::filesystem::exists(path)) return path;
  return {};
}

constexpr std::uint32_t kRtIcon = 3, kRtBitmap = 2, kRtGroupIcon = 14;

// Checks what the compiler made of the image `name` against the codec's bytes.
void expectCompiledAs(const std::vector<Compiled>& res, const std::string& name, ResourceType type,
                      const Bytes& bytes) {
  const std::string file(bytes.begin(), bytes.end());
  std::map<std::string, const Compiled*> icons;
  for (const Compiled& c : res)
    if (c.type == kRtIcon) icons[c.name] = &c;
  for (const Compiled& c : res) {
    if (c.name != name) continue;
    if (type == ResourceType::Bitmap && c.type == kRtBitmap) {
      EXPECT_EQ(c.data, file.substr(14)) << name;
      return;
    }
    if (type == ResourceType::Icon && c.type == kRtGroupIcon) {
      // The group: the file's directory header, then per image an entry with an id in place of
      // the offset; each image is the resource of that id. The compiler may order the entries
      // otherwise and fill in planes, bit count and colours from the image itself, so the images
      // are compared as a set, each with the size its entry gives.
      ASSERT_GE(c.data.size(), 6u);
      EXPECT_EQ(c.data.substr(0, 6), file.substr(0, 6)) << name;
      const std::uint32_t count = le16(file, 4);
      ASSERT_EQ(c.data.size(), 6 + 14 * count) << name;
      std::vector<std::string> fromFile, compiled;
      for (std::uint32_t i = 0; i < count; ++i) {
        const std::string entry = file.substr(6 + 16 * i, 16);
        fromFile.push_back(entry.substr(8, 4) + file.substr(le32(entry, 12), le32(entry, 8)));
        const std::string group = c.data.substr(6 + 14 * i, 14);
        const std::string id = std::to_string(le16(group, 12));
        ASSERT_TRUE(icons.count(id)) << name;
        compiled.push_back(group.substr(8, 4) + icons[id]->data);
      }
      std::sort(fromFile.begin(), fromFile.end());
      std::sort(compiled.begin(), compiled.end());
      EXPECT_EQ(compiled, fromFile) << name;
      return;
    }
  }
  ADD_FAILURE() << "the compiler made nothing of " << name;
}

// A valid bitmap file of random pixels, 8 bits a pixel.
Bytes randomBitmap(std::mt19937& random) {
  const int width = 1 + static_cast<int>(random() % 40),
            height = 1 + static_cast<int>(random() % 40);
  const int stride = (width + 3) / 4 * 4;
  const std::uint32_t offset = 14 + 40 + 256 * 4;
  const std::uint32_t size = offset + static_cast<std::uint32_t>(stride * height);
  Bytes b;
  auto u16 = [&](std::uint32_t v) { b.push_back(v & 0xFF), b.push_back(v >> 8 & 0xFF); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  b.push_back('B'), b.push_back('M'), u32(size), u32(0), u32(offset);
  u32(40), u32(width), u32(height), u16(1), u16(8), u32(0), u32(0), u32(0), u32(0), u32(256),
      u32(0);
  while (b.size() < size) b.push_back(static_cast<std::uint8_t>(random()));
  return b;
}

class Wrc : public ::testing::Test {
 protected:
  void SetUp() override {
    wrc = compiler();
    if (wrc.empty()) {
      if (std::getenv("KOLVRE_REQUIRE_WRC")) FAIL() << "no wrc (Debian: wine64-tools)";
      GTEST_SKIP() << "Wine's resource compiler is missing (Debian: wine64-tools)";
    }
  }
  // Compiles `script`; the resources, or a failure with what the compiler said.
  std::vector<Compiled> compile(const std::string& script) {
    const std::string rc = dir.write("x.rc", script);
    const std::string res = dir.file("x.res");
    const testing::CommandRun run =
        testing::runCommand(testing::shellQuoted(wrc) + " --nostdinc -o " +
                            testing::shellQuoted(res) + " " + testing::shellQuoted(rc));
    if (!run.ok) {
      ADD_FAILURE() << "wrc refused the script: " << run.output;
      return {};
    }
    return readRes(TempDir::read(res));
  }
  std::string wrc;
  TempDir dir;
};

TEST_F(Wrc, CompilesTheTemplatesAndRandomImagesToTheDecodedBytes) {
  std::mt19937 random(11);
  std::string script = resourceTemplate(ResourceType::Bitmap, "LOGO") + "\r\n" +
                       resourceTemplate(ResourceType::Icon, "APP") + "\r\n";
  std::map<std::string, Bytes> bitmaps;
  for (int i = 0; i < 8; ++i) {
    const std::string name = "RND" + std::to_string(i);
    bitmaps[name] = randomBitmap(random);
    script += *encodeImageBlock(name + " BITMAP\r\n{\r\n}", bitmaps[name]) + "\r\n";
  }
  const auto res = compile(script);
  expectCompiledAs(res, "LOGO", ResourceType::Bitmap,
                   *decodeImageBlock(resourceTemplate(ResourceType::Bitmap, "LOGO")));
  expectCompiledAs(res, "APP", ResourceType::Icon,
                   *decodeImageBlock(resourceTemplate(ResourceType::Icon, "APP")));
  for (const auto& [name, bytes] : bitmaps)
    expectCompiledAs(res, name, ResourceType::Bitmap, bytes);
}

TEST_F(Wrc, CompilesTheCorpusInlineImagesToTheDecodedBytes) {
  const auto scripts = testing::corpusScripts();
  if (scripts.empty()) GTEST_SKIP() << "no corpus of real scripts at " << testing::kCorpusDir;
  int checked = 0;
  testing::forEachCorpusInlineImage([&](const std::string&, const Document& doc, std::size_t i,
                                        const ImageSource& source) {
    const ResourceType type = doc.index()[i].type;
    if (type == ResourceType::Cursor) return;  // the compiler wants cursor files, not icons
    // The image alone, in the written layout, under a plain name.
    const std::string name = "IMG" + std::to_string(checked++);
    const std::string block = *encodeImageBlock(
        name + (type == ResourceType::Bitmap ? " BITMAP" : " ICON") + "\r\n{\r\n}", source.bytes);
    expectCompiledAs(compile(block), name, type, source.bytes);
  });
  std::cout << checked << " inline images of the corpus compiled\n";
}

}  // namespace
}  // namespace kolvre
