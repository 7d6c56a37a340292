// Lines as the script's compilers count them, for every "Riga N" the editor shows and every line
// a compiler's message names: CR LF, a lone LF and a lone CR each end one line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kolvre {

// The line (from 1) that holds `offset` (an offset past the text stands on its last line).
std::size_t lineNumberAt(std::string_view text, std::size_t offset);

// Where line `line` (from 1) begins; text.size() for a line past the last, and for line 0.
std::size_t lineStart(std::string_view text, std::size_t line);

// Where the line that holds `offset` ends: at its line end (CR LF, LF or CR), or the text's end.
std::size_t lineEndAt(std::string_view text, std::size_t offset);

// A line as the lexer ends lines (CR LF; a lone CR or LF stays inside its line), without its
// line end: [begin, end). The dialog model keeps its statements in such lines, as its writer
// writes them.
struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};
std::vector<LineSpan> crLfLines(std::string_view text);

}  // namespace kolvre
