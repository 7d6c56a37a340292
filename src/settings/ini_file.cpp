#include "settings/ini_file.h"

#include "base/text.h"

// SimpleIni reads the file. Its bytes are taken as they are (no code-page conversion, so
// UTF-8 and ANSI values alike reach the caller unchanged), and the Debian build of the header
// keeps its template bodies behind SI_IMPLEMENTATION.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "document/script_file.h"

namespace kolvre {

namespace {

namespace fs = std::filesystem;

// The file's bytes; nothing when it exists but cannot be read (empty when it does not exist).
std::optional<std::string> loadBytes(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return std::string();
  if (ec || status.type() == fs::file_type::directory) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool isLineBreak(char c) {
  return c == '\r' || c == '\n';
}

bool sameName(std::string_view a, std::string_view b) {
  return equalsIgnoringCase(a, b);
}

// One entry of the file as the reader finds it. Offsets are into the whole file.
struct IniEntry {
  enum Kind {
    Section,      // "[name]": the keys that follow belong to `name`
    OpenSection,  // a "[" that no "]" closes: the keys that follow belong to no section
    Key,          // "name=value"
  } kind = Key;
  // Sections and keys: the name, blanks trimmed. Open sections: the text read as the name, empty
  // when only blanks and line breaks follow the "[" up to the end of the file.
  std::string_view name;
  std::size_t lineBegin = 0;   // start of the line the entry begins on
  std::size_t valueBegin = 0;  // keys: after "=" and the blanks that follow it
  std::size_t contentEnd = 0;  // sections and keys: where the line break starts
  std::size_t end = 0;         // sections and keys: after the line break of the entry's last line
};

// The entries of `bytes`, which holds no 0x00 byte (the reader stops at the first one), found
// as the reader finds them. CR LF, CR or LF end a line. Reading skips blanks and line breaks,
// then looks at the first other byte:
// - ";" or "#" starts a comment that runs to the end of its line;
// - "[" starts a section. Its name begins after the blanks *and line breaks* that follow, so a
//   "[" alone on its line takes its name from the next line that is not blank, and the name
//   runs to "]" (blanks around it dropped, the rest of that line ignored). When a line break or
//   the end of the file comes before any "]", the section is open: the line the name was looked
//   for on is taken up by it (even when it reads like a key), and the keys after it, up to the
//   next section, are filed under a name that holds a line break, which no lookup matches;
// - anything else is "name=value" with a non-empty name, or a line without "=" that is ignored.
std::vector<IniEntry> scanEntries(std::string_view bytes) {
  const std::size_t size = bytes.size();
  const auto lineEnd = [&](std::size_t at) {
    while (at < size && !isLineBreak(bytes[at])) ++at;
    return at;
  };
  const auto afterBreak = [&](std::size_t at) {
    if (at < size) at += bytes.compare(at, 2, "\r\n") == 0 ? 2 : 1;
    return at;
  };

  std::vector<IniEntry> entries;
  std::size_t pos = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  std::size_t lineBegin = pos;
  for (;;) {
    while (pos < size && (isBlank(bytes[pos]) || isLineBreak(bytes[pos]))) {
      if (isBlank(bytes[pos])) {
        ++pos;
      } else {
        pos = afterBreak(pos);
        lineBegin = pos;
      }
    }
    if (pos == size) break;

    IniEntry entry;
    entry.lineBegin = lineBegin;
    const char first = bytes[pos];
    if (first == ';' || first == '#') {
      pos = lineEnd(pos);
      continue;
    }
    if (first == '[') {
      std::size_t name = pos + 1;
      while (name < size && (isBlank(bytes[name]) || isLineBreak(bytes[name]))) ++name;
      std::size_t close = name;
      while (close < size && bytes[close] != ']' && !isLineBreak(bytes[close])) ++close;
      if (close == size || bytes[close] != ']') {
        entry.kind = IniEntry::OpenSection;
        entry.name = bytes.substr(name, close - name);
        pos = close;
      } else {
        entry.kind = IniEntry::Section;
        entry.name = trimBlanks(bytes.substr(name, close - name));
        entry.contentEnd = lineEnd(close);
        entry.end = afterBreak(entry.contentEnd);
        pos = entry.contentEnd;
      }
      entries.push_back(entry);
      continue;
    }
    std::size_t equals = pos;
    while (equals < size && bytes[equals] != '=' && !isLineBreak(bytes[equals])) ++equals;
    if (equals == size || bytes[equals] != '=') {
      pos = equals;  // no "=": not an entry
      continue;
    }
    if (equals == pos) {
      pos = lineEnd(pos);  // no name: not an entry
      continue;
    }
    entry.kind = IniEntry::Key;
    entry.name = trimBlanks(bytes.substr(pos, equals - pos));
    std::size_t value = equals + 1;
    while (value < size && isBlank(bytes[value])) ++value;
    entry.valueBegin = value;
    entry.contentEnd = lineEnd(value);
    entry.end = afterBreak(entry.contentEnd);
    entries.push_back(entry);
    pos = entry.contentEnd;
  }
  return entries;
}

// The line break the file already uses; LF for a file that has none yet.
std::string_view lineBreakOf(std::string_view bytes) {
  const std::size_t at = bytes.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\n";
  if (bytes[at] == '\n') return "\n";
  return bytes.compare(at, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

bool hasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool writableSection(std::string_view s) {
  return !s.empty() && trimBlanks(s) == s && s.find(']') == std::string_view::npos &&
         !hasLineBreakOrNul(s);
}

bool writableKey(std::string_view k) {
  return !k.empty() && trimBlanks(k) == k && k.find('=') == std::string_view::npos && k[0] != ';' &&
         k[0] != '#' && k[0] != '[' && !hasLineBreakOrNul(k);
}

// The value as written: quoted when the reader would otherwise trim blanks or drop quotes.
std::string valueText(std::string_view value) {
  const bool blankEnds = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (blankEnds || quoted) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

// The file's bytes with `key` of `section` set to `value`. `bytes` holds no 0x00 byte.
std::string withValue(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value) {
  const std::string_view nl = lineBreakOf(bytes);
  const std::vector<IniEntry> entries = scanEntries(bytes);
  bool inSection = false;
  bool seenSection = false;
  bool inFirstSection = false;
  std::size_t insertAt = 0;  // end of the header or last key line of the first occurrence
  for (const IniEntry& entry : entries) {
    if (entry.kind == IniEntry::Section) {
      inSection = sameName(entry.name, section);
      inFirstSection = inSection && !seenSection;
      if (inFirstSection) insertAt = entry.end;
      seenSection = seenSection || inSection;
    } else if (entry.kind == IniEntry::OpenSection) {
      inSection = false;
      inFirstSection = false;
    } else if (inSection) {
      if (sameName(entry.name, key)) {
        std::string out(bytes.substr(0, entry.valueBegin));
        out += valueText(value);
        out += bytes.substr(entry.contentEnd);
        return out;
      }
      if (inFirstSection) insertAt = entry.end;
    }
  }

  std::string entry = std::string(key) + "=" + valueText(value) + std::string(nl);
  std::string out(bytes);
  if (!seenSection) {
    const std::string header = "[" + std::string(section) + "]" + std::string(nl);
    // After a "[" followed by nothing but blanks and line breaks the reader would take the new
    // header line for the name of that section: the new section goes in before that line.
    if (!entries.empty() && entries.back().kind == IniEntry::OpenSection &&
        entries.back().name.empty()) {
      out.insert(entries.back().lineBegin, header + entry);
      return out;
    }
    if (!out.empty() && !isLineBreak(out.back())) out += nl;
    out += header + entry;
    return out;
  }
  // The line the entry follows may be the file's last one, without a line break.
  if (insertAt == out.size() && !out.empty() && !isLineBreak(out.back())) entry.insert(0, nl);
  out.insert(insertAt, entry);
  return out;
}

// Rewrites the file in place: the fallback when its folder does not allow the safe
// replacement but the file itself may be written.
bool overwriteInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = true;
  while (ok && !bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return ::close(fd) == 0 && ok;
}

}  // namespace

namespace {

// Reads `bytes` as the settings file: nothing when they do not read as one.
std::unique_ptr<CSimpleIniA> parsed(std::string_view bytes) {
  auto ini = std::make_unique<CSimpleIniA>(/*isUtf8=*/false, /*multiKey=*/true,
                                           /*multiLine=*/false);
  ini->SetQuotes(true);
  if (bytes.empty() || ini->LoadData(bytes.data(), bytes.size()) < 0) return nullptr;
  return ini;
}

std::string valueIn(const CSimpleIniA* ini, std::string_view section, std::string_view key,
                    std::string_view defaultValue) {
  const char* value =
      ini ? ini->GetValue(std::string(section).c_str(), std::string(key).c_str()) : nullptr;
  return value ? std::string(value) : std::string(defaultValue);
}

// SettingsFile::write, giving back in `fileNow` what the file holds afterwards as far as this write
// knows (its bytes as read, with the values written when the write succeeded). `fileNow` is left
// alone when the file could not be read.
bool writeValues(const std::string& path, std::string_view section,
                 const std::vector<std::pair<std::string, std::string>>& values,
                 std::string& fileNow) {
  if (values.empty()) return true;
  if (path.empty() || !writableSection(section)) return false;
  const auto writable = [](const std::pair<std::string, std::string>& kv) {
    return writableKey(kv.first) && !hasLineBreakOrNul(kv.second);
  };
  const bool allWritable = std::all_of(values.begin(), values.end(), writable);
  if (std::none_of(values.begin(), values.end(), writable)) return false;
  const std::optional<std::string> bytes = loadBytes(path);
  if (!bytes) return false;  // an unreadable file is never replaced
  fileNow = *bytes;
  // The reader stops at the first 0x00 byte: what the file holds after it cannot be read back.
  if (bytes->find('\0') != std::string::npos) return false;
  std::string updated = *bytes;
  for (const auto& kv : values)
    if (writable(kv)) updated = withValue(updated, section, kv.first, kv.second);
  if (updated == *bytes) return allWritable;  // already so: nothing to write

  std::error_code ec;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);
  const bool written =
      writeFileSafely(path, updated, Flush::Later) == 0 ||
      (fileExists(path) && ::access(path.c_str(), W_OK) == 0 && overwriteInPlace(path, updated));
  if (written) fileNow = std::move(updated);
  return written && allWritable;
}

}  // namespace

struct SettingsFile::Reading {
  std::unique_ptr<CSimpleIniA> ini;
};

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {
  if (std::optional<std::string> bytes = loadBytes(path_)) bytes_ = std::move(*bytes);
}

SettingsFile::~SettingsFile() = default;

std::string SettingsFile::read(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
  if (!reading_) reading_ = std::make_unique<Reading>(Reading{parsed(bytes_)});
  return valueIn(reading_->ini.get(), section, key, defaultValue);
}

bool SettingsFile::write(std::string_view section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  std::string fileNow = bytes_;
  const bool written = writeValues(path_, section, values, fileNow);
  if (fileNow != bytes_) {
    bytes_ = std::move(fileNow);
    reading_.reset();  // read again from the new bytes when next asked
  }
  return written;
}

SettingsEnvironment processEnvironment() {
  SettingsEnvironment env;
  env.variable = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
  };
  env.folderWritable = [](const std::string& folder) {
    return isDirectory(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
  };
  return env;
}

std::string settingsFilePath(const std::string& executableDir, const SettingsEnvironment& env) {
  const auto variable = [&](const char* name) {
    return env.variable ? env.variable(name).value_or("") : std::string();
  };
  if (const std::string named = variable("KOLVRE_INI"); !named.empty()) return fullPath(named);

  const std::string besideExecutable =
      fullPath((fs::path(executableDir) / kSettingsFileName).string());
  if (!executableDir.empty() &&
      (fileExists(besideExecutable) || (env.folderWritable && env.folderWritable(executableDir))))
    return besideExecutable;

  fs::path config(variable("XDG_CONFIG_HOME"));
  if (!config.is_absolute()) {
    const std::string home = variable("HOME");
    // Without a home folder there is nowhere better than beside the executable.
    if (home.empty()) return besideExecutable;
    config = fs::path(home) / ".config";
  }
  return (config / "kolvre" / kSettingsFileName).string();
}

}  // namespace kolvre
