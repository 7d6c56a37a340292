#include "document/script_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::TempDir;

TEST(ReadWholeFile, DropsOneFinalCtrlZ) {
  TempDir dir;
  EXPECT_EQ(readWholeFile(dir.write("a.rc", "A\r\n\x1A")).bytes, "A\r\n");
  EXPECT_EQ(readWholeFile(dir.write("b.rc", "A\x1A\x1A")).bytes, "A\x1A");
  EXPECT_EQ(readWholeFile(dir.write("c.rc", "A\x1A\r\n")).bytes, "A\x1A\r\n");
}

TEST(ReadWholeFile, MissingFileReadsEmptyWithItsError) {
  TempDir dir;
  const FileRead r = readWholeFile(dir.file("none.rc"));
  EXPECT_EQ(r.bytes, "");
  EXPECT_EQ(r.error, ENOENT);
}

TEST(LineEnds, LfOnlyFilesWorkInCrLfAndGoBackUnchanged) {
  const std::string disk = "A ICON\n{\n 'x\r'\n}\n";  // a lone CR inside stays a lone CR
  const ScriptText s = fromDisk(disk);
  EXPECT_EQ(s.lineEnds, LineEnds::Lf);
  EXPECT_EQ(s.text, "A ICON\r\n{\r\n 'x\r'\r\n}\r\n");
  EXPECT_EQ(toDisk(s.text, s.lineEnds), disk);
}

TEST(LineEnds, CrLfAndMixedFilesAreKeptExactly) {
  for (const std::string disk : {"A\r\nB\r\n", "A\r\nB\nC\r\n", "no line end", ""}) {
    const ScriptText s = fromDisk(disk);
    EXPECT_EQ(s.lineEnds, LineEnds::AsRead) << disk;
    EXPECT_EQ(s.text, disk);
    EXPECT_EQ(toDisk(s.text, s.lineEnds), disk);
  }
}

TEST(SafeWrite, ReplacesTheFileAndKeepsItsPermissions) {
  TempDir dir;
  const std::string f = dir.write("a.rc", "old");
  ::chmod(f.c_str(), 0640);
  ASSERT_EQ(writeFileSafely(f, "new text"), 0);
  EXPECT_EQ(TempDir::read(f), "new text");
  struct stat st {};
  ::stat(f.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SafeWrite, WritesThroughASymbolicLink) {
  TempDir dir;
  const std::string real = dir.write("real.rc", "old");
  const std::string link = dir.file("link.rc");
  std::filesystem::create_symlink(real, link);
  ASSERT_EQ(writeFileSafely(link, "new"), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TempDir::read(real), "new");
}

TEST(SafeWrite, FailureLeavesTheOldFileIntact) {
  TempDir dir;
  EXPECT_NE(writeFileSafely(dir.file("missing/a.rc"), "x"), 0);
  EXPECT_EQ(writeFileSafely(dir.path().string(), "x"), EISDIR);
}

TEST(DefaultExtension, AppendsRcOnlyWithoutExtension) {
  EXPECT_EQ(withDefaultExtension("/d/a"), "/d/a.RC");
  EXPECT_EQ(withDefaultExtension("/d/a."), "/d/a..RC");
  EXPECT_EQ(withDefaultExtension("/d/a.txt"), "/d/a.txt");
  EXPECT_EQ(withDefaultExtension("/d.x/a"), "/d.x/a.RC");
}

}  // namespace
}  // namespace kolvre
