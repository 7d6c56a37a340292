// The dialog model: one DIALOG resource as plain values, without any window. The reader
// (dialog_reader.h) fills it from the block text, the designer and the preview build their live
// windows from it and read their changes back into it, and the writer (dialog_writer.h) turns it
// into block text again.
//
// The first fields of each struct (title, styleAsRead, liveStyle, fontSize, controls; a control's
// caption, id, liveStyle, dropDown, selected) hold what the designer shows and edits. The fields
// under "Carried through" hold the text of the block that the model has no value for, so that a
// store puts it back where it stood: nothing the user did not delete is lost. The user interface
// never needs to read them, only to keep them with their dialog or control (and to go through
// removeControl when a control is deleted).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog_units.h"
#include "dialogs/styles.h"

namespace kolvre {

// The live class of a control: what the preview and the designer show it as.
enum class ControlClass : std::uint8_t {
  Button,
  CheckBox,
  RadioButton,
  GroupBox,
  ComboBox,
  Edit,
  MultiLineEdit,
  ListBox,
  RichEdit,
  ScrollBar,
  StaticText,
  DatePicker,
  TabControl,
  TreeView,
  Bitmap,
  BitmapButton,
  ColumnBrowse,
  Icon,
  Image,
  Meter,
  WindowBrowse,
  ExtendedBrowse,
  // A control of a class the preview has no live class for (a list view, a track bar, an
  // ICON statement): a grey box of its size, labelled with its class.
  Placeholder,
};

// Which style writer of styles.h writes a class's style; WindowFlags: the window flags alone.
enum class StyleWriter : std::uint8_t {
  Button,
  ComboBox,
  Edit,
  ListBox,
  ScrollBar,
  Static,
  TreeView,
  WindowFlags,
};

// What the reader changes in the style read for a class.
enum class StyleAdjust : std::uint8_t {
  None,
  // A combo box that is not a drop-down list (style & 3 is not 3) is raised by 1 to one, and
  // dropDown remembers it.
  DropDownList,
  NoIntegralHeight,  // LBS_NOINTEGRALHEIGHT is added
};

// One row of the class table: a script class (compared by its beginning, in capitals) and a
// condition on the style read, giving a live class.
struct ClassRow {
  std::string_view scriptClass;
  std::uint32_t typeMask = 0;  // the row applies when style & typeMask == typeValue
  std::uint32_t typeValue = 0;
  ControlClass live = ControlClass::Button;
  StyleAdjust adjust = StyleAdjust::None;
};

// The class table, in the order a script class is tried against it.
inline constexpr std::array<ClassRow, 24> kClassTable{{
    {"BUTTON", 31, 3, ControlClass::CheckBox},     // BS_AUTOCHECKBOX
    {"BUTTON", 31, 4, ControlClass::RadioButton},  // BS_RADIOBUTTON
    {"BUTTON", 31, 6, ControlClass::CheckBox},     // BS_AUTO3STATE: shown indeterminate
    {"BUTTON", 31, 7, ControlClass::GroupBox},     // BS_GROUPBOX
    {"BUTTON", 31, 9, ControlClass::RadioButton},  // BS_AUTORADIOBUTTON
    {"BUTTON", 0, 0, ControlClass::Button},        // BS_CHECKBOX and BS_3STATE too
    {"COMBOBOX", 0, 0, ControlClass::ComboBox, StyleAdjust::DropDownList},
    {"EDIT", 4, 4, ControlClass::MultiLineEdit},  // ES_MULTILINE
    {"EDIT", 0, 0, ControlClass::Edit},
    {"LISTBOX", 0, 0, ControlClass::ListBox, StyleAdjust::NoIntegralHeight},
    {"RICHEDIT20A", 0, 0, ControlClass::RichEdit},
    {"SCROLLBAR", 0, 0, ControlClass::ScrollBar},
    {"STATIC", 0, 0, ControlClass::StaticText},
    {"SYSDATETIMEPICK32", 0, 0, ControlClass::DatePicker},
    {"SYSTABCONTROL32", 0, 0, ControlClass::TabControl},
    {"SYSTREEVIEW32", 0, 0, ControlClass::TreeView},
    {"TBITMAP", 0, 0, ControlClass::Bitmap},
    {"TBTNBMP", 0, 0, ControlClass::BitmapButton},
    {"TCBROWSE", 0, 0, ControlClass::ColumnBrowse},
    {"TICON", 0, 0, ControlClass::Icon},
    {"TIMAGE", 0, 0, ControlClass::Image},
    {"TMETER", 0, 0, ControlClass::Meter},
    {"TWBROWSE", 0, 0, ControlClass::WindowBrowse},
    {"TXBROWSE", 0, 0, ControlClass::ExtendedBrowse},
}};

// How each live class is written back.
struct LiveClassInfo {
  ControlClass live;
  std::string_view classWritten;  // the class name the writer puts in the CONTROL line
  StyleWriter style;
  bool receivesText;   // the reader gives it the script's text as caption
  bool writesCaption;  // the writer writes caption (the others write the text they were read with)
};

// Indexed by ControlClass.
inline constexpr std::array<LiveClassInfo, 23> kLiveClasses{{
    {ControlClass::Button, "BUTTON", StyleWriter::Button, true, true},
    {ControlClass::CheckBox, "BUTTON", StyleWriter::Button, true, true},
    {ControlClass::RadioButton, "BUTTON", StyleWriter::Button, true, true},
    {ControlClass::GroupBox, "BUTTON", StyleWriter::Button, true, true},
    {ControlClass::ComboBox, "COMBOBOX", StyleWriter::ComboBox, false, true},
    {ControlClass::Edit, "EDIT", StyleWriter::Edit, false, true},
    {ControlClass::MultiLineEdit, "EDIT", StyleWriter::Edit, false, true},
    {ControlClass::ListBox, "LISTBOX", StyleWriter::ListBox, false, true},
    {ControlClass::RichEdit, "RichEdit20A", StyleWriter::Edit, false, false},
    {ControlClass::ScrollBar, "SCROLLBAR", StyleWriter::ScrollBar, false, true},
    {ControlClass::StaticText, "STATIC", StyleWriter::Static, true, true},
    {ControlClass::DatePicker, "SysDateTimePick32", StyleWriter::WindowFlags, false, true},
    {ControlClass::TabControl, "SysTabControl32", StyleWriter::WindowFlags, false, true},
    {ControlClass::TreeView, "SysTreeView32", StyleWriter::TreeView, false, true},
    {ControlClass::Bitmap, "TBitmap", StyleWriter::WindowFlags, false, false},
    {ControlClass::BitmapButton, "TBtnBmp", StyleWriter::WindowFlags, false, true},
    {ControlClass::ColumnBrowse, "TCBrowse", StyleWriter::WindowFlags, false, true},
    {ControlClass::Icon, "TIcon", StyleWriter::WindowFlags, false, false},
    {ControlClass::Image, "TImage", StyleWriter::WindowFlags, false, false},
    {ControlClass::Meter, "TMeter", StyleWriter::WindowFlags, false, true},
    {ControlClass::WindowBrowse, "TWBrowse", StyleWriter::WindowFlags, false, true},
    {ControlClass::ExtendedBrowse, "TXBrowse", StyleWriter::WindowFlags, false, true},
    // Written as its statement stood; caption holds the label it shows.
    {ControlClass::Placeholder, "", StyleWriter::WindowFlags, false, false},
}};

constexpr const LiveClassInfo& liveClass(ControlClass live) {
  return kLiveClasses[static_cast<std::size_t>(live)];
}

// The short control statements of the resource language. Each stands for a control of one
// class, which the compiler gives WS_CHILD | WS_VISIBLE, the statement's implied style, its
// default style when the statement gives no style, and then the style given (NOT x takes x
// away):
//   KEYWORD "text", id, x, y, cx, cy[, style[, extended style[, help id]]]    with a text
//   KEYWORD id, x, y, cx, cy[, style[, ...]]                                  without
//   ICON text, id, x, y[, cx, cy[, style[, ...]]]         the size is the icon's own
// The implied style is the documentation's default style for the statement. Where a statement
// that gives a style loses part of it, both compilers agree: a combo box loses CBS_SIMPLE |
// WS_TABSTOP (else every CBS_DROPDOWN would read as CBS_DROPDOWNLIST), a radio button its
// WS_TABSTOP; those parts are its default style.
struct ShortStatement {
  std::string_view keyword;
  std::string_view scriptClass;  // in capitals, as the class table compares it
  std::uint32_t impliedStyle;    // besides WS_CHILD | WS_VISIBLE, always
  std::uint32_t defaultStyle;    // only when the statement gives no style
  bool hasText;
  // The type bits that say which kind of control the statement is: a style that changes them
  // cannot be said in this statement.
  std::uint32_t kindMask;
};

inline constexpr std::uint32_t kTabStop = styleNameValue("WS_TABSTOP");
inline constexpr std::uint32_t kGroup = styleNameValue("WS_GROUP");

inline constexpr std::array<ShortStatement, 18> kShortStatements{{
    {"LTEXT", "STATIC", styleNameValue("SS_LEFT") | kGroup, 0, true, 0x1F},
    {"RTEXT", "STATIC", styleNameValue("SS_RIGHT") | kGroup, 0, true, 0x1F},
    {"CTEXT", "STATIC", styleNameValue("SS_CENTER") | kGroup, 0, true, 0x1F},
    {"PUSHBUTTON", "BUTTON", styleNameValue("BS_PUSHBUTTON") | kTabStop, 0, true, 0xF},
    {"DEFPUSHBUTTON", "BUTTON", styleNameValue("BS_DEFPUSHBUTTON") | kTabStop, 0, true, 0xF},
    {"PUSHBOX", "BUTTON", styleNameValue("BS_PUSHBOX") | kTabStop, 0, true, 0xF},
    {"CHECKBOX", "BUTTON", styleNameValue("BS_CHECKBOX") | kTabStop, 0, true, 0xF},
    {"AUTOCHECKBOX", "BUTTON", styleNameValue("BS_AUTOCHECKBOX") | kTabStop, 0, true, 0xF},
    {"STATE3", "BUTTON", styleNameValue("BS_3STATE") | kTabStop, 0, true, 0xF},
    {"AUTO3STATE", "BUTTON", styleNameValue("BS_AUTO3STATE") | kTabStop, 0, true, 0xF},
    {"RADIOBUTTON", "BUTTON", styleNameValue("BS_RADIOBUTTON"), kTabStop, true, 0xF},
    {"AUTORADIOBUTTON", "BUTTON", styleNameValue("BS_AUTORADIOBUTTON"), kTabStop, true, 0xF},
    {"GROUPBOX", "BUTTON", styleNameValue("BS_GROUPBOX"), 0, true, 0xF},
    {"EDITTEXT", "EDIT", styleNameValue("ES_LEFT") | styleNameValue("WS_BORDER") | kTabStop, 0,
     false, 0},
    {"COMBOBOX", "COMBOBOX", 0, styleNameValue("CBS_SIMPLE") | kTabStop, false, 0},
    {"LISTBOX", "LISTBOX", styleNameValue("LBS_NOTIFY") | styleNameValue("WS_BORDER"), 0, false, 0},
    {"SCROLLBAR", "SCROLLBAR", styleNameValue("SBS_HORZ"), 0, false, 0},
    {"ICON", "STATIC", styleNameValue("SS_ICON"), 0, true, 0x1F},
}};

// What the compiler gives every control statement before its own style.
inline constexpr std::uint32_t kControlBaseStyle =
    styleNameValue("WS_CHILD") | styleNameValue("WS_VISIBLE");

// An ICON statement's size: the icon's own, whatever the statement says.
inline constexpr int kIconPixels = 32;

// The memory options a header may hold between the DIALOG keyword and the numbers.
inline constexpr std::array<std::string_view, 7> kMemoryOptions{
    "MOVEABLE", "PURE", "LOADONCALL", "PRELOAD", "FIXED", "IMPURE", "DISCARDABLE"};

// A dialog's style when its text is invalid.
inline constexpr std::uint32_t kDefaultDialogStyle =
    styleNameValue("DS_MODALFRAME") | styleNameValue("WS_POPUP") | styleNameValue("WS_CAPTION") |
    styleNameValue("WS_SYSMENU");
// What a control's window is made with when its style text is invalid.
inline constexpr std::uint32_t kDefaultControlStyle =
    styleNameValue("WS_CHILD") | styleNameValue("WS_VISIBLE") | styleNameValue("WS_TABSTOP");

// Text of the block that the model holds only as a value: a symbol, an expression, a style
// outside the vocabulary. The writer puts `text` back as long as the field still holds `value`
// (the value read from it), and writes the field afresh once it has changed.
template <typename T>
struct KeptText {
  std::string text;
  T value{};
  bool operator==(const KeptText&) const = default;
};

// x, y, cx, cy as written, for those that were not plain numbers; values in dialog units.
using KeptCoordinates = std::array<std::optional<KeptText<int>>, 4>;

// Where a field stands in a kept statement's text: [begin, end), blanks around it left out.
struct FieldSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool operator==(const FieldSpan&) const = default;
};

