// Two real resource compilers judge the dialog reader and writer: llvm-rc (Debian: llvm) and the
// MinGW windres (Debian: binutils-mingw-w64-x86-64, with the headers of mingw-w64-x86-64-dev).
// Every block the writer produces compiles with both; a store of a real dialog with every control
// moved one unit compiles to the template of the block it replaces with each x one larger; and
// the style our reader gives each short
// statement is the one the compilers give it, but where they part from the documentation.
//
// Missing compilers skip these tests, unless KOLVRE_REQUIRE_RC_COMPILERS=1 makes that a failure.
// Many dialogs go into one script per compiler run, so the tests stay fast.
#include <gtest/gtest.h>

#include "base/text.h"
#include "cli/cli.h"
#include "syntax/encoding.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "dialog_test_blocks.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "document/document.h"
#include "document/resource_edits.h"
#include "document/script_file.h"
#include "document/templates.h"
#include "messages/error_record.h"
#include "resources/accelerators.h"
#include "support/corpus.h"
#include "support/res_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::le16;
using testing::le32;
using testing::shellQuoted;
using testing::TempDir;

constexpr std::uint32_t kRtDialog = 5;
const std::string kHeaders = "/usr/share/mingw-w64/include";
// What every script compiled here begins with: the platform's names, the common controls' too.
const std::string kPrelude = "#include <windows.h>\r\n#include <commctrl.h>\r\n";
// The preprocessor's arguments for the resource compilers (the cross compiler is not there,
// so the system's cpp stands in for it).
const std::string kCppArgs = "-I" + kHeaders + " -DRC_INVOKED -D_WIN32 -D_WIN64 -D__x86_64__";

using testing::findProgram;

// One control of a compiled dialog template.
struct CompiledControl {
  std::uint32_t style = 0;
  int id = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
};

// An sz_Or_Ord field at `p`: a string (UTF-16, shown by its low bytes), "#" and an ordinal,
// or nothing.
std::string nameOrOrdinal(const std::string& d, std::size_t& p) {
  if (p + 1 >= d.size()) return {};
  if (le16(d, p) == 0xFFFF) {
    const std::uint32_t ordinal = le16(d, p + 2);
    p += 4;
    return "#" + std::to_string(ordinal);
  }
  std::string name;
  while (p + 1 < d.size() && le16(d, p) != 0) {
    name += static_cast<char>(le16(d, p) < 0x80 ? le16(d, p) : '?');
    p += 2;
  }
  p += 2;
  return name;
}

// A control's class as the platform tells classes apart: predefined classes by their ordinals,
// others without regard to letter case.
std::string className(std::string name) {
  static const std::map<std::string, std::string> ordinals{
      {"#128", "BUTTON"},  {"#129", "EDIT"},      {"#130", "STATIC"},
      {"#131", "LISTBOX"}, {"#132", "SCROLLBAR"}, {"#133", "COMBOBOX"}};
  if (const auto at = ordinals.find(name); at != ordinals.end()) return at->second;
  return upperAscii(name);
}

// A DIALOG or DIALOGEX template read: its controls, and a description of everything in it, one
// line per control, that two templates of the same meaning share.
struct CompiledDialog {
  std::vector<CompiledControl> controls;
  std::string description;
};

