#include "dialogs/styles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/text.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;
using Writer = std::string (*)(std::uint32_t);

std::string windowOfControl(std::uint32_t style) {
  return windowStyleNames(style);
}
std::string windowOfDialog(std::uint32_t style) {
  return windowStyleNames(style, true);
}
// As written for a control with no family of names: the window flags without the last " | ".
std::string windowCut(std::uint32_t style) {
  const std::string text = windowStyleNames(style);
  return text.substr(0, text.size() < 3 ? 0 : text.size() - 3);
}

TEST(ParseStyle, ReadsExpressionsOfNamesAndNumbers) {
  const std::optional<std::uint32_t> invalid;
  const struct {
    std::string text;
    std::optional<std::uint32_t> style;
  } rows[] = {
      {"DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU", 0x80C80080},
      {"ws_child | ws_visible", 0x50000000},
      {"Ws_Child|WS_VISIBLE", 0x50000000},
      {"WS_CHILD | WS_CHILD", 0x40000000},
      {"WS_GROUP | WS_MINIMIZEBOX", 0x20000},  // one value under two names
      {"LBS_STANDARD", 0xA00003},
      {"ES_AUTOVSCROLL | DTS_SHORTDATEFORMAT", 0x40},  // read, though never written
      {" \tWS_CHILD\r\n|\tWS_TABSTOP  ", 0x40010000},
      {"", 0},
      {" \t\r\n", 0},
      {"12 | 0x100 | 0X1f", 0x11F},
      {"007", 7},
      {"4294967295", 0xFFFFFFFF},
      {"0xFFFFFFFF", 0xFFFFFFFF},
      {"0x000000001", 1},
      {"4294967296", invalid},
      {"0x100000000", invalid},
      {"NOT WS_VISIBLE", invalid},
      {"WS_CHILD | NOT WS_VISIBLE", invalid},
      // Names beyond the writer's, the extended styles too.
      {"DS_SETFONT | WS_POPUP", 0x80000040},
      {"BS_CHECKBOX", 2},
      {"WS_EX_TOOLWINDOW", 0x80},
      // What the vocabulary leaves out: a window's state, a list view's extended style.
      {"WS_ACTIVECAPTION", invalid},
      {"LVS_EX_GRIDLINES", invalid},
      {"WS_CHIL", invalid},
      {"WS_CHILDX", invalid},
      {"WS_CHILD WS_VISIBLE", invalid},
      {"WS_CHILD |", invalid},
      {"| WS_CHILD", invalid},
      {"WS_CHILD || WS_VISIBLE", invalid},
      {"|", invalid},
      {"(WS_CHILD)", invalid},
      {"WS_CHILD + 1", invalid},
      {"-1", invalid},
      {"+1", invalid},
      {"0x", invalid},
      {"0x-1", invalid},
      {"0xG", invalid},
      {"1.0", invalid},
      {std::string("WS_CHILD\0", 9), invalid},
  };
  for (const auto& row : rows) EXPECT_EQ(parseStyle(row.text), row.style) << row.text;
}

TEST(ParseStyle, EveryNameReadsInAnyCase) {
  for (const StyleName& row : kStyleNames) {
    EXPECT_EQ(parseStyle(row.name), row.value) << row.name;
    EXPECT_EQ(parseStyle(lowerAscii(row.name)), row.value) << row.name;
  }
  // The whole vocabulary reads, through either reading, beside another term.
  for (const VocabularyName& row : kStyleVocabulary) {
    const std::string lower = lowerAscii(row.name) + " | 0x0";
    EXPECT_EQ(parseStyle(lower), row.value) << row.name;
    EXPECT_EQ(compileStyle(std::string(row.name) + " | 0", 0), row.value) << row.name;
    EXPECT_EQ(compilerNameValue(lowerAscii(row.name)), row.value) << row.name;
  }
}

