#include "document/script_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
  EXPECT_EQ(s.form.lineEnds, LineEnds::Lf);
  EXPECT_EQ(s.text, "A ICON\r\n{\r\n 'x\r'\r\n}\r\n");
  EXPECT_EQ(toDisk(s.text, s.form), disk);
}

TEST(LineEnds, CrLfAndMixedFilesAreKeptExactly) {
  for (const std::string disk : {"A\r\nB\r\n", "A\r\nB\nC\r\n", "no line end", ""}) {
    const ScriptText s = fromDisk(disk);
    EXPECT_EQ(s.form.lineEnds, LineEnds::AsRead) << disk;
    EXPECT_EQ(s.text, disk);
    EXPECT_EQ(toDisk(s.text, s.form), disk);
  }
}

// UTF-16 bytes of an ASCII text, little- or big-endian, with the byte-order mark.
std::string utf16(std::string_view ascii, bool big = false) {
  std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    out += big ? '\0' : c;
    out += big ? c : '\0';
  }
  return out;
}

TEST(Utf16, FilesAreWorkedOnAsUtf8AndGoBackByteForByte) {
  const std::string rows[] = {
      utf16("A ICON\r\n{\r\n}\r\n"),
      utf16("A ICON\r\n{\r\n}\r\n", true),
      utf16("A ICON\n{\n}\n"),  // LF line ends, in UTF-16 too
      utf16(""),
      // "é", a character beyond the first plane (a surrogate pair), and a CR LF.
      std::string("\xFF\xFE"
                  "\xE9\x00"
                  "\x3D\xD8\x00\xDE"
                  "\r\0\n\0",
                  12),
  };
  for (const std::string& disk : rows) {
    EXPECT_EQ(utf16Problem(disk), "");
    const ScriptText s = fromDisk(disk);
    EXPECT_NE(s.form.utf16, Utf16::None);
    EXPECT_EQ(toDisk(s.text, s.form), disk);
  }
  EXPECT_EQ(fromDisk(utf16("A ICON\n")).text, "A ICON\r\n");
  EXPECT_EQ(fromDisk(rows[4]).text, "\xC3\xA9\xF0\x9F\x98\x80\r\n");
}

TEST(Utf16, FilesThatWouldNotComeBackExactlyAreNamed) {
  EXPECT_EQ(utf16Problem(utf16("AB") + "x"), "il numero di byte è dispari");
  EXPECT_EQ(utf16Problem(std::string("\xFF\xFE"
                                     "A\0"
                                     "\x00\xD8"
                                     "B\0",
                                     8)),
            "un carattere surrogato senza la sua coppia al byte 2");
  EXPECT_EQ(utf16Problem(std::string("\xFE\xFF"
                                     "\xDC\x00",
                                     4)),
            "un carattere surrogato senza la sua coppia al byte 0");
  EXPECT_EQ(utf16Problem("A ICON\xFF\xFE"), "");  // no mark at the start: no UTF-16
}

TEST(Utf16, TextThatIsNotUtf8IsWrittenAsItsCodePageCharacters) {
  const DiskForm form{LineEnds::AsRead, Utf16::LittleEndian};
  EXPECT_EQ(toDisk("\xE9", form), std::string("\xFF\xFE\xE9\x00", 4));
  EXPECT_EQ(toDisk("\x80", form), std::string("\xFF\xFE\xAC\x20", 4));  // the euro sign
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
  EXPECT_EQ(writeFileSafely(dir.file("missing/a.rc"), "x"), ENOENT);
  EXPECT_EQ(writeFileSafely(dir.path().string(), "x"), EISDIR);
  EXPECT_EQ(saveFailureReason(ENOENT), "La cartella non esiste.");
  EXPECT_EQ(saveFailureReason(ENOSPC), "Disco pieno.");
}

TEST(SafeWrite, SpecialFilesAreNeverReplaced) {
  TempDir dir;
  const std::string fifo = dir.file("pipe.rc");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(writeFileSafely(fifo, "x"), kNotARegularFile);
  // Through a chain of links, to a device.
  std::filesystem::create_symlink("/dev/null", dir.file("null1"));
  std::filesystem::create_symlink("null1", dir.file("null2"));
  EXPECT_EQ(writeFileSafely(dir.file("null2"), "x"), kNotARegularFile);
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
  EXPECT_EQ(saveFailureReason(kNotARegularFile), "Non è un file normale (dispositivo o pipe).");
}

TEST(SafeWrite, ADanglingLinkCreatesTheFileItNames) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("sub"));
  std::filesystem::create_symlink("sub/new.rc", dir.file("link.rc"));
  ASSERT_EQ(writeFileSafely(dir.file("link.rc"), "x"), 0);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.rc")));
  EXPECT_EQ(TempDir::read(dir.file("sub/new.rc")), "x");
  std::filesystem::create_symlink("loop2", dir.file("loop1"));
  std::filesystem::create_symlink("loop1", dir.file("loop2"));
  EXPECT_EQ(writeFileSafely(dir.file("loop1"), "x"), ELOOP);
}

TEST(SafeWrite, AFileWithoutWriteBitsIsNeverReplacedEvenByRoot) {
  TempDir dir;
  const std::string f = dir.write("a.rc", "old");
  ::chmod(f.c_str(), 0444);
  EXPECT_EQ(writeFileSafely(f, "new"), EACCES);
  EXPECT_EQ(TempDir::read(f), "old");
}

TEST(SafeWrite, AFileSizeLimitEndsInTheFailureAndLeavesNoTemporaryFile) {
  TempDir dir;
  const std::string f = dir.write("a.rc", "old");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(writeFileSafely(f, std::string(100000, 'x')) == EFBIG ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << "the save ended the process";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(TempDir::read(f), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(DefaultExtension, AppendsRcOnlyWithoutExtension) {
  EXPECT_EQ(withDefaultExtension("/d/a"), "/d/a.RC");
  EXPECT_EQ(withDefaultExtension("/d/a."), "/d/a..RC");
  EXPECT_EQ(withDefaultExtension("/d/a.txt"), "/d/a.txt");
  EXPECT_EQ(withDefaultExtension("/d.x/a"), "/d.x/a.RC");
}

}  // namespace
}  // namespace kolvre