CompiledDialog readTemplate(const std::string& d) {
  CompiledDialog out;
  std::ostringstream text;
  const bool ex = d.size() > 4 && le16(d, 0) == 1 && le16(d, 2) == 0xFFFF;
  std::size_t p = ex ? 4 : 0;
  const auto s16 = [&](std::size_t at) {
    return static_cast<int>(static_cast<std::int16_t>(le16(d, at)));
  };
  std::uint32_t help = 0, exStyle = 0, style = 0;
  if (ex)
    help = le32(d, p), exStyle = le32(d, p + 4), style = le32(d, p + 8), p += 12;
  else
    style = le32(d, p), exStyle = le32(d, p + 4), p += 8;
  const std::uint32_t count = le16(d, p);
  text << std::hex << "dialog style " << style << " exstyle " << exStyle << " help " << help
       << std::dec << " at " << s16(p + 2) << ' ' << s16(p + 4) << ' ' << s16(p + 6) << ' '
       << s16(p + 8);
  p += 10;
  text << " menu " << nameOrOrdinal(d, p);
  text << " class " << nameOrOrdinal(d, p);
  text << " title " << nameOrOrdinal(d, p);
  if (style & 0x48) {  // DS_SETFONT (DS_SHELLFONT): size, then weight, italic, character set
    text << " font " << le16(d, p);
    if (ex) text << ' ' << le16(d, p + 2) << ' ' << le16(d, p + 4);
    p += ex ? 6 : 2;
    text << ' ' << nameOrOrdinal(d, p);
  }
  text << '\n';
  for (std::uint32_t i = 0; i < count && p < d.size(); ++i) {
    p = (p + 3) & ~std::size_t(3);
    CompiledControl c;
    std::uint32_t controlHelp = 0, controlExStyle = 0;
    if (ex) {
      controlHelp = le32(d, p), controlExStyle = le32(d, p + 4), c.style = le32(d, p + 8);
      p += 12;
    } else {
      c.style = le32(d, p), controlExStyle = le32(d, p + 4);
      p += 8;
    }
    c.x = s16(p), c.y = s16(p + 2), c.cx = s16(p + 4), c.cy = s16(p + 6);
    p += 8;
    c.id = ex ? static_cast<int>(le32(d, p)) : s16(p);
    p += ex ? 4 : 2;
    const std::string cls = className(nameOrOrdinal(d, p));
    const std::string title = nameOrOrdinal(d, p);
    const std::uint32_t extra = le16(d, p);
    text << std::hex << "  " << cls << " style " << c.style << " exstyle " << controlExStyle
         << " help " << controlHelp << std::dec << " id " << c.id << " at " << c.x << ' ' << c.y
         << ' ' << c.cx << ' ' << c.cy << " text " << title << " extra " << extra << '\n';
    p += 2 + extra;
    out.controls.push_back(c);
  }
  out.description = text.str();
  return out;
}

std::vector<CompiledControl> compiledControls(const std::string& d) {
  return readTemplate(d).controls;
}

// A resource compiler run on a whole script: the dialogs it made, by name, or what it said.
struct Compilation {
  bool ok = false;
  std::string output;
  std::map<std::string, std::string> dialogs;
  std::vector<testing::Compiled> resources;  // every resource, dialogs too
};

class RcCompilers : public ::testing::Test {
 protected:
  void SetUp() override {
    windres = findProgram("KOLVRE_WINDRES", {"x86_64-w64-mingw32-windres"});
    llvmRc = findProgram("KOLVRE_LLVM_RC", {"llvm-rc", "llvm-rc-19", "llvm-rc-16", "llvm-rc-14"});
    cpp = findProgram("KOLVRE_CPP", {"cpp"});
    std::string missing;
    if (windres.empty()) missing += " x86_64-w64-mingw32-windres (binutils-mingw-w64-x86-64)";
    if (llvmRc.empty()) missing += " llvm-rc (llvm)";
    if (cpp.empty()) missing += " cpp";
    if (!std::filesystem::exists(kHeaders + "/windows.h"))
      missing += " the headers " + kHeaders + " (mingw-w64-x86-64-dev)";
    if (missing.empty()) return;
    const char* required = std::getenv("KOLVRE_REQUIRE_RC_COMPILERS");
    if (required && std::string(required) == "1") FAIL() << "missing:" << missing;
    GTEST_SKIP() << "resource compilers missing:" << missing;
  }

  // windres takes the preprocessor's arguments itself.
  Compilation compileWithWindres(const std::string& script) {
    const std::string rc = dir.write("w.rc", kPrelude + script);
    const std::string res = dir.file("w.res");
    std::string command = shellQuoted(windres) + " --preprocessor=" + shellQuoted(cpp);
    std::istringstream args(kCppArgs);
    for (std::string arg; args >> arg;) command += " --preprocessor-arg=" + shellQuoted(arg);
    command += " -i " + shellQuoted(rc) + " -o " + shellQuoted(res);
    return finish(testing::runCommand(command), res);
  }

