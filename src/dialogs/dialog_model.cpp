#include "dialogs/dialog_model.h"

#include "base/text.h"
#include "platform/system_metrics.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kChild = styleNameValue("WS_CHILD");
// Every dialog shows a caption bar and a sizing frame, except a child dialog in the preview.
constexpr std::uint32_t kPlacementAdditions =
    styleNameValue("WS_POPUP") | styleNameValue("WS_CAPTION") | styleNameValue("WS_THICKFRAME");

// The live classes are listed in the order of their enumerators.
constexpr bool liveClassesInOrder() {
  for (std::size_t i = 0; i < kLiveClasses.size(); ++i)
    if (static_cast<std::size_t>(kLiveClasses[i].live) != i) return false;
  return true;
}
static_assert(liveClassesInOrder(), "kLiveClasses out of the order of ControlClass");

// A child dialog in the preview is a child of the main window: it has no frame of its own, and
// its client area stands this far below the header's y.
constexpr int kPreviewChildTop = 2 + kFrameHeight + kMenuHeight - kCaptionHeight;

bool isChildPreview(std::uint32_t styleAsRead, DialogMode mode) {
  return (styleAsRead & kChild) != 0 && mode == DialogMode::Preview;
}

}  // namespace

std::uint32_t liveDialogStyle(std::uint32_t styleAsRead, DialogMode mode) {
  return isChildPreview(styleAsRead, mode) ? styleAsRead : styleAsRead | kPlacementAdditions;
}

PixelRect placeDialog(const DialogUnitRect& units, BaseUnits base, std::uint32_t styleAsRead,
                      DialogMode mode) {
  const int width = duToPixelsX(units.width, base);
  const int height = duToPixelsY(units.height, base);
  if (isChildPreview(styleAsRead, mode))
    return {units.x + kFrameWidth, units.y + kPreviewChildTop, width, height};
  const int outerWidth = width + 2 * kFrameWidth;
  const int outerHeight = height + 2 * kFrameHeight + kCaptionHeight;
  if ((styleAsRead & kChild) != 0)
    return {units.x, units.y - 1 - kCaptionHeight, outerWidth, outerHeight};
  return {units.x - kFrameWidth, units.y - 1, outerWidth, outerHeight};
}

DialogUnitRect dialogUnits(const PixelRect& pixels, BaseUnits base, std::uint32_t styleAsRead,
                           DialogMode mode) {
  if (isChildPreview(styleAsRead, mode))
    return {pixels.x - kFrameWidth, pixels.y - kPreviewChildTop, pixelsToDuX(pixels.width, base),
            pixelsToDuY(pixels.height, base)};
  DialogUnitRect units{pixels.x + kFrameWidth, pixels.y + 1,
                       pixelsToDuX(pixels.width - 2 * kFrameWidth, base),
                       pixelsToDuY(pixels.height - 2 * kFrameHeight - kCaptionHeight, base)};
  if ((styleAsRead & kChild) != 0) {
    units.x -= kFrameWidth;
    units.y += kCaptionHeight;
  }
  return units;
}

void removeControl(DialogModel& dialog, std::size_t at) {
  if (at >= dialog.controls.size()) return;
  std::vector<std::string> kept = std::move(dialog.controls[at].linesBefore);
  dialog.controls.erase(dialog.controls.begin() + static_cast<std::ptrdiff_t>(at));
  std::vector<std::string>& next =
      at < dialog.controls.size() ? dialog.controls[at].linesBefore : dialog.bodyTail;
  next.insert(next.begin(), std::make_move_iterator(kept.begin()),
              std::make_move_iterator(kept.end()));
}

}  // namespace kolvre
