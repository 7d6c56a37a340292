#include "designer/commands.h"

#include <algorithm>
#include <utility>

#include "designer/clipboard_controls.h"
#include "designer/control_ids.h"
#include "designer/control_kinds.h"
#include "designer/control_properties.h"
#include "messages/form_check.h"
#include "messages/messages.h"
#include "platform/system_metrics.h"

namespace kolvre {

namespace {

// Pasted text (UTF-8) as script bytes in `charset`: a character the code page lacks becomes
// "?", as the clipboard gives it to a program of that code page.
std::string scriptText(std::string_view utf8, const ScriptCharset& charset) {
  if (auto whole = utf8ToWritten(utf8, charset)) return *std::move(whole);
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out += utf8ToWritten(utf8.substr(i, n), charset).value_or("?");
    i += n;
  }
  return out;
}

}  // namespace

DesignerCommands::DesignerCommands(DesignerWorkspace& workspace, const GestureMachine& gestures,
                                   UserInterface& ui, TextMeasure measure,
                                   const ScriptCharset& charset)
    : workspace_(workspace),
      selection_(workspace.selection()),
      gestures_(gestures),
      ui_(ui),
      measure_(std::move(measure)),
      charset_(charset) {}

// An edit holding text keeps the nudge keys and Delete for its caret and its text.
BaseUnits DesignerCommands::base() const {
  return workspace_.dialog().baseUnits;
}

bool DesignerCommands::keysBelongToCurrentText() const {
  const auto current = selection_.current();
  if (!current) return false;
  const DialogControl& c = workspace_.control(*current);
  return isEdit(c.live) && !c.caption.empty();
}

int DesignerCommands::nextId() const {
  return kolvre::nextId(workspace_.dialog().controls);
}

void DesignerCommands::newControl(std::string_view name, PixelPoint at) {
  const NewControlKind* kind = newControlKind(name);
  if (!kind || busy()) return;
  workspace_.asStep([&] {
    const std::size_t made = workspace_.appendControl(makeNewControl(*kind, at, nextId(), base()));
    selection_.setCurrent(made);
  });
}

void DesignerCommands::deleteControls() {
  if (busy()) return;
  const std::size_t before = workspace_.controlCount();
  workspace_.asStep([&] {
    if (const auto current = selection_.current()) {
      if (keysBelongToCurrentText()) return;
      selection_.hideHandles();
      workspace_.removeControl(*current);
      return;
    }
    for (std::size_t i = workspace_.controlCount(); i-- > 0;)
      if (selection_.isSelected(i)) workspace_.removeControl(i);
  });
  // The status bar no longer names a control that is gone: it shows the dialog's size.
  if (workspace_.controlCount() != before) workspace_.showDialogStatus(false);
}

bool DesignerCommands::editProperties(std::size_t at) {
  if (at >= workspace_.controlCount() || busy()) return false;
  const ControlProperties asWritten = controlProperties(workspace_.control(at), base());
  // The form shows the text read in the dialog's code page and takes it back in it.
  ControlProperties shown = asWritten;
  shown.caption = writtenToUtf8(asWritten.caption, charset_);
  const std::optional<ControlProperties> edited = workspace_.host().editProperties(shown);
  if (!edited || at >= workspace_.controlCount()) return false;
  if (const auto fault = checkProperties(*edited, shown)) {
    inform(ui_, fault->message);
    return false;
  }
  ControlProperties typed = *edited;
  typed.caption = asWritten.caption;
  if (edited->caption != shown.caption) {
    const auto bytes = utf8ToWritten(edited->caption, charset_);
    if (!bytes) {
      inform(ui_, kBadFieldMessage);
      return false;
    }
    typed.caption = *bytes;
  }
  workspace_.asStep([&] {
    workspace_.replaceControl(at, withProperties(workspace_.control(at), typed, asWritten, base()));
    // The handles stay with the current control: placed around another one, they would resize
    // the current control from the wrong place.
    if (selection_.current() == at) selection_.showHandlesUnlessSelected();
    workspace_.showStatus(at, false);
  });
  return true;
}

void DesignerCommands::renumberSelected(std::optional<std::size_t> shown) {
  if (busy()) return;
  workspace_.asStep([&] { kolvre::renumberSelected(workspace_.dialog().controls); });
  if (shown && *shown < workspace_.controlCount()) workspace_.showStatus(*shown, false);
}

void DesignerCommands::renumberRange(int first, int last, std::optional<std::size_t> shown) {
  if (busy()) return;
  workspace_.asStep([&] { kolvre::renumberRange(workspace_.dialog().controls, first, last); });
  if (shown && *shown < workspace_.controlCount()) workspace_.showStatus(*shown, false);
}

void DesignerCommands::copy() {
  const std::string text = copiedText(workspace_.dialog().controls, selection_.current(), base());
  ui_.setClipboardText(writtenToUtf8(text, charset_));
}

