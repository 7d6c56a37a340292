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

// What readStyle shows for a text it cannot read.
inline constexpr std::string_view kInvalidStyleNotice = "Stile non valido.";

// The bits a Type test compares.
inline constexpr std::uint32_t kStyleTypeBits = 31;

// Every flag name a style text may hold: no other name is known. Within a family the rows are
// in the order the writer tests them and puts the names down.
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

// A flag name the resource compiler knows from the platform's headers but readStyle does not:
// such a name never makes a style text valid for the designer, but a statement the compiler
// reads (a short control statement, a control of a class the preview lacks) is given the
// style it compiles to.
struct CompilerStyleName {
  std::string_view name;
  std::uint32_t value;
};

// The names of real scripts' control styles outside kStyleNames, with their values.
inline constexpr std::array<CompilerStyleName, 184> kCompilerStyleNames{{
    // Windows.
    {"WS_OVERLAPPED", 0},
    {"WS_TILED", 0},
    {"WS_ICONIC", 0x20000000},
    {"WS_DISABLED", 0x08000000},
    {"WS_CLIPSIBLINGS", 0x04000000},
    {"WS_CLIPCHILDREN", 0x02000000},
    {"WS_MAXIMIZE", 0x01000000},
    {"WS_SIZEBOX", 0x40000},
    {"WS_CHILDWINDOW", 0x40000000},
    {"WS_OVERLAPPEDWINDOW", 0xCF0000},
    {"WS_TILEDWINDOW", 0xCF0000},
    {"WS_POPUPWINDOW", 0x80880000},
    // Dialogs.
    {"DS_ABSALIGN", 0x1},
    {"DS_3DLOOK", 0x4},
    {"DS_FIXEDSYS", 0x8},
    {"DS_NOFAILCREATE", 0x10},
    {"DS_LOCALEDIT", 0x20},
    {"DS_SETFONT", 0x40},
    {"DS_SHELLFONT", 0x48},
    {"DS_NOIDLEMSG", 0x100},
    {"DS_SETFOREGROUND", 0x200},
    {"DS_CONTROL", 0x400},
    {"DS_CENTER", 0x800},
    {"DS_CENTERMOUSE", 0x1000},
    {"DS_CONTEXTHELP", 0x2000},
    // Statics.
    {"SS_BLACKRECT", 0x4},
    {"SS_GRAYRECT", 0x5},
    {"SS_WHITERECT", 0x6},
    {"SS_GRAYFRAME", 0x8},
    {"SS_WHITEFRAME", 0x9},
    {"SS_USERITEM", 0xA},
    {"SS_SIMPLE", 0xB},
    {"SS_OWNERDRAW", 0xD},
    {"SS_BITMAP", 0xE},
    {"SS_ENHMETAFILE", 0xF},
    {"SS_ETCHEDHORZ", 0x10},
    {"SS_ETCHEDVERT", 0x11},
    {"SS_ETCHEDFRAME", 0x12},
    {"SS_TYPEMASK", 0x1F},
    {"SS_REALSIZECONTROL", 0x40},
    {"SS_NOPREFIX", 0x80},
    {"SS_NOTIFY", 0x100},
    {"SS_RIGHTJUST", 0x400},
    {"SS_REALSIZEIMAGE", 0x800},
    {"SS_EDITCONTROL", 0x2000},
    {"SS_ENDELLIPSIS", 0x4000},
    {"SS_PATHELLIPSIS", 0x8000},
    {"SS_WORDELLIPSIS", 0xC000},
    {"SS_ELLIPSISMASK", 0xC000},
    // Edits.
    {"ES_UPPERCASE", 0x8},
    {"ES_LOWERCASE", 0x10},
    {"ES_NOHIDESEL", 0x100},
    {"ES_OEMCONVERT", 0x400},
    {"ES_NUMBER", 0x2000},
    {"ES_SAVESEL", 0x8000},
    // Buttons.
    {"BS_CHECKBOX", 0x2},
    {"BS_3STATE", 0x5},
    {"BS_USERBUTTON", 0x8},
    {"BS_PUSHBOX", 0xA},
    {"BS_OWNERDRAW", 0xB},
    {"BS_SPLITBUTTON", 0xC},
    {"BS_DEFSPLITBUTTON", 0xD},
    {"BS_COMMANDLINK", 0xE},
    {"BS_DEFCOMMANDLINK", 0xF},
    {"BS_TYPEMASK", 0xF},
    {"BS_TEXT", 0},
    {"BS_RIGHTBUTTON", 0x20},
    {"BS_ICON", 0x40},
    {"BS_BITMAP", 0x80},
    {"BS_LEFT", 0x100},
    {"BS_RIGHT", 0x200},
    {"BS_CENTER", 0x300},
    {"BS_TOP", 0x400},
    {"BS_BOTTOM", 0x800},
    {"BS_VCENTER", 0xC00},
    {"BS_PUSHLIKE", 0x1000},
    {"BS_MULTILINE", 0x2000},
    {"BS_NOTIFY", 0x4000},
    {"BS_FLAT", 0x8000},
    // Combo boxes.
    {"CBS_SIMPLE", 0x1},
    {"CBS_OWNERDRAWFIXED", 0x10},
    {"CBS_OWNERDRAWVARIABLE", 0x20},
    {"CBS_OEMCONVERT", 0x80},
    {"CBS_HASSTRINGS", 0x200},
    {"CBS_UPPERCASE", 0x2000},
    {"CBS_LOWERCASE", 0x4000},
    // List boxes.
    {"LBS_NOREDRAW", 0x4},
    {"LBS_OWNERDRAWFIXED", 0x10},
    {"LBS_OWNERDRAWVARIABLE", 0x20},
    {"LBS_HASSTRINGS", 0x40},
    {"LBS_MULTICOLUMN", 0x200},
    {"LBS_NODATA", 0x2000},
    {"LBS_NOSEL", 0x4000},
    {"LBS_COMBOBOX", 0x8000},
    // Scroll bars.
    {"SBS_HORZ", 0},
    {"SBS_TOPALIGN", 0x2},
    {"SBS_LEFTALIGN", 0x2},
    {"SBS_BOTTOMALIGN", 0x4},
    {"SBS_RIGHTALIGN", 0x4},
    {"SBS_SIZEBOXTOPLEFTALIGN", 0x2},
    {"SBS_SIZEBOXBOTTOMRIGHTALIGN", 0x4},
    {"SBS_SIZEBOX", 0x8},
    {"SBS_SIZEGRIP", 0x10},
    // Tree views.
    {"TVS_EDITLABELS", 0x8},
    {"TVS_DISABLEDRAGDROP", 0x10},
    {"TVS_SHOWSELALWAYS", 0x20},
    {"TVS_RTLREADING", 0x40},
    {"TVS_NOTOOLTIPS", 0x80},
    {"TVS_CHECKBOXES", 0x100},
    {"TVS_TRACKSELECT", 0x200},
    {"TVS_SINGLEEXPAND", 0x400},
    {"TVS_INFOTIP", 0x800},
    {"TVS_FULLROWSELECT", 0x1000},
    {"TVS_NOSCROLL", 0x2000},
    {"TVS_NONEVENHEIGHT", 0x4000},
    {"TVS_NOHSCROLL", 0x8000},
    // List views.
    {"LVS_ICON", 0},
    {"LVS_REPORT", 0x1},
    {"LVS_SMALLICON", 0x2},
    {"LVS_LIST", 0x3},
    {"LVS_SINGLESEL", 0x4},
    {"LVS_SHOWSELALWAYS", 0x8},
    {"LVS_SORTASCENDING", 0x10},
    {"LVS_SORTDESCENDING", 0x20},
    {"LVS_SHAREIMAGELISTS", 0x40},
    {"LVS_NOLABELWRAP", 0x80},
    {"LVS_AUTOARRANGE", 0x100},
    {"LVS_EDITLABELS", 0x200},
    {"LVS_OWNERDRAWFIXED", 0x400},
    {"LVS_ALIGNTOP", 0},
    {"LVS_ALIGNLEFT", 0x800},
    {"LVS_OWNERDATA", 0x1000},
    {"LVS_NOSCROLL", 0x2000},
    {"LVS_NOCOLUMNHEADER", 0x4000},
    {"LVS_NOSORTHEADER", 0x8000},
    // Up-down controls.
    {"UDS_WRAP", 0x1},
    {"UDS_SETBUDDYINT", 0x2},
    {"UDS_ALIGNRIGHT", 0x4},
    {"UDS_ALIGNLEFT", 0x8},
    {"UDS_AUTOBUDDY", 0x10},
    {"UDS_ARROWKEYS", 0x20},
    {"UDS_HORZ", 0x40},
    {"UDS_NOTHOUSANDS", 0x80},
    {"UDS_HOTTRACK", 0x100},
    // Track bars.
    {"TBS_AUTOTICKS", 0x1},
    {"TBS_VERT", 0x2},
    {"TBS_HORZ", 0},
    {"TBS_TOP", 0x4},
    {"TBS_BOTTOM", 0},
    {"TBS_LEFT", 0x4},
    {"TBS_RIGHT", 0},
    {"TBS_BOTH", 0x8},
    {"TBS_NOTICKS", 0x10},
    {"TBS_ENABLESELRANGE", 0x20},
    {"TBS_FIXEDLENGTH", 0x40},
    {"TBS_NOTHUMB", 0x80},
    {"TBS_TOOLTIPS", 0x100},
    {"TBS_REVERSED", 0x200},
    {"TBS_DOWNISLEFT", 0x400},
    {"TBS_NOTIFYBEFOREMOVE", 0x800},
    {"TBS_TRANSPARENTBKGND", 0x1000},
    // Progress bars.
    {"PBS_SMOOTH", 0x1},
    {"PBS_VERTICAL", 0x4},
    {"PBS_MARQUEE", 0x8},
    // Date pickers.
    {"DTS_UPDOWN", 0x1},
    {"DTS_SHOWNONE", 0x2},
    {"DTS_LONGDATEFORMAT", 0x4},
    {"DTS_TIMEFORMAT", 0x9},
    {"DTS_SHORTDATECENTURYFORMAT", 0xC},
    {"DTS_APPCANPARSE", 0x10},
    {"DTS_RIGHTALIGN", 0x20},
    // Tab controls.
    {"TCS_TABS", 0},
    {"TCS_SINGLELINE", 0},
    {"TCS_BOTTOM", 0x2},
    {"TCS_FLATBUTTONS", 0x8},
    {"TCS_HOTTRACK", 0x40},
    {"TCS_BUTTONS", 0x100},
    {"TCS_MULTILINE", 0x200},
    {"TCS_FIXEDWIDTH", 0x400},
    {"TCS_TOOLTIPS", 0x4000},
    {"TCS_FOCUSNEVER", 0x8000},
    // Links.
    {"LWS_TRANSPARENT", 0x1},
    {"LWS_IGNORERETURN", 0x2},
    {"LWS_NOPREFIX", 0x4},
}};