  // llvm-rc of this Debian has no preprocessor of its own (newer ones run clang, which is not
  // there): cpp runs first, and of its output only the lines of the script itself are kept,
  // since the C declarations the MinGW headers hold besides their macros are no resource
  // statements. -no-preprocess keeps a newer llvm-rc from running clang.
  Compilation compileWithLlvmRc(const std::string& script) {
    const std::string rc = dir.write("l.rc", kPrelude + script);
    const testing::CommandRun pre =
        testing::runCommand(shellQuoted(cpp) + " " + kCppArgs + " " + shellQuoted(rc));
    if (!pre.ok) return {false, pre.output, {}, {}};
    std::string own;
    bool inScript = false;
    std::istringstream lines(pre.output);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with("# ") && line.find('"') != std::string::npos) {
        inScript = line.find("\"" + rc + "\"") != std::string::npos;
        continue;
      }
      if (inScript) own += line + "\n";
    }
    const std::string i = dir.write("l.i", own);
    const std::string res = dir.file("l.res");
    return finish(testing::runCommand(shellQuoted(llvmRc) + " -no-preprocess -fo " +
                                      shellQuoted(res) + " " + shellQuoted(i)),
                  res);
  }

  Compilation finish(const testing::CommandRun& run, const std::string& res) {
    Compilation c{run.ok, run.output, {}, {}};
    if (!run.ok) return c;
    c.resources = testing::readRes(TempDir::read(res));
    for (const testing::Compiled& r : c.resources)
      if (r.type == kRtDialog) c.dialogs[r.name] = r.data;
    return c;
  }

  std::vector<std::pair<std::string, std::function<Compilation(const std::string&)>>> compilers() {
    return {{"windres", [this](const std::string& s) { return compileWithWindres(s); }},
            {"llvm-rc", [this](const std::string& s) { return compileWithLlvmRc(s); }}};
  }

  std::string windres, llvmRc, cpp;
  TempDir dir;
};

// How a compiler parts from the documentation on a short statement: the style it gives instead
// of ours, or nothing where it agrees.
using Deviation = std::function<std::optional<std::uint32_t>(std::string_view keyword,
                                                             bool styleGiven, std::uint32_t ours)>;

std::optional<std::uint32_t> windresDeviation(std::string_view keyword, bool styleGiven,
                                              std::uint32_t ours) {
  // Its own number for the push box, and a style given drops a text's WS_GROUP and the tab stop
  // of the push box and the three-state boxes.
  if (keyword == "PUSHBOX") ours = (ours & ~0xFu) | 0xC;
  if (styleGiven && (keyword == "LTEXT" || keyword == "RTEXT" || keyword == "CTEXT"))
    return ours & ~kGroup;
  if (styleGiven && (keyword == "PUSHBOX" || keyword == "STATE3" || keyword == "AUTO3STATE"))
    return ours & ~kTabStop;
  if (keyword == "PUSHBOX") return ours;
  return std::nullopt;
}

std::optional<std::uint32_t> llvmRcDeviation(std::string_view keyword, bool styleGiven,
                                             std::uint32_t ours) {
  // No default style for a combo box or a radio button.
  if (!styleGiven && keyword == "COMBOBOX") return ours & ~(0x1u | kTabStop);
  if (!styleGiven && (keyword == "RADIOBUTTON" || keyword == "AUTORADIOBUTTON"))
    return ours & ~kTabStop;
  return std::nullopt;
}

// The style compiler `name` gives a control as our reader read it.
std::uint32_t expectedStyle(const std::string& name, const DialogControl& c) {
  const std::uint32_t ours = c.compiledStyle.value_or(0);
  if (!c.statement || c.statement->statement >= kShortStatements.size()) return ours;
  const std::string_view keyword = kShortStatements[c.statement->statement].keyword;
  const bool styleGiven = c.statement->style.has_value();
  const auto theirs = name == "windres" ? windresDeviation(keyword, styleGiven, ours)
                                        : llvmRcDeviation(keyword, styleGiven, ours);
  return theirs.value_or(ours);
}

// A dialog of one control of each class of the class table and one of each short statement.
std::string everyKindOfControl() {
  std::string body;
  int row = 0;
  for (const LiveClassInfo& info : kLiveClasses) {
    if (info.live == ControlClass::Placeholder) continue;
    ++row;
    body += " CONTROL \"t\", " + std::to_string(100 + row) + ", \"" +
            std::string(info.classWritten) + "\", WS_CHILD | WS_VISIBLE, 5, " +
            std::to_string(5 * row) + ", 40, 12\r\n";
  }
  body += " CONTROL \"\", 130, \"msctls_trackbar32\", TBS_BOTH | WS_TABSTOP, 5, 5, 80, 12\r\n";
  row = 0;
  for (const ShortStatement& statement : kShortStatements) {
    ++row;
    body += "  " + std::string(statement.keyword) + " " + (statement.hasText ? "\"t\", " : "") +
            std::to_string(200 + row) + ", 60, " + std::to_string(5 * row) +
            (statement.keyword == "ICON" ? ", 0, 0" : ", 40, 12") + "\r\n";
  }
  body.resize(body.size() - 2);
  return testing::ownFormDialog(body);
}