// Where a kept statement's keyword begins (the indentation before it) and where its value
// stands, blanks and comments around it left out.
struct KeptSpans {
  std::size_t keyword = 0;
  FieldSpan value;
  bool operator==(const KeptSpans&) const = default;
};

// A control statement kept as written: a short statement, or a CONTROL statement of a class the
// preview lacks. While the control holds the values read from it, the writer puts `text` back
// as it stood; a field the user changed is rewritten in place, the others keep their text.
struct KeptStatement {
  std::string text;  // the statement's lines as written, CR LF between them
  // The row of kShortStatements, or kShortStatements.size() for a CONTROL statement.
  std::size_t statement = 0;
  std::optional<FieldSpan> textField;  // none for the statements without a text
  FieldSpan idField;
  std::array<std::optional<FieldSpan>, 4> coordinates;  // x, y, cx, cy; an ICON may lack cx, cy
  std::optional<FieldSpan> style;                       // none when the statement gives no style
  std::optional<FieldSpan> classField;                  // a CONTROL statement's class
  std::size_t keyword = 0;                              // where its keyword begins
  // The values read, which tell what the user changed.
  std::string caption;
  int id = 0;
  PixelRect rect;
  int comboHeight = 0;
  std::optional<std::uint32_t> liveStyle;
  bool dropDown = false;

