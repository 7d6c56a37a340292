// A reorder must not change what a script compiles to. Every script of the shared corpus is
// compiled by the MinGW windres as it stands and after a full reorder, and what windres prints
// back from the two resource files (-O rc: each resource by type, name and language, with its
// data) must be the same.
//
// The corpus holds the scripts without their projects: the headers, images and manifests they
// name are missing. A work folder stands in for the project, and the same folder serves both
// compilations, so that only the reorder differs between them:
//  - a missing header or included script becomes an empty file at the path the script gives;
//  - a name the script uses but nothing defines gets a definition in a header included first:
//    a number unlike every number of the script, else (where windres refuses that on the line
//    that uses the name) a string, else nothing; a name called like a function (a macro of a
//    missing header that builds whole statements) expands to nothing;
//  - a missing image becomes a small valid image of its kind, any other missing file a few
//    bytes; each stand-in differs from the others, so that a resource that took another's file
//    would show.
// A script that windres refuses even so (image data inline in quoted hex, no resources at all)
// is reported and left out; one that compiles before the reorder but not after, or compiles to
// something else, is a failure.
//
// Missing tools skip the test, unless KOLVRE_REQUIRE_RC_COMPILERS=1 makes that a failure.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "dialogs/dialog_properties.h"
#include "document/reorder.h"
#include "document/resource_edits.h"
#include "document/script_file.h"
#include "document/templates.h"
#include "resources/accelerators.h"
#include "resources/menus.h"
#include "resources/string_tables.h"
#include "resources/version_info.h"
#include "support/corpus.h"
#include "support/res_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

namespace fs = std::filesystem;
using testing::CommandRun;
using testing::le16;
using testing::le32;
using testing::runCommand;
using testing::shellQuoted;
using testing::TempDir;

const std::string kHeaders = "/usr/share/mingw-w64/include";

std::string findProgram(const char* variable, const char* name) {
  return testing::findProgram(variable, {name});
}

// The words windres takes as its own (in upper case only, as it matches them): never a name to
// define.
bool isKeyword(const std::string& word) {
  static const std::string keywords =
      " ACCELERATORS ALT ANICURSOR ANIICON ASCII AUTO3STATE AUTOCHECKBOX AUTORADIOBUTTON "
      "BEDIT BEGIN BITMAP BLOCK BUTTON CAPTION CHARACTERISTICS CHECKBOX CHECKED CLASS "
      "COMBOBOX CONTROL CTEXT CURSOR DEFPUSHBUTTON DIALOG DIALOGEX DISCARDABLE DLGINCLUDE "
      "DLGINIT EDITTEXT END EXSTYLE FILEFLAGS FILEFLAGSMASK FILEOS FILESUBTYPE FILETYPE "
      "FILEVERSION FIXED FONT FONTDIR GRAYED GROUP_CURSOR GROUP_ICON GROUPBOX HEDIT HELP "
      "HTML ICON IEDIT IMPURE INACTIVE LANGUAGE LISTBOX LOADONCALL LTEXT MANIFEST MENU "
      "MENUBARBREAK MENUBREAK MENUEX MENUITEM MESSAGETABLE MOVEABLE NOINVERT NOT PLUGPLAY "
      "POPUP PRELOAD PRODUCTVERSION PURE PUSHBOX PUSHBUTTON RADIOBUTTON RCDATA RTEXT "
      "SCROLLBAR SEPARATOR SHIFT STATE3 STRINGTABLE STYLE TOOLBAR USERBUTTON VALUE VERSION "
      "VERSIONINFO VIRTKEY VXD ";
  return keywords.find(' ' + word + ' ') != std::string::npos;
}

bool isWordStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool isWordPart(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// What the preprocessed script leaves undefined: the names windres would meet (outside strings,
// not its keywords, in the script and the scripts it includes but not in headers, whose text
// windres skips), each with whether it is called like a function; and the numbers it holds.
struct Undefined {
  std::map<std::string, bool> names;
  std::set<long> numbers;
};

Undefined undefinedNames(const std::string& preprocessed) {
  Undefined out;
  bool inHeader = false;
  std::istringstream lines(preprocessed);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with('#')) {
      const std::size_t open = line.find('"');
      if (line.starts_with("# ") && open != std::string::npos) {  // a line marker: # 12 "file"
        const std::string file = line.substr(open + 1, line.rfind('"') - open - 1);
        inHeader = file.ends_with(".h") || file.starts_with('<');
      }
      continue;
    }
    if (inHeader) continue;
    for (std::size_t i = 0; i < line.size();) {
      const char c = line[i];
      if (c == '"' || c == '\'') {
        for (++i; i < line.size() && line[i] != c; ++i)
          if (line[i] == '\\') ++i;
        ++i;
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        out.numbers.insert(std::strtol(line.c_str() + i, nullptr, 0));
        while (i < line.size() && isWordPart(line[i])) ++i;
      } else if (isWordStart(c)) {
        // windres reads '.' and '$' as part of a word: such a word is a file name.
        std::size_t end = i;
        bool plain = true;
        for (; end < line.size() && (isWordPart(line[end]) || line[end] == '.' || line[end] == '$');
             ++end)
          plain = plain && isWordPart(line[end]);
        const std::string word = line.substr(i, end - i);
        const bool wide = (word == "L" || word == "l") && end < line.size() && line[end] == '"';
        if (plain && !wide && !isKeyword(word)) {
          std::size_t next = end;
          while (next < line.size() && line[next] == ' ') ++next;
          out.names.emplace(word, next < line.size() && line[next] == '(');
        }
        i = end;
      } else {
        ++i;
      }
    }
  }
  return out;
}