void DesignerCommands::paste(std::optional<PixelPoint> at) {
  if (busy()) return;
  const std::string text = scriptText(ui_.clipboardText(), charset_);
  if (!at) at = freePlaceFor(text);
  workspace_.asStep([&] {
    selection_.selectAll(false);
    selection_.setCurrent(std::nullopt);
    PastedControls pasted = readPastedControls(text, *at, nextId(), base());
    for (const std::string& notice : pasted.notices) inform(ui_, notice);
    const std::size_t firstNew = workspace_.controlCount();
    for (DialogControl& c : pasted.controls) workspace_.appendControl(std::move(c));
    // One control pasted becomes current; several become the selection.
    if (pasted.controls.size() == 1) {
      selection_.setCurrent(firstNew);
      workspace_.showStatus(firstNew, true);
    } else {
      for (std::size_t i = firstNew; i < workspace_.controlCount(); ++i) selection_.select(i, true);
    }
    workspace_.noteRepaint();
  });
}

PixelPoint DesignerCommands::freePlaceFor(std::string_view text) const {
  // The copied controls where they stood, read with the first at its own place.
  const PastedControls asCopied = readPastedControls(text, std::nullopt, 0, base());
  if (asCopied.controls.empty()) return {0, 0};
  Box bounds = boxOf(asCopied.controls.front().rect);
  for (const DialogControl& c : asCopied.controls) {
    const Box b = boxOf(c.rect);
    bounds = {std::min(bounds.left, b.left), std::min(bounds.top, b.top),
              std::max(bounds.right, b.right), std::max(bounds.bottom, b.bottom)};
  }
  const PixelRect group{bounds.left, bounds.top, bounds.right - bounds.left,
                        bounds.bottom - bounds.top};
  const PixelPoint place = freePastePlace(workspace_.dialog().controls, group,
                                          workspace_.clientSize(), workspace_.grid(), base());
  const PixelRect& first = asCopied.controls.front().rect;
  return {place.x + first.x - group.x, place.y + first.y - group.y};
}

// The control at its new size, made current, its size in the status bar.
void DesignerCommands::showFitted(std::size_t at, const PixelRect& rect) {
  workspace_.moveControl(at, rect);
  selection_.setCurrent(at);
  workspace_.showStatus(at, true);
  workspace_.noteRepaint();
}

void DesignerCommands::widen(std::size_t at) {
  if (at >= workspace_.controlCount() || busy()) return;
  workspace_.asStep([&] {
    const int width =
        snapColumn(workspace_.dialog().rect.width - 2 * kFrameWidth, workspace_.grid(), base());
    const PixelRect r = workspace_.control(at).rect;
    showFitted(at, {0, r.y, width, r.height});
  });
}

void DesignerCommands::autosize(std::size_t at) {
  if (at >= workspace_.controlCount() || busy()) return;
  workspace_.asStep([&] {
    const DialogControl& c = workspace_.control(at);
    const int textWidth = measure_ ? measure_(writtenToUtf8(c.caption, charset_)) : 0;
    // At least one grid step: a static without text would otherwise shrink to nothing, where
    // no click can reach it.
    const int grid = workspace_.grid();
    const int width =
        std::max(ceilColumnSteps(textWidth, grid, base()), ceilColumnSteps(1, grid, base()));
    showFitted(at, {c.rect.x, c.rect.y, width, c.rect.height});
  });
}

bool DesignerCommands::nudge(int virtualKey) {
  if (busy() || keysBelongToCurrentText()) return false;
  const auto nudged = [&](std::size_t i) -> std::optional<PixelRect> {
    const auto n = nudgeFor(workspace_.control(i).live, virtualKey);
    if (!n) return std::nullopt;
    PixelRect r = workspace_.control(i).rect;
    if (n->dy != 0) r.y = nudgeRow(r.y, n->dy, base());
    if (n->dx != 0) r.x = nudgeColumn(r.x, n->dx, base());
    return r;
  };
  bool moved = false;
  workspace_.asStep([&] {
    if (const auto current = selection_.current()) {
      if (const auto r = nudged(*current)) {
        workspace_.moveControl(*current, *r);
        selection_.showHandles();
        workspace_.showStatus(*current, false);
        moved = true;
      }
      return;
    }
    for (std::size_t i = 0; i < workspace_.controlCount(); ++i) {
      if (!selection_.isSelected(i)) continue;
      if (const auto r = nudged(i)) {
        workspace_.moveControl(i, *r);
        moved = true;
      }
    }
  });
  return moved;
}

bool DesignerCommands::undo() {
  return !busy() && workspace_.undo();
}

bool DesignerCommands::redo() {
  return !busy() && workspace_.redo();
}

}  // namespace kolvre
