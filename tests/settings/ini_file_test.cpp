#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/temp_dir.h"

namespace kolvre {
namespace {

using namespace std::string_literals;
using testing::TempDir;

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
    EXPECT_EQ(readIniValue(file, section, key, "dflt"), expected) << key;
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
    ASSERT_TRUE(writeIniValue(f, r.section, r.key, r.value)) << r.key;
    std::string expected = kHandEdited;
    expected.replace(expected.find(r.before), std::string_view(r.before).size(), r.after);
    EXPECT_EQ(TempDir::read(f), expected) << r.key;
    EXPECT_EQ(readIniValue(f, r.section, r.key, ""), r.value) << r.key;
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
    ASSERT_TRUE(writeIniValue(f, "Edit", "TXT", "vi")) << before;
    EXPECT_EQ(TempDir::read(f), after) << before;
  }
}

TEST(IniWrite, ValuesReadBackExactlyInANewFileAndFolder) {
  TempDir dir;
  const std::string f = dir.file("config/kolvre/KOLVRE.INI");
  for (const std::string value : {"Sì", "", "  padded ", "\"quoted\"", "\"", "a=b;c #d"}) {
    ASSERT_TRUE(writeIniValue(f, "Parametri", "Maximized", value)) << value;
    EXPECT_EQ(readIniValue(f, "Parametri", "Maximized", "dflt"), value);
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
    const std::string otherBefore = readIniValue(f, "Edit", "TXT", "dflt");
    ASSERT_TRUE(writeIniValue(f, r.section, r.key, "new")) << r.before;
    EXPECT_EQ(TempDir::read(f), r.after) << r.before;
    EXPECT_EQ(readIniValue(f, r.section, r.key, "dflt"), "new") << r.before;
    if (std::string_view(r.key) != "TXT") {
      EXPECT_EQ(readIniValue(f, "Edit", "TXT", "dflt"), otherBefore) << r.before;
    }
  }
}

TEST(IniWrite, FailuresAreReportedNotThrownAndChangeNothing) {
  TempDir dir;
  const std::string f = dir.write("KOLVRE.INI", "[Edit]\nTXT=vi\n");
  const std::string notAFolder = dir.write("plain", "x");
  EXPECT_FALSE(writeIniValue(notAFolder + "/KOLVRE.INI", "Edit", "TXT", "ed"));
  EXPECT_FALSE(writeIniValue(dir.path().string(), "Edit", "TXT", "ed"));
  // What cannot be written as one line that reads back.
  EXPECT_FALSE(writeIniValue(f, "Edit", "TXT", "two\nlines"));
  EXPECT_FALSE(writeIniValue(f, "Ed]it", "TXT", "ed"));
  EXPECT_FALSE(writeIniValue(f, "Edit", "T=XT", "ed"));
  EXPECT_FALSE(writeIniValue(f, "Edit", ";TXT", "ed"));
  EXPECT_EQ(TempDir::read(f), "[Edit]\nTXT=vi\n");

  // The reader stops at a 0x00 byte, so a file holding one is left alone.
  const std::string withNul = "[Edit]\nTXT=vi\n\0\n[Mru]\nFile1=a\n"s;
  const std::string g = dir.write("nul.ini", withNul);
  EXPECT_FALSE(writeIniValue(g, "Edit", "TXT", "ed"));
  EXPECT_FALSE(writeIniValue(g, "Mru", "File1", "b"));
  EXPECT_EQ(TempDir::read(g), withNul);
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
