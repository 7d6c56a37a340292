#include "settings/placement.h"

#include <gtest/gtest.h>

#include <map>

#include "support/scripted_ui.h"

namespace kolvre {
namespace {

// Records every settings write, in order, as "Key=value".
class RecordingUi : public testing::ScriptedUi {
 public:
  std::vector<std::string> writes;
  void writeSetting(std::string_view section, std::string_view key,
                    std::string_view value) override {
    writes.push_back(std::string(key) + "=" + std::string(value));
    ScriptedUi::writeSetting(section, key, value);
  }
};

enum class Shown { Not, Maximized, Normal };

class FakeWindow : public WindowPlacement {
 public:
  WindowRect rect{100, 50, 740, 530};
  bool minimized = false;
  Shown shown = Shown::Not;
  int layouts = 0;

  WindowRect outerRect() const override { return rect; }
  void setOuterRect(int left, int top, int width, int height) override {
    rect = {left, top, left + width, top + height};
  }
  void showMaximized() override { shown = Shown::Maximized; }
  void showNormal() override { shown = Shown::Normal; }
  bool isMinimized() const override { return minimized; }
  void layOutResourceList() override { ++layouts; }
};

struct Placement {
  RecordingUi ui;
  FakeWindow window;
  PlacementMemory memory;
  explicit Placement(const std::map<std::string, std::string>& settings) {
    for (const auto& [key, value] : settings) ui.ScriptedUi::writeSetting("Parametri", key, value);
  }
  void resize(std::optional<SizeType> type) {
    applyPlacement(ui, window, memory, {1920, 1080}, type);
  }
};

TEST(Placement, FirstShowing) {
  struct Row {
    std::map<std::string, std::string> settings;
    Shown shown;
    WindowRect rect;
  };
  const Row rows[] = {
      {{}, Shown::Maximized, {0, 0, 960, 540}},  // first run: maximised over half the screen
      {{{"Maximized", "No"}, {"Top", "10"}, {"Left", "20"}, {"Width", "300"}, {"Height", "200"}},
       Shown::Normal,
       {20, 10, 320, 210}},
      {{{"Maximized", "Si"}}, Shown::Maximized, {0, 0, 960, 540}},
      {{{"Maximized", "S"}}, Shown::Maximized, {0, 0, 960, 540}},
      {{{"Maximized", ""}}, Shown::Normal, {0, 0, 960, 540}},
      {{{"Maximized", "si"}}, Shown::Maximized, {0, 0, 960, 540}},  // a yes in any letter case
      {{{"Maximized", "no"}}, Shown::Normal, {0, 0, 960, 540}},
      // Numbers as the private-profile integer read gives them.
      {{{"Maximized", "No"}, {"Left", "-8"}, {"Top", "12px"}, {"Width", "abc"}},
       Shown::Normal,
       {-8, 12, -8, 552}},
  };
  for (const Row& r : rows) {
    Placement p(r.settings);
    p.resize(std::nullopt);
    EXPECT_EQ(p.window.shown, r.shown) << r.rect.left;
    EXPECT_EQ(
        std::tie(p.window.rect.left, p.window.rect.top, p.window.rect.right, p.window.rect.bottom),
        std::tie(r.rect.left, r.rect.top, r.rect.right, r.rect.bottom));
    EXPECT_TRUE(p.ui.writes.empty());
  }
}

TEST(Placement, WhatEachEventWrites) {
  struct Row {
    const char* what;
    const char* maximized;
    bool minimized;
    SizeType type;
    std::vector<std::string> writes;
  };
  const Row rows[] = {
      {"restore from maximised", "Sì", false, SizeType::Restored, {"Maximized=No"}},
      {"size change", "No", false, SizeType::Restored, {"Width=640", "Height=480"}},
      {"move", "No", false, SizeType::Moved, {"Top=50", "Left=100"}},
      {"maximise", "No", false, SizeType::Maximized, {"Maximized=Sì", "Top=7", "Left=9"}},
      {"move while minimised", "No", true, SizeType::Moved, {}},
      {"move while maximised", "Sì", false, SizeType::Moved, {}},
      {"minimise", "No", false, SizeType::Minimized, {}},
  };
  for (const Row& r : rows) {
    Placement p({{"Maximized", r.maximized}, {"Top", "7"}, {"Left", "9"}});
    p.window.minimized = r.minimized;
    p.resize(r.type);
    EXPECT_EQ(p.ui.writes, r.writes) << r.what;
    EXPECT_EQ(p.window.layouts, 1) << r.what;
  }
}

TEST(Placement, MaximisingKeepsThePositionFromBeforeItsOwnMove) {
  Placement p({{"Maximized", "No"}, {"Top", "10"}, {"Left", "20"}});
  p.resize(std::nullopt);
  // The platform first moves the window to the screen's corner, then reports the maximised size.
  p.window.rect = {0, 0, 1920, 1080};
  p.resize(SizeType::Moved);
  p.resize(SizeType::Maximized);
  EXPECT_EQ(p.ui.writes,
            (std::vector<std::string>{"Top=0", "Left=0", "Maximized=Sì", "Top=10", "Left=20"}));
}

TEST(Flags, EscAndKolv) {
  struct Row {
    std::map<std::string, std::string> settings;
    bool kolv;
    bool escCloses;
  };
  const Row rows[] = {
      {{}, false, false},
      {{{"Esc", "Sì"}}, false, true},
      {{{"Kolv", "Si"}}, true, true},
      {{{"Esc", "No"}, {"Kolv", "S"}}, true, true},
      // A yes reads the same in either letter case, for every key.
      {{{"Esc", "si"}, {"Kolv", ""}}, false, true},
      {{{"Kolv", "sì"}}, true, true},
      {{{"Esc", "Non"}, {"Kolv", "no"}}, false, false},
  };
  for (const Row& r : rows) {
    Placement p(r.settings);
    EXPECT_EQ(kolvFlag(p.ui), r.kolv) << r.settings.size();
    EXPECT_EQ(escClosesWindow(p.ui), r.escCloses) << r.settings.size();
  }
}

}  // namespace
}  // namespace kolvre
