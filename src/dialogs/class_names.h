// The classes a CONTROL statement's class field may name other than by a quoted text: the
// class macros of the common-control and rich-edit headers, which the script includes with
// angle brackets and so never reads, and the ordinals of the predefined classes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "syntax/symbols.h"

namespace kolvre {

struct ClassMacro {
  std::string_view macro;      // as the headers spell it
  std::string_view className;  // the window class it stands for
  std::uint16_t ordinal = 0;   // the predefined class's ordinal; 0 when it has none
};

// Each macro's wide (W) and narrow (A) form, where the headers give one, names the same class
// unless it has a row of its own.
inline constexpr std::array<ClassMacro, 31> kClassMacros{{
    {"WC_BUTTON", "Button", 0x80},
    {"WC_EDIT", "Edit", 0x81},
    {"WC_STATIC", "Static", 0x82},
    {"WC_LISTBOX", "ListBox", 0x83},
    {"WC_SCROLLBAR", "ScrollBar", 0x84},
    {"WC_COMBOBOX", "ComboBox", 0x85},
    {"WC_LISTVIEW", "SysListView32"},
    {"WC_TREEVIEW", "SysTreeView32"},
    {"WC_TABCONTROL", "SysTabControl32"},
    {"WC_HEADER", "SysHeader32"},
    {"WC_IPADDRESS", "SysIPAddress32"},
    {"WC_LINK", "SysLink"},
    {"WC_PAGESCROLLER", "SysPager"},
    {"WC_COMBOBOXEX", "ComboBoxEx32"},
    {"WC_NATIVEFONTCTL", "NativeFontCtl"},
    {"PROGRESS_CLASS", "msctls_progress32"},
    {"TRACKBAR_CLASS", "msctls_trackbar32"},
    {"UPDOWN_CLASS", "msctls_updown32"},
    {"HOTKEY_CLASS", "msctls_hotkey32"},
    {"STATUSCLASSNAME", "msctls_statusbar32"},
    {"TOOLBARCLASSNAME", "ToolbarWindow32"},
    {"REBARCLASSNAME", "ReBarWindow32"},
    {"TOOLTIPS_CLASS", "tooltips_class32"},
    {"ANIMATE_CLASS", "SysAnimate32"},
    {"DATETIMEPICK_CLASS", "SysDateTimePick32"},
    {"MONTHCAL_CLASS", "SysMonthCal32"},
    // The rich edit class of a script compiled without UNICODE, as resource scripts are.
    {"RICHEDIT_CLASS", "RichEdit20A"},
    {"RICHEDIT_CLASSA", "RichEdit20A"},
    {"RICHEDIT_CLASSW", "RichEdit20W"},
    {"RICHEDIT_CLASS10A", "RICHEDIT"},
    {"MSFTEDIT_CLASS", "RICHEDIT50W"},
}};

// The class a control's class field names: a quoted text without its quotes; a class macro's
// class; a name the script defines, followed to its value; a number (0x80, 130) of a predefined
// class, that class; anything else as written (blanks around it left out).
std::string namedClass(std::string_view field, const SymbolTable* symbols = nullptr);

}  // namespace kolvre