// The files a make rule of the preprocessor's (-M) lists after its target, unescaped.
std::vector<std::string> ruleFiles(const std::string& rule) {
  std::vector<std::string> files;
  std::string file;
  bool target = true;
  for (std::size_t i = 0; i < rule.size(); ++i) {
    const char c = rule[i];
    if (c == '\\' && i + 1 < rule.size() && (rule[i + 1] == ' ' || rule[i + 1] == '\n')) {
      if (rule[++i] == ' ') file += ' ';  // an escaped blank, else a continued line
    } else if (c == '$' && i + 1 < rule.size() && rule[i + 1] == '$') {
      file += rule[++i];
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      if (!file.empty() && !target) files.push_back(file);
      file.clear();
    } else if (c == ':' && target && file.ends_with(".o")) {
      target = false;
      file.clear();
    } else {
      file += c;
    }
  }
  if (!file.empty() && !target) files.push_back(file);
  return files;
}

// The file windres reads for a resource whose file is missing: a valid image where it wants
// one (it reads their headers), a few bytes otherwise; `serial` makes each one differ.
std::string standInFile(const std::string& kind, int serial) {
  const auto text = [](const std::vector<std::uint8_t>& b) {
    return std::string(b.begin(), b.end());
  };
  std::string bytes = "kolvre stand-in\r\n";
  if (kind == "icon") bytes = text(templateIcon());
  if (kind == "bitmap") bytes = text(templateBitmap());
  if (kind == "cursor") {
    bytes = text(templateCursor());
    bytes[2] = 2;  // windres wants the type of a cursor file, not the icon form of the template
  }
  bytes.back() = static_cast<char>(serial);  // the last byte of a mask or of the pixels
  return bytes;
}

// The first error of what windres or the preprocessor printed, without the program's name.
std::string firstError(const std::string& output) {
  std::istringstream lines(output);
  std::string found = output.substr(0, output.find('\n'));
  for (std::string line; std::getline(lines, line);)
    if (line.find("error") != std::string::npos || line.find("can't") != std::string::npos ||
        line.find("no resources") != std::string::npos) {
      found = line;
      break;
    }
  if (const std::size_t name = found.find("windres: "); name != std::string::npos)
    found.erase(0, name + 9);
  return found;
}

// Text in UTF-8 with at least one character beyond ASCII.
bool isUtf8BeyondAscii(std::string_view text) {
  bool beyond = false;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    beyond = beyond || length > 1;
    i += length;
  }
  return beyond;
}

// A resource file with the images of icons and cursors numbered by where their groups use them.
// A compiler numbers the images in the order the script names their files, so the numbers
// change with the order of the blocks while every group keeps its images.
void numberImagesByTheirGroups(std::string& res) {
  constexpr std::uint32_t kCursor = 1, kIcon = 3, kGroupCursor = 12, kGroupIcon = 14;
  auto put16 = [&](std::size_t at, std::uint32_t v) {
    res[at] = static_cast<char>(v & 0xFF);
    res[at + 1] = static_cast<char>(v >> 8 & 0xFF);
  };
  // The entries with an ordinal type: where the type, the name and the data are.
  struct Entry {
    std::uint32_t type;
    std::size_t name, data;
  };
  std::vector<Entry> entries;
  for (std::size_t at = 0; at + 32 <= res.size();) {
    const std::uint32_t dataSize = le32(res, at), headerSize = le32(res, at + 4);
    if (le16(res, at + 8) == 0xFFFF)
      entries.push_back({le16(res, at + 10), at + 12, at + headerSize});
    at = (at + headerSize + dataSize + 3) & ~std::size_t(3);
  }
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> renumbered;  // (type, id)
  std::map<std::uint32_t, std::uint32_t> next{{kCursor, 1}, {kIcon, 1}};
  for (const Entry& e : entries) {
    if (e.type != kGroupCursor && e.type != kGroupIcon) continue;
    const std::uint32_t image = e.type == kGroupIcon ? kIcon : kCursor;
    for (std::uint32_t i = 0; i < le16(res, e.data + 4); ++i) {
      const std::size_t id = e.data + 6 + 14 * i + 12;
      const auto key = std::make_pair(image, le16(res, id));
      if (!renumbered.contains(key)) renumbered[key] = next[image]++;
      put16(id, renumbered[key]);
    }
  }
  for (const Entry& e : entries) {
    if ((e.type != kCursor && e.type != kIcon) || le16(res, e.name) != 0xFFFF) continue;
    const auto key = std::make_pair(e.type, le16(res, e.name + 2));
    if (!renumbered.contains(key)) renumbered[key] = next[e.type]++;
    put16(e.name + 2, renumbered[key]);
  }
}

