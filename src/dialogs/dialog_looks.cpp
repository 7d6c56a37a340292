#include "dialogs/dialog_looks.h"

#include "base/text.h"
#include "platform/system_metrics.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kCaptionBits = styleNameValue("WS_CAPTION");
constexpr std::uint32_t kChildBit = styleNameValue("WS_CHILD");
constexpr std::uint32_t kIconType = styleNameValue("SS_ICON");
constexpr std::uint32_t kStaticTypeMask = 0x1F;

}  // namespace

bool hasCaptionStatement(const DialogModel& dialog) {
  return !dialog.title.empty() || dialog.captionAsWritten.has_value();
}

std::uint32_t compiledDialogStyle(const DialogModel& dialog) {
  const bool noStyleStatement = dialog.style && dialog.style->text.empty();
  std::uint32_t style = noStyleStatement ? kNoStyleStatementStyle : dialog.styleAsRead;
  if (hasCaptionStatement(dialog)) style |= kCaptionBits;
  if (dialog.fontStatement) style |= styleNameValue("DS_SETFONT");
  return style;
}

bool hasCaptionBar(const DialogModel& dialog) {
  return (compiledDialogStyle(dialog) & kCaptionBits) == kCaptionBits;
}

PixelRect previewRect(const DialogModel& dialog) {
  PixelRect rect = dialog.rect;
  // The designer always draws the caption bar: it moves the window. A child dialog's preview is
  // its client area alone.
  if (dialog.mode == DialogMode::Preview && !(dialog.styleAsRead & kChildBit) &&
      !hasCaptionBar(dialog))
    rect.height -= kCaptionHeight;
  return rect;
}

std::string controlTextAsWritten(const DialogControl& control) {
  return doubledQuotes(control.caption);
}

std::optional<std::string> iconName(const DialogControl& control) {
  std::string_view name;
  if (control.statement && control.statement->statement < kShortStatements.size() &&
      kShortStatements[control.statement->statement].keyword == "ICON") {
    const auto& field = control.statement->textField;
    if (!field) return std::nullopt;
    name =
        std::string_view(control.statement->text).substr(field->begin, field->end - field->begin);
  } else if (const auto style = control.liveStyle ? control.liveStyle : control.compiledStyle;
             control.live == ControlClass::StaticText && style &&
             (*style & kStaticTypeMask) == kIconType) {
    return control.caption;
  } else {
    return std::nullopt;
  }
  return fieldText(trimSpace(name));
}

}  // namespace kolvre
