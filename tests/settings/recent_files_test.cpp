#include "settings/recent_files.h"

#include <gtest/gtest.h>

#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;

void fill(ScriptedUi& ui, int count) {
  for (int n = 1; n <= count; ++n)
    ui.writeSetting("Mru", "File" + std::to_string(n), "/f" + std::to_string(n));
}

TEST(RecentFiles, AddingMovesToTheFrontWithoutGrowing) {
  ScriptedUi ui;
  fill(ui, 3);
  addRecentFile(ui, "/f2");
  EXPECT_EQ(readRecentFiles(ui), (std::vector<std::string>{"/f2", "/f1", "/f3"}));
}

TEST(RecentFiles, FifteenEntriesAtMostWrittenInOnePass) {
  ScriptedUi ui;
  fill(ui, 15);
  const int writesBefore = ui.settingWrites;
  const auto list = addRecentFile(ui, "/new");
  EXPECT_EQ(ui.settingWrites, writesBefore + 1);
  EXPECT_EQ(list.size(), 15u);
  EXPECT_EQ(list.front(), "/new");
  EXPECT_EQ(list.back(), "/f14");
  EXPECT_EQ(readRecentFiles(ui), list);
}

TEST(RecentFiles, HandEditedLongerListKeepsItsLength) {
  ScriptedUi ui;
  fill(ui, 20);
  EXPECT_EQ(addRecentFile(ui, "/new").size(), 20u);
  EXPECT_EQ(ui.setting("Mru", "File20"), "/f19");
}

TEST(RecentFiles, AGapEndsTheList) {
  ScriptedUi ui;
  fill(ui, 5);
  ui.writeSetting("Mru", "File3", "");
  EXPECT_EQ(readRecentFiles(ui).size(), 2u);
  addRecentFile(ui, "/new");
  EXPECT_EQ(ui.setting("Mru", "File3"), "/f2");
  EXPECT_EQ(ui.setting("Mru", "File4"), "/f4");  // beyond the list: left as it was
}

TEST(RecentFiles, ALongerEntryThatBeginsWithThePathGoes) {
  ScriptedUi ui;
  ui.writeSetting("Mru", "File1", "/d/a.rc.bak");
  ui.writeSetting("Mru", "File2", "/d/A.RC");
  EXPECT_EQ(addRecentFile(ui, "/d/a.rc"), (std::vector<std::string>{"/d/a.rc", "/d/A.RC"}));
}

TEST(RecentFiles, NoPathOnlyReads) {
  ScriptedUi ui;
  fill(ui, 2);
  const int writesBefore = ui.settingWrites;
  EXPECT_EQ(addRecentFile(ui, "").size(), 2u);
  EXPECT_EQ(ui.settingWrites, writesBefore);
}

}  // namespace
}  // namespace kolvre
