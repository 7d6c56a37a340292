// The prompt for a resource name: at most 15 characters, upper case, no blank or line break, no
// duplicate.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/encoding.h"
#include "document/scanner.h"
#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::size_t kMaxNameLength = 15;

// Asks for a name until it is accepted or the user cancels (nothing). `typeWord` is the type
// keyword, or for paste the pasted type token; a name is a duplicate when an entry has exactly
// that name and `typeWord` begins with the entry's type code. An empty answer counts as a
// cancel: no resource is ever given an empty name. `initial` and the result are script bytes
// in `encoding`; the prompt shows and takes characters.
std::optional<std::string> askResourceName(UserInterface& ui, const ResourceIndex& index,
                                           std::string_view title, std::string_view prompt,
                                           std::string_view initial, std::string_view typeWord,
                                           TextEncoding encoding);

}  // namespace kolvre