TEST(ParseStyle, ReadsTheNamesOfRealDialogsAndTheHeadersAliases) {
  const struct {
    const char* text;
    std::uint32_t style;
  } rows[] = {
      {"DS_SETFONT | DS_FIXEDSYS | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU", 0x80C80848},
      {"DS_CONTROL | DS_SHELLFONT | WS_CHILDWINDOW", 0x40000448},
      {"BS_MULTILINE | ES_NUMBER | SS_NOTIFY | TVS_HASLINES", 0x2102},
      {"WS_OVERLAPPEDWINDOW", 0xCF0000},
      {"WS_POPUPWINDOW", 0x80880000},
      {"ws_ex_palettewindow", 0x188},
      {"CCS_NOMOVEX | BTNS_CHECKGROUP", 0x86},
      {"LBS_STANDARD", 0xA00003},
      {"ES_SELECTIONBAR | BS_COMMANDLINK | LWS_RIGHT", 0x100002E},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(parseStyle(row.text), row.style) << row.text;
    EXPECT_EQ(compileStyle(row.text, 0), row.style) << row.text;
  }
  // Each table of the code has the value the headers give.
  EXPECT_EQ(styleNameValue("LBS_WANTKEYBOARDINPUT"), 0x400u);
  const auto writers = std::find_if(kStyleNames.begin(), kStyleNames.end(), [](const auto& row) {
    return row.name == "LBS_WANTKEYBOARDINPUT";
  });
  ASSERT_NE(writers, kStyleNames.end());
  EXPECT_EQ(writers->value, 0x400u);
}

TEST(ParseStyle, NumbersReadAsTheCompilersReadThem) {
  // A leading zero is octal, an L suffix is taken, a U suffix is no number to either compiler.
  EXPECT_EQ(parseStyle("WS_CHILD | 010"), 0x40000008u);
  EXPECT_EQ(parseStyle("0x10L"), 0x10u);
  EXPECT_EQ(parseStyle("10U"), std::nullopt);
  EXPECT_EQ(parseStyle("08"), std::nullopt);
  EXPECT_EQ(compileStyle("WS_CHILD | 010", 0), 0x40000008u);
  EXPECT_EQ(compileStyle("10U", 0), std::nullopt);
  // A comment between the terms is a blank, as the compiler reads it.
  EXPECT_EQ(parseStyle("WS_CHILD /* | WS_BORDER */ | WS_VISIBLE"), 0x50000000u);
  // The compiled style is the compiler's: expressions evaluate, NOT takes bits from the base,
  // and a word outside the vocabulary leaves it to the script's symbols.
  EXPECT_EQ(compileStyle("WS_CHILD + 1", 0), 0x40000001u);
  EXPECT_EQ(compileStyle("NOT WS_TABSTOP | WS_BORDER", 0x50010000), 0x50800000u);
  EXPECT_EQ(compileStyle("IDC_OWN | WS_CHILD", 0), std::nullopt);
}

TEST(InvalidStyleNotice, NamesTheFirstUnknownWordOrNone) {
  const struct {
    const char* text;
    const char* notice;
  } rows[] = {
      {"IDS_FOO | WS_CHILD", "Stile non valido: IDS_FOO."},
      {"WS_CHILD | ds_foo | IDS_BAR", "Stile non valido: ds_foo."},
      {"WS_CHILD | NOT IDC_X", "Stile non valido: IDC_X."},
      {"  WS_CHILD |\r\n\t_X1 ", "Stile non valido: _X1."},
      // No single word to blame: a malformed term, an expression, a known name after NOT.
      {"WS_CHILD |", "Stile non valido."},
      {"WS_CHILD | 0xZZ", "Stile non valido."},
      {"WS_CHILD + 1", "Stile non valido."},
      {"(WS_CHILD)", "Stile non valido."},
      {"1X", "Stile non valido."},
      {"NOT WS_VISIBLE", "Stile non valido."},
      {"WS_CHILD | \xE8_A", "Stile non valido."},
  };
  for (const auto& row : rows) EXPECT_EQ(invalidStyleNotice(row.text), row.notice) << row.text;
}

TEST(Makestyle, InvalidTextIsReportedOnce) {
  ScriptedUi ui;
  EXPECT_EQ(readStyle(ui, "WS_CHILD | 1"), 0x40000001u);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(readStyle(ui, "WS_CHILD | ES_NUMERO"), std::nullopt);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Stile non valido: ES_NUMERO.");
  EXPECT_EQ(ui.messages[0].kind, MessageKind::Info);
}

