// The settings file "KOLVRE.INI", private-profile style: one key read at a time, one key or
// several keys of a section written at a time.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolvre {

inline constexpr std::string_view kSettingsFileName = "KOLVRE.INI";

// The settings file held in memory: read once when made, each write written through to the file
// at once and kept. Reads never touch the disk: they give what the file held when it was read,
// with this process's writes. A write reads the file first, so that a change another program
// made to other keys meanwhile is kept, and from then on reads see that too.
class SettingsFile {
 public:
  explicit SettingsFile(std::string path);
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  const std::string& path() const { return path_; }

  // The value of `key` in `section`, names matched without regard to ASCII letter case. Blanks
  // around the value and one pair of double quotes around it are dropped; a key that appears
  // more than once gives its first value. A missing or unreadable file, or a missing key, gives
  // `defaultValue`; a key written with nothing after "=" gives "".
  std::string read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;

  // Sets each pair (key, value) of `section` in turn, in one read and one write of the file, so
  // that the file ends as the same writes made one at a time would leave it. A value is UTF-8,
  // one line. Sections and keys are found exactly where `read` finds them, also in a file with
  // a malformed section line. Only the value part of the key's first line changes; a missing
  // key is added after the last key of the section's first occurrence, a missing section at the
  // end of the file (before a last line with a "[" that only blanks and line breaks follow,
  // which would otherwise take the new section's line for its name), a missing file (and its
  // folder) is created. Every other byte of the file stays as it was. A value with blanks at
  // either end, or wrapped in double quotes, is written inside double quotes so that it reads
  // back exactly. A pair whose name or value cannot be written as one line is skipped and the
  // others are written. Returns false when a pair was skipped or nothing could be written: the
  // file cannot be written, or holds a 0x00 byte (reading stops there, so nothing after it
  // would read back); the file is then left as it was. The file is replaced through a
  // temporary file in its folder and a rename, without waiting for the disk.
  [[nodiscard]] bool write(std::string_view section,
                           const std::vector<std::pair<std::string, std::string>>& values);

 private:
  struct Reading;
  std::string path_;
  std::string bytes_;                         // the file as last read or written
  mutable std::unique_ptr<Reading> reading_;  // bytes_ read as settings, made on first use
};

// What the choice of the settings file needs to know of the process's surroundings.
struct SettingsEnvironment {
  // The value of an environment variable, nothing when unset.
  std::function<std::optional<std::string>(const char*)> variable;
  // True when files can be created in the folder.
  std::function<bool(const std::string&)> folderWritable;
};

// The real environment and file system.
SettingsEnvironment processEnvironment();

// The settings file: the one named by the environment variable KOLVRE_INI (made absolute now,
// as commands may change the current folder later); else "KOLVRE.INI" in `executableDir` when
// that folder already holds it or is writable; else "kolvre/KOLVRE.INI" under
// $XDG_CONFIG_HOME, or under ~/.config when that is unset, empty or not absolute.
std::string settingsFilePath(const std::string& executableDir, const SettingsEnvironment& env);

}  // namespace kolvre
