// The new-resource templates: the block a new resource of each kind starts from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/resource_types.h"

namespace kolvre {

// The template block of a kind for an accepted name: CR LF between lines, none after "}".
std::string resourceTemplate(ResourceType kind, std::string_view name);

// The image files inside the image templates: a 32 by 32 red one-bit bitmap (190 bytes), a
// green 16-colour icon and a yellow 16-colour cursor stored in icon form (766 bytes each).
std::vector<std::uint8_t> templateBitmap();
std::vector<std::uint8_t> templateIcon();
std::vector<std::uint8_t> templateCursor();

}  // namespace kolvre
