// Image resources: where the picture comes from, its size, the edit that stores new data, and
// the external image editor.
#include "document/image_resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/templates.h"
#include "images/hex_data.h"
#include "support/corpus_images.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;
using testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

// A bitmap file of `width` by `height` pixels, one bit a pixel.
Bytes bitmapFile(int width, int height) {
  const int stride = ((width + 31) / 32) * 4;
  const std::uint32_t size = 62 + static_cast<std::uint32_t>(stride * height);
  Bytes b = {'B', 'M'};
  auto u16 = [&](std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  u32(size), u32(0), u32(62), u32(40), u32(width), u32(height), u16(1), u16(1);
  for (int i = 0; i < 6; ++i) u32(0);
  u32(0), u32(0x00FFFFFF);  // black and white
  b.resize(size, 0);
  return b;
}

TEST(PictureSize, ReadsTheHeadersOfBitmapsIconsAndCursors) {
  EXPECT_EQ(pictureSize(ResourceType::Bitmap, templateBitmap())->width, 32);
  const auto icon = pictureSize(ResourceType::Icon, templateIcon());
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->height, 32);
  EXPECT_TRUE(pictureSize(ResourceType::Cursor, templateCursor()));
  const auto wide = pictureSize(ResourceType::Bitmap, bitmapFile(64, 48));
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->width, 64);
  EXPECT_EQ(wide->height, 48);
  EXPECT_FALSE(pictureSize(ResourceType::Bitmap, Bytes(17, 0)));
  EXPECT_FALSE(pictureSize(ResourceType::Icon, templateBitmap()));
  Bytes truncated = templateIcon();
  truncated.resize(100);  // the image the directory points at is cut off
  EXPECT_FALSE(pictureSize(ResourceType::Icon, truncated));
}

class ImageResources : public ::testing::Test {
 protected:
  void load(const std::string& text) {
    script = dir.write("dir/script.rc", "");
    doc.load(script, text);
  }
  TempDir dir;
  std::string script;
  Document doc;
  ScriptedUi ui;
};

TEST_F(ImageResources, APictureIsInlineOrInANamedFileFoundWithoutRegardToCase) {
  std::filesystem::create_directories(dir.file("dir/Res"));
  dir.write("dir/Res/App.ICO", "icon bytes");
  load(resourceTemplate(ResourceType::Bitmap, "A") +
       "\r\nB ICON \"res\\\\app.ico\"\r\nC ICON \"gone.ico\"" + "\r\nD ICON\r\n// nothing\r\n");
  const ImageSource a = imageSource(doc, 0);
  EXPECT_EQ(a.kind, ImageSource::Kind::Inline);
  EXPECT_EQ(a.bytes, templateBitmap());
  const ImageSource b = imageSource(doc, 1);
  EXPECT_EQ(b.kind, ImageSource::Kind::File);
  EXPECT_EQ(b.file, dir.file("dir/Res/App.ICO"));
  const ImageSource c = imageSource(doc, 2);
  EXPECT_EQ(c.kind, ImageSource::Kind::Unreadable);
  EXPECT_EQ(c.problem, "file " + dir.file("dir/gone.ico") + " non trovato.");
  EXPECT_EQ(imageSource(doc, 3).kind, ImageSource::Kind::Unreadable);
}

TEST_F(ImageResources, StoringDataChangesOnlyTheBlockAndIsOneStep) {
  load("Z ICON\r\n{\r\n}\r\n\r\n\r\nA BITMAP\r\n{\r\n '00 01'\r\n}\r\n// after");
  const auto edit = imageDataEdit(doc.text(), doc.index(), 0, {0xAB});
  ASSERT_TRUE(edit);
  ASSERT_TRUE(doc.commit(*edit));
  EXPECT_EQ(doc.text(), "Z ICON\r\n{\r\n}\r\n\r\n\r\nA BITMAP\r\n{\r\n 'AB'\r\n}\r\n// after");
  EXPECT_EQ(doc.undoLabel(), "Modifica immagine");
  doc.undo();
  EXPECT_EQ(doc.text(), "Z ICON\r\n{\r\n}\r\n\r\n\r\nA BITMAP\r\n{\r\n '00 01'\r\n}\r\n// after");
}

class EditImage : public ImageResources {
 protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override { std::filesystem::current_path(previous); }
  // The image editor stand-in: replaces the work file's content.
  void editorWrites(const std::string& key, std::string content) {
    ui.settings[ScriptedUi::settingKey("Edit", key)] = "/opt/my paint/paint";
    ui.exitCodes = {0};
    ui.onRun = [this, content](const testing::RunCall& call) {
      seen = TempDir::read(call.args.at(0));
      std::ofstream(call.args[0], std::ios::binary | std::ios::trunc) << content;
    };
  }
  std::filesystem::path previous;
  std::string seen;
};

