#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <utility>
#include <vector>

#include "support/temp_dir.h"

namespace kolvre {
namespace {

using namespace std::string_literals;
using testing::TempDir;

// The file as the program finds it when it starts and as one write leaves it: a SettingsFile of
// its own for each read and each write.
std::string readValue(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view defaultValue) {
  return SettingsFile(path).read(section, key, defaultValue);
}
bool writeValues(const std::string& path, std::string_view section,
                 const std::vector<std::pair<std::string, std::string>>& values) {
  return SettingsFile(path).write(section, values);
}
bool writeValue(const std::string& path, std::string_view section, std::string_view key,
                std::string_view value) {
  return writeValues(path, section, {{std::string(key), std::string(value)}});
}

// A file as a person might have edited it: comments, blank lines, odd spacing, a line that is
// no entry, a repeated key and a section that appears twice.
constexpr const char* kHandEdited =
    "; KOLVRE settings\r\n\r\n[Parametri]\r\nMaximized=No\r\n  Top = 12   \r\n\r\n"
    "; where the window was\r\nLeft=3\r\nnot an entry\r\nLeft=999\r\n"
    "[Mru]\r\nFile1=/home/a/x.rc\r\n[parametri]\r\nHeight=7\r\n; the end\r\n";

TEST(IniRead, WhatTheFileSays) {
  TempDir dir;
  const std::string f = dir.write("KOLVRE.INI", kHandEdited);
  const std::string empty = dir.write("empty.ini", "[Edit]\nTXT=\n");
  const std::tuple<std::string, const char*, const char*, const char*> rows[] = {
      {f, "PARAMETRI", "top", "12"},    // names in any letter case, blanks trimmed
      {f, "Parametri", "Left", "3"},    // a repeated key gives its first value
      {f, "Parametri", "Height", "7"},  // the section's second appearance counts too
      {f, "Parametri", "Width", "dflt"},
      {f, "Edit", "TXT", "dflt"},
      {f, "Parametri", "not an entry", "dflt"},
      {empty, "Edit", "TXT", ""},  // an empty value is a value
      {dir.file("none.ini"), "Parametri", "Maximized", "dflt"},
      {dir.path().string(), "Parametri", "Maximized", "dflt"},  // a folder, not a file
  };
  for (const auto& [file, section, key, expected] : rows)
    EXPECT_EQ(readValue(file, section, key, "dflt"), expected) << key;
}

TEST(IniWrite, OnlyTheValueOfTheEntryTheReaderFindsChanges) {
  struct Row {
    const char* section;
    const char* key;
    const char* value;
    const char* before;  // in the file
    const char* after;   // "" with `before` marking where a new line goes
  };
  const Row rows[] = {
      {"PARAMETRI", "left", "40", "Left=3\r\n", "Left=40\r\n"},
      {"Parametri", "Top", "5", "  Top = 12   \r\n", "  Top = 5\r\n"},
      {"Parametri", "Height", "8", "Height=7", "Height=8"},
      {"Parametri", "Width", "300", "[Mru]", "Width=300\r\n[Mru]"},
  };
  for (const Row& r : rows) {
    TempDir dir;
    const std::string f = dir.write("KOLVRE.INI", kHandEdited);
    ASSERT_TRUE(writeValue(f, r.section, r.key, r.value)) << r.key;
    std::string expected = kHandEdited;
    expected.replace(expected.find(r.before), std::string_view(r.before).size(), r.after);
    EXPECT_EQ(TempDir::read(f), expected) << r.key;
    EXPECT_EQ(readValue(f, r.section, r.key, ""), r.value) << r.key;
  }
}

TEST(IniWrite, NewEntriesFollowTheFilesLineBreaks) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "[Edit]\nTXT=vi\n"},
      {"[Edit]", "[Edit]\nTXT=vi\n"},
      {"[Edit]\r\nBMP=gimp", "[Edit]\r\nBMP=gimp\r\nTXT=vi\r\n"},
      {"; only a comment", "; only a comment\n[Edit]\nTXT=vi\n"},
      {"[Mru]\r\nFile1=a\r\n", "[Mru]\r\nFile1=a\r\n[Edit]\r\nTXT=vi\r\n"},
      {"[Edit]\n\n; comment\n[Mru]\n", "[Edit]\nTXT=vi\n\n; comment\n[Mru]\n"},
  };
  for (const auto& [before, after] : rows) {
    TempDir dir;
    const std::string f = dir.write("KOLVRE.INI", before);
    ASSERT_TRUE(writeValue(f, "Edit", "TXT", "vi")) << before;
    EXPECT_EQ(TempDir::read(f), after) << before;
  }
}

