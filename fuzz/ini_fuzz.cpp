// Fuzzes the settings file: reading keys from arbitrary file bytes and setting one key. The
// input is one byte n, n bytes of command and then the file's bytes (no bytes: no file). The
// command holds, separated by 0x00 bytes, the section, key and value to write and the section
// and key of a second, unrelated entry; missing parts are "Edit", "TXT", "" and the section and
// "BMP". Any broken rule stops the run with the rule's description on standard error.
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_file.h"

#include "fuzz_check.h"

namespace {

using namespace kolvre;

void require(const std::string& violation, const char* rule) {
  fuzzing::require("settings", violation, rule);
}

using fuzzing::unless;

std::string shown(std::string_view s) {
  std::string out;
  for (unsigned char c : s.substr(0, 60)) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return '"' + out + (s.size() > 60 ? "\"..." : "\"");
}

// No value can hold a 0x00 byte, so this default is never a value read from the file.
constexpr std::string_view kAbsent("\0absent", 7);

// One folder for the whole run, removed when the process ends normally.
class WorkFolder {
 public:
  WorkFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kolvre-ini-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
  }
  ~WorkFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  std::string file() const { return (folder_ / kSettingsFileName).string(); }

 private:
  std::filesystem::path folder_;
};

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// A name or value that needs no care in a settings file: nothing a line, a section, an entry
// or a comment is made of, and no blanks at either end.
bool plain(std::string_view s, bool emptyAllowed) {
  if (s.empty()) return emptyAllowed;
  if (s.find_first_of(std::string_view("\r\n\0=[];#\"", 10)) != std::string_view::npos)
    return false;
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !blank(s.front()) && !blank(s.back());
}

// The lines of a file, each with its line break (CR LF, CR or LF; none on a last line).
std::vector<std::string_view> splitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos)
      end = bytes.size();
    else
      end += bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end;
  }
  return lines;
}