TEST_F(RcCompilers, EveryBlockTheWriterMakesCompilesWithBoth) {
  const std::string templateBlock = resourceTemplate(ResourceType::Dialog, "DLG_NUOVO");
  const std::string kinds = everyKindOfControl();
  const DialogReading read = readDialog(kinds);
  ASSERT_EQ(read.dialog.controls.size(), kLiveClasses.size() + kShortStatements.size());
  DialogModel moved = read.dialog;
  for (DialogControl& c : moved.controls)
    c.rect.x += 9, c.liveStyle = c.liveStyle.value_or(0) | 0x20000;
  const std::string script = dialogBlock(readDialog(templateBlock).dialog, "DLG_NUOVO") + "\r\n" +
                             dialogBlock(read.dialog, "KINDS") + "\r\n" +
                             dialogBlock(moved, "MOVED") + "\r\n";
  for (auto& [name, compile] : compilers()) {
    SCOPED_TRACE(name);
    const Compilation c = compile(script);
    ASSERT_TRUE(c.ok) << c.output << script;
    ASSERT_EQ(c.dialogs.size(), 3u);
    const std::vector<CompiledControl> kindsCompiled = compiledControls(c.dialogs.at("KINDS"));
    const std::vector<CompiledControl> movedCompiled = compiledControls(c.dialogs.at("MOVED"));
    ASSERT_EQ(kindsCompiled.size(), read.dialog.controls.size());
    ASSERT_EQ(movedCompiled.size(), read.dialog.controls.size());
    // What the stores say is what the compiler makes of them.
    const DialogModel kindsAgain = readDialog(dialogBlock(read.dialog, "KINDS")).dialog;
    const DialogModel movedAgain = readDialog(dialogBlock(moved, "MOVED")).dialog;
    for (std::size_t i = 0; i < kindsCompiled.size(); ++i) {
      EXPECT_EQ(movedCompiled[i].x, kindsCompiled[i].x + 5) << i;
      EXPECT_EQ(movedCompiled[i].y, kindsCompiled[i].y) << i;
      EXPECT_EQ(movedCompiled[i].id, kindsCompiled[i].id) << i;
      EXPECT_EQ(kindsCompiled[i].style, expectedStyle(name, kindsAgain.controls[i])) << i;
      EXPECT_EQ(movedCompiled[i].style, expectedStyle(name, movedAgain.controls[i])) << i;
      EXPECT_EQ(movedCompiled[i].style & 0x20000, 0x20000u) << i;
    }
  }
}

TEST_F(RcCompilers, ShortStatementsCompileToTheStyleTheReaderGives) {
  const char* styles[] = {"", "WS_DISABLED", "NOT WS_VISIBLE | NOT WS_TABSTOP | WS_BORDER",
                          "NOT WS_GROUP | WS_VSCROLL"};
  std::string body;
  std::vector<std::pair<std::string_view, bool>> statements;
  int id = 1000;
  for (const ShortStatement& row : kShortStatements) {
    for (const char* style : styles) {
      body += "  " + std::string(row.keyword) + " " + (row.hasText ? "\"t\", " : "") +
              std::to_string(++id) + ", 5, 5, 40, 12" + (*style ? ", " : "") + style + "\r\n";
      statements.emplace_back(row.keyword, *style != 0);
    }
  }
  body.resize(body.size() - 2);
  const DialogReading read = readDialog(testing::ownFormDialog(body));
  ASSERT_EQ(read.dialog.controls.size(), statements.size());
  const std::map<std::string, Deviation> deviations{{"windres", windresDeviation},
                                                    {"llvm-rc", llvmRcDeviation}};
  for (auto& [name, compile] : compilers()) {
    SCOPED_TRACE(name);
    const Compilation c = compile(dialogBlock(read.dialog, "SHORT"));
    ASSERT_TRUE(c.ok) << c.output;
    const std::vector<CompiledControl> compiled = compiledControls(c.dialogs.at("SHORT"));
    ASSERT_EQ(compiled.size(), statements.size());
    std::set<std::string> parted;
    for (std::size_t i = 0; i < compiled.size(); ++i) {
      const auto [keyword, styleGiven] = statements[i];
      const std::uint32_t ours = *read.dialog.controls[i].compiledStyle;
      const auto theirs = deviations.at(name)(keyword, styleGiven, ours);
      EXPECT_EQ(compiled[i].style, theirs.value_or(ours))
          << keyword << (styleGiven ? " with a style" : "") << ": ours " << std::hex << ours;
      if (theirs && *theirs != ours) parted.insert(std::string(keyword));
      const DialogUnitRect units = unitsAsWritten(read.dialog.controls[i], kFixedBaseUnits);
      EXPECT_EQ(compiled[i].id, read.dialog.controls[i].id);
      EXPECT_EQ(compiled[i].x, units.x);
      // An icon's size: windres writes 0 (the documentation: the size is ignored), llvm-rc the
      // size given.
      if (keyword != "ICON" || name == "llvm-rc") {
        EXPECT_EQ(compiled[i].cx, units.width);
      }
    }
    std::cout << "[ " << name << " ] parts from the documentation on:";
    for (const std::string& keyword : parted) std::cout << ' ' << keyword;
    std::cout << '\n';
  }
}

