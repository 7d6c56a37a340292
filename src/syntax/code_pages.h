// The code page a script's bytes stand in, position by position, as its "#pragma code_page"
// lines set it. One reading for every reader: the names, the texts, the strings, the display.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace kolvre {

// The code page a script's bytes stand in when no "#pragma code_page" says another.
inline constexpr int kDefaultCodePage = 1252;
inline constexpr int kUtf8CodePage = 65001;

// The code page a preprocessor line sets (`line`: the line from its '#', continuations
// included), when it reads "#pragma code_page(N)": its parts as the compiler's tokens (blanks
// and comments between them, code_page in any letter case; "DEFAULT" stands for
// kDefaultCodePage). Nothing for any other line.
std::optional<int> pragmaCodePage(std::string_view line);

// A "#pragma code_page" line of a script: where it begins, and the page it sets.
struct CodePageChange {
  std::size_t at = 0;
  int page = kDefaultCodePage;
};

// Every code page the script's "#pragma code_page" lines set before `end`, in order: top-level
// lines and lines inside a statement alike. A pragma inside a comment or a string sets nothing.
std::vector<CodePageChange> codePageChanges(std::string_view text, std::size_t end);

// The code page in force at `offset`: the page of the last "#pragma code_page" line before it,
// or kDefaultCodePage when there is none.
int codePageAt(std::string_view text, std::size_t offset);

// The same from the script's changes read once (codePageChanges over the whole text): for a
// reader that asks at many places, as codePageAt reads the text from its start at each.
int codePageIn(const std::vector<CodePageChange>& changes, std::size_t offset);

}  // namespace kolvre
