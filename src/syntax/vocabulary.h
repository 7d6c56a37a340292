// The words of the script's syntax that every reader shares, written once: what opens and closes
// a body ("{" or BEGIN, "}" or END, the words in any letter case).
#pragma once

#include <string_view>

#include "syntax/lexer.h"

namespace kolvre {

// A token that opens a body: "{", or BEGIN as a whole word.
bool opensBody(std::string_view text, const Token& token);
// A token that closes one: "}", or END as a whole word.
bool closesBody(std::string_view text, const Token& token);

// A line (its comments blanked, blanks around it dropped) that opens a body: it begins with "{",
// or it is BEGIN alone.
bool opensBodyLine(std::string_view line);

}  // namespace kolvre