// The symbols of blocks but their names (ids, coordinates, classes their headers define), defined
// where the platform's headers do not, each as a number of its own.
std::string symbolDefinitions(const std::vector<std::string>& blocks,
                              const std::vector<std::string>& names) {
  static const std::set<std::string> keywords = [] {
    std::set<std::string> k{"DIALOG",   "DIALOGEX",        "BEGIN",   "END",     "STYLE",
                            "EXSTYLE",  "CAPTION",         "FONT",    "MENU",    "CLASS",
                            "LANGUAGE", "CHARACTERISTICS", "VERSION", "CONTROL", "NOT"};
    for (const ShortStatement& row : kShortStatements) k.emplace(row.keyword);
    for (std::string_view option : kMemoryOptions) k.emplace(option);
    return k;
  }();
  std::set<std::string> symbols;
  for (const std::string& block : blocks) {
    bool quoted = false;
    for (std::size_t i = 0; i < block.size();) {
      const char c = block[i];
      if (c == '"') {
        quoted = !quoted;
        ++i;
      } else if (!quoted && (std::isalpha(static_cast<unsigned char>(c)) || c == '_')) {
        std::size_t end = i;
        while (end < block.size() &&
               (std::isalnum(static_cast<unsigned char>(block[end])) || block[end] == '_'))
          ++end;
        const std::string word = block.substr(i, end - i);
        if (!keywords.contains(upperAscii(word)) &&
            std::find(names.begin(), names.end(), word) == names.end())
          symbols.insert(word);
        i = end;
      } else if (!quoted && std::isdigit(static_cast<unsigned char>(c))) {
        while (i < block.size() && std::isalnum(static_cast<unsigned char>(block[i]))) ++i;
      } else if (!quoted && c == '/' && i + 1 < block.size() && block[i + 1] == '/') {
        i = block.find('\n', i);  // a comment's words are no symbols
        if (i == std::string::npos) i = block.size();
      } else {
        ++i;
      }
    }
  }
  std::string out;
  int number = 20000;
  for (const std::string& s : symbols)
    out += "#ifndef " + s + "\r\n#define " + s + " " + std::to_string(++number) + "\r\n#endif\r\n";
  return out;
}

// A compiler's output without the preprocessor's warnings about the headers.
std::string errorsOf(const std::string& output) {
  std::string out;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);)
    if (line.find("rror") != std::string::npos || line.find("syntax") != std::string::npos)
      out += line + "\n";
  return out.empty() ? output : out;
}

struct CorpusTally {
  int dialogs = 0;
  int compared = 0;
  int originalRefused = 0;  // the original block does not compile here: not compared
};

// Text in UTF-8 (ASCII included).
bool isUtf8(std::string_view text) {
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
    i += length;
  }
  return true;
}

bool isAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// A template's description with every control's x one larger.
std::string withControlsMovedRight(const std::string& description) {
  std::istringstream lines(description);
  std::string out, line;
  while (std::getline(lines, line)) {
    if (line.starts_with("  ")) {
      const std::size_t at = line.find(" at ") + 4;
      const std::size_t end = line.find(' ', at);
      line.replace(at, end - at, std::to_string(std::stoi(line.substr(at, end - at)) + 1));
    }
    out += line + '\n';
  }
  return out;
}