// The folder a script is compiled in, and what stands in for its project there. The script
// lies three folders down, so that paths such as "../../x.rc" stay inside.
class ProjectStandIn {
 public:
  ProjectStandIn(std::string windres, std::string cpp)
      : windres_(std::move(windres)), cpp_(std::move(cpp)), dir_(temp_.path() / "p" / "q" / "r") {
    fs::create_directories(dir_);
    writePrelude();
  }

  // Fills the folder until windres compiles `script` as before.rc; empty when it does, else
  // why it does not.
  std::string prepare(const std::string& script) {
    write("before.rc", script);
    utf8_ = isUtf8BeyondAscii(script);
    // All the missing headers at once (the preprocessor stops at the first otherwise).
    const CommandRun rule = runIn(shellQuoted(cpp_) + cppArguments() + " -M -MG before.rc");
    for (const std::string& file : ruleFiles(rule.output))
      if (!fs::exists(dir_ / file)) create(file, "");
    bool named = false;
    for (int step = 0; step < 500; ++step) {
      const CommandRun pre = runIn(shellQuoted(cpp_) + cppArguments() + " before.rc -o before.i");
      if (!pre.ok) {
        static const std::regex missing("fatal error: (.+): No such file or directory");
        std::smatch m;
        if (std::regex_search(pre.output, m, missing) && create(m[1], "")) continue;
        return "the preprocessor: " + firstError(pre.output);
      }
      if (!named) {
        nameTheUndefined(TempDir::read(file("before.i")));
        named = true;
      }
      const CommandRun run = compile("before");
      if (run.ok) return {};
      static const std::regex missingFile("can't open (icon |bitmap |cursor |font )?file `(.+)'");
      std::smatch m;
      if (std::regex_search(run.output, m, missingFile)) {
        std::string kind = m[1];
        if (!kind.empty()) kind.pop_back();
        if (create(m[2], standInFile(kind, ++standIns_))) continue;
      } else if (const auto line = refusedLine(run.output); line && redefineOn(line->second)) {
        continue;
      }
      std::string why = firstError(run.output);
      if (const auto line = refusedLine(run.output))
        why += " at \"" + line->second.substr(0, 70) + "\"";
      static const std::regex quotedHex("\n[ \t]*'[0-9A-Fa-f]{2} ");
      if (std::regex_search(script, quotedHex))
        why = "image data inline in quoted hex, which windres does not read (" + why + ")";
      return why;
    }
    return "no end to what the script is missing";
  }

  // Compiles <name>.rc of the folder to <name>.res.
  CommandRun compile(const std::string& name) const {
    std::string command = shellQuoted(windres_) + " --preprocessor=" + shellQuoted(cpp_);
    std::istringstream arguments(cppArguments());
    for (std::string argument; arguments >> argument;) command += " --preprocessor-arg=" + argument;
    // A script in UTF-8 is read as such (a #pragma code_page in it still rules after it).
    if (utf8_) command += " --codepage=65001";
    return runIn(command + " -i " + name + ".rc -o " + name + ".res");
  }