  bool operator==(const KeptStatement&) const = default;
};

struct DialogControl {
  ControlClass live = ControlClass::Button;
  // The control's text, doubled quotes undone. The reader fills it only for the classes whose
  // receivesText is set; the others start empty.
  std::string caption;
  int id = 0;  // the id; an id written as a name or an expression reads as its leading number
  // The style number with the class adjustment; none when the style text was invalid (a combo
  // box or list box then holds kDefaultControlStyle with its adjustment).
  std::optional<std::uint32_t> liveStyle;
  bool dropDown = false;  // ComboBox: the script's combo box was not a drop-down list
  bool selected = false;  // selected in the designer
  PixelRect rect;         // relative to the dialog's client area
  int comboHeight = 0;    // ComboBox: the designed height (cy) in dialog units

  // Carried through.
  std::optional<KeptText<int>> idAsWritten;  // the id as written when it is not a plain number
  // The style text as written when it was outside the vocabulary; value: liveStyle as read.
  std::optional<KeptText<std::optional<std::uint32_t>>> style;
  KeptCoordinates coordinates;
  std::string tail;  // the fields after cy as written, from their first comma on
  // The style the resource compiler gives the statement as read (WS_CHILD | WS_VISIBLE, the
  // implied style, the style given), before any adjustment of the class table; nothing when
  // the style text holds a symbol the compiler's names do not cover.
  std::optional<std::uint32_t> compiledStyle;
  // The statement as written, for the controls written back in their own form.
  std::optional<KeptStatement> statement;
  // The body statements before this control that are not controls (short forms, unsupported
  // classes, comments, blank lines), each as written; a statement of several lines holds CR LF.
  std::vector<std::string> linesBefore;