// The value of a flag name as the tables spell it (kStyleNames, then kCompilerStyleNames). Only
// evaluated as a constant: a name missing from the tables does not compile.
consteval std::uint32_t styleNameValue(std::string_view name) {
  for (const StyleName& row : kStyleNames)
    if (row.name == name) return row.value;
  for (const CompilerStyleName& row : kCompilerStyleNames)
    if (row.name == name) return row.value;
  throw "no such style name";
}

// The value of a flag name as the resource compiler reads it: a name of either table, in any
// letter case; nothing for any other name.
std::optional<std::uint32_t> compilerNameValue(std::string_view name);

// A style expression as the resource compiler evaluates it: terms separated by "|", each a
// flag name (compilerNameValue), a number (parseStyleNumber, also with an L or U suffix), or
// NOT before one of those. From `base` (the style the statement implies), each term in turn is
// added, or with NOT taken away. Nothing when a term is none of these (a symbol the script's
// own headers define, an expression).
std::optional<std::uint32_t> compileStyle(std::string_view text, std::uint32_t base);

// A number as a style text may hold it: decimal digits, or "0x" (or "0X") and hexadecimal
// digits of either case; nothing when it is not such a number or does not fit in 32 bits.
std::optional<std::uint32_t> parseStyleNumber(std::string_view text);

// A style text read: terms separated by "|" with blanks (spaces, tabs, line breaks) around them
// ignored, each a name of kStyleNames in any letter case or a number (parseStyleNumber); the
// result is the OR of their values. A text of blanks only is 0. Nothing when the text is not
// such an expression.
std::optional<std::uint32_t> parseStyle(std::string_view text);

// readStyle: parseStyle, showing "Stile non valido." when the text is invalid.
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
