// The words of the script's syntax that every reader shares, written once: what opens and closes
// a body ("{" or BEGIN, "}" or END, the words in any letter case), and how a quote stands inside
// a string.
#pragma once

#include <string>
#include <string_view>

#include "syntax/lexer.h"

namespace kolvre {

// A token that opens a body: "{", or BEGIN as a whole word.
bool opensBody(std::string_view text, const Token& token);
// A token that closes one: "}", or END as a whole word.
bool closesBody(std::string_view text, const Token& token);

// A text as it stands between a string's quotes: every quote doubled, as both compilers read it.
std::string doubledQuotes(std::string_view text);
// The inverse: each doubled quote one (other escapes are left as written).
std::string undoubledQuotes(std::string_view text);

// A line (its comments blanked, blanks around it dropped) that opens a body: it begins with "{",
// or it is BEGIN alone.
bool opensBodyLine(std::string_view line);

}  // namespace kolvre
