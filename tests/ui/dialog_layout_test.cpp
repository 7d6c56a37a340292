// The preview held to Windows' dialog manager as Wine runs it: every dialog of the test scripts
// in tests/dialogs/layout, read with the dialog fonts on Qt, against the layout Wine gave it
// (NAME.layout, made by tools/wine-layout): the font's base units, the client area and where
// each control's window stands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "dialogs/control_windows.h"
#include "dialogs/dialog_reader.h"
#include "document/document.h"
#include "document/resource_edits.h"
#include "syntax/symbols.h"
#include "ui/qt_dialog_fonts.h"

namespace kolvre {
namespace {

const std::filesystem::path kLayoutDir =
    std::filesystem::path(KOLVRE_SOURCE_DIR) / "tests" / "dialogs" / "layout";

struct GoldenControl {
  std::string windowClass;
  PixelRect rect;
};

struct GoldenDialog {
  int clientWidth = 0;
  int clientHeight = 0;
  BaseUnits base;
  std::vector<GoldenControl> controls;
};

// NAME.layout by dialog name.
std::map<std::string, GoldenDialog> readGoldens(const std::filesystem::path& path) {
  std::map<std::string, GoldenDialog> out;
  std::ifstream in(path);
  std::string line;
  GoldenDialog* current = nullptr;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string first;
    fields >> first;
    if (first == "dialog") {
      std::string name;
      fields >> name;
      current = &out[name];
    } else if (first == "client" && current) {
      fields >> current->clientWidth >> current->clientHeight >> current->base.x >> current->base.y;
    } else if (current && !first.empty() && std::isdigit(static_cast<unsigned char>(first[0]))) {
      GoldenControl control;
      int id = 0;
      fields >> id >> control.windowClass >> control.rect.x >> control.rect.y >>
          control.rect.width >> control.rect.height;
      current->controls.push_back(control);
    }
  }
  return out;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool within(int a, int b, int slack) {
  return std::abs(a - b) <= slack;
}

bool near(const PixelRect& a, const PixelRect& b) {
  return within(a.x, b.x, 1) && within(a.y, b.y, 1) && within(a.width, b.width, 1) &&
         within(a.height, b.height, 1);
}

struct Tally {
  int dialogs = 0;
  int controls = 0;
  int near = 0;
  std::vector<std::string> misses;
};

// Reads every dialog of NAME.rc with the dialog fonts and holds it to NAME.layout: base units
// and client areas exactly; controls tallied, within a pixel.
Tally compare(const std::string& name) {
  Tally tally;
  std::ifstream in(kLayoutDir / (name + ".rc"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Document doc;
  doc.load("", bytes);
  const std::map<std::string, GoldenDialog> goldens = readGoldens(kLayoutDir / (name + ".layout"));
  const SymbolTable symbols = scriptSymbols(doc.text(), "");
  const QtDialogFontMetrics fonts;
  for (std::size_t i = 0; i < doc.index().size(); ++i) {
    if (doc.index()[i].type != ResourceType::Dialog) continue;
    const std::string dialogName = upper(doc.index()[i].name);
    SCOPED_TRACE(name + ".rc " + dialogName);
    const auto golden = goldens.find(dialogName);
    if (golden == goldens.end()) {
      ADD_FAILURE() << "no layout for the dialog";
      continue;
    }
    const auto block = entryBlock(doc.text(), doc.index(), i);
    if (!block) continue;
    const DialogReading reading =
        readDialog(block->of(doc.text()), DialogMode::Designer, &symbols, &fonts);
    if (reading.failure != DialogFailure::None) {
      ADD_FAILURE() << "the dialog does not read";
      continue;
    }
    const DialogModel& dialog = reading.dialog;
    const GoldenDialog& windows = golden->second;
    ++tally.dialogs;
    EXPECT_EQ(dialog.baseUnits, windows.base);
    EXPECT_EQ(dialogClientSize(dialog), (PixelSize{windows.clientWidth, windows.clientHeight}));
    EXPECT_EQ(dialog.controls.size(), windows.controls.size());
    const std::vector<PixelRect> rects = controlWindowRects(dialog.controls, dialog.baseUnits);
    for (std::size_t c = 0; c < std::min(rects.size(), windows.controls.size()); ++c) {
      const PixelRect& shown = rects[c];
      const PixelRect& expected = windows.controls[c].rect;
      ++tally.controls;
      if (near(shown, expected)) {
        ++tally.near;
        continue;
      }
      std::ostringstream miss;
      miss << dialogName << " " << c << " " << windows.controls[c].windowClass << ": " << shown.x
           << "," << shown.y << " " << shown.width << "x" << shown.height << " (Windows "
           << expected.x << "," << expected.y << " " << expected.width << "x" << expected.height
           << ")";
      tally.misses.push_back(miss.str());
    }
  }
  return tally;
}

class DialogLayout : public testing::Test {
 protected:
  void SetUp() override {
    if (dialogFacesLoaded()) return;
    const std::string why =
        "Windows' fonts not found in " + dialogFontFolder().toStdString() + " (install fonts-wine)";
    if (std::getenv("KOLVRE_REQUIRE_WINE")) FAIL() << why;
    GTEST_SKIP() << why;
  }
};

TEST_F(DialogLayout, FontsGiveWindowsBaseUnitsAndClientAreas) {
  // Every face, size, weight and slant of fonts.rc: the base units and client areas exactly,
  // and every control (none of them sizes itself but the drop-down combos) within a pixel.
  const Tally tally = compare("fonts");
  EXPECT_EQ(tally.dialogs, 15);
  EXPECT_EQ(tally.near, tally.controls);
  for (const std::string& miss : tally.misses) ADD_FAILURE() << miss;
}

TEST_F(DialogLayout, ControlsStandWhereWindowsPutsThem) {
  // The controls that size themselves as Windows sizes them (combo boxes, up-down controls on
  // their buddies, etched lines, list boxes in whole rows), but for two still drawn at their
  // template's rectangle: a lone up-down control Windows widens to 16 pixels and a scroll bar
  // aligned to both its edges.
  const Tally tally = compare("controls");
  EXPECT_EQ(tally.controls, 108);
  EXPECT_LE(int(tally.misses.size()), 2) << testing::PrintToString(tally.misses);
}

TEST_F(DialogLayout, TextDialogsStandWhereWindowsPutsThem) {
  const Tally tally = compare("texts");
  EXPECT_EQ(tally.near, tally.controls);
  for (const std::string& miss : tally.misses) ADD_FAILURE() << miss;
}

}  // namespace
}  // namespace kolvre