  // What windres prints back from <name>.res, its images numbered by their groups.
  CommandRun decompile(const std::string& name) const {
    std::string res = TempDir::read(file(name + ".res"));
    numberImagesByTheirGroups(res);
    write(name + ".res", res);
    return runIn(shellQuoted(windres_) + " -i " + name + ".res -O rc");
  }

  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
  }
  std::string file(const std::string& name) const { return (dir_ / name).string(); }

 private:
  // How a name without a definition is defined: each stage is tried where windres refused the
  // one before on a line that uses the name.
  enum class Stage { Number, String, Nothing };
  struct Stand {
    Stage stage = Stage::Number;
    bool function = false;
    long number = 0;
  };

  CommandRun runIn(const std::string& command) const {
    return runCommand("cd " + shellQuoted(dir_.string()) + " && " + command);
  }

  // The preprocessor's arguments, none with a blank inside: the definitions of a resource
  // compiler, no warnings, the prelude first, and the script's folder, the corpus and the
  // platform's headers to include from.
  std::string cppArguments() const {
    return " -DRC_INVOKED -D_WIN32 -D_WIN64 -D__x86_64__ -w -include " +
           shellQuoted(prelude().string()) + " -I. -I" + shellQuoted(testing::kCorpusDir.string()) +
           " -I" + kHeaders;
  }
  fs::path prelude() const { return temp_.path() / "prelude.h"; }

  void writePrelude() const {
    std::string text = "#include <windows.h>\n#include <commctrl.h>\n";
    for (const auto& [name, stand] : stands_) {
      text += "#define " + name + (stand.function ? "(...)" : "");
      if (stand.stage == Stage::Number) text += " " + std::to_string(stand.number);
      if (stand.stage == Stage::String) text += " \"" + name + "\"";
      text += "\n";
    }
    std::ofstream(prelude().string(), std::ios::binary) << text;
  }

  void nameTheUndefined(const std::string& preprocessed) {
    const Undefined undefined = undefinedNames(preprocessed);
    long number = 20000;
    for (const auto& [name, function] : undefined.names) {
      while (undefined.numbers.contains(number)) ++number;
      stands_[name] = {function ? Stage::Nothing : Stage::Number, function, number++};
    }
    writePrelude();
  }

  // Takes the names of ours on the refused line to their next stage; false when none is left
  // to change there.
  bool redefineOn(const std::string& line) {
    bool changed = false;
    for (std::size_t i = 0; i < line.size();) {
      if (!isWordStart(line[i])) {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < line.size() && isWordPart(line[end])) ++end;
      const auto stand = stands_.find(line.substr(i, end - i));
      if (stand != stands_.end() && stand->second.stage != Stage::Nothing) {
        stand->second.stage = static_cast<Stage>(static_cast<int>(stand->second.stage) + 1);
        changed = true;
      }
      i = end;
    }
    if (changed) writePrelude();
    return changed;
  }

  // The line windres refused with a syntax error: its number and its text, trimmed.
  std::optional<std::pair<int, std::string>> refusedLine(const std::string& output) const {
    static const std::regex syntax("([^ :\n]+):([0-9]+): syntax error");
    std::smatch m;
    if (!std::regex_search(output, m, syntax)) return std::nullopt;
    const int number = std::stoi(m[2]);
    std::istringstream in(TempDir::read(file(m[1])));
    std::string line;
    for (int n = number; n > 0 && std::getline(in, line);) --n;
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    line.erase(0, line.find_first_not_of(" \t"));
    return std::make_pair(number, line);
  }

  // Creates a missing file at the path a script gives (relative to the script's folder,
  // backslashes as they stand: here they are part of a file name); false where the path
  // leaves the work folder or the file is there already.
  bool create(const std::string& name, const std::string& bytes) const {
    const fs::path path = (dir_ / name).lexically_normal();
    if (!path.string().starts_with(temp_.path().string() + "/") || fs::exists(path)) return false;
    fs::create_directories(path.parent_path());
    std::ofstream(path.string(), std::ios::binary) << bytes;
    return true;
  }

  std::string windres_, cpp_;
  TempDir temp_;
  fs::path dir_;
  std::map<std::string, Stand> stands_;
  int standIns_ = 0;
  bool utf8_ = false;
};

// windres reads no UTF-16: a UTF-16 script is compiled from its UTF-8 form.
std::string compilable(const std::string& bytes) {
  const ScriptText script = fromDisk(bytes);
  if (script.form.utf16 == Utf16::None) return bytes;
  return toDisk(script.text, {script.form.lineEnds, Utf16::None});
}

// The first lines where two printouts differ, as diff shows them.
std::string diffExcerpt(const ProjectStandIn& folder, const std::string& before,
                        const std::string& after) {
  folder.write("before.txt", before);
  folder.write("after.txt", after);
  return runCommand("diff -u --label before --label after " +
                    shellQuoted(folder.file("before.txt")) + " " +
                    shellQuoted(folder.file("after.txt")) + " | head -n 40")
      .output;
}

