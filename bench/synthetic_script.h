// Deterministic synthetic resource scripts of a chosen size for the benchmarks: dialogs with
// CONTROL lines in braces or BEGIN/END bodies, icons, bitmaps and cursors as inline hex or one-line
// file references, version resources, manifests, menus, and string tables, comments and
// preprocessor lines between them. Strings hold what looks like comments and body delimiters, and
// comments stand after CONTROL lines and around controls left out, so that the reading has to tell
// them apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kolvre::bench {

// splitmix64: a small generator whose sequence is the same on every platform and library.
class ScriptRandom {
 public:
  explicit ScriptRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [0, n).
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  bool chance(unsigned percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

namespace detail {

inline void appendNumber(std::string& out, std::size_t n) {
  out += std::to_string(n);
}

// A resource name: numeric ids, upper-case symbols and some lower-case ones, so that sorting by
// name has real work to do.
inline void appendName(std::string& out, ScriptRandom& rnd, std::size_t serial) {
  static constexpr std::string_view kStems[] = {"IDD_", "IDI_", "IDB_", "IDC_", "Dlg", "res_"};
  if (rnd.chance(15)) {
    appendNumber(out, 100 + rnd.below(60000));
    return;
  }
  out += kStems[rnd.below(std::size(kStems))];
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int i = 0; i < 6; ++i) out += kLetters[rnd.below(26)];
  appendNumber(out, serial);
}

inline void appendHexLine(std::string& out, ScriptRandom& rnd) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += " '";
  for (int i = 0; i < 16; ++i) {
    if (i) out += ' ';
    const std::size_t b = rnd.below(256);
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  out += "'\r\n";
}

inline void appendControl(std::string& out, ScriptRandom& rnd, std::string_view indent) {
  static constexpr std::string_view kClasses[] = {"\"BUTTON\"", "\"STATIC\"", "\"EDIT\"",
                                                  "\"LISTBOX\"", "\"COMBOBOX\""};
  // Captions, some with what would end a body or start a comment outside a string.
  static constexpr std::string_view kCaptions[] = {
      "\"Item\"",          "\"Item\"",         "\"Item\"",
      "\"&Close }\"",      "\"BEGIN // END\"", "\"Path: C:\\\\temp /* x */\"",
      "\"Say \"\"hi\"\"\""};
  if (rnd.chance(3)) {  // a control left out, in a block comment
    out += indent;
    out += "/* CONTROL \"Spare\", -1, \"STATIC\", WS_CHILD, 0, 0, 10, 10\r\n";
    out += indent;
    out += "   END } */\r\n";
  }
  out += indent;
  out += "CONTROL ";
  out += kCaptions[rnd.below(std::size(kCaptions))];
  out += ", ";
  appendNumber(out, 1000 + rnd.below(9000));
  out += ", ";
  out += kClasses[rnd.below(std::size(kClasses))];
  out += ", WS_CHILD | WS_VISIBLE | WS_TABSTOP, ";
  appendNumber(out, rnd.below(300));
  out += ", ";
  appendNumber(out, rnd.below(200));
  out += ", ";
  appendNumber(out, 10 + rnd.below(90));
  out += rnd.chance(10) ? ", 14 // tab stop\r\n" : ", 14\r\n";
}

// Appends one resource of a random kind whose body grows until the output has reached `until`.
inline void appendResource(std::string& out, ScriptRandom& rnd, std::size_t serial,
                           std::size_t until) {
  appendName(out, rnd, serial);
  switch (rnd.below(10)) {
    case 0:
    case 1:
    case 2: {  // dialog with a brace body
      out += rnd.chance(50) ? " DIALOGEX 0, 0, 240, 120\r\n" : " DIALOG 0, 0, 240, 120\r\n";
      out +=
          "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
          "CAPTION \"Settings\"\r\nFONT 8, \"MS Shell Dlg\"\r\n{\r\n";
      do appendControl(out, rnd, "  ");
      while (out.size() < until);
      out += "}\r\n";
      break;
    }
    case 3: {  // dialog with a BEGIN/END body: its block runs to the next header
      out += " DIALOGEX 0, 0, 180, 90\r\nSTYLE WS_POPUP\r\nBEGIN\r\n";
      do appendControl(out, rnd, "    ");
      while (out.size() < until);
      out += "END\r\n";
      break;
    }
    case 4:
    case 5:
    case 6: {  // image data as inline hex
      static constexpr std::string_view kKinds[] = {" ICON\r\n", " BITMAP\r\n", " CURSOR\r\n",
                                                    " ICON DISCARDABLE\r\n"};
      out += kKinds[rnd.below(std::size(kKinds))];
      out += "{\r\n";
      do appendHexLine(out, rnd);
      while (out.size() < until);
      out += "}\r\n";
      break;
    }
    case 7: {  // version resource
      out += " VERSIONINFO\r\nFILEVERSION 1,0,0,";
      appendNumber(out, serial);
      out +=
          "\r\nFILEFLAGSMASK 0x3fL\r\n{\r\n BLOCK \"StringFileInfo\"\r\n {\r\n"
          "  BLOCK \"040904E4\"\r\n  {\r\n";
      do out += "   VALUE \"FileDescription\", \"Synthetic resource script\\0\"\r\n";
      while (out.size() < until);
      out += "  }\r\n }\r\n}\r\n";
      break;
    }
    case 8:  // manifest file reference, or a menu
      if (rnd.chance(50)) {
        out += " 24 \"app.manifest\"\r\n";
        break;
      }
      out += " MENU\r\nBEGIN\r\n  POPUP \"&File\"\r\n  BEGIN\r\n";
      do out += "    MENUITEM \"&Open...\\tCtrl+O\", 100\r\n    MENUITEM SEPARATOR\r\n";
      while (out.size() < until);
      out += "  END\r\nEND\r\n";
      break;
    default:  // image file reference, sometimes with two blanks before the keyword
      switch (rnd.below(4)) {
        case 0:
          out += " ICON \"app.ico\"\r\n";
          break;
        case 1:
          out += "  BITMAP \"tool.bmp\"\r\n";
          break;
        case 2:
          out += " CURSOR \"hand.cur\" // the pointer over links\r\n";
          break;
        default:
          out += "\tICON DISCARDABLE \"res\\\\big.ico\"\r\n";
          break;
      }
      break;
  }
}

// Text that belongs to no resource block.
inline void appendFreeText(std::string& out, ScriptRandom& rnd, std::size_t serial) {
  switch (rnd.below(4)) {
    case 0:
      out += "// Section ";
      appendNumber(out, serial);
      out += "\r\n";
      break;
    case 1:
      out += "/* generated\r\n   block */\r\n#define IDS_";
      appendNumber(out, serial);
      out += " ";
      appendNumber(out, serial);
      out += "\r\n";
      break;
    case 2:
      out += "STRINGTABLE\r\n{\r\n  ";
      appendNumber(out, serial);
      out += ", \"A string with } inside\"\r\n  ";
      appendNumber(out, serial + 1);
      out += ", \"Another\"\r\n}\r\n";
      break;
    default:
      out += "#ifdef EXTRA\r\nLANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n#endif\r\n";
      break;
  }
}

}  // namespace detail

// A script of about `bytes` bytes (slightly more) holding `resources` resource headers, or one
// per 2 KB on average when `resources` is 0. Equal arguments give equal scripts.
inline std::string syntheticScript(std::size_t bytes, std::size_t resources = 0,
                                   std::uint64_t seed = 0x4B4F4C565245ull) {
  if (resources == 0) resources = bytes / 2048 + 1;
  ScriptRandom rnd(seed);
  std::string out;
  out.reserve(bytes + bytes / 8 + 4096);
  out += "// Synthetic resource script\r\n#include \"resource.h\"\r\n\r\n";
  for (std::size_t i = 0; i < resources; ++i) {
    if (rnd.chance(20)) detail::appendFreeText(out, rnd, i);
    // Sizes vary around the share of what is left, so one-line resources do not leave the
    // script short: some bodies are small, some nearly twice the share.
    const std::size_t left = bytes > out.size() ? bytes - out.size() : 0;
    const std::size_t share = left / (resources - i);
    const std::size_t target = share / 4 + rnd.below(share + share / 2 + 1);
    detail::appendResource(out, rnd, i, out.size() + target);
    out += rnd.chance(70) ? "\r\n" : "";
  }
  return out;
}

}  // namespace kolvre::bench