  bool operator==(const DialogControl&) const = default;
};

// The header statement as written (NAME DIALOG[EX] [options] x, y, cx, cy[, ...]), with where
// its name and numbers stand, and what was read from them: the writer puts it back as it stood
// and rewrites in place only a number that changed (or the name).
struct KeptHeader {
  std::string text;
  FieldSpan name;
  std::array<FieldSpan, 4> coordinates;
  DialogUnitRect units;  // x, y, cx, cy as read
  std::string nameAsRead;
  bool operator==(const KeptHeader&) const = default;
};

// The FONT statement as written, with where its size and face stand (an empty face span when
// it has no face), and the values read from them.
struct KeptFont {
  std::string text;
  FieldSpan size;
  std::optional<FieldSpan> face;
  int sizeRead = 0;
  std::string faceRead;
  bool operator==(const KeptFont&) const = default;
};

// Where the STYLE, CAPTION and FONT statements stand among the other header statements: each
// key is 10 times the index of the kept line it stands before (headerLines.size() after the
// last), plus its rank among the three before that line. Equal keys are written STYLE, CAPTION,
// FONT. A dialog made afresh has them all before the other statements, in that order.
struct HeaderPlaces {
  int style = 0;
  int caption = 0;
  int font = 0;
  bool operator==(const HeaderPlaces&) const = default;
};