// "" when what windres prints back from `after` differs from its print of `before` in one line
// alone, which holds `printed`; else what differs.
std::string oneLineChanged(const ProjectStandIn& folder, const std::string& before,
                           const std::string& after, std::string_view printed) {
  const CommandRun printedBefore = folder.decompile(before);
  const CommandRun printedAfter = folder.decompile(after);
  if (!printedBefore.ok || !printedAfter.ok)
    return "not printed back: " + printedBefore.output + printedAfter.output;
  std::vector<std::string> linesBefore, linesAfter;
  std::istringstream inBefore(printedBefore.output), inAfter(printedAfter.output);
  for (std::string line; std::getline(inBefore, line);) linesBefore.push_back(line);
  for (std::string line; std::getline(inAfter, line);) linesAfter.push_back(line);
  std::vector<std::size_t> differing;
  for (std::size_t i = 0; i < std::min(linesBefore.size(), linesAfter.size()); ++i)
    if (linesBefore[i] != linesAfter[i]) differing.push_back(i);
  if (linesBefore.size() != linesAfter.size() || differing.size() != 1)
    return diffExcerpt(folder, printedBefore.output, printedAfter.output);
  if (linesAfter[differing[0]].find(printed) == std::string::npos)
    return "the line changed lacks " + std::string(printed) + ": " + linesAfter[differing[0]];
  return "";
}

// "" when what windres prints back from `after` differs from its print of `before` in the
// version resource alone (each resource's print starts at its "/* Type:" comment), and that
// resource's print holds `printed`; else what differs.
std::string onlyVersionChanged(const ProjectStandIn& folder, const std::string& before,
                               const std::string& after, std::string_view printed) {
  const CommandRun printedBefore = folder.decompile(before);
  const CommandRun printedAfter = folder.decompile(after);
  if (!printedBefore.ok || !printedAfter.ok)
    return "not printed back: " + printedBefore.output + printedAfter.output;
  const auto resources = [](const std::string& print) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < print.size();) {
      const std::size_t next = print.find("/* Type:", at + 1);
      parts.push_back(print.substr(at, next - at));
      at = next == std::string::npos ? print.size() : next;
    }
    return parts;
  };
  const std::vector<std::string> partsBefore = resources(printedBefore.output);
  const std::vector<std::string> partsAfter = resources(printedAfter.output);
  std::vector<std::size_t> differing;
  for (std::size_t i = 0; i < std::min(partsBefore.size(), partsAfter.size()); ++i)
    if (partsBefore[i] != partsAfter[i]) differing.push_back(i);
  if (partsBefore.size() != partsAfter.size() || differing.size() != 1 ||
      !partsAfter[differing[0]].starts_with("/* Type: version"))
    return diffExcerpt(folder, printedBefore.output, printedAfter.output);
  if (partsAfter[differing[0]].find(printed) == std::string::npos)
    return "the resource changed lacks " + std::string(printed) + ":\n" + partsAfter[differing[0]];
  return "";
}

// Skips the test (or fails it, where KOLVRE_REQUIRE_RC_COMPILERS=1 is set) when windres, the
// preprocessor or the platform's headers are missing.
#define KOLVRE_NEEDS_WINDRES(windres, cpp)                                                       \
  do {                                                                                           \
    std::string missing;                                                                         \
    if ((windres).empty()) missing += " x86_64-w64-mingw32-windres (binutils-mingw-w64-x86-64)"; \
    if ((cpp).empty()) missing += " cpp";                                                        \
    if (!fs::exists(kHeaders + "/windows.h"))                                                    \
      missing += " the headers " + kHeaders + " (mingw-w64-x86-64-dev)";                         \
    if (!missing.empty()) {                                                                      \
      const char* required = std::getenv("KOLVRE_REQUIRE_RC_COMPILERS");                         \
      if (required && std::string(required) == "1") FAIL() << "missing:" << missing;             \
      GTEST_SKIP() << "resource compiler missing:" << missing;                                   \
    }                                                                                            \
  } while (false)

// The corpus's scripts as `scripts`, windres and the preprocessor as `windres` and `cpp`: the
// test skips (or fails) without them.
#define KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp)                                   \
  const std::vector<std::string> scripts = testing::corpusScripts();                       \
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());                   \
  const std::string windres = findProgram("KOLVRE_WINDRES", "x86_64-w64-mingw32-windres"); \
  const std::string cpp = findProgram("KOLVRE_CPP", "cpp");                                \
  KOLVRE_NEEDS_WINDRES(windres, cpp)

// Where KOLVRE_CORPUS_RES_DIR names a folder, what each script compiled to before the reorder
// is kept there as <script>.res, for tools/wine-layout/corpus-layouts.
void keepCompiled(const ProjectStandIn& folder, const std::string& script) {
  const char* dir = std::getenv("KOLVRE_CORPUS_RES_DIR");
  if (!dir || !*dir) return;
  fs::create_directories(dir);
  fs::copy_file(folder.file("before.res"), fs::path(dir) / (script + ".res"),
                fs::copy_options::overwrite_existing);
}

