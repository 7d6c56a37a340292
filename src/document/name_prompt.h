// Resource names as the user gives them: at most 15 characters, upper case, no blank or line
// break, no duplicate of the same type. The prompt asks until a name is taken; the batch tool
// checks its argument with the same rules.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/scanner.h"
#include "platform/user_interface.h"
#include "syntax/encoding.h"

namespace kolvre {

inline constexpr std::size_t kMaxNameLength = 15;

// The name as the prompt takes it from its field: trailing blanks dropped, upper case.
std::string typedName(std::string_view field);

// Why a typed name (UTF-8, as typedName gives it) is refused, as the message the user sees;
// empty when it is taken. `typeWord` is the type keyword, or for paste the pasted type token: a
// name is a duplicate when an entry other than `renamed` (the entry a rename asks for, at its
// position in the index) has that name in any letter case and `typeWord` begins with the
// entry's type code or keyword. So a resource may take its own name in other letters.
std::string nameRefusal(const ResourceIndex& index, std::string_view typed,
                        std::string_view typeWord, TextEncoding encoding,
                        std::optional<std::size_t> renamed = std::nullopt);

inline constexpr std::string_view kMissingNameMessage = "Nome risorsa mancante.";

// Asks for a name until it is accepted or the user cancels (nothing). An empty answer is told
// kMissingNameMessage and asked again: no resource is ever given an empty name. The field shows
// the initial name as it is and takes at most 15 characters, or as many as a longer initial
// name, which it shows whole. `initial` and the result are script bytes in `encoding`; the
// prompt shows and takes characters. `renamed`: as for nameRefusal.
std::optional<std::string> askResourceName(UserInterface& ui, const ResourceIndex& index,
                                           std::string_view title, std::string_view prompt,
                                           std::string_view initial, std::string_view typeWord,
                                           TextEncoding encoding,
                                           std::optional<std::size_t> renamed = std::nullopt);

}  // namespace kolvre
