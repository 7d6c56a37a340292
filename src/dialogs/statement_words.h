// The words of dialog statements as the dialog's readers see them: a statement's keyword, the
// lines that stand alone, the lines that go on with the statement before, quoted texts.
#pragma once

#include <string>
#include <string_view>

namespace kolvre {

// The first word of a statement: up to a blank, a quote or a comma.
std::string_view firstWord(std::string_view text);
// The statement begins with `word` (any case).
bool isWord(std::string_view text, std::string_view word);
// Comments and preprocessor lines stand alone: nothing continues onto them or from them.
bool standsAlone(std::string_view line);
// A line that begins with a style name (or NOT) goes on with the style of the line before: no
// statement begins with one.
bool beginsWithStyleName(std::string_view line);

}  // namespace kolvre