TEST(CorpusCompile, ReorderKeepsWhatEveryScriptCompilesTo) {
  KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp);

  const auto start = std::chrono::steady_clock::now();
  int compared = 0, changed = 0;  // compiled both ways; of those, changed by the reorder
  std::map<std::string, std::string> refused;  // by windres even before the reorder: why
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    const ScriptText script = fromDisk(read.bytes);
    const std::string reordered = toDisk(reorderScript(script.text), script.form);

    ProjectStandIn folder(windres, cpp);
    if (std::string why = folder.prepare(compilable(read.bytes)); !why.empty()) {
      refused[name] = why;
      continue;
    }
    keepCompiled(folder, name);
    folder.write("after.rc", compilable(reordered));
    const CommandRun after = folder.compile("after");
    if (!after.ok) {
      ADD_FAILURE() << "compiles before the reorder but not after: " << firstError(after.output);
      continue;
    }
    const CommandRun printedBefore = folder.decompile("before");
    const CommandRun printedAfter = folder.decompile("after");
    ASSERT_TRUE(printedBefore.ok && printedAfter.ok) << printedBefore.output << printedAfter.output;
    ++compared;
    if (reordered != read.bytes) ++changed;
    if (printedBefore.output != printedAfter.output)
      ADD_FAILURE() << "compiles to something else after the reorder:\n"
                    << diffExcerpt(folder, printedBefore.output, printedAfter.output);
  }

  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::cout << "[ windres ] " << compared << " of " << scripts.size()
            << " corpus scripts compiled before and after the reorder (" << changed
            << " of them changed by it) in " << seconds.count() << " s; " << refused.size()
            << " not compiled even before it:\n";
  for (const auto& [name, why] : refused) std::cout << "  " << name << ": " << why << "\n";
  // Most scripts compile, or a broken tool or work folder would pass unseen.
  EXPECT_GE(compared, static_cast<int>(scripts.size() / 2));
}

// One string of each script with string tables set to a new text (its first table's first
// string): windres compiles the script after the edit, and what it prints back differs from
// the print of the script before it in that string's line alone, which holds the new text.
TEST(CorpusCompile, AStringEditChangesThatStringAloneInWhatTheScriptCompilesTo) {
  KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp);

  // Every escape the writer makes that both compilers read, and windres's print of it.
  const std::string text = "Kolvre \"prova\"\t\\ fine";
  const std::string printed = "\"Kolvre \"\"prova\"\"\\t\\\\ fine\"";
  int edited = 0;
  std::map<std::string, std::string> refused;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    Document doc;
    doc.load("", read.bytes);
    const std::vector<StringTable> tables = documentStringTables(doc, nullptr);
    const auto table = std::find_if(tables.begin(), tables.end(),
                                    [](const StringTable& t) { return !t.entries.empty(); });
    if (table == tables.end()) continue;
    ProjectStandIn folder(windres, cpp);
    if (std::string why = folder.prepare(compilable(read.bytes)); !why.empty()) {
      refused[name] = why;
      continue;
    }
    ASSERT_TRUE(
        doc.commit(setStringText(doc.text(), *table, 0, text, stringContext(doc, nullptr))));
    folder.write("after.rc", compilable(doc.diskBytes()));
    const CommandRun after = folder.compile("after");
    ASSERT_TRUE(after.ok) << firstError(after.output);
    EXPECT_EQ(oneLineChanged(folder, "before", "after", printed), "");
    ++edited;
  }
  std::cout << "[ windres ] a string edited in " << edited << " corpus scripts; " << refused.size()
            << " with string tables not compiled even before it\n";
  EXPECT_GT(edited, 0);
}

// In each script with a menu, the first item with a text in its first menu that reads gets a new
// text: windres compiles the script after the edit, and what it prints back differs from the
// print of the script before it in that item's line alone.
TEST(CorpusCompile, AMenuTextEditChangesThatItemAloneInWhatTheScriptCompilesTo) {
  KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp);

  int edited = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    Document doc;
    doc.load("", read.bytes);
    std::optional<Edit> edit;
    for (const Statement& statement : doc.statements()) {
      const auto type = entryType(statement, doc.text());
      if (type != ResourceType::Menu && type != ResourceType::MenuEx) continue;
      const MenuReading menu = readMenu(doc.text(), statement, nullptr, {});
      if (!menu.problem.empty()) continue;
      // The first item with a text, pop-ups' items first.
      MenuPath path;
      const std::vector<MenuEntry>* items = &menu.items;
      while (!items->empty()) {
        path.push_back(0);
        if (items->front().items.empty()) break;
        items = &items->front().items;
      }
      const MenuEntry* item = menuEntryAt(menu, path);
      if (!item || item->textEnd == 0) continue;
      edit = setMenuText(doc.text(), menu, path, "Kolvre prova", {});
      break;
    }
    if (!edit) continue;
    ProjectStandIn folder(windres, cpp);
    if (!folder.prepare(compilable(read.bytes)).empty()) continue;
    ASSERT_TRUE(doc.commit(*edit));
    folder.write("after.rc", compilable(doc.diskBytes()));
    const CommandRun after = folder.compile("after");
    ASSERT_TRUE(after.ok) << firstError(after.output);
    EXPECT_EQ(oneLineChanged(folder, "before", "after", "\"Kolvre prova\""), "");
    ++edited;
  }
  std::cout << "[ windres ] a menu item's text edited in " << edited << " corpus scripts\n";
  EXPECT_GT(edited, 0);
}

