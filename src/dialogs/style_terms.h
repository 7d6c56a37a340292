// Rewriting a style field as its author wrote it. When the user changes a style, the field is
// not written afresh: the terms that still hold keep their text, spelling and place, a term
// whose bits were taken away is removed with its separator, and the bits added are put down
// in the form the field used: folded into its number when it holds one (a style written as a
// number stays a number), else as names after the last term.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kolvre {

// The names of a style's bits as the writer spells them, " | " between them ("" for none).
using StyleNaming = std::function<std::string(std::uint32_t)>;

// `field` (a style field as written, without the statement around it) rewritten so that the
// statement compiles to `style`, where `base` is what the statement gives besides the field.
// `typeMask` holds the bits of the family's exclusive kinds (BS_ and SS_ types, combo box
// kinds): when they change, the names of the old kind go and the new kind is named whole.
// Nothing when the field cannot say it that way: a term that is neither a known name nor a
// number (a symbol, NOT, an expression), or a bit of `base` the new style lacks.
std::optional<std::string> restyledField(std::string_view field, std::uint32_t base,
                                         std::uint32_t style, std::uint32_t typeMask,
                                         const StyleNaming& naming);

}  // namespace kolvre
