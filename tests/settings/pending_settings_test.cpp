#include "settings/pending_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/ini_file.h"
#include "settings/placement.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;
using testing::TempDir;

// Settings on a real file, as the program keeps them; the rest of the interface scripted.
class FileUi : public ScriptedUi {
 public:
  explicit FileUi(std::string path) : settings_(std::move(path)) {}
  std::string readSetting(std::string_view section, std::string_view key,
                          std::string_view dflt) override {
    return settings_.read(section, key, dflt);
  }
  void writeSetting(std::string_view section, std::string_view key,
                    std::string_view value) override {
    ++settingWrites;
    EXPECT_TRUE(settings_.write(section, {{std::string(key), std::string(value)}}));
  }
  void writeSettings(std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override {
    ++settingWrites;
    EXPECT_TRUE(settings_.write(section, values));
  }

 private:
  SettingsFile settings_;
};

TEST(PendingSettings, WritesWaitForFlushAndReadBackMeanwhile) {
  ScriptedUi target;
  target.writeSetting("Parametri", "Top", "1");
  target.writeSetting("Parametri", "Esc", "Sì");
  PendingSettings pending(target);
  pending.writeSetting("Parametri", "Top", "2");
  pending.writeSetting("PARAMETRI", "top", "3");
  pending.writeSetting("Mru", "File1", "/a");
  EXPECT_TRUE(pending.pending());
  EXPECT_EQ(target.setting("Parametri", "Top"), "1");
  EXPECT_EQ(pending.readSetting("parametri", "TOP", "d"), "3");
  EXPECT_EQ(pending.readSetting("Parametri", "Esc", "d"), "Sì");  // not held: from the target

  pending.flush();
  EXPECT_FALSE(pending.pending());
  EXPECT_EQ(target.settingWrites, 2 + 2);  // one pass for each section
  EXPECT_EQ(target.setting("Parametri", "Top"), "3");
  EXPECT_EQ(target.setting("Mru", "File1"), "/a");
  pending.flush();
  EXPECT_EQ(target.settingWrites, 2 + 2);
}

class Window : public WindowPlacement {
 public:
  WindowRect rect{100, 50, 740, 530};
  bool minimized = false;
  WindowRect outerRect() const override { return rect; }
  void setOuterRect(int, int, int, int) override {}
  void showMaximized() override {}
  void showNormal() override {}
  bool isMinimized() const override { return minimized; }
  void layOutResourceList() override {}
};

// One event of the window: where it is, whether minimised, and what applyPlacement is called for.
struct Event {
  WindowRect rect;
  SizeType type;
  bool minimized = false;
};

// The placement rules read back what they wrote (the position before the latest move is kept
// for a maximise), so holding the writes must not change what ends in the file.
TEST(PendingSettings, PlacementEndsInTheFileAsWritingEveryEventLeavesIt) {
  const std::string start =
      "; window\r\n[Parametri]\r\nMaximized=No\r\nTop=10\r\nLeft=20\r\n[Mru]\r\nFile1=/a\r\n";
  const std::vector<std::pair<std::string, std::vector<Event>>> cases = {
      {start,
       {{{30, 40, 670, 520}, SizeType::Moved},
        {{31, 42, 671, 522}, SizeType::Moved},
        {{35, 45, 675, 525}, SizeType::Moved}}},
      // Maximising: a move to the corner, then the state change puts the position back.
      {start,
       {{{30, 40, 670, 520}, SizeType::Moved},
        {{0, 0, 1920, 1080}, SizeType::Moved},
        {{0, 0, 1920, 1080}, SizeType::Maximized},
        {{0, 0, 1920, 1080}, SizeType::Moved},
        {{30, 40, 670, 520}, SizeType::Restored},
        {{30, 40, 800, 600}, SizeType::Restored}}},
      // Minimised windows do not move; a file without the keys gets them in order.
      {"[Mru]\nFile1=/a\n",
       {{{5, 6, 505, 406}, SizeType::Restored},
        {{5, 6, 505, 406}, SizeType::Minimized, true},
        {{-32000, -32000, 0, 0}, SizeType::Moved, true},
        {{7, 8, 507, 408}, SizeType::Moved},
        {{7, 8, 507, 408}, SizeType::Maximized}}},
  };
  for (const auto& [before, events] : cases) {
    TempDir dir;
    const std::string everyEvent = dir.write("every.ini", before);
    const std::string held = dir.write("held.ini", before);
    FileUi direct(everyEvent);
    FileUi target(held);
    PendingSettings pending(target);
    Window a, b;
    PlacementMemory memoryA, memoryB;
    for (const Event& e : events) {
      a.rect = b.rect = e.rect;
      a.minimized = b.minimized = e.minimized;
      applyPlacement(direct, a, memoryA, {1920, 1080}, e.type);
      applyPlacement(pending, b, memoryB, {1920, 1080}, e.type);
    }
    EXPECT_EQ(TempDir::read(held), before);
    pending.flush();
    EXPECT_EQ(target.settingWrites, 1);
    EXPECT_EQ(TempDir::read(held), TempDir::read(everyEvent));
    EXPECT_EQ(memoryB.top, memoryA.top);
    EXPECT_EQ(memoryB.left, memoryA.left);
  }
}

}  // namespace
}  // namespace kolvre