std::string_view withoutBreak(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

bool isBreak(char c) {
  return c == '\r' || c == '\n';
}

// The length of the line break at the start of `s`: 2 for CR LF, 1 for CR or LF, else 0.
std::size_t breakAt(std::string_view s) {
  if (s.starts_with("\r\n")) return 2;
  return !s.empty() && isBreak(s.front()) ? 1 : 0;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// True when `added`, put into `before` at `at`, is one new entry: at a line start (the first
// line starts after a UTF-8 byte order mark; at the end of a file whose last line has no line
// break, after one), an optional "[section]" line, then one "key=" line with its line break.
bool isNewEntry(std::string_view before, std::size_t at, std::string_view added,
                std::string_view section, std::string_view key) {
  const bool lineStart = at == 0 || (at == 3 && before.starts_with("\xEF\xBB\xBF")) ||
                         (isBreak(before[at - 1]) && !before.substr(at - 1).starts_with("\r\n"));
  // A file of only a byte order mark both ends in a line without a line break and has a line
  // start at its end: the entry may come with or without a line break in front.
  if (at == before.size() && !before.empty() && !isBreak(before.back()) && breakAt(added) != 0)
    added.remove_prefix(breakAt(added));
  else if (!lineStart)
    return false;
  const std::string header = "[" + std::string(section) + "]";
  if (added.starts_with(header) && breakAt(added.substr(header.size())) != 0)
    added.remove_prefix(header.size() + breakAt(added.substr(header.size())));
  if (!added.starts_with(std::string(key) + "=")) return false;
  const std::size_t end = added.find_first_of("\r\n");
  return end != std::string_view::npos && end + breakAt(added.substr(end)) == added.size();
}

// Between the file before and after setting `key` of `section`, either nothing changed, or
// bytes after the "=" of one line that names `key` changed within that line, or one new entry
// (isNewEntry) was put in. Every other byte stays as it was.
std::string checkOneEntryChanged(std::string_view before, std::string_view after,
                                 std::string_view section, std::string_view key) {
  const std::size_t n = before.size();
  const std::size_t m = after.size();
  std::size_t same = 0;  // bytes alike at the start
  while (same < n && same < m && before[same] == after[same]) ++same;
  std::size_t sameEnd = 0;  // bytes alike at the end, not counted twice
  while (sameEnd < n - same && sameEnd < m - same &&
         before[n - 1 - sameEnd] == after[m - 1 - sameEnd])
    ++sameEnd;
  if (same == n && same == m) return {};
  const std::string_view removed = before.substr(same, n - sameEnd - same);
  const std::string_view put = after.substr(same, m - sameEnd - same);

  if (removed.find_first_of("\r\n") == std::string_view::npos &&
      put.find_first_of("\r\n") == std::string_view::npos) {
    std::size_t lineStart = 0;  // the line the change is in, or the last line
    for (std::string_view line : splitLines(before)) {
      if (same < lineStart + line.size()) break;
      if (lineStart + line.size() == n) break;
      lineStart += line.size();
    }
    const std::string_view content = withoutBreak(before.substr(lineStart, same - lineStart + 1));
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos || lineStart + equals >= same)
      return "changed before the \"=\" of its line: " + shown(removed) + " became " + shown(put);
    if (!sameName(trimBlanks(content.substr(0, equals)), key))
      return "the value of another key changed: " + shown(content);
    return {};
  }

  if (!removed.empty()) return "removed " + shown(removed);
  // Where the new text went in is not fixed when it repeats what stands around it: try each
  // place that fits, from the first after which the rest of the file is alike.
  std::size_t tail = 0;
  while (tail < n && before[n - 1 - tail] == after[m - 1 - tail]) ++tail;
  const std::size_t length = m - n;
  for (std::size_t at = n - tail; at <= same && at <= n; ++at)
    if (isNewEntry(before, at, after.substr(at, length), section, key)) return {};
  return "added " + shown(put) + ", which is not one entry";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const WorkFolder folder;
  static const std::string path = folder.file();

  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t commandSize = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
  std::string_view command = input.substr(input.empty() ? 0 : 1).substr(0, commandSize);
  const std::string_view file = input.substr(std::min(input.size(), 1 + command.size()));
  // Every part ends at a 0x00 byte (names are passed on as C strings); parts after the fifth
  // are left unused.
  std::vector<std::string> parts;
  for (std::size_t nul = command.find('\0'); nul != std::string_view::npos;
       nul = command.find('\0')) {
    parts.emplace_back(command.substr(0, nul));
    command.remove_prefix(nul + 1);
  }
  parts.emplace_back(command);
  const std::string section = parts.size() > 0 ? parts[0] : "Edit";
  const std::string key = parts.size() > 1 ? parts[1] : "TXT";
  const std::string value = parts.size() > 2 ? parts[2] : "";
  const std::string otherSection = parts.size() > 3 ? parts[3] : section;
  const std::string otherKey = parts.size() > 4 ? parts[4] : "BMP";
  const bool other = !(sameName(otherSection, section) && sameName(otherKey, key));

  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (!file.empty()) std::ofstream(path, std::ios::binary) << file;

  // A reading of its own for every read and the write, as the program finds the file when it
  // starts.
  const auto read = [&](const std::string& s, const std::string& k) {
    return SettingsFile(path).read(s, k, kAbsent);
  };
  read(section, key);
  const std::string otherBefore = read(otherSection, otherKey);
  const bool written = SettingsFile(path).write(section, {{key, value}});
  const std::string after = readAll(path);

  const bool lineBreakOrNul =
      value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
  require(unless(!written || !lineBreakOrNul, "value " + shown(value) + " written"),
          "one-line values only");
  // The reader stops at the first 0x00 byte, so the writer leaves a file holding one alone.
  const bool fileHasNul = file.find('\0') != std::string_view::npos;
  require(unless(!written || !fileHasNul, "file with a 0x00 byte written"),
          "files with a 0x00 byte are left alone");
  require(unless(written || fileHasNul ||
                     !(plain(section, false) && plain(key, false) && plain(value, true)),
                 "write refused"),
          "plain entries are written");
  if (!written) {
    require(unless(after == file && std::filesystem::exists(path) == !file.empty(), "file changed"),
            "a refused write changes nothing");
    return 0;
  }
  require(checkOneEntryChanged(file, after, section, key), "one entry changed");
  const std::string back = read(section, key);
  require(unless(back == value, shown(section) + " " + shown(key) + " reads " + shown(back) +
                                    " after writing " + shown(value)),
          "value reads back");
  if (other) {
    const std::string otherAfter = read(otherSection, otherKey);
    require(
        unless(otherAfter == otherBefore, shown(otherSection) + " " + shown(otherKey) + " was " +
                                              shown(otherBefore) + ", is " + shown(otherAfter)),
        "other entries stay");
  }
  return 0;
}
