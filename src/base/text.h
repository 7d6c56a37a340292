// Small text helpers shared by every Qt-free layer: byte classes and ASCII case.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kolvre {

// White space as the script rules see it: blank, tab, CR and LF.
constexpr bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A blank or a tab: what separates the words of a line.
constexpr bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text without blanks and tabs at either end.
constexpr std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The text without white space (blank, tab, CR, LF) at either end.
constexpr std::string_view trimSpace(std::string_view s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII case of a to z; every other byte is kept.
constexpr char upperByte(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char lowerByte(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upperByte(c);
  return out;
}
inline std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lowerByte(c);
  return out;
}

// True when the two texts are equal without regard to ASCII letter case.
constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowerByte(a[i]) != lowerByte(b[i])) return false;
  return true;
}

// True when the text at `at` is a CR LF pair.
constexpr bool crLfAt(std::string_view s, std::size_t at) {
  return at + 1 < s.size() && s[at] == '\r' && s[at + 1] == '\n';
}

// Where the line that holds `pos` starts: the text's start, or just after a CR LF (a lone CR
// or LF is no line end).
constexpr std::size_t lineStartOf(std::string_view s, std::size_t pos) {
  while (pos > 0 && !(pos >= 2 && crLfAt(s, pos - 2))) --pos;
  return pos;
}

// How many bytes `a` and `b` share at their start.
inline std::size_t commonHead(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  // Compare in large pieces first: memcmp is much faster than a byte loop.
  std::size_t i = 0;
  constexpr std::size_t kChunk = 4096;
  while (i + kChunk <= n && std::memcmp(a.data() + i, b.data() + i, kChunk) == 0) i += kChunk;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// How many bytes `a` and `b` share at their end, at most `limit`.
inline std::size_t commonTail(std::string_view a, std::string_view b, std::size_t limit) {
  std::size_t i = 0;
  constexpr std::size_t kChunk = 4096;
  const char* ea = a.data() + a.size();
  const char* eb = b.data() + b.size();
  while (i + kChunk <= limit && std::memcmp(ea - i - kChunk, eb - i - kChunk, kChunk) == 0)
    i += kChunk;
  while (i < limit &&
         ea[-1 - static_cast<std::ptrdiff_t>(i)] == eb[-1 - static_cast<std::ptrdiff_t>(i)])
    ++i;
  return i;
}

}  // namespace kolvre