// In each script, the first dialog with a caption gets a new one, and the first version value a
// new text (each edit alone, from the script as it stands): windres compiles the script after
// each, and what it prints back differs in that line alone.
TEST(CorpusCompile, ACaptionOrAVersionValueEditChangesThatLineAloneInWhatTheScriptCompilesTo) {
  KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp);

  int captions = 0, values = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    Document doc;
    doc.load("", read.bytes);
    // The edits: a dialog's caption, a version value.
    std::vector<std::pair<Edit, std::string>> edits;
    for (std::size_t i = 0; i < doc.index().size(); ++i) {
      if (doc.index()[i].type != ResourceType::Dialog) continue;
      const auto block = entryBlock(doc.statements(), doc.index(), i);
      if (!block) continue;
      const DialogPropertiesReading reading =
          readDialogProperties(block->of(doc.text()), doc.encoding());
      if (reading.failure != DialogFailure::None || reading.shown.caption.empty()) continue;
      DialogProperties edited = reading.shown;
      edited.caption = "Kolvre prova";
      const auto edit =
          dialogPropertiesEdit(doc.text(), doc.index(), i, reading.shown, edited, doc.encoding());
      if (edit) edits.emplace_back(*edit, "\"Kolvre prova\"");
      break;
    }
    for (const Statement& statement : doc.statements()) {
      if (statement.listed != ResourceType::VersionInfo) continue;
      const VersionInfo info = readVersionInfo(doc.text(), statement, stringContext(doc, nullptr));
      const std::vector<std::size_t> blocks = info.stringBlocks();
      if (!info.problem.empty() || blocks.empty() || info.blocks[blocks[0]].values.empty())
        continue;
      const std::string key = info.blocks[blocks[0]].values[0].key.text;
      edits.emplace_back(setVersionValue(doc.text(), info, blocks[0], key, "Kolvre 1.2",
                                         stringContext(doc, nullptr)),
                         "Kolvre 1.2");
      break;
    }
    if (edits.empty()) continue;
    ProjectStandIn folder(windres, cpp);
    if (!folder.prepare(compilable(read.bytes)).empty()) continue;
    for (const auto& [edit, printed] : edits) {
      ASSERT_TRUE(doc.commit(edit));
      folder.write("after.rc", compilable(doc.diskBytes()));
      const CommandRun after = folder.compile("after");
      ASSERT_TRUE(after.ok) << firstError(after.output);
      EXPECT_EQ(oneLineChanged(folder, "before", "after", printed), "") << printed;
      ASSERT_TRUE(doc.undo());
      (printed == "Kolvre 1.2" ? values : captions) += 1;
    }
  }
  std::cout << "[ windres ] a caption edited in " << captions
            << " corpus scripts, a version value in " << values << "\n";
  EXPECT_GT(captions, 10);
  EXPECT_GT(values, 0);
}

