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
constexpr int kPreviewChildTop = 2 + SM_CYFRAME + SM_CYMENU - SM_CYCAPTION;

bool isChildPreview(std::uint32_t styleAsRead, DialogMode mode) {
  return (styleAsRead & kChild) != 0 && mode == DialogMode::Preview;
}

}  // namespace

bool holdsLanguage(const std::vector<std::string>& headerLines) {
  for (const std::string& line : headerLines) {
    std::string_view text = line;
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    if (equalsIgnoringCase(text.substr(0, text.find_first_of(" \t\r\n")), "LANGUAGE")) return true;
  }
  return false;
}

std::uint32_t liveDialogStyle(std::uint32_t styleAsRead, DialogMode mode) {
  return isChildPreview(styleAsRead, mode) ? styleAsRead : styleAsRead | kPlacementAdditions;
}

PixelRect placeDialog(const DialogUnitRect& units, std::uint32_t styleAsRead, DialogMode mode) {
  const int width = duToPixelsX(units.width);
  const int height = duToPixelsY(units.height);
  if (isChildPreview(styleAsRead, mode))
    return {units.x + SM_CXFRAME, units.y + kPreviewChildTop, width, height};
  const int outerWidth = width + 2 * SM_CXFRAME;
  const int outerHeight = height + 2 * SM_CYFRAME + SM_CYCAPTION;
  if ((styleAsRead & kChild) != 0)
    return {units.x, units.y - 1 - SM_CYCAPTION, outerWidth, outerHeight};
  return {units.x - SM_CXFRAME, units.y - 1, outerWidth, outerHeight};
}

DialogUnitRect dialogUnits(const PixelRect& pixels, std::uint32_t styleAsRead, DialogMode mode) {
  if (isChildPreview(styleAsRead, mode))
    return {pixels.x - SM_CXFRAME, pixels.y - kPreviewChildTop, pixelsToDuX(pixels.width),
            pixelsToDuY(pixels.height)};
  DialogUnitRect units{pixels.x + SM_CXFRAME, pixels.y + 1,
                       pixelsToDuX(pixels.width - 2 * SM_CXFRAME),
                       pixelsToDuY(pixels.height - 2 * SM_CYFRAME - SM_CYCAPTION)};
  if ((styleAsRead & kChild) != 0) {
    units.x -= SM_CXFRAME;
    units.y += SM_CYCAPTION;
  }
  return units;
}

void removeControl(DialogModel& dialog, std::size_t at) {
  if (at >= dialog.aControls.size()) return;
  std::vector<std::string> kept = std::move(dialog.aControls[at].linesBefore);
  dialog.aControls.erase(dialog.aControls.begin() + static_cast<std::ptrdiff_t>(at));
  std::vector<std::string>& next =
      at < dialog.aControls.size() ? dialog.aControls[at].linesBefore : dialog.bodyTail;
  next.insert(next.begin(), std::make_move_iterator(kept.begin()),
              std::make_move_iterator(kept.end()));
}

}  // namespace kolvre