// How the dialog is shown: the preview beside the list, or the designer.
enum class DialogMode : std::uint8_t { Preview, Designer };

struct DialogModel {
  std::string title;              // the caption as written between its quotes (doubled quotes kept)
  std::uint32_t styleAsRead = 0;  // the style as read: the writer writes this one
  std::uint32_t liveStyle = 0;    // the live style: styleAsRead with the placement additions
  int fontSize = 0;               // the point size of the FONT statement
  std::string faceName;           // the face of the FONT statement, quotes removed
  int fontWeight = 0;             // DIALOGEX's FONT weight (0: the face's own)
  bool fontItalic = false;        // DIALOGEX's FONT italic flag
  // The base units of the dialog's font: every pixel rectangle here was converted with them.
  BaseUnits baseUnits = kFixedBaseUnits;
  // The window's pixel rectangle relative to the panel origin (the top-right corner of the
  // resource list), frame and caption bar included as the placement table gives them.
  PixelRect rect;
  DialogMode mode = DialogMode::Designer;
  std::vector<DialogControl> controls;

  // Carried through.
  std::string keyword = "DIALOG";          // DIALOG or DIALOGEX as written
  std::vector<std::string> memoryOptions;  // as written, in order
  KeptCoordinates coordinates;             // the header's x, y, cx, cy
  std::string headerTail;                  // header fields after cy, from their first comma on
  // The STYLE statement as written (value: styleAsRead as read); an empty text when the block
  // had no STYLE statement.
  std::optional<KeptText<std::uint32_t>> style;
  bool fontStatement = false;  // the block had a FONT statement
  std::optional<KeptText<int>>
      fontSizeAsWritten;                      // the point size as written when not a plain number
  std::optional<KeptText<std::string>> face;  // the face field as written when not "name"
  std::string fontTail;  // the FONT fields after the face (weight, italic, character set)
  // Header statements other than the STYLE, CAPTION and FONT read (LANGUAGE, EXSTYLE, MENU,
  // CLASS, comments), in their order, each as written. A header without LANGUAGE is written
  // without one: the dialog keeps the language the script sets around it.
  std::vector<std::string> headerLines;
  HeaderPlaces places;
  std::optional<KeptHeader> header;  // the header statement as written
  // The CAPTION statement as written (value: the title read), kept while title is that title.
  std::optional<KeptText<std::string>> captionAsWritten;
  // Where the STYLE statement's keyword and expression stand in style->text, and the CAPTION
  // statement's keyword and quoted text in captionAsWritten->text.
  KeptSpans styleSpans;
  KeptSpans captionSpans;
  std::optional<KeptFont> fontAsWritten;  // the FONT statement
  // The line that opens the body ("{" or BEGIN) as written, its indentation and comments
  // included; bodyClose: the close line through its "}" or END.
  std::string bodyOpen = "{";
  std::string bodyClose = "}";
  std::vector<std::string> bodyTail;  // body statements after the last control
  std::size_t blockLength = 0;        // bytes of the block text the dialog takes, through its end
  // A block written compactly (statements sharing lines), as written; value: the block in the
  // lines it was read from. The writer gives the text back while it would write that value.
  std::optional<KeptText<std::string>> compact;

  bool operator==(const DialogModel&) const = default;
};

// The LANGUAGE statement the writer gives a dialog whose block has none.
inline constexpr std::string_view kNeutralLanguage = "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL";

// The live style and the window rectangle of a dialog read with the style `styleAsRead` and the
// header's x, y, cx, cy (dialog units), by the placement table.
std::uint32_t liveDialogStyle(std::uint32_t styleAsRead, DialogMode mode);
PixelRect placeDialog(const DialogUnitRect& units, BaseUnits base, std::uint32_t styleAsRead,
                      DialogMode mode);
// The header's x, y, cx, cy for a window rectangle: placeDialog undone, rounding to the nearest
// unit, so an unmoved and unresized dialog gives back what it was read with.
DialogUnitRect dialogUnits(const PixelRect& pixels, BaseUnits base, std::uint32_t styleAsRead,
                           DialogMode mode);

// Deletes control `at`: the statements that stood before it stay, before the control that
// follows it (or at the end of the body).
void removeControl(DialogModel& dialog, std::size_t at);

}  // namespace kolvre
