// Window styles of dialog resources. The live dialog holds a style as a number; the script
// writes it as flag names joined by " | ". readStyle reads such a text into the number, and one
// writer per family of controls (plus the window flags every family shares) writes it back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"
#include "syntax/style_vocabulary.h"
#include "syntax/vocabulary.h"

namespace kolvre {

// The families the flag names belong to: the dialog itself, the window flags every element
// shares, and the control classes that have names of their own.
enum class StyleFamily : std::uint8_t {
  Dialog,
  Window,
  Static,
  Edit,
  ComboBox,
  Button,
  ListBox,
  ScrollBar,
  TreeView,
  DatePicker,
};

// How a writer decides that a name applies to a style.
enum class StyleTest : std::uint8_t {
  Mask,      // all the name's bits are set
  Type,      // the low five bits (kStyleTypeBits) equal the value: one of exclusive kinds
  ReadOnly,  // read by readStyle, never written
};

// When a name whose test holds is still not written.
enum class StyleOmit : std::uint8_t {
  Never,
  InDialog,             // the dialog's own text does not carry it
  InControl,            // a control's text does not carry it (another name holds its bits)
  InDialogWhenCovered,  // in the dialog's text, when names already written hold all its bits
  BesideCenterOrRight,  // ES_LEFT, when ES_CENTER or ES_RIGHT is set
};

struct StyleName {
  StyleFamily family;
  std::string_view name;  // as written; read without regard to case
  std::uint32_t value;
  StyleTest test;
  StyleOmit omit = StyleOmit::Never;
};

// What readStyle shows for a text it cannot read where no single word is to blame (a malformed
// term); invalidStyleNotice names the word when one is.
inline constexpr std::string_view kInvalidStyleNotice = "Stile non valido.";
// What comes before the word invalidStyleNotice names.
inline constexpr std::string_view kInvalidStyleWord = "Stile non valido: ";

// The bits a Type test compares.
inline constexpr std::uint32_t kStyleTypeBits = 31;

// The names the writer puts down, a few of the vocabulary's (kStyleVocabulary, which reading
// knows whole): within a family the rows are in the order the writer tests them and puts the
// names down. Each value is the vocabulary's (styles.cpp checks it as it compiles).
inline constexpr std::array<StyleName, 62> kStyleNames{{
    {StyleFamily::Dialog, "DS_SYSMODAL", 0x2, StyleTest::Mask},
    {StyleFamily::Dialog, "DS_MODALFRAME", 0x80, StyleTest::Mask},

    {StyleFamily::Window, "WS_POPUP", 0x80000000, StyleTest::Mask},
    {StyleFamily::Window, "WS_CHILD", 0x40000000, StyleTest::Mask},
    {StyleFamily::Window, "WS_VISIBLE", 0x10000000, StyleTest::Mask, StyleOmit::InDialog},
    {StyleFamily::Window, "WS_MINIMIZE", 0x20000000, StyleTest::Mask},
    {StyleFamily::Window, "WS_CAPTION", 0xC00000, StyleTest::Mask},
    {StyleFamily::Window, "WS_BORDER", 0x800000, StyleTest::Mask, StyleOmit::InDialog},
    {StyleFamily::Window, "WS_DLGFRAME", 0x400000, StyleTest::Mask, StyleOmit::InDialogWhenCovered},
    {StyleFamily::Window, "WS_VSCROLL", 0x200000, StyleTest::Mask},
    {StyleFamily::Window, "WS_HSCROLL", 0x100000, StyleTest::Mask},
    {StyleFamily::Window, "WS_SYSMENU", 0x80000, StyleTest::Mask},
    {StyleFamily::Window, "WS_THICKFRAME", 0x40000, StyleTest::Mask},
    {StyleFamily::Window, "WS_MINIMIZEBOX", 0x20000, StyleTest::Mask, StyleOmit::InControl},
    {StyleFamily::Window, "WS_MAXIMIZEBOX", 0x10000, StyleTest::Mask, StyleOmit::InControl},
    {StyleFamily::Window, "WS_GROUP", 0x20000, StyleTest::Mask, StyleOmit::InDialog},
    {StyleFamily::Window, "WS_TABSTOP", 0x10000, StyleTest::Mask, StyleOmit::InDialog},

    {StyleFamily::Static, "SS_LEFT", 0, StyleTest::Type},
    {StyleFamily::Static, "SS_CENTER", 1, StyleTest::Type},
    {StyleFamily::Static, "SS_RIGHT", 2, StyleTest::Type},
    {StyleFamily::Static, "SS_ICON", 3, StyleTest::Type},
    // Kinds too, but tested as masks: a static of another kind holding all of 7 or of 12 is
    // written with these names as well.
    {StyleFamily::Static, "SS_BLACKFRAME", 7, StyleTest::Mask},
    {StyleFamily::Static, "SS_LEFTNOWORDWRAP", 12, StyleTest::Mask},
    {StyleFamily::Static, "SS_CENTERIMAGE", 0x200, StyleTest::Mask},
    {StyleFamily::Static, "SS_SUNKEN", 0x1000, StyleTest::Mask},

    {StyleFamily::Edit, "ES_LEFT", 0, StyleTest::Mask, StyleOmit::BesideCenterOrRight},
    {StyleFamily::Edit, "ES_CENTER", 1, StyleTest::Mask},
    {StyleFamily::Edit, "ES_RIGHT", 2, StyleTest::Mask},
    {StyleFamily::Edit, "ES_MULTILINE", 4, StyleTest::Mask},
    {StyleFamily::Edit, "ES_PASSWORD", 0x20, StyleTest::Mask},
    {StyleFamily::Edit, "ES_AUTOVSCROLL", 0x40, StyleTest::ReadOnly},
    {StyleFamily::Edit, "ES_AUTOHSCROLL", 0x80, StyleTest::Mask},
    {StyleFamily::Edit, "ES_READONLY", 0x800, StyleTest::Mask},
    {StyleFamily::Edit, "ES_WANTRETURN", 0x1000, StyleTest::Mask},

    {StyleFamily::ComboBox, "CBS_DROPDOWN", 2, StyleTest::Type},
    {StyleFamily::ComboBox, "CBS_DROPDOWNLIST", 3, StyleTest::Type},
    {StyleFamily::ComboBox, "CBS_AUTOHSCROLL", 0x40, StyleTest::Mask},
    {StyleFamily::ComboBox, "CBS_SORT", 0x100, StyleTest::Mask},
    {StyleFamily::ComboBox, "CBS_NOINTEGRALHEIGHT", 0x400, StyleTest::Mask},
    {StyleFamily::ComboBox, "CBS_DISABLENOSCROLL", 0x800, StyleTest::Mask},

    {StyleFamily::Button, "BS_PUSHBUTTON", 0, StyleTest::Type},
    {StyleFamily::Button, "BS_DEFPUSHBUTTON", 1, StyleTest::Type},
    {StyleFamily::Button, "BS_AUTOCHECKBOX", 3, StyleTest::Type},
    {StyleFamily::Button, "BS_RADIOBUTTON", 4, StyleTest::Type},
    {StyleFamily::Button, "BS_AUTO3STATE", 6, StyleTest::Type},
    {StyleFamily::Button, "BS_GROUPBOX", 7, StyleTest::Type},
    {StyleFamily::Button, "BS_AUTORADIOBUTTON", 9, StyleTest::Type},
    {StyleFamily::Button, "BS_LEFTTEXT", 0x20, StyleTest::Mask},

    {StyleFamily::ListBox, "LBS_NOTIFY", 1, StyleTest::Mask},
    {StyleFamily::ListBox, "LBS_SORT", 2, StyleTest::Mask},
    {StyleFamily::ListBox, "LBS_MULTIPLESEL", 8, StyleTest::Mask},
    {StyleFamily::ListBox, "LBS_USETABSTOPS", 0x80, StyleTest::Mask},
    {StyleFamily::ListBox, "LBS_NOINTEGRALHEIGHT", 0x100, StyleTest::Mask},
    {StyleFamily::ListBox, "LBS_EXTENDEDSEL", 0x800, StyleTest::Mask},
    {StyleFamily::ListBox, "LBS_DISABLENOSCROLL", 0x1000, StyleTest::Mask},
    // 0x400 as the headers define it (0x4000 is LBS_NOSEL).
    {StyleFamily::ListBox, "LBS_WANTKEYBOARDINPUT", 0x400, StyleTest::Mask},
    // LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER
    {StyleFamily::ListBox, "LBS_STANDARD", 0xA00003, StyleTest::Mask},

    {StyleFamily::ScrollBar, "SBS_VERT", 1, StyleTest::Mask},

    {StyleFamily::TreeView, "TVS_HASBUTTONS", 1, StyleTest::Mask},
    {StyleFamily::TreeView, "TVS_HASLINES", 2, StyleTest::Mask},
    {StyleFamily::TreeView, "TVS_LINESATROOT", 4, StyleTest::Mask},

    {StyleFamily::DatePicker, "DTS_SHORTDATEFORMAT", 0, StyleTest::ReadOnly},
}};

// The value of a flag name as the headers spell it. Only evaluated as a constant: a name missing
// from the vocabulary does not compile.
consteval std::uint32_t styleNameValue(std::string_view name) {
  for (const VocabularyName& row : kStyleVocabulary)
    if (row.name == name) return row.value;
  throw "no such style name";
}

// A style expression as the resource compiler evaluates it (evaluate, without the script's
// symbols): from `base` (the style the statement implies), each term in turn is added, or with
// NOT taken away. Nothing when it names a word outside the compiler's vocabulary (a symbol the
// script's own headers define) or is no expression.
std::optional<std::uint32_t> compileStyle(std::string_view text, std::uint32_t base);

// A style text read: terms separated by "|" (orTerms), each a name of the vocabulary in any
// letter case or a number as the compilers read it (compilerNumber); the result is the OR of
// their values. A text of blanks only is 0. Nothing when the text is not such an expression.
std::optional<std::uint32_t> parseStyle(std::string_view text);

// The notice for a style text that does not read: "Stile non valido: IDS_FOO." naming the first
// term that is a word the vocabulary lacks (after NOT, too: a symbol of the script's headers, a
// misspelt name), else "Stile non valido." (kInvalidStyleNotice).
std::string invalidStyleNotice(std::string_view styleText);

// readStyle: parseStyle, showing invalidStyleNotice when the text is invalid.
std::optional<std::uint32_t> readStyle(UserInterface& ui, std::string_view text);

// The window-flag names of a style, each followed by " | ", the last one too; "" when none.
// `dialog` selects the dialog's own text, which leaves out WS_VISIBLE, WS_BORDER, WS_GROUP and
// WS_TABSTOP (and WS_DLGFRAME beside WS_CAPTION), and names 0x20000 and 0x10000 as
// WS_MINIMIZEBOX and WS_MAXIMIZEBOX instead.
std::string windowStyleNames(std::uint32_t style, bool dialog = false);

// The texts of the dialog and of each control family: the family's names first, then the
// window flags, joined by " | "; "" when no name applies. The dialog's text drops WS_POPUP and
// WS_CAPTION when WS_CHILD is set.
std::string dialogStyleNames(std::uint32_t style);
std::string buttonStyleNames(std::uint32_t style);
std::string comboBoxStyleNames(std::uint32_t style);
std::string editStyleNames(std::uint32_t style);
std::string listBoxStyleNames(std::uint32_t style);
std::string scrollBarStyleNames(std::uint32_t style);
std::string staticStyleNames(std::uint32_t style);
std::string treeViewStyleNames(std::uint32_t style);

}  // namespace kolvre