TEST_F(RcCompilers, EveryCorpusDialogStoredCompilesToTheSameTemplate) {
  const std::vector<std::string> files = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(files.empty() ? std::string() : files.front());
  std::map<std::string, CorpusTally> tallies;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    const FileRead read = readWholeFile((testing::kCorpusDir / file).string());
    Document doc;
    doc.load("", read.bytes);
    // Each dialog under a name of its own: as it stands, and as a store writes it with every
    // control moved one unit to the right (where every x is a plain number; else unchanged).
    std::vector<std::string> names, originals, written;
    std::vector<bool> moved;
    for (std::size_t i = 0; i < doc.index().size(); ++i) {
      if (doc.index()[i].type != ResourceType::Dialog) continue;
      const auto block = entryBlock(doc.text(), doc.index(), i);
      if (!block) continue;
      const DialogReading r = readDialog(block->of(doc.text()));
      if (r.failure != DialogFailure::None) continue;
      const std::string& name = doc.index()[i].name;
      const std::string own = "KD" + std::to_string(names.size());
      names.push_back(own);
      originals.push_back(
          own + std::string(
                    block->of(doc.text()).substr(name.size(), r.dialog.blockLength - name.size())));
      DialogModel shifted = r.dialog;
      const bool plain = std::none_of(shifted.controls.begin(), shifted.controls.end(),
                                      [](const DialogControl& c) { return c.coordinates[0]; });
      if (plain) {
        for (DialogControl& c : shifted.controls) {
          DialogUnitRect units = toDialogUnits(c.rect, kFixedBaseUnits);
          ++units.x;
          c.rect.x = toPixels(units, kFixedBaseUnits).x;
        }
      }
      moved.push_back(plain);
      written.push_back(dialogBlock(shifted, own));
    }
    if (names.empty()) continue;
    std::vector<std::string> all = originals;
    all.insert(all.end(), written.begin(), written.end());
    // A script in UTF-8 says so: the compilers read others by their default code page.
    const std::string symbols =
        (!isAscii(doc.text()) && isUtf8(doc.text()) ? "#pragma code_page(65001)\r\n" : "") +
        symbolDefinitions(all, names);
    for (auto& entry : compilers()) {
      // Named, not bound: the lambdas below capture it (a structured binding is not captured
      // by every compiler the project builds with).
      const std::string& compiler = entry.first;
      auto& compile = entry.second;
      SCOPED_TRACE(compiler);
      CorpusTally& tally = tallies[compiler];
      tally.dialogs += static_cast<int>(names.size());
      // The dialogs whose original compiles, found by halving a batch that fails.
      std::map<std::string, std::string> compiledOriginals;
      std::function<void(std::vector<std::size_t>)> compileOriginals =
          [&](std::vector<std::size_t> which) {
            std::string script = symbols;
            for (std::size_t i : which) script += originals[i] + "\r\n";
            const Compilation c = compile(script);
            if (c.ok) {
              for (std::size_t i : which)
                if (c.dialogs.contains(names[i]))
                  compiledOriginals[names[i]] = c.dialogs.at(names[i]);
              return;
            }
            if (which.size() == 1) return;
            const auto half = which.begin() + static_cast<std::ptrdiff_t>(which.size() / 2);
            compileOriginals({which.begin(), half});
            compileOriginals({half, which.end()});
          };
      std::vector<std::size_t> every(names.size());
      for (std::size_t i = 0; i < every.size(); ++i) every[i] = i;
      compileOriginals(every);
      tally.originalRefused += static_cast<int>(names.size() - compiledOriginals.size());

      if (compiledOriginals.empty()) continue;
      std::string script = symbols;
      for (std::size_t i = 0; i < names.size(); ++i)
        if (compiledOriginals.contains(names[i])) script += written[i] + "\r\n";
      const Compilation c = compile(script);
      ASSERT_TRUE(c.ok) << "a stored dialog does not compile where its original did:\n"
                        << errorsOf(c.output) << script;
      for (std::size_t i = 0; i < names.size(); ++i) {
        const auto original = compiledOriginals.find(names[i]);
        if (original == compiledOriginals.end()) continue;
        ++tally.compared;
        const std::string expected = readTemplate(original->second).description;
        EXPECT_EQ(readTemplate(c.dialogs.at(names[i])).description,
                  moved[i] ? withControlsMovedRight(expected) : expected)
            << originals[i] << "\n--- stored as ---\n"
            << written[i];
      }
    }
  }
  for (const auto& [compiler, tally] : tallies) {
    std::cout << "[ " << compiler << " ] " << tally.dialogs << " corpus dialogs, " << tally.compared
              << " compiled alike before and after a store that moved every control, "
              << tally.originalRefused << " whose original the compiler refuses\n";
    EXPECT_GT(tally.compared, tally.dialogs / 4) << compiler;
  }
}

