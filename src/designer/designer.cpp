#include "designer/designer.h"

#include <algorithm>
#include <utility>

#include "base/text.h"
#include "designer/control_kinds.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/styles.h"
#include "messages/form_check.h"
#include "messages/messages.h"
#include "platform/system_metrics.h"

namespace kolvre {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint32_t kComboTypeBits = 3;  // CBS_DROPDOWNLIST

std::string idText(const DialogControl& control) {
  if (control.id && control.id->value == control.Cargo) return control.id->text;
  return std::to_string(control.Cargo);
}

// An id written as a symbol or an expression: renumbering and NextId leave it alone.
bool symbolicId(const DialogControl& control) {
  return control.id && control.id->value == control.Cargo;
}

std::string_view trimTrailingBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A number of a form field: an optional minus and digits. Nothing when it is not one; `fits`
// says whether its digits fit the picture's.
struct FieldNumber {
  int value = 0;
  bool fits = true;
};
std::optional<FieldNumber> fieldNumber(std::string_view text, std::string_view picture) {
  text = trimBlanks(text);
  if (text.empty()) return FieldNumber{};
  const bool negative = text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  FieldNumber n;
  long long value = 0;
  std::size_t digits = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    if (digits > 0 || c != '0') ++digits;
    if (digits <= 9) value = value * 10 + (c - '0');
  }
  n.fits = digits <= picture.size();
  n.value = static_cast<int>(negative ? -value : value);
  return n;
}

