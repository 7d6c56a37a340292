#include "platform/ini_file.h"

// SimpleIni reads the file. Its bytes are taken as they are (no code-page conversion, so
// UTF-8 and ANSI values alike reach the caller unchanged), and the Debian build of the header
// keeps its template bodies behind SI_IMPLEMENTATION.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineBreak(char c) {
  return c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One line of the file as the reader classifies it. Offsets are into the whole file.
struct IniLine {
  enum Kind { Other, Section, Key } kind = Other;
  std::string_view name;       // section or key name, blanks trimmed
  std::size_t valueBegin = 0;  // key lines: after "=" and the blanks that follow it
  std::size_t contentEnd = 0;  // where the line break starts
  std::size_t end = 0;         // after the line break
};

// The lines of `bytes` read by the same rules as the reader: CR LF, CR or LF end a line; blanks
// lead; ";" or "#" starts a comment; "[name]" (anything after "]" ignored) opens a section, a
// "[" without "]" is ignored; "name=value" with a non-empty name is a key; anything else is
// ignored.
std::vector<IniLine> scanLines(std::string_view bytes) {
  std::vector<IniLine> lines;
  std::size_t pos = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (pos < bytes.size()) {
    IniLine line;
    std::size_t end = pos;
    while (end < bytes.size() && !isLineBreak(bytes[end])) ++end;
    line.contentEnd = end;
    if (end < bytes.size()) end += bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    line.end = end;

    const std::string_view content = bytes.substr(pos, line.contentEnd - pos);
    std::size_t lead = 0;
    while (lead < content.size() && isBlank(content[lead])) ++lead;
    const std::string_view text = content.substr(lead);
    if (text.starts_with('[')) {
      const std::size_t close = text.find(']');
      if (close != std::string_view::npos) {
        line.kind = IniLine::Section;
        line.name = trimmed(text.substr(1, close - 1));
      }
    } else if (!text.empty() && text[0] != ';' && text[0] != '#') {
      const std::size_t equals = text.find('=');
      if (equals != std::string_view::npos && equals > 0) {
        line.kind = IniLine::Key;
        line.name = trimmed(text.substr(0, equals));
        std::size_t value = pos + lead + equals + 1;
        while (value < line.contentEnd && isBlank(bytes[value])) ++value;
        line.valueBegin = value;
      }
    }
    lines.push_back(line);
    pos = end;
  }
  return lines;
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
  return !s.empty() && trimmed(s) == s && s.find(']') == std::string_view::npos &&
         !hasLineBreakOrNul(s);
}

bool writableKey(std::string_view k) {
  return !k.empty() && trimmed(k) == k && k.find('=') == std::string_view::npos && k[0] != ';' &&
         k[0] != '#' && k[0] != '[' && !hasLineBreakOrNul(k);
}

// The value as written: quoted when the reader would otherwise trim blanks or drop quotes.
std::string valueText(std::string_view value) {
  const bool blankEnds = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (blankEnds || quoted) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

// The file's bytes with `key` of `section` set to `value`.
std::string withValue(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value) {
  const std::string_view nl = lineBreakOf(bytes);
  const std::vector<IniLine> lines = scanLines(bytes);
  bool inSection = false;
  bool seenSection = false;
  bool inFirstSection = false;
  std::size_t insertAt = 0;  // end of the header or last key line of the first occurrence
  for (const IniLine& line : lines) {
    if (line.kind == IniLine::Section) {
      inSection = sameName(line.name, section);
      inFirstSection = inSection && !seenSection;
      if (inFirstSection) insertAt = line.end;
      seenSection = seenSection || inSection;
    } else if (line.kind == IniLine::Key && inSection) {
      if (sameName(line.name, key)) {
        std::string out(bytes.substr(0, line.valueBegin));
        out += valueText(value);
        out += bytes.substr(line.contentEnd);
        return out;
      }
      if (inFirstSection) insertAt = line.end;
    }
  }

  std::string entry = std::string(key) + "=" + valueText(value) + std::string(nl);
  std::string out(bytes);
  if (!seenSection) {
    if (!out.empty() && !isLineBreak(out.back())) out += nl;
    out += "[" + std::string(section) + "]" + std::string(nl) + entry;
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

std::string readIniValue(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view defaultValue) {
  const std::optional<std::string> bytes = loadBytes(path);
  if (!bytes || bytes->empty()) return std::string(defaultValue);
  CSimpleIniA ini(/*isUtf8=*/false, /*multiKey=*/true, /*multiLine=*/false);
  ini.SetQuotes(true);
  if (ini.LoadData(*bytes) < 0) return std::string(defaultValue);
  const char* value = ini.GetValue(std::string(section).c_str(), std::string(key).c_str());
  return value ? std::string(value) : std::string(defaultValue);
}

bool writeIniValue(const std::string& path, std::string_view section, std::string_view key,
                   std::string_view value) {
  if (path.empty() || !writableSection(section) || !writableKey(key) || hasLineBreakOrNul(value))
    return false;
  const std::optional<std::string> bytes = loadBytes(path);
  if (!bytes) return false;  // an unreadable file is never replaced
  const std::string updated = withValue(*bytes, section, key, value);
  if (updated == *bytes) return true;  // already so: nothing to write

  std::error_code ec;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);
  if (writeFileSafely(path, updated) == 0) return true;
  return fileExists(path) && ::access(path.c_str(), W_OK) == 0 && overwriteInPlace(path, updated);
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