TEST(StyleWriters, NamesInTableOrderWithTheirExceptions) {
  const struct {
    Writer write;
    std::uint32_t style;
    const char* text;
  } rows[] = {
      {windowOfControl, 0xFFFF0000,
       "WS_POPUP | WS_CHILD | WS_VISIBLE | WS_MINIMIZE | WS_CAPTION | WS_BORDER | WS_DLGFRAME | "
       "WS_VSCROLL | WS_HSCROLL | WS_SYSMENU | WS_THICKFRAME | WS_GROUP | WS_TABSTOP | "},
      {windowOfDialog, 0xFFFF0000,
       "WS_POPUP | WS_CHILD | WS_MINIMIZE | WS_CAPTION | WS_VSCROLL | WS_HSCROLL | WS_SYSMENU | "
       "WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | "},
      {windowOfControl, 0x0000FFFF, ""},
      {windowOfDialog, 0x00400000, "WS_DLGFRAME | "},
      {windowOfDialog, 0x00800000, ""},
      {windowCut, 0x10000000, "WS_VISIBLE"},

      {dialogStyleNames, 0x80C80080, "DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU"},
      {dialogStyleNames, 0x40C00000, "WS_CHILD"},
      {dialogStyleNames, 0xC0C00082, "DS_SYSMODAL | DS_MODALFRAME | WS_CHILD"},
      {dialogStyleNames, 0x00C00000, "WS_CAPTION"},
      {dialogStyleNames, 0x00400000, "WS_DLGFRAME"},
      {dialogStyleNames, 0x50030000, "WS_CHILD | WS_MINIMIZEBOX | WS_MAXIMIZEBOX"},
      {dialogStyleNames, 0x0000FF7D, ""},

      {buttonStyleNames, 0x50010000, "BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP"},
      {buttonStyleNames, 0x00020000, "BS_PUSHBUTTON | WS_GROUP"},
      {buttonStyleNames, 0x00C00000, "BS_PUSHBUTTON | WS_CAPTION | WS_BORDER | WS_DLGFRAME"},
      {buttonStyleNames, 1, "BS_DEFPUSHBUTTON"},
      {buttonStyleNames, 3, "BS_AUTOCHECKBOX"},
      {buttonStyleNames, 4, "BS_RADIOBUTTON"},
      {buttonStyleNames, 6, "BS_AUTO3STATE"},
      {buttonStyleNames, 0x27, "BS_GROUPBOX | BS_LEFTTEXT"},
      {buttonStyleNames, 9, "BS_AUTORADIOBUTTON"},
      {buttonStyleNames, 0x22, "BS_LEFTTEXT"},  // kind 2 has no name
      {buttonStyleNames, 0x40, "BS_PUSHBUTTON"},
      {buttonStyleNames, 31, ""},

      {comboBoxStyleNames, 0xD43,
       "CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | CBS_SORT | CBS_NOINTEGRALHEIGHT | "
       "CBS_DISABLENOSCROLL"},
      {comboBoxStyleNames, 0x22, "CBS_DROPDOWN"},
      {comboBoxStyleNames, 0x12, ""},

      {editStyleNames, 0, "ES_LEFT"},
      {editStyleNames, 0x50800044, "ES_LEFT | ES_MULTILINE | WS_CHILD | WS_VISIBLE | WS_BORDER"},
      {editStyleNames, 1, "ES_CENTER"},
      {editStyleNames, 2, "ES_RIGHT"},
      {editStyleNames, 0x18E7,
       "ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_PASSWORD | ES_AUTOHSCROLL | ES_READONLY | "
       "ES_WANTRETURN"},

      {listBoxStyleNames, 0x50A00003,
       "LBS_NOTIFY | LBS_SORT | LBS_STANDARD | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL"},
      {listBoxStyleNames, 0x00800003, "LBS_NOTIFY | LBS_SORT | WS_BORDER"},
      {listBoxStyleNames, 0x1D8B,  // LBS_WANTKEYBOARDINPUT is 0x400
       "LBS_NOTIFY | LBS_SORT | LBS_MULTIPLESEL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | "
       "LBS_EXTENDEDSEL | LBS_DISABLENOSCROLL | LBS_WANTKEYBOARDINPUT"},
      {listBoxStyleNames, 0, ""},

      {scrollBarStyleNames, 0x50000001, "SBS_VERT | WS_CHILD | WS_VISIBLE"},
      {scrollBarStyleNames, 0x2, ""},

      {staticStyleNames, 0x40000000, "SS_LEFT | WS_CHILD"},
      {staticStyleNames, 0x20, "SS_LEFT"},
      {staticStyleNames, 1, "SS_CENTER"},
      {staticStyleNames, 2, "SS_RIGHT"},
      {staticStyleNames, 0x1203, "SS_ICON | SS_CENTERIMAGE | SS_SUNKEN"},
      {staticStyleNames, 7, "SS_BLACKFRAME"},
      {staticStyleNames, 12, "SS_LEFTNOWORDWRAP"},
      {staticStyleNames, 13, "SS_LEFTNOWORDWRAP"},  // kind 13 shares the bits of 12
      {staticStyleNames, 15, "SS_BLACKFRAME | SS_LEFTNOWORDWRAP"},
      {staticStyleNames, 5, ""},

      {treeViewStyleNames, 0x50010007,
       "TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_CHILD | WS_VISIBLE | WS_TABSTOP"},
      {treeViewStyleNames, 0x8, ""},
  };
  for (const auto& row : rows) EXPECT_EQ(row.write(row.style), row.text) << std::hex << row.style;
}

