#include "document/work_files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "messages/error_record.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The id of a process that has ended.
long endedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

void writeFile(const fs::path& file, const std::string& text) {
  std::ofstream(file) << text;
}

TEST(WorkFolders, TwoEditorsKeepTheirFilesApart) {
  TempDir base;
  std::string firstPath;
  std::string kept;
  {
    WorkFolder first(base.path().string());
    WorkFolder second(base.path().string());
    firstPath = first.path();
    ASSERT_FALSE(first.path().empty());
    ASSERT_NE(first.path(), second.path());
    // Owner-only, and the process id recorded.
    EXPECT_EQ(fs::status(first.path()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(TempDir::read(first.path() + "/pid"), std::to_string(::getpid()) + "\n");

    const std::string a = first.newFile(".rc");
    const std::string b = first.newFile(".rc");
    kept = second.newFile(".BMP");
    EXPECT_NE(a, b);
    EXPECT_EQ(fs::path(a).parent_path(), fs::path(first.path()));
    EXPECT_EQ(fs::path(kept).extension(), ".BMP");
    EXPECT_EQ(fs::status(a).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // A name already taken is never opened: the next free one is made.
    writeFile(fs::path(first.path()) / "risorsa3", "someone's");
    const std::string c = first.newFile();
    EXPECT_NE(fs::path(c).filename(), "risorsa3");
    EXPECT_EQ(TempDir::read(first.path() + "/risorsa3"), "someone's");

    // Both editors run: a start cleans neither folder.
    EXPECT_EQ(removeLeftoverWorkFolders(base.path().string()), 0);
    EXPECT_TRUE(fs::exists(a));
    EXPECT_TRUE(fs::exists(kept));
  }
  // The end of an editor removes its own folder only.
  EXPECT_FALSE(fs::exists(firstPath));
}

TEST(WorkFolders, AStartRemovesOnlyTheFoldersOfEndedEditors) {
  TempDir base;
  const fs::path root = base.path();
  const auto folder = [&](const std::string& name, const std::string& pid) {
    fs::create_directory(root / name);
    writeFile(root / name / "f", "x");
    if (!pid.empty()) writeFile(root / name / "pid", pid);
    return root / name;
  };
  const fs::path ended = folder("kolvre-1-aaaaaa", std::to_string(endedProcess()) + "\n");
  const fs::path running = folder("kolvre-2-bbbbbb", std::to_string(::getpid()) + "\n");
  const fs::path noPid = folder("kolvre-3-cccccc", "");
  const fs::path garbled = folder("kolvre-4-dddddd", "not a number");
  const fs::path otherName = folder("mine", std::to_string(endedProcess()));
  // A link named like a work folder is not followed into what it names.
  const fs::path target = folder("target", std::to_string(endedProcess()));
  fs::create_directory_symlink(target, root / "kolvre-5-eeeeee");
  writeFile(root / "kolvre-6-file", "a file, not a folder");

  EXPECT_EQ(removeLeftoverWorkFolders(root.string()), 1);
  EXPECT_FALSE(fs::exists(ended));
  for (const fs::path& p : {running, noPid, garbled, otherName, target})
    EXPECT_TRUE(fs::exists(p / "f")) << p;
  EXPECT_TRUE(fs::exists(root / "kolvre-6-file"));
  EXPECT_EQ(removeLeftoverWorkFolders((root / "missing").string()), 0);
}

TEST(WorkFolders, AFolderThatCannotBeMadeFailsOnFirstUse) {
  TempDir base;
  WorkFolder nowhere((base.path() / "missing").string());
  EXPECT_TRUE(nowhere.path().empty());
  EXPECT_THROW(nowhere.newFile(), CommandError);
}

TEST(WorkFolders, TheBaseIsTheRuntimeFolderWhenItIsUsable) {
  TempDir runtime;
  const char* before = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = before ? before : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  EXPECT_EQ(workFolderBase(), runtime.path().string());
  ::setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
  EXPECT_EQ(workFolderBase(), fs::temp_directory_path().string());
  ::setenv("XDG_RUNTIME_DIR", (runtime.path() / "missing").c_str(), 1);
  EXPECT_EQ(workFolderBase(), fs::temp_directory_path().string());
  if (before)
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else
    ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace kolvre