TEST(IniWrite, ValuesReadBackExactlyInANewFileAndFolder) {
  TempDir dir;
  const std::string f = dir.file("config/kolvre/KOLVRE.INI");
  for (const std::string value : {"Sì", "", "  padded ", "\"quoted\"", "\"", "a=b;c #d"}) {
    ASSERT_TRUE(writeValue(f, "Parametri", "Maximized", value)) << value;
    EXPECT_EQ(readValue(f, "Parametri", "Maximized", "dflt"), value);
  }
  EXPECT_EQ(TempDir::read(f), "[Parametri]\nMaximized=a=b;c #d\n");
}

// Section lines the way people get them wrong. The reader takes a "[" without "]" for a section
// no name reaches, and a "[" with only blanks after it for the start of a name on a later line;
// the write must land where the reader then looks.
TEST(IniWrite, MalformedSectionLinesAreReadAsTheReaderReadsThem) {
  struct Row {
    const char* before;
    const char* section;
    const char* key;
    const char* after;
  };
  const Row rows[] = {
      // A typo: the keys after "[Mru" are in no section, so "Edit" ends at the typo.
      {"[Edit]\nTXT=vi\n[Mru\nFile1=a\n", "Edit", "BMP",
       "[Edit]\nTXT=vi\nBMP=new\n[Mru\nFile1=a\n"},
      // A lone "[" takes the next line as its name, key or not.
      {"[Edit]\n[\nTXT=vi\n", "Edit", "TXT", "[Edit]\nTXT=new\n[\nTXT=vi\n"},
      {"[\nEdit]\nTXT=vi\n", "Edit", "TXT", "[\nEdit]\nTXT=new\n"},
      {"[ \n[Edit]\nTXT=vi\n", "Edit", "TXT", "[ \n[Edit]\nTXT=vi\n[Edit]\nTXT=new\n"},
      // A "[" at the end would take a new section's line as its name: the section goes first.
      {"[Edit]\nTXT=vi\n[", "Mru", "File1", "[Edit]\nTXT=vi\n[Mru]\nFile1=new\n["},
      {"[Edit]\r\nTXT=vi\r\n  [ \r\n\r\n", "Mru", "File1",
       "[Edit]\r\nTXT=vi\r\n[Mru]\r\nFile1=new\r\n  [ \r\n\r\n"},
      {"\xEF\xBB\xBF[", "Edit", "TXT", "\xEF\xBB\xBF[Edit]\nTXT=new\n["},
  };
  for (const Row& r : rows) {
    TempDir dir;
    const std::string f = dir.write("KOLVRE.INI", r.before);
    const std::string otherBefore = readValue(f, "Edit", "TXT", "dflt");
    ASSERT_TRUE(writeValue(f, r.section, r.key, "new")) << r.before;
    EXPECT_EQ(TempDir::read(f), r.after) << r.before;
    EXPECT_EQ(readValue(f, r.section, r.key, "dflt"), "new") << r.before;
    if (std::string_view(r.key) != "TXT") {
      EXPECT_EQ(readValue(f, "Edit", "TXT", "dflt"), otherBefore) << r.before;
    }
  }
}

TEST(IniWrite, FailuresAreReportedNotThrownAndChangeNothing) {
  TempDir dir;
  const std::string f = dir.write("KOLVRE.INI", "[Edit]\nTXT=vi\n");
  const std::string notAFolder = dir.write("plain", "x");
  EXPECT_FALSE(writeValue(notAFolder + "/KOLVRE.INI", "Edit", "TXT", "ed"));
  EXPECT_FALSE(writeValue(dir.path().string(), "Edit", "TXT", "ed"));
  // What cannot be written as one line that reads back.
  EXPECT_FALSE(writeValue(f, "Edit", "TXT", "two\nlines"));
  EXPECT_FALSE(writeValue(f, "Ed]it", "TXT", "ed"));
  EXPECT_FALSE(writeValue(f, "Edit", "T=XT", "ed"));
  EXPECT_FALSE(writeValue(f, "Edit", ";TXT", "ed"));
  EXPECT_EQ(TempDir::read(f), "[Edit]\nTXT=vi\n");

  // The reader stops at a 0x00 byte, so a file holding one is left alone.
  const std::string withNul = "[Edit]\nTXT=vi\n\0\n[Mru]\nFile1=a\n"s;
  const std::string g = dir.write("nul.ini", withNul);
  EXPECT_FALSE(writeValue(g, "Edit", "TXT", "ed"));
  EXPECT_FALSE(writeValue(g, "Mru", "File1", "b"));
  EXPECT_EQ(TempDir::read(g), withNul);
}

