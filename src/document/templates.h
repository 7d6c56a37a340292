// The new-resource templates: the block a new resource of each kind starts from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/resource_types.h"

namespace kolvre {

// The template block of a kind (its row of the kind table) for an accepted name (a string
// table's: its first ID): CR LF between lines, none after the last. With a `file`, the block
// that names it, for the kinds that can (nothing for the others); the block with a body
// otherwise (nothing for a kind that must name a file).
std::string resourceTemplate(ResourceType kind, std::string_view name, std::string_view file = {});

// A file name as a quoted file name of the script: in double quotes, each backslash doubled
// (both compilers read the quoted name with its escapes). `file` holds no double quote.
std::string quotedFileNameOf(std::string_view file);

// The image files inside the image templates: a 32 by 32 red one-bit bitmap (190 bytes), a
// green 16-colour icon and a yellow 16-colour cursor stored in icon form (766 bytes each).
std::vector<std::uint8_t> templateBitmap();
std::vector<std::uint8_t> templateIcon();
std::vector<std::uint8_t> templateCursor();

}  // namespace kolvre