// In each script, the first version resource gets each of its edits in turn (from the script as
// it stands): FILEVERSION, FILEFLAGS (where written once), a value added and one removed, a
// language block added with Translation in step. windres compiles the script after each, and
// what it prints back differs in that resource alone.
TEST(CorpusCompile, AVersionEditChangesThatResourceAloneInWhatTheScriptCompilesTo) {
  KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp);

  int edited = 0, resources = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    Document doc;
    doc.load("", read.bytes);
    const StringContext context = stringContext(doc, nullptr);
    std::vector<std::pair<Edit, std::string>> edits;
    for (const Statement& statement : doc.statements()) {
      if (statement.listed != ResourceType::VersionInfo) continue;
      const VersionInfo info = readVersionInfo(doc.text(), statement, context);
      if (!info.problem.empty()) continue;
      const auto once = [&](std::string_view keyword) -> std::optional<std::size_t> {
        const std::vector<std::size_t> found = info.fieldsNamed(keyword);
        if (found.size() != 1 || !info.fields[found[0]].readOnly.empty()) return std::nullopt;
        return found[0];
      };
      if (const auto field = once("FILEVERSION"))
        edits.emplace_back(setVersionField(doc.text(), info, *field, "9.8.7.6", context),
                           "FILEVERSION 9, 8, 7, 6");
      if (const auto field = once("FILEFLAGS"))
        edits.emplace_back(setVersionField(doc.text(), info, *field, "VS_FF_PRIVATEBUILD", context),
                           "FILEFLAGS 0x8");
      const std::vector<std::size_t> blocks = info.stringBlocks();
      if (!blocks.empty() && !info.blocks[blocks[0]].values.empty()) {
        const VersionBlock& block = info.blocks[blocks[0]];
        if (!block.values[0].cutShort)
          edits.emplace_back(insertVersionValue(doc.text(), info, blocks[0], 0, "KolvreProva",
                                                "Kolvre 1.2", context),
                             "VALUE \"KolvreProva\", \"Kolvre 1.2\"");
        edits.emplace_back(deleteVersionValue(doc.text(), info, blocks[0], 0), "");
        const bool named = std::any_of(blocks.begin(), blocks.end(), [&](std::size_t b) {
          return equalsIgnoringCase(info.blocks[b].name, "041004e4");
        });
        if (block.lineStart && block.lineEnd && !named)
          edits.emplace_back(
              addLanguageBlock(doc.text(), info, blocks[0], "041004e4", false, true, context),
              "BLOCK \"041004e4\"");
      }
      break;
    }
    if (edits.empty()) continue;
    ProjectStandIn folder(windres, cpp);
    if (!folder.prepare(compilable(read.bytes)).empty()) continue;
    ++resources;
    for (const auto& [edit, printed] : edits) {
      SCOPED_TRACE(printed);
      ASSERT_TRUE(doc.commit(edit));
      folder.write("after.rc", compilable(doc.diskBytes()));
      const CommandRun after = folder.compile("after");
      ASSERT_TRUE(after.ok) << firstError(after.output);
      EXPECT_EQ(onlyVersionChanged(folder, "before", "after", printed), "");
      ASSERT_TRUE(doc.undo());
      ++edited;
    }
  }
  std::cout << "[ windres ] " << edited << " version edits in " << resources
            << " corpus scripts, each changing its resource alone\n";
  EXPECT_GT(edited, 4);
}

// In each script with accelerator tables, the first row of the first table gets another key
// and, in a second edit, another ID: windres compiles the script after each, and what it prints
// back differs in that row's line alone.
TEST(CorpusCompile, AnAcceleratorEditChangesThatRowAloneInWhatTheScriptCompilesTo) {
  KOLVRE_CORPUS_AND_WINDRES(scripts, windres, cpp);

  int edited = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    Document doc;
    doc.load("", read.bytes);
    const auto statement =
        std::find_if(doc.statements().begin(), doc.statements().end(), [&](const Statement& s) {
          return s.kind == StatementKind::Resource &&
                 kolvre::isKeyword(s.type(doc.text()), "ACCELERATORS");
        });
    if (statement == doc.statements().end()) continue;
    const AcceleratorReading table = documentAccelerators(doc, statement->begin, nullptr);
    if (table.rows.empty() || !acceleratorTableProblem(doc.text(), table).empty()) continue;
    ProjectStandIn folder(windres, cpp);
    if (!folder.prepare(compilable(read.bytes)).empty()) continue;
    const bool virtualRow = table.rows[0].options & kAccelVirtualKey;
    // windres prints a key as its code, the modifiers after VIRTKEY.
    const std::vector<std::pair<Edit, std::string>> edits{
        {setAcceleratorKey(doc.text(), table, 0,
                           *parseAcceleratorKey(virtualRow ? "Ctrl+Maiusc+F12" : "Ctrl+Q"),
                           acceleratorContext(doc, nullptr)),
         virtualRow ? "123, " : "81, "},
        {setAcceleratorId(doc.text(), table, 0, "4321", acceleratorContext(doc, nullptr)),
         ", 4321, "},
    };
    for (const auto& [edit, printed] : edits) {
      ASSERT_TRUE(doc.commit(edit));
      folder.write("after.rc", compilable(doc.diskBytes()));
      const CommandRun after = folder.compile("after");
      ASSERT_TRUE(after.ok) << firstError(after.output);
      EXPECT_EQ(oneLineChanged(folder, "before", "after", printed), "") << printed;
      ASSERT_TRUE(doc.undo());
    }
    ++edited;
  }
  std::cout << "[ windres ] an accelerator row edited in " << edited << " corpus scripts\n";
  EXPECT_GT(edited, 3);
}

}  // namespace
}  // namespace kolvre
