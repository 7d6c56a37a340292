// Resource names as the user gives them: at most 15 characters, upper case, no blank or line
// break, no duplicate of the same type. The prompt asks until a name is taken; the batch tool
// checks its argument with the same rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/encoding.h"
#include "document/scanner.h"
#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::size_t kMaxNameLength = 15;

// The name as the prompt takes it from its field: trailing blanks dropped, upper case.
std::string typedName(std::string_view field);

// Why a typed name (UTF-8, as typedName gives it) is refused, as the message the user sees;
// empty when it is taken. `typeWord` is the type keyword, or for paste the pasted type token: a
// name is a duplicate when an entry has exactly that name and `typeWord` begins with the
// entry's type code or keyword.
std::string nameRefusal(const ResourceIndex& index, std::string_view typed,
                        std::string_view typeWord, TextEncoding encoding);

inline constexpr std::string_view kMissingNameMessage = "Nome risorsa mancante.";

// Asks for a name until it is accepted or the user cancels (nothing). An empty answer is told
// kMissingNameMessage and asked again: no resource is ever given an empty name. The field is
// 15 characters wide, or as wide as a longer initial name, which it shows whole. `initial` and
// the result are script bytes in `encoding`; the prompt shows and takes characters.
std::optional<std::string> askResourceName(UserInterface& ui, const ResourceIndex& index,
                                           std::string_view title, std::string_view prompt,
                                           std::string_view initial, std::string_view typeWord,
                                           TextEncoding encoding);

}  // namespace kolvre