TEST_F(EditImage, ANewPictureIsStoredAsOneStep) {
  load(resourceTemplate(ResourceType::Bitmap, "LOGO"));
  const Bytes wide = bitmapFile(64, 48);
  editorWrites("BMP", std::string(wide.begin(), wide.end()));
  EXPECT_TRUE(editImageResource(ui, doc, 0));
  EXPECT_EQ(ui.runs[0].program, "/opt/my paint/paint");
  EXPECT_TRUE(ui.runs[0].args[0].ends_with(".BMP"));
  EXPECT_EQ(seen.size(), 190u);
  EXPECT_EQ(imageSource(doc, 0).bytes, wide);
  EXPECT_EQ(pictureSize(ResourceType::Bitmap, imageSource(doc, 0).bytes)->width, 64);
  EXPECT_FALSE(std::filesystem::exists(ui.runs[0].args[0]));
  ASSERT_TRUE(doc.undo());
  EXPECT_EQ(doc.text(), resourceTemplate(ResourceType::Bitmap, "LOGO"));
}

TEST_F(EditImage, UnchangedDataIsLaidOutAgainAndAFinalByte26IsKept) {
  // Eight bytes a line, and an icon whose last byte is 26.
  load("I ICON\r\n{\r\n '00 00 01 00 01 00 20 20'\r\n '10 00 01 00 04 00 E8 1A'\r\n}");
  const std::string bytes("\x00\x00\x01\x00\x01\x00\x20\x20\x10\x00\x01\x00\x04\x00\xE8\x1A", 16);
  editorWrites("ICO", bytes);
  EXPECT_TRUE(editImageResource(ui, doc, 0));
  EXPECT_TRUE(ui.runs[0].args[0].ends_with(".ICO"));
  EXPECT_EQ(doc.text(), "I ICON\r\n{\r\n '00 00 01 00 01 00 20 20 10 00 01 00 04 00 E8 1A'\r\n}");
}

TEST_F(EditImage, AnEmptiedWorkFileKeepsThePicture) {
  load(resourceTemplate(ResourceType::Icon, "I"));
  editorWrites("ICO", "");
  EXPECT_FALSE(editImageResource(ui, doc, 0));
  EXPECT_EQ(doc.text(), resourceTemplate(ResourceType::Icon, "I"));
  EXPECT_EQ(ui.messages.back().text,
            "L'editor ha lasciato vuoto il file dell'immagine.\nL'immagine "
            "resta com'era.");
}

TEST_F(EditImage, NoEditorOrAnUnreadableBlockLeavesTheBlockAsItWas) {
  const std::string odd = "C CURSOR\r\n{\r\n '0'\r\n '1'\r\n}";
  load(odd);
  EXPECT_FALSE(editImageResource(ui, doc, 0));
  EXPECT_NE(ui.messages.back().text.find("chiave ICO"), std::string::npos);
  load("C CURSOR\r\n// no data");
  EXPECT_FALSE(editImageResource(ui, doc, 0));
  EXPECT_EQ(ui.messages.back().text.rfind("Impossibile modificare l'immagine", 0), 0u);
  EXPECT_TRUE(ui.runs.empty());
}

TEST_F(EditImage, APictureInItsOwnFileIsEditedThereAndTheScriptIsNotTouched) {
  std::filesystem::create_directories(dir.file("dir"));
  dir.write("dir/a.bmp", "file bytes");
  load("A BITMAP \"a.bmp\"");
  editorWrites("BMP", "changed");
  EXPECT_FALSE(editImageResource(ui, doc, 0));
  EXPECT_EQ(ui.runs[0].args[0], dir.file("dir/a.bmp"));
  EXPECT_EQ(TempDir::read(dir.file("dir/a.bmp")), "changed");
  EXPECT_EQ(doc.text(), "A BITMAP \"a.bmp\"");
}

// Every inline image of the corpus decodes to a picture of the size its header states, and
// encodes back to data that decodes to the same bytes.
TEST(CorpusImages, InlineImagesDecodeToPictures) {
  const auto scripts = testing::corpusScripts();
  if (scripts.empty()) {
    if (testing::corpusRequired()) FAIL() << "no corpus at " << testing::kCorpusDir;
    GTEST_SKIP() << "no corpus of real scripts at " << testing::kCorpusDir;
  }
  int inlineImages = 0;
  testing::forEachCorpusInlineImage(
      [&](const std::string& name, const Document& doc, std::size_t i, const ImageSource& source) {
        ++inlineImages;
        const ResourceType type = doc.index()[i].type;
        EXPECT_TRUE(pictureSize(type, source.bytes)) << name << " " << doc.index()[i].name;
        const auto edit = imageDataEdit(doc.text(), doc.index(), i, source.bytes);
        ASSERT_TRUE(edit);
        Document again;
        again.load("", doc.text());
        ASSERT_TRUE(again.commit(*edit) || again.text() == doc.text());
        EXPECT_EQ(imageSource(again, i).bytes, source.bytes) << name;
      });
  EXPECT_GT(inlineImages, 0);
}

}  // namespace
}  // namespace kolvre