// The fields of a control line after its caption (the caption's closing quote starts them).
std::vector<std::string_view> lineFieldsAfterCaption(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t open = line.find('"');
  if (open == std::string_view::npos) return fields;
  std::size_t close = open + 1;
  while (close < line.size()) {
    if (line[close] == '"') {
      if (close + 1 < line.size() && line[close + 1] == '"') {
        close += 2;
        continue;
      }
      break;
    }
    ++close;
  }
  std::string_view rest = close < line.size() ? line.substr(close + 1) : std::string_view{};
  for (;;) {
    const std::size_t comma = rest.find(',');
    fields.push_back(trimBlanks(rest.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return fields;
}

std::string withoutQuotes(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

// The reader's rule for a combo box's style: the live control is always a drop-down list, and
// lDropDown remembers a combo box that was not one.
void setComboStyle(DialogControl& control, std::uint32_t style) {
  control.lDropDown = (style & kComboTypeBits) != kComboTypeBits;
  control.nStyle = control.lDropDown ? style + 1 : style;
}

// The lines of a clipboard text, without their line ends.
std::vector<std::string_view> textLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

// The first word of a line, to name a line that is no control.
std::string_view firstWord(std::string_view line) {
  line = trimBlanks(line);
  return line.substr(0, line.find_first_of(" \t,"));
}

}  // namespace

std::string dialogStatusText(const DialogModel& dialog) {
  return "Dialog: " + std::to_string(dialog.rect.width) + " x " +
         std::to_string(dialog.rect.height);
}

std::string controlStatusText(const DialogControl& control) {
  return "Id: " + idText(control) + "   " + std::to_string(control.rect.width) + " x " +
         std::to_string(control.rect.height);
}

std::string& propertyValue(ControlProperties& form, int id) {
  switch (id) {
    case 102:
      return form.id;
    case 103:
      return form.className;
    case 104:
      return form.x;
    case 105:
      return form.y;
    case 106:
      return form.width;
    case 107:
      return form.height;
    case 108:
      return form.style;
    default:
      return form.caption;
  }
}

ControlProperties controlProperties(const DialogControl& control) {
  ControlProperties form;
  form.caption = control.cCaption.substr(0, kCaptionMaxLength);
  form.id = idText(control);
  const std::string line = MAKECONTROL(control);
  const std::vector<std::string_view> fields = lineFieldsAfterCaption(line);
  if (fields.size() > 3) {
    form.className = withoutQuotes(fields[2]);
    form.style = std::string(fields[3]);
  }
  form.x = std::to_string(pixelsToDuX(control.rect.x));
  form.y = std::to_string(pixelsToDuY(control.rect.y));
  form.width = std::to_string(pixelsToDuX(control.rect.width));
  // A combo box's height is that of its list, as the line writes it.
  form.height =
      std::to_string(control.live == ControlClass::TComboBox2 ? control.comboHeight
                                                              : pixelsToDuY(control.rect.height));
  return form;
}

std::optional<PropertyFault> checkProperties(const ControlProperties& form,
                                             const ControlProperties& shown) {
  ControlProperties values = form;
  for (const PropertyField& field : kPropertyFields) {
    if (field.readOnly) continue;
    const std::string& value = propertyValue(values, field.id);
    if (field.required && trimSpace(value).empty()) return PropertyFault{field.id, kMsgBadField};
    if (field.id == 102 && value == shown.id) continue;  // the id as shown, a symbol too
    if (!field.picture.empty()) {
      const auto n = fieldNumber(value, field.picture);
      if (!n) return PropertyFault{field.id, kMsgBadField};
      if (!n->fits) return PropertyFault{field.id, kMsgNumberTooLarge};
    }
    if (field.id == 108 && !parseStyle(value)) return PropertyFault{field.id, kInvalidStyleNotice};
  }
  return std::nullopt;
}

TDrag::TDrag(DialogModel& dialog, UserInterface& ui, DesignerHost& host, TextMeasure measure,
             TextEncoding encoding)
    : dialog_(dialog), ui_(ui), host_(host), measure_(std::move(measure)), encoding_(encoding) {
  for (std::size_t k = 0; k < aSize.size(); ++k) aSize[k].nType = static_cast<int>(k) + 1;
  for (DialogControl& c : dialog_.aControls) c.lSel = false;
}

UnitRect TDrag::clientSize() const {
  return {0, 0, dialog_.rect.width - 2 * SM_CXFRAME,
          dialog_.rect.height - 2 * SM_CYFRAME - SM_CYCAPTION};
}

// --- state helpers ---

void TDrag::beginStep() {
  if (!pending_) pending_ = takeSnapshot(dialog_, oCtl);
}

void TDrag::endStep() {
  if (!pending_) return;
  DesignerSnapshot before = std::move(*pending_);
  pending_.reset();
  if (!sameControls(before, takeSnapshot(dialog_, oCtl))) history_.record(std::move(before));
}

void TDrag::moveControl(std::size_t at, const UnitRect& rect) {
  if (control(at).rect == rect) return;
  control(at).rect = rect;
  refresh_.moved.push_back(at);
  if (control(at).lSel) refresh_.repaint = true;
}

void TDrag::setSelected(std::size_t at, bool selected) {
  if (control(at).lSel == selected) return;
  control(at).lSel = selected;
  refresh_.repaint = true;
}

void TDrag::setCurrent(std::optional<std::size_t> c) {
  oCtl = c;
  SetCtl(c);
}

void TDrag::status(const DialogControl& c, bool message) {
  host_.setStatus(controlStatusText(c), message);
}

void TDrag::dialogStatus(bool message) {
  host_.setStatus(dialogStatusText(dialog_), message);
}

void TDrag::removeAt(std::size_t at) {
  removeControl(dialog_, at);
  if (oCtl) {
    if (*oCtl == at)
      oCtl.reset();
    else if (*oCtl > at)
      --*oCtl;
  }
  refresh_.rebuild = true;
  refresh_.repaint = true;
}

DesignerRefresh TDrag::takeRefresh() {
  DesignerRefresh out = std::move(refresh_);
  refresh_ = {};
  std::sort(out.moved.begin(), out.moved.end());
  out.moved.erase(std::unique(out.moved.begin(), out.moved.end()), out.moved.end());
  return out;
}

// --- selection and painting ---

void TDrag::SetSel(bool selected) {
  for (std::size_t i = 0; i < dialog_.aControls.size(); ++i) setSelected(i, selected);
}

bool TDrag::NeedRefresh() const {
  return std::any_of(dialog_.aControls.begin(), dialog_.aControls.end(),
                     [](const DialogControl& c) { return c.lSel; });
}

void TDrag::SetCtl(std::optional<std::size_t> c) {
  if (c && *c >= dialog_.aControls.size()) c.reset();
  if (c) {
    const auto rects = handleRects(control(*c));
    for (std::size_t k = 0; k < aSize.size(); ++k) {
      aSize[k].rect = rects[k];
      aSize[k].shown = true;
    }
  } else {
    for (TSize& handle : aSize) handle.shown = false;
  }
  refresh_.handles = true;
}

std::vector<Box> TDrag::outlines() const {
  std::vector<Box> boxes;
  if (!lDrw) return boxes;
  for (const DialogControl& c : dialog_.aControls)
    if (c.lSel) boxes.push_back(selectionOutline(c));
  return boxes;
}

std::optional<Box> TDrag::band() const {
  if (!nBtm || !nRgt) return std::nullopt;
  return Box{nTop, nLft, *nBtm, *nRgt};
}

// --- the band ---

void TDrag::InitSel(Point at, KeyModifiers modifiers) {
  if (gesture_ != Gesture::None) return;
  nTop = at.row;
  nLft = at.column;
  nBtm.reset();
  nRgt.reset();
  // Group boxes take no mouse input: a press on a selected one, or near its frame, drags it.
  const Box point{at.row, at.column, at.row, at.column};
  for (std::size_t i = 0; i < dialog_.aControls.size(); ++i) {
    const DialogControl& c = control(i);
    if (c.live != ControlClass::TGroup || !InRect(boxOf(c.rect), point, true)) continue;
    if (c.lSel || InRect(boxOf(c.rect), point, true, true)) {
      InitDrg(i, at, modifiers);
      return;
    }
    break;
  }
  SetSel(false);
  setCurrent(std::nullopt);
  dialogStatus(false);
  gesture_ = Gesture::Banding;
}

void TDrag::DragSel(Point at) {
  if (gesture_ != Gesture::Banding) return;
  nBtm = std::max(at.row, 0);
  nRgt = std::max(at.column, 0);
  refresh_.repaint = true;
}

void TDrag::StopSel() {
  if (gesture_ != Gesture::Banding) return;
  gesture_ = Gesture::None;
  if (const auto b = band()) {
    for (std::size_t i = 0; i < dialog_.aControls.size(); ++i)
      setSelected(i, InRect(boxOf(control(i).rect), *b));
    nBtm.reset();
    nRgt.reset();
    refresh_.repaint = true;
  }
}

// --- dragging ---

void TDrag::InitDrg(std::size_t at, Point p, KeyModifiers modifiers) {
  if (gesture_ != Gesture::None || at >= dialog_.aControls.size()) return;
  if (modifiers.shift) {
    setSelected(at, !control(at).lSel);
    if (oCtl && *oCtl != at) setSelected(*oCtl, true);
    setCurrent(std::nullopt);
    refresh_.repaint = true;
    return;
  }
  beginStep();
  if (!control(at).lSel) {
    SetSel(false);
    SetCtl(std::nullopt);
  }
  oCtl = at;
  SetCtl(std::nullopt);  // no handles while dragging
  lDrw = false;
  refresh_.repaint = true;
  nTop = p.row - control(at).rect.y;
  nLft = p.column - control(at).rect.x;
  if (control(at).live == ControlClass::TSay2) grey_ = at;
  kolv_ = upperAscii(ui_.readSetting(kKolvSection, kKolvKey, kKolvDefault)).starts_with("S");
  status(control(at), false);
  gesture_ = Gesture::Dragging;
}

void TDrag::DragDrg(Point p, KeyModifiers modifiers) {
  if (modifiers.shift || gesture_ != Gesture::Dragging || !oCtl) return;
  DialogControl& current = control(*oCtl);
  if (p.row - current.rect.y == nTop && p.column - current.rect.x == nLft) return;
  const int oldTop = current.rect.y;
  const int oldLeft = current.rect.x;
  const int newTop = snapRow(p.row - nTop, nGrid);
  const int newLeft = snapColumn(p.column - nLft, nGrid);
  moveControl(*oCtl, {newLeft, newTop, current.rect.width, current.rect.height});
  if (newTop == oldTop && newLeft == oldLeft) return;
  for (std::size_t i = 0; i < dialog_.aControls.size(); ++i) {
    const DialogControl& c = control(i);
    if (i == *oCtl || !c.lSel) continue;
    int top = snapRow(c.rect.y + newTop - oldTop, nGrid);
    const int left = snapColumn(c.rect.x + newLeft - oldLeft, nGrid);
    if (kolv_ && c.live == ControlClass::TSay2) top = nudgeRow(top, 1);
    moveControl(i, {left, top, c.rect.width, c.rect.height});
  }
}

void TDrag::StopDrg() {
  // A drag ends with its release, Shift held or not: left running, the designer would keep the
  // outlines hidden and wait for a release that never comes.
  if (gesture_ != Gesture::Dragging) return;
  gesture_ = Gesture::None;
  if (oCtl && !control(*oCtl).lSel) SetCtl(oCtl);
  lDrw = true;
  grey_.reset();
  refresh_.repaint = true;
  endStep();
}

void TDrag::MouseMove(Point at, KeyModifiers modifiers) {
  switch (gesture_) {
    case Gesture::Banding:
      DragSel(at);
      return;
    case Gesture::Dragging:
      DragDrg(at, modifiers);
      return;
    case Gesture::Resizing:
      DragSize(at);
      return;
    case Gesture::None:
      return;
  }
}

void TDrag::MouseRelease() {
  switch (gesture_) {
    case Gesture::Banding:
      StopSel();
      return;
    case Gesture::Dragging:
      StopDrg();
      return;
    case Gesture::Resizing:
      StopSize();
      return;
    case Gesture::None:
      return;
  }
}

// --- keys ---

bool TDrag::KeyDown(int virtualKey, KeyModifiers modifiers) {
  const DesignerAction action = designerKeyAction(virtualKey, modifiers);
  // While a press is under way only Esc acts: the other commands would change the controls
  // that the press is moving.
  if (gesture_ != Gesture::None && action != DesignerAction::Close) return false;
  switch (action) {
    case DesignerAction::Close:
      host_.close();
      return true;
    case DesignerAction::Delete:
      DelRes();
      return true;
    case DesignerAction::Copy:
      CopyCtl();
      return true;
    case DesignerAction::Paste:
      PasteCtl({0, 0});
      return true;
    case DesignerAction::Store:
      host_.store(dialog_);
      return true;
    case DesignerAction::Properties:
      if (oCtl) PropCtl(*oCtl);
      return true;
    case DesignerAction::Undo:
      Undo();
      return true;
    case DesignerAction::Redo:
      Redo();
      return true;
    case DesignerAction::Nudge:
      return MoveCtl(virtualKey);
  }
  return false;
}

bool TDrag::MoveCtl(int virtualKey) {
  if (gesture_ != Gesture::None) return false;
  if (oCtl && isEdit(control(*oCtl).live) && !control(*oCtl).cCaption.empty()) return false;
  const auto nudged = [&](std::size_t i) -> std::optional<UnitRect> {
    const auto n = nudgeFor(control(i).live, virtualKey);
    if (!n) return std::nullopt;
    UnitRect r = control(i).rect;
    if (n->rows != 0) r.y = nudgeRow(r.y, n->rows);
    if (n->columns != 0) r.x = nudgeColumn(r.x, n->columns);
    return r;
  };
  bool moved = false;
  asStep([&] {
    if (oCtl) {
      if (const auto r = nudged(*oCtl)) {
        moveControl(*oCtl, *r);
        SetCtl(oCtl);
        moved = true;
      }
      return;
    }
    for (std::size_t i = 0; i < dialog_.aControls.size(); ++i) {
      if (!control(i).lSel) continue;
      if (const auto r = nudged(i)) {
        moveControl(i, *r);
        moved = true;
      }
    }
  });
  return moved;
}

// --- the context menu ---

DesignerMenu TDrag::RightMenu(std::optional<std::size_t> clicked, Point at) {
  DesignerMenu menu;
  if (gesture_ != Gesture::None) return menu;
  if (clicked && *clicked >= dialog_.aControls.size()) clicked.reset();
  if (!clicked) {
    const Box point{at.row, at.column, at.row, at.column};
    for (std::size_t i = 0; i < dialog_.aControls.size(); ++i) {
      const DialogControl& c = control(i);
      if (c.live != ControlClass::TGroup || !InRect(boxOf(c.rect), point, true)) continue;
      if (c.lSel || InRect(boxOf(c.rect), point, true, true)) {
        clicked = i;
        break;
      }
    }
  }
  menu.control = clicked;
  menu.at = snapPoint(at, nGrid);
  const bool selection = NeedRefresh();
  if (clicked && !selection) setCurrent(clicked);
  if (clicked)
    status(control(*clicked), true);
  else
    dialogStatus(true);

  auto add = [&](std::string label, MenuCommand command, bool separatorAfter) {
    menu.items.push_back({std::move(label), command, true, {}});
    if (separatorAfter) menu.items.push_back({});
  };
  if (clicked) {
    const DialogControl& c = control(*clicked);
    add("Proprietà\tCTRL-P", MenuCommand::Properties, true);
    if (oCtl && c.live == ControlClass::TSay2 && c.rect.width > 2 && c.rect.height > 2)
      add("Autosize", MenuCommand::AutoSize, true);
    if (oCtl) add("Estendi orizzontalmente", MenuCommand::MaxWidth, true);
    if (selection) add("Rinumera selezionati", MenuCommand::RenumberSelected, true);
    if (!selection && c.Cargo != -1 && !symbolicId(c)) {
      const int n = c.Cargo;
      menu.rangeFirst = n - n % 100 + 1;
      menu.rangeLast = n - n % 100 + 99;
      add("Rinumera da Id " + std::to_string(menu.rangeFirst) + " a Id " +
              std::to_string(menu.rangeLast),
          MenuCommand::RenumberRange, true);
    }
    add("Elimina\tCANC", MenuCommand::Delete, true);
    add("Copia", MenuCommand::Copy, false);
  } else {
    if (selection) add("Rinumera selezionati", MenuCommand::RenumberSelected, true);
    for (const NewControlKind& kind : kNewControlKinds) {
      menu.items.push_back({std::string(kNewControlPrefix) + std::string(kind.name),
                            MenuCommand::NewControl, true, kind.name});
    }
    menu.items.push_back({});
    add("Incolla\tCTRL-INS", MenuCommand::Paste, false);
  }
  menu.items.push_back({});
  menu.items.push_back({"Annulla\tCTRL-Z", MenuCommand::Undo, canUndo(), {}});
  menu.items.push_back({"Ripristina\tCTRL-Y", MenuCommand::Redo, canRedo(), {}});
  return menu;
}

void TDrag::runMenuCommand(const DesignerMenu& menu, std::size_t item) {
  if (item >= menu.items.size() || !menu.items[item].enabled) return;
  std::optional<std::size_t> clicked = menu.control;
  if (clicked && *clicked >= dialog_.aControls.size()) clicked.reset();
  switch (menu.items[item].command) {
    case MenuCommand::None:
      return;
    case MenuCommand::Properties:
      if (clicked) PropCtl(*clicked);
      return;
    case MenuCommand::AutoSize:
      if (clicked) AutoSize(*clicked);
      return;
    case MenuCommand::MaxWidth:
      if (clicked) MaxWidth(*clicked);
      return;
    case MenuCommand::RenumberSelected:
      RenSel(clicked);
      return;
    case MenuCommand::RenumberRange:
      RenId(menu.rangeFirst, menu.rangeLast, clicked);
      return;
    case MenuCommand::Delete:
      DelRes();
      return;
    case MenuCommand::Copy:
      CopyCtl();
      return;
    case MenuCommand::NewControl:
      NewRes(menu.items[item].kind, menu.at);
      return;
    case MenuCommand::Paste:
      PasteCtl(menu.at);
      return;
    case MenuCommand::Undo:
      Undo();
      return;
    case MenuCommand::Redo:
      Redo();
      return;
  }
}

// --- the handles ---

void TDrag::InitSize(int type, Point at) {
  if (gesture_ != Gesture::None || !oCtl || handleEdges(type) == 0) return;
  beginStep();
  SetCtl(std::nullopt);
  nTop = at.row;
  nLft = at.column;
  sizing_ = type;
  if (control(*oCtl).live == ControlClass::TSay2) {
    grey_ = oCtl;
    refresh_.repaint = true;
  }
  gesture_ = Gesture::Resizing;
}

void TDrag::DragSize(Point at) {
  if (gesture_ != Gesture::Resizing || !oCtl) return;
  if (at.row == nTop && at.column == nLft) return;
  DialogControl& c = control(*oCtl);
  if (const auto r = resizedRect(c.rect, c.live, sizing_, snapPoint(at, nGrid)))
    moveControl(*oCtl, *r);
  status(c, false);
}

void TDrag::StopSize() {
  if (gesture_ != Gesture::Resizing) return;
  gesture_ = Gesture::None;
  SetCtl(oCtl);
  if (grey_) {
    grey_.reset();
    refresh_.repaint = true;
  }
  endStep();
}

// --- the commands ---

int TDrag::NextId() const {
  int largest = 100;
  for (const DialogControl& c : dialog_.aControls)
    if (!symbolicId(c)) largest = std::max(largest, c.Cargo);
  return largest + 1;
}

void TDrag::NewRes(std::string_view name, Point at) {
  const NewControlKind* kind = newControlKind(name);
  if (!kind || gesture_ != Gesture::None) return;
  asStep([&] {
    dialog_.aControls.push_back(makeNewControl(*kind, at.row, at.column, NextId()));
    refresh_.rebuild = true;
    setCurrent(dialog_.aControls.size() - 1);
  });
}

void TDrag::DelRes() {
  if (gesture_ != Gesture::None) return;
  asStep([&] {
    if (oCtl) {
      const DialogControl& c = control(*oCtl);
      if (isEdit(c.live) && !c.cCaption.empty()) return;  // Delete belongs to the edit's text
      SetCtl(std::nullopt);
      removeAt(*oCtl);
      return;
    }
    for (std::size_t i = dialog_.aControls.size(); i-- > 0;)
      if (control(i).lSel) removeAt(i);
  });
}

bool TDrag::PropCtl(std::size_t at) {
  if (at >= dialog_.aControls.size() || gesture_ != Gesture::None) return false;
  const ControlProperties shown = controlProperties(control(at));
  const std::optional<ControlProperties> edited = host_.editProperties(shown);
  if (!edited || at >= dialog_.aControls.size()) return false;
  if (const auto fault = checkProperties(*edited, shown)) {
    inform(ui_, fault->message);
    return false;
  }
  asStep([&] {
    DialogControl& c = control(at);
    if (edited->caption != shown.caption)
      c.cCaption = std::string(trimTrailingBlanks(edited->caption));
    if (edited->id != shown.id) c.Cargo = fieldNumber(edited->id, "99999")->value;
    UnitRect r = c.rect;
    if (edited->x != shown.x) r.x = duToPixelsX(fieldNumber(edited->x, "9999")->value);
    if (edited->y != shown.y) r.y = duToPixelsY(fieldNumber(edited->y, "9999")->value);
    if (edited->width != shown.width)
      r.width = duToPixelsX(fieldNumber(edited->width, "9999")->value);
    if (edited->height != shown.height) {
      const int height = fieldNumber(edited->height, "9999")->value;
      r.height = duToPixelsY(height);
      // The line writes a combo box's height from its list's height.
      if (c.live == ControlClass::TComboBox2) c.comboHeight = height;
    }
    if (edited->style != shown.style) {
      const std::uint32_t style = *parseStyle(edited->style);
      if (c.live == ControlClass::TComboBox2)
        setComboStyle(c, style);
      else
        c.nStyle = style;
    }
    refresh_.rebuild = true;
    moveControl(at, r);
    // The handles stay with the current control: placed around another one, they would resize
    // the current control from the wrong place.
    if (oCtl == at && !c.lSel) SetCtl(oCtl);
    status(c, false);
  });
  return true;
}

void TDrag::RenSel(std::optional<std::size_t> from) {
  if (gesture_ != Gesture::None) return;
  asStep([&] {
    std::optional<int> next;
    for (DialogControl& c : dialog_.aControls) {
      if (!c.lSel || c.Cargo == -1 || symbolicId(c)) continue;
      if (next) c.Cargo = *next;
      next = c.Cargo + 1;
    }
  });
  if (from && *from < dialog_.aControls.size()) status(control(*from), false);
}

void TDrag::RenId(int first, int last, std::optional<std::size_t> from) {
  if (gesture_ != Gesture::None) return;
  asStep([&] {
    int next = first;
    for (DialogControl& c : dialog_.aControls) {
      if (c.Cargo == -1 || symbolicId(c) || c.Cargo < first || c.Cargo > last) continue;
      c.Cargo = next++;
    }
  });
  if (from && *from < dialog_.aControls.size()) status(control(*from), false);
}

void TDrag::CopyCtl() {
  std::string text;
  if (oCtl) {
    text = MAKECONTROL(control(*oCtl));
  } else {
    for (const DialogControl& c : dialog_.aControls) {
      if (!c.lSel) continue;
      if (!text.empty()) text += kLineEnd;
      text += MAKECONTROL(c);
    }
  }
  ui_.setClipboardText(toDisplay(text, encoding_));
}

void TDrag::PasteCtl(Point at) {
  if (gesture_ != Gesture::None) return;
  const std::string text = fromDisplay(ui_.clipboardText(), encoding_);
  asStep([&] {
    SetSel(false);
    setCurrent(std::nullopt);
    pasteLines(text, at);
  });
}

void TDrag::pasteLines(std::string_view text, Point at) {
  const std::size_t firstNew = dialog_.aControls.size();
  // Positions in eighths of a pixel (rows) and quarters (columns), so that the offset keeps
  // the fractions of 1.625 and 1.75 until each control is placed.
  std::optional<long long> rowOffset8;
  std::optional<long long> columnOffset4;
  for (std::string_view raw : textLines(text)) {
    const std::string_view line = trimSpace(raw);
    if (line.empty()) continue;
    // Indented by one blank, as the writer indents the lines of a body.
    ControlReading reading = readStatementLine(" " + std::string(line));
    for (const std::string& notice : reading.notices) inform(ui_, notice);
    if (reading.kind == ControlReading::Kind::NotAControl) {
      inform(ui_, unsupportedControlNotice(firstWord(line)));
      continue;
    }
    if (reading.kind != ControlReading::Kind::Control) continue;
    DialogControl c = std::move(reading.control);
    c.linesBefore.clear();
    const long long top8 = 13LL * pixelsToDuY(c.rect.y);
    const long long left4 = 7LL * pixelsToDuX(c.rect.x);
    if (!rowOffset8) {
      rowOffset8 = 8LL * at.row - top8;
      columnOffset4 = 4LL * at.column - left4;
    }
    c.rect.y = static_cast<int>((top8 + *rowOffset8) / 8);  // the fraction dropped
    c.rect.x = static_cast<int>((left4 + *columnOffset4) / 4);
    if (c.nStyle) {
      for (const PasteStyleExtra& extra : kPasteStyleExtras)
        if (extra.live == c.live) *c.nStyle |= extra.added;
    }
    if (c.live == ControlClass::TGroup || c.live == ControlClass::TSay2) {
      if (!symbolicId(c)) c.Cargo = -1;
    } else if (!symbolicId(c)) {
      c.Cargo = NextId();
    }
    c.lSel = false;
    dialog_.aControls.push_back(std::move(c));
    refresh_.rebuild = true;
  }
  const std::size_t pasted = dialog_.aControls.size() - firstNew;
  if (pasted == 1) {
    setCurrent(firstNew);
    status(control(firstNew), true);
  } else {
    for (std::size_t i = firstNew; i < dialog_.aControls.size(); ++i) setSelected(i, true);
  }
  refresh_.repaint = true;
}

void TDrag::MaxWidth(std::size_t at) {
  if (at >= dialog_.aControls.size() || gesture_ != Gesture::None) return;
  asStep([&] {
    const int width = snapColumn(dialog_.rect.width - 2 * SM_CXFRAME, nGrid);
    const UnitRect r = control(at).rect;
    moveControl(at, {0, r.y, width, r.height});
    setCurrent(at);
    status(control(at), true);
    refresh_.repaint = true;
  });
}

void TDrag::AutoSize(std::size_t at) {
  if (at >= dialog_.aControls.size() || gesture_ != Gesture::None) return;
  asStep([&] {
    const int textWidth = measure_ ? measure_(toDisplay(control(at).cCaption, encoding_)) : 0;
    // At least one grid step: a static without text would otherwise shrink to nothing, where
    // no click can reach it.
    const int width = std::max(ceilColumnSteps(textWidth, nGrid), ceilColumnSteps(1, nGrid));
    const UnitRect r = control(at).rect;
    moveControl(at, {r.x, r.y, width, r.height});
    setCurrent(at);
    status(control(at), true);
    refresh_.repaint = true;
  });
}

void TDrag::Resized(int width, int height) {
  dialog_.rect.width = width;
  dialog_.rect.height = height;
  dialogStatus(true);
}

// --- undo ---

bool TDrag::Undo() {
  if (gesture_ != Gesture::None) return false;
  auto back = history_.undo(takeSnapshot(dialog_, oCtl));
  if (!back) return false;
  restoreSnapshot(dialog_, *back);
  setCurrent(back->current && !control(*back->current).lSel ? back->current : std::nullopt);
  oCtl = back->current;
  refresh_.rebuild = refresh_.repaint = true;
  return true;
}

bool TDrag::Redo() {
  if (gesture_ != Gesture::None) return false;
  auto forward = history_.redo(takeSnapshot(dialog_, oCtl));
  if (!forward) return false;
  restoreSnapshot(dialog_, *forward);
  setCurrent(forward->current && !control(*forward->current).lSel ? forward->current
                                                                  : std::nullopt);
  oCtl = forward->current;
  refresh_.rebuild = refresh_.repaint = true;
  return true;
}

}  // namespace kolvre
