// The kinds of control the designer adds ("Nuovo TGet (EDIT)" ...) and what a paste adds to the
// style of a control read from the clipboard.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/dialog_model.h"
#include "dialogs/styles.h"

namespace kolvre {

struct NewControlKind {
  std::string_view name;  // as the menu names it after "Nuovo "
  // The window class a Win32 programmer knows the kind by, named after it in the menu: the
  // kinds of the class library stand on the platform's own controls.
  std::string_view windowsClass;
  ControlClass live;
  int width;   // pixels
  int height;  // pixels; a combo box's includes its list
  std::string_view caption;
  std::uint32_t style;  // the stored style
  bool noId;            // created without an id (-1): statics and group boxes
};

namespace control_kinds_detail {
consteval std::uint32_t s(std::string_view name) {
  return styleNameValue(name);
}
inline constexpr std::uint32_t kChildVisible =
    styleNameValue("WS_CHILD") | styleNameValue("WS_VISIBLE");
inline constexpr std::uint32_t kBrowse =
    kChildVisible | styleNameValue("WS_BORDER") | styleNameValue("WS_TABSTOP") |
    styleNameValue("WS_VSCROLL") | styleNameValue("WS_HSCROLL");
// Two tree-view bits the style names do not cover.
inline constexpr std::uint32_t kTreeViewExtraBits = 16 | 32;
}  // namespace control_kinds_detail

// The new-control table, in the order of the menu. A new scroll bar is as wide as a vertical
// scroll bar and 100 pixels high.
inline constexpr std::array<NewControlKind, 21> kNewControlKinds = [] {
  using namespace control_kinds_detail;
  return std::array<NewControlKind, 21>{{
      {"TBitmap", "STATIC", ControlClass::Bitmap, 100, 100, "", kChildVisible, false},
      {"TBtnBmp", "BUTTON", ControlClass::BitmapButton, 50, 50, "", kChildVisible, false},
      {"TButton", "BUTTON", ControlClass::Button, 70, 25, "TButton",
       s("BS_PUSHBUTTON") | kChildVisible | s("WS_TABSTOP"), false},
      {"TCBrowse", "SysListView32", ControlClass::ColumnBrowse, 200, 200, "", kBrowse, false},
      {"TCheckBox", "BUTTON", ControlClass::CheckBox, 80, 20, "TCheckBox",
       s("BS_AUTOCHECKBOX") | s("BS_LEFTTEXT") | kChildVisible | s("WS_TABSTOP"), false},
      {"TComboBox", "COMBOBOX", ControlClass::ComboBox, 250, 200, "",
       s("CBS_DROPDOWNLIST") | kChildVisible | s("WS_VSCROLL") | s("WS_TABSTOP"), false},
      {"TFolder", "SysTabControl32", ControlClass::TabControl, 200, 200, "", kChildVisible, false},
      {"TGet", "EDIT", ControlClass::Edit, 200, 21, "",
       s("ES_AUTOHSCROLL") | kChildVisible | s("WS_BORDER") | s("WS_TABSTOP"), false},
      {"TGroup", "BUTTON", ControlClass::GroupBox, 200, 200, "", s("BS_GROUPBOX") | kChildVisible,
       true},
      {"TIcon", "STATIC", ControlClass::Icon, 100, 100, "", kChildVisible, false},
      {"TImage", "STATIC", ControlClass::Image, 100, 100, "", kChildVisible, false},
      {"TListBox", "LISTBOX", ControlClass::ListBox, 200, 200, "",
       s("LBS_NOTIFY") | s("LBS_USETABSTOPS") | s("LBS_NOINTEGRALHEIGHT") |
           s("LBS_DISABLENOSCROLL") | kChildVisible | s("WS_BORDER") | s("WS_VSCROLL") |
           s("WS_TABSTOP"),
       false},
      {"TMeter", "msctls_progress32", ControlClass::Meter, 200, 25, "", kChildVisible, false},
      {"TMultiGet", "EDIT", ControlClass::MultiLineEdit, 200, 80, "",
       s("ES_MULTILINE") | s("ES_WANTRETURN") | kChildVisible | s("WS_BORDER") | s("WS_VSCROLL") |
           s("WS_TABSTOP"),
       false},
      {"TRadio", "BUTTON", ControlClass::RadioButton, 80, 20, "TRadio",
       s("BS_AUTORADIOBUTTON") | s("BS_LEFTTEXT") | kChildVisible, false},
      {"TRichEdit", "RichEdit20A", ControlClass::RichEdit, 100, 100, "",
       kChildVisible | s("WS_BORDER"), false},
      {"TSay", "STATIC", ControlClass::StaticText, 150, 18, "TSay", s("SS_LEFT") | kChildVisible,
       true},
      {"TScrollBar", "SCROLLBAR", ControlClass::ScrollBar, 17, 100, "",
       s("SBS_VERT") | kChildVisible, false},
      {"TTreeView", "SysTreeView32", ControlClass::TreeView, 200, 200, "",
       s("TVS_HASBUTTONS") | s("TVS_HASLINES") | s("TVS_LINESATROOT") | kTreeViewExtraBits |
           kChildVisible | s("WS_TABSTOP") | s("WS_BORDER"),
       false},
      {"TWBrowse", "SysListView32", ControlClass::WindowBrowse, 200, 200, "", kBrowse, false},
      {"TXBrowse", "SysListView32", ControlClass::ExtendedBrowse, 200, 200, "", kBrowse, false},
  }};
}();

// The menu entry of a kind: "Nuovo ", its name and its window class in parentheses.
std::string newControlLabel(const NewControlKind& kind);

// The kind of that name; null for none.
const NewControlKind* newControlKind(std::string_view name);

// A new control of a kind with its top-left corner at `at`, with `id` (ignored for the kinds
// without one), in a dialog of base units `base`. It is written as a CONTROL line.
DialogControl makeNewControl(const NewControlKind& kind, PixelPoint at, int id, BaseUnits base);

// What a paste adds to the style of a control read from the clipboard: a check box its text
// on the left, a list box the whole height and a scroll bar shown while it cannot scroll.
struct PasteStyleExtra {
  ControlClass live;
  std::uint32_t added;
};
inline constexpr std::array<PasteStyleExtra, 2> kPasteStyleExtras{{
    {ControlClass::CheckBox, styleNameValue("BS_LEFTTEXT")},
    {ControlClass::ListBox,
     styleNameValue("LBS_NOINTEGRALHEIGHT") | styleNameValue("LBS_DISABLENOSCROLL")},
}};

}  // namespace kolvre
