// Small text helpers shared by every Qt-free layer: byte classes and ASCII case.
#pragma once

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

}  // namespace kolvre