using Values = std::vector<std::pair<std::string, std::string>>;

// Several keys in one pass leave the file as the same keys written one at a time: values
// replaced in place, new keys in the order first written, a key written twice (in any letter
// case) once with its last value, refused pairs skipped.
TEST(IniWriteValues, TheFileEndsAsKeyByKeyWritesLeaveIt) {
  struct Row {
    std::string before;  // "-" for no file
    const char* section;
    Values values;
  };
  const Row rows[] = {
      {kHandEdited, "Parametri", {{"Top", "5"}, {"Width", "300"}, {"LEFT", "40"}, {"Top", "6"}}},
      {kHandEdited, "Mru", {{"File2", "/b"}, {"File1", "\"q\""}, {"File3", "  c "}}},
      {kHandEdited, "Edit", {{"TXT", "vi"}, {"txt", "ed"}, {"BMP", "gimp"}}},
      {"-", "Parametri", {{"Top", "1"}, {"Left", "2"}}},
      {"[Parametri]\r\nTop=1", "Parametri", {{"Left", "2"}, {"Width", "3"}}},
      {"[Edit]\nTXT=vi\n[", "Mru", {{"File1", "a"}, {"File2", "b"}}},
      {kHandEdited, "Parametri", {{"Top", "12"}}},  // already so
      {kHandEdited, "Parametri", {{"Top", "5"}, {"T=op", "6"}, {"Left", "a\nb"}, {"Width", "7"}}},
      {kHandEdited, "Para]metri", {{"Top", "5"}}},
      {kHandEdited, "Parametri", {}},
  };
  for (const Row& r : rows) {
    TempDir oneByOne;
    TempDir batch;
    const std::string a = oneByOne.file("KOLVRE.INI");
    const std::string b = batch.file("KOLVRE.INI");
    if (r.before != "-") {
      oneByOne.write("KOLVRE.INI", r.before);
      batch.write("KOLVRE.INI", r.before);
    }
    bool allWritten = true;
    for (const auto& [key, value] : r.values)
      allWritten = writeValue(a, r.section, key, value) && allWritten;
    EXPECT_EQ(writeValues(b, r.section, r.values), allWritten) << r.before;
    EXPECT_EQ(std::filesystem::exists(b), std::filesystem::exists(a)) << r.before;
    EXPECT_EQ(TempDir::read(b), TempDir::read(a)) << r.before;
  }
}

TEST(IniWriteValues, AFileThatCannotBeWrittenIsLeftWhole) {
  TempDir dir;
  const Values values = {{"TXT", "ed"}, {"BMP", "gimp"}};
  const std::string withNul = "[Edit]\nTXT=vi\n\0\n[Mru]\nFile1=a\n"s;
  const std::string g = dir.write("nul.ini", withNul);
  EXPECT_FALSE(writeValues(g, "Edit", values));
  EXPECT_EQ(TempDir::read(g), withNul);

  const std::string notAFolder = dir.write("plain", "x");
  EXPECT_FALSE(writeValues(notAFolder + "/KOLVRE.INI", "Edit", values));
  EXPECT_EQ(TempDir::read(notAFolder), "x");
  EXPECT_FALSE(writeValues(dir.path().string(), "Edit", values));
  EXPECT_FALSE(writeValues("", "Edit", values));
}