// A number made of a family's named bits and the window flags, with at most one of its kinds,
// reads back from its text as the same number, except where the writer is known to drop bits.
TEST(StyleWriters, TextsReadBackAsTheirNumber) {
  constexpr std::uint32_t kVisible = 0x10000000, kChild = 0x40000000, kPopup = 0x80000000;
  constexpr std::uint32_t kBorder = 0x800000, kDlgFrame = 0x400000;
  const struct {
    Writer write;
    StyleFamily family;
    std::vector<std::uint32_t> kinds;  // exclusive: a number holds one at most
    bool (*whole)(std::uint32_t style);
  } rows[] = {
      {dialogStyleNames,
       StyleFamily::Dialog,
       {},
       [](std::uint32_t s) {
         // A dialog loses WS_VISIBLE, a lone WS_BORDER, and pop-up and frame beside WS_CHILD.
         if (s & kVisible) return false;
         if ((s & kBorder) && !(s & kDlgFrame)) return false;
         return !(s & kChild) || !(s & (kPopup | kBorder | kDlgFrame));
       }},
      {buttonStyleNames, StyleFamily::Button, {0, 1, 3, 4, 6, 7, 9}, nullptr},
      {comboBoxStyleNames, StyleFamily::ComboBox, {2, 3}, nullptr},
      {editStyleNames,
       StyleFamily::Edit,
       {},
       [](std::uint32_t s) { return !(s & 0x40); }},  // ES_AUTOVSCROLL is not written
      {listBoxStyleNames, StyleFamily::ListBox, {}, nullptr},
      {scrollBarStyleNames, StyleFamily::ScrollBar, {}, nullptr},
      {staticStyleNames, StyleFamily::Static, {0, 1, 2, 3, 7, 12}, nullptr},
      {treeViewStyleNames, StyleFamily::TreeView, {}, nullptr},
      {windowCut, StyleFamily::Window, {}, nullptr},
  };
  std::mt19937 random(20261209);
  for (const auto& row : rows) {
    std::vector<std::uint32_t> bits;
    for (const StyleName& name : kStyleNames)
      if ((name.family == row.family || name.family == StyleFamily::Window) &&
          std::find(row.kinds.begin(), row.kinds.end(), name.value) == row.kinds.end())
        bits.push_back(name.value);
    int checked = 0;
    for (int i = 0; i < 4000; ++i) {
      std::uint32_t style = 0;
      for (std::uint32_t b : bits)
        if (random() & 1) style |= b;
      if (!row.kinds.empty()) {
        const std::size_t kind = random() % (row.kinds.size() + 1);
        if (kind < row.kinds.size()) style |= row.kinds[kind];
      }
      if (row.whole && !row.whole(style)) continue;
      ++checked;
      const std::string text = row.write(style);
      ASSERT_EQ(parseStyle(text), style) << text;
    }
    EXPECT_GT(checked, 200) << static_cast<int>(row.family);
  }
}

}  // namespace
}  // namespace kolvre