// Under "#pragma code_page(1251)" the texts the editor shows and writes are the texts the
// compilers store: a caption set through dialog-props, a string set through string-set, a
// control's text and a menu item read as the editor reads them.
TEST_F(RcCompilers, TextsInTheCodePageInForceCompileToWhatTheEditorShows) {
  const std::string script =
      "#pragma code_page(1251)\r\nSTRINGTABLE\r\n{\r\n 1 \"x\"\r\n}\r\n"
      "D DIALOG 0, 0, 100, 50\r\nSTYLE WS_POPUP | WS_CAPTION\r\nCAPTION \"x\"\r\n{\r\n"
      " LTEXT \"\xC8\xEC\xFF\", 10, 5, 5, 40, 8\r\n}\r\n"
      "M MENU\r\n{\r\n MENUITEM \"\xD4\xE0\xE9\xEB\", 100\r\n}\r\n";
  const std::string f = dir.write("edited.rc", script);
  std::istringstream in;
  std::ostringstream out, err;
  ASSERT_EQ(runCli({"string-set", f, "1", "Сохранить"}, in, out, err), 0) << err.str();
  ASSERT_EQ(runCli({"dialog-props", f, "D", "--caption", "Печать"}, in, out, err), 0) << err.str();
  ASSERT_EQ(runCli({"tab-order", f, "D"}, in, out, err), 0);
  ASSERT_EQ(runCli({"menu", f, "M"}, in, out, err), 0);
  EXPECT_EQ(out.str(), "1\tИмя\t10\tSTATIC\t5\t5\t40\t8\nФайл\t100\t\n");
  const std::string edited = TempDir::read(f);
  for (const auto& [name, compile] : compilers()) {
    SCOPED_TRACE(name);
    const Compilation c = compile(edited);
    // llvm-rc reads no code page but 1252 and UTF-8: it refuses the Cyrillic bytes.
    if (name == "llvm-rc") {
      EXPECT_FALSE(c.ok);
      EXPECT_NE(c.output.find("codepage"), std::string::npos) << c.output;
      continue;
    }
    ASSERT_TRUE(c.ok) << c.output;
    std::string all;
    for (const testing::Compiled& r : c.resources) all += r.data;
    for (const std::string_view text : {"Сохранить", "Печать", "Имя", "Файл"})
      EXPECT_NE(all.find(utf8ToUtf16(text, false)), std::string::npos) << text;
  }
}

// A new resource of every kind, written in the style of a script with braces and one with
// BEGIN and END, compiles with both compilers (MENUEX with windres only: llvm-rc 14 refuses
// every MENUEX); so do those that name a file. (The image templates hold their data inline, as
// hex text, which neither compiler reads: they are left out.)
TEST_F(RcCompilers, NewResourcesOfEveryKindCompileInEitherStyle) {
  dir.write("d.bin", "data");
  dir.write("h.htm", "<p>");
  dir.write("a.manifest", "<assembly/>");
  for (const std::string start :
       {"A RCDATA {\r\n    1\r\n}\r\n", "A RCDATA\r\nBEGIN\r\n\t1\r\nEND\r\n"}) {
    SCOPED_TRACE(start);
    for (const bool withMenuEx : {false, true}) {
      std::string script = start;
      int n = 0;
      const auto add = [&](ResourceType kind, std::string name, std::string_view file = {}) {
        const auto edit = newResourceEdit(script, readStatements(script), kind, name,
                                          file.empty() ? file : dir.file(std::string(file)));
        ASSERT_TRUE(edit) << name;
        script = applySplices(script, edit->splices);
        ++n;
      };
      for (const auto& info : kResourceTypes)
        if (!info.bodyTemplate.empty() && !info.bodyTemplate.ends_with("%D\n}") &&
            (info.type != ResourceType::MenuEx || withMenuEx))
          add(info.type, info.type == ResourceType::StringTable ? "500" : "N" + std::to_string(n));
      add(ResourceType::RcData, "FD", "d.bin");
      add(ResourceType::Html, "FH", "h.htm");
      add(ResourceType::Manifest, "FM", "a.manifest");
      for (auto& [name, compile] : compilers()) {
        if (withMenuEx && name == "llvm-rc") continue;
        SCOPED_TRACE(name);
        const Compilation c = compile(script);
        EXPECT_TRUE(c.ok) << c.output << script;
      }
    }
  }
}

