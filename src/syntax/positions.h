// Lines as the script's compilers count them, for every "Riga N" the editor shows and every line
// a compiler's message names: CR LF, a lone LF and a lone CR each end one line.
#pragma once

#include <cstddef>
#include <cstring>
#include <optional>
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

// The first CR LF at or after `from`: where the line that holds `from` ends as the lexer ends
// lines. npos when no CR LF follows.
inline std::size_t nextCrLf(std::string_view text, std::size_t from) {
  const char* const base = text.data();
  while (from < text.size()) {
    const void* hit = std::memchr(base + from, '\r', text.size() - from);
    if (!hit) break;
    const std::size_t cr = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
    if (cr + 1 < text.size() && base[cr + 1] == '\n') return cr;
    from = cr + 1;
  }
  return std::string_view::npos;
}

// True when the text holds a line end as the lexer ends lines (a CR LF).
inline bool holdsCrLf(std::string_view text) {
  return nextCrLf(text, 0) != std::string_view::npos;
}

// True when only white space and no line end (CR LF) stands in [from, to): a lone CR or LF is
// white space inside a line.
bool blanksWithinLine(std::string_view text, std::size_t from, std::size_t to);

// Where the line that starts at `pos` ends, after its CR LF, when it holds only white space;
// nothing when it holds more or has no line end. A lone CR or LF is white space inside it.
std::optional<std::size_t> afterBlankLine(std::string_view text, std::size_t pos);

// Where the lines end that the first `count` CR LF of the text end: just after the last of
// them; `text.size()` when fewer follow. The blank lines after a line's end, a few at most.
std::size_t afterLineEnds(std::string_view text, int count);

// The starts of the lines (CR LF lines) that hold offsets asked for in increasing order, found
// in one pass over the text however long its lines; an offset before one asked earlier is
// looked for backwards.
class LineStarts {
 public:
  explicit LineStarts(std::string_view text) : text_(text) {}
  std::size_t of(std::size_t pos);

 private:
  std::string_view text_;
  std::size_t scanned_ = 0;
  std::size_t lineStart_ = 0;
};

// Line numbers (lineNumberAt) of offsets asked for in increasing order, counted in one pass
// over the text; an offset before one asked earlier counts again from the start.
class LineNumbers {
 public:
  explicit LineNumbers(std::string_view text) : text_(text) {}
  std::size_t of(std::size_t offset);

 private:
  std::string_view text_;
  std::size_t lineBegin_ = 0;  // where line `line_` begins
  std::size_t line_ = 1;
};

}  // namespace kolvre
