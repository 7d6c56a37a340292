#include "syntax/positions.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"

namespace kolvre {

namespace {

// The first CR or LF at or after `from` in [from, end), or `end`.
std::size_t nextBreak(std::string_view text, std::size_t from, std::size_t end) {
  while (from < end && text[from] != '\r' && text[from] != '\n') ++from;
  return from;
}

// Past the line end that starts at `at` (a CR or an LF): CR LF counts as one.
std::size_t pastBreak(std::string_view text, std::size_t at) {
  return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? at + 2 : at + 1;
}

}  // namespace

std::size_t lineNumberAt(std::string_view text, std::size_t offset) {
  const std::size_t end = std::min(offset, text.size());
  std::size_t line = 1;
  for (std::size_t at = nextBreak(text, 0, end); at < end; at = nextBreak(text, at, end)) {
    // A CR LF whose LF is the offset itself ends the line before it only once it is passed.
    const std::size_t next = pastBreak(text, at);
    if (next > end) break;
    ++line;
    at = next;
  }
  return line;
}

std::size_t lineStart(std::string_view text, std::size_t line) {
  if (line == 0) return text.size();
  std::size_t at = 0;
  for (std::size_t n = 1; n < line; ++n) {
    const std::size_t brk = nextBreak(text, at, text.size());
    if (brk >= text.size()) return text.size();
    at = pastBreak(text, brk);
  }
  return at;
}

std::size_t lineEndAt(std::string_view text, std::size_t offset) {
  return nextBreak(text, std::min(offset, text.size()), text.size());
}

std::vector<LineSpan> crLfLines(std::string_view text) {
  std::vector<LineSpan> lines;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end = nextCrLf(text, at);
    if (end == std::string_view::npos) {
      lines.push_back({at, text.size()});
      return lines;
    }
    lines.push_back({at, end});
    at = end + 2;
  }
}

bool blanksWithinLine(std::string_view text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i)
    if (!isSpace(text[i]) || crLfAt(text, i) || (i > from && crLfAt(text, i - 1))) return false;
  return true;
}

std::optional<std::size_t> afterBlankLine(std::string_view text, std::size_t pos) {
  std::size_t p = pos;
  while (p < text.size() && !crLfAt(text, p)) {
    if (!isSpace(text[p])) return std::nullopt;
    ++p;
  }
  if (p >= text.size()) return std::nullopt;
  return p + 2;
}

std::size_t afterLineEnds(std::string_view text, int count) {
  std::size_t end = 0;
  for (int n = 0; n < count; ++n) {
    const std::size_t at = nextCrLf(text, end);
    if (at == std::string_view::npos) return text.size();
    end = at + 2;
  }
  return end;
}

std::size_t LineStarts::of(std::size_t pos) {
  if (pos < scanned_) return pos >= lineStart_ ? lineStart_ : lineStartOf(text_, pos);
  // From the byte before the last offset: a CR LF may stand across it.
  for (std::size_t at = nextCrLf(text_, scanned_ > 0 ? scanned_ - 1 : 0);
       at != std::string_view::npos && at + 2 <= pos; at = nextCrLf(text_, at + 2))
    lineStart_ = at + 2;
  scanned_ = pos;
  return lineStart_;
}

std::size_t LineNumbers::of(std::size_t offset) {
  const std::size_t end = std::min(offset, text_.size());
  if (end < lineBegin_) {
    lineBegin_ = 0;
    line_ = 1;
  }
  for (std::size_t at = nextBreak(text_, lineBegin_, end); at < end;
       at = nextBreak(text_, at, end)) {
    const std::size_t next = pastBreak(text_, at);
    if (next > end) break;  // the LF of a CR LF: the line ends once it is passed
    ++line_;
    at = lineBegin_ = next;
  }
  return line_;
}

}  // namespace kolvre