// The same under "#pragma code_page(932)": two-byte Japanese texts.
TEST_F(RcCompilers, JapaneseTextsCompileToWhatTheEditorShows) {
  const std::string f = dir.write("japanese.rc",
                                  "#pragma code_page(932)\r\nSTRINGTABLE\r\n{\r\n 1 \"x\"\r\n}\r\n"
                                  "D DIALOG 0, 0, 100, 50\r\nSTYLE WS_POPUP | WS_CAPTION\r\n"
                                  "CAPTION \"x\"\r\n{\r\n}\r\n");
  std::istringstream in;
  std::ostringstream out, err;
  ASSERT_EQ(runCli({"string-set", f, "1", "印刷"}, in, out, err), 0) << err.str();
  ASSERT_EQ(runCli({"dialog-props", f, "D", "--caption", "窓ｱ"}, in, out, err), 0) << err.str();
  const Compilation c = compileWithWindres(TempDir::read(f));
  ASSERT_TRUE(c.ok) << c.output;
  std::string all;
  for (const testing::Compiled& r : c.resources) all += r.data;
  for (const std::string_view text : {"印刷", "窓ｱ"})
    EXPECT_NE(all.find(utf8ToUtf16(text, false)), std::string::npos) << text;
}

// Every key the accelerator edits write, in every form of row, compiles with both compilers
// (the edits refuse what one of them would not take), and llvm-rc compiles it to the key and
// flags the reader reads back from the row written.
TEST_F(RcCompilers, AcceleratorRowsAsTheEditsWriteThemCompile) {
  const std::vector<std::string> rows{"VK_F5, 1, VIRTKEY",
                                      "\"N\", 1, VIRTKEY, CONTROL, NOINVERT",
                                      "0x2E, 1, VIRTKEY, ALT",
                                      "\"^C\", 1",
                                      "\"a\", 1",
                                      "97, 1, ASCII"};
  const std::vector<std::string> keys{"Ctrl+Maiusc+F12", "Alt+Canc", "x",      "Q",
                                      "Ctrl+K",          "?",        "Spazio", "Num +",
                                      "Ctrl+\"^z\"",     "Tab",      "Alt+7"};
  std::string script;
  std::vector<std::pair<std::string, std::string>> written;  // table name, row as written
  for (const std::string& row : rows)
    for (const std::string& shown : keys) {
      const std::string name = "T" + std::to_string(written.size() + 1);
      const std::string table = name + " ACCELERATORS\r\nBEGIN\r\n  " + row + "\r\nEND\r\n";
      const AcceleratorReading reading =
          readAccelerators(table, readStatements(table).front(), nullptr, {});
      ASSERT_EQ(reading.rows.size(), 1u) << row;
      std::string after;
      try {
        after = applySplices(
            table, setAcceleratorKey(table, reading, 0, *parseAcceleratorKey(shown), {}).splices);
      } catch (const Refusal&) {
        continue;
      }
      script += after;
      written.emplace_back(name, after);
    }
  ASSERT_GT(written.size(), 30u);
  for (auto& [compiler, compile] : compilers()) {
    SCOPED_TRACE(compiler);
    const Compilation c = compile(script);
    ASSERT_TRUE(c.ok) << c.output;
    if (compiler != "llvm-rc") continue;  // windres compiles "^C" as VIRTKEY, CONTROL and C
    std::map<std::string, std::string> tables;
    for (const testing::Compiled& r : c.resources)
      if (r.type == 9) tables[r.name] = r.data;
    for (const auto& [name, table] : written) {
      const AcceleratorReading reading =
          readAccelerators(table, readStatements(table).front(), nullptr, {});
      const Accelerator& row = reading.rows.at(0);
      const std::string& data = tables[name];
      ASSERT_GE(data.size(), 8u) << table;
      unsigned flags = 0;
      if (row.options & kAccelVirtualKey) flags |= 0x01;
      if (row.options & kAccelNoInvert) flags |= 0x02;
      if (row.options & kAccelShift) flags |= 0x04;
      if (row.options & kAccelControl) flags |= 0x08;
      if (row.options & kAccelAlt) flags |= 0x10;
      EXPECT_EQ(testing::le16(data, 0) & 0x1F, flags) << table;
      EXPECT_EQ(testing::le16(data, 2), row.code.value_or(0)) << table;
    }
  }
}

}  // namespace
}  // namespace kolvre