// The settings held in memory: read once, never from the disk again on a read; written through,
// taking in what another program wrote meanwhile; the file is the truth after a failed write.
TEST(SettingsFile, ReadOnceWrittenThrough) {
  TempDir dir;
  const std::string f = dir.write("KOLVRE.INI", kHandEdited);
  SettingsFile settings(f);
  EXPECT_EQ(settings.read("parametri", "TOP", "d"), "12");  // as a fresh reading reads
  EXPECT_EQ(settings.read("Parametri", "Left", "d"), "3");
  EXPECT_EQ(settings.read("Parametri", "Height", "d"), "7");

  // Another program changes the file: reads keep what was read until this process writes.
  dir.write("KOLVRE.INI", "[Parametri]\r\nTop=40\r\n[Edit]\r\nTXT=vi\r\n");
  EXPECT_EQ(settings.read("Parametri", "Top", "d"), "12");
  EXPECT_EQ(settings.read("Edit", "TXT", "d"), "d");

  // A write goes to the file at once, over the file as it is now, and reads see both.
  ASSERT_TRUE(settings.write("Parametri", {{"Left", "5"}, {"Width", "640"}}));
  EXPECT_EQ(TempDir::read(f),
            "[Parametri]\r\nTop=40\r\nLeft=5\r\nWidth=640\r\n[Edit]\r\nTXT=vi\r\n");
  EXPECT_EQ(settings.read("Parametri", "Left", "d"), "5");
  EXPECT_EQ(settings.read("Parametri", "Top", "d"), "40");
  EXPECT_EQ(settings.read("Edit", "TXT", "d"), "vi");

  // A file that is gone reads as empty; a write creates it.
  SettingsFile fresh(dir.file("new/KOLVRE.INI"));
  EXPECT_EQ(fresh.read("Mru", "File1", "none"), "none");
  ASSERT_TRUE(fresh.write("Mru", {{"File1", "/a.rc"}}));
  EXPECT_EQ(fresh.read("mru", "file1", "none"), "/a.rc");
  EXPECT_EQ(TempDir::read(dir.file("new/KOLVRE.INI")), "[Mru]\nFile1=/a.rc\n");
}

TEST(SettingsFile, AFailedWriteLeavesReadsAsTheFileIs) {
  TempDir dir;
  const std::string withNul = "[Edit]\nTXT=vi\n\0\n[Mru]\nFile1=a\n"s;
  const std::string f = dir.write("KOLVRE.INI", withNul);
  SettingsFile settings(f);
  EXPECT_FALSE(settings.write("Edit", {{"TXT", "ed"}}));
  EXPECT_EQ(settings.read("Edit", "TXT", "d"), "vi");
  EXPECT_EQ(TempDir::read(f), withNul);

  const std::string plain = dir.write("plain", "x");
  SettingsFile nowhere(plain + "/KOLVRE.INI");
  EXPECT_FALSE(nowhere.write("Edit", {{"TXT", "ed"}}));
  EXPECT_EQ(nowhere.read("Edit", "TXT", "d"), "d");
}

// The replacement keeps what a saved script keeps: the file's permissions, a symbolic link as
// a link to the file it names, and no temporary file left in the folder.
TEST(IniWriteValues, TheReplacementKeepsTheFilesModeAndLinks) {
  TempDir dir;
  const std::string real = dir.write("real.ini", "[Mru]\nFile1=a\n");
  std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  const std::string link = dir.file("KOLVRE.INI");
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(writeValues(link, "Mru", {{"File1", "b"}, {"File2", "a"}}));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TempDir::read(real), "[Mru]\nFile1=b\nFile2=a\n");
  EXPECT_EQ(std::filesystem::status(real).permissions(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_read);
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2);
}

TEST(SettingsPath, ChoiceInOrder) {
  TempDir dir;
  const std::string beside = dir.file("KOLVRE.INI");
  const std::string home = "/home/u/.config/kolvre/KOLVRE.INI";
  struct Row {
    std::map<std::string, std::string> variables;
    bool writable;
    std::string expected;
  };
  const Row rows[] = {
      {{{"KOLVRE_INI", "/etc/k.ini"}, {"HOME", "/home/u"}}, true, "/etc/k.ini"},
      // A relative name is fixed now: commands change the current folder later.
      {{{"KOLVRE_INI", "k.ini"}}, true, (std::filesystem::current_path() / "k.ini").string()},
      {{{"KOLVRE_INI", ""}, {"HOME", "/home/u"}}, true, beside},
      {{{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, false, "/cfg/kolvre/KOLVRE.INI"},
      {{{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}}, false, home},
      {{{"HOME", "/home/u"}}, false, home},
      {{}, false, beside},
  };
  for (const Row& r : rows) {
    SettingsEnvironment env;
    env.variable = [&](const char* name) -> std::optional<std::string> {
      const auto it = r.variables.find(name);
      return it == r.variables.end() ? std::nullopt : std::optional(it->second);
    };
    env.folderWritable = [&](const std::string&) { return r.writable; };
    EXPECT_EQ(settingsFilePath(dir.path().string(), env), r.expected) << r.expected;
    if (r.expected == home) {
      // A file already beside the executable wins even in a folder that is not writable.
      dir.write("KOLVRE.INI", "");
      EXPECT_EQ(settingsFilePath(dir.path().string(), env), beside);
      std::filesystem::remove(beside);
    }
  }
}

}  // namespace
}  // namespace kolvre
