// What must hold between a script text and its reordered or edited form; shared by the corpus
// tests and the fuzz targets. Each check returns an empty string when the rule holds, otherwise
// a short description of the first violation found. The rules are worked out from the
// statements alone, not from the reorder's own bookkeeping.
#pragma once

#include <algorithm>
#include <iterator>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/reorder.h"
#include "document/scanner.h"
#include "document/script_file.h"
#include "document/statements.h"

namespace kolvre::testing {

namespace detail {

inline std::string excerpt(std::string_view s) {
  constexpr std::size_t kShown = 60;
  std::string out;
  for (char c : s.substr(0, kShown)) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  if (s.size() > kShown) out += "...";
  return '"' + out + '"';
}

// The lines of a text (split at CR LF), without those that hold only white space.
inline std::vector<std::string_view> nonBlankLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find("\r\n", from);
    const std::string_view line =
        text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from);
    if (line.find_first_not_of(" \t\r\n\f\v") != std::string_view::npos) lines.push_back(line);
    if (at == std::string_view::npos) break;
    from = at + 2;
  }
  return lines;
}

inline bool isBarrierStatement(const Statement& s) {
  switch (s.kind) {
    case StatementKind::Directive:
    case StatementKind::Language:
    case StatementKind::Version:
    case StatementKind::Characteristics:
    case StatementKind::Other:
      return true;
    case StatementKind::Resource:
    case StatementKind::StringTable:
      return !s.complete || !s.selfContained;
    case StatementKind::Comment:
      return false;
  }
  return true;
}

}  // namespace detail

// The statements cover the text once, in order, with only white space between them.
inline std::string checkStatementsCover(std::string_view text) {
  std::size_t covered = 0;
  for (const Statement& s : readStatements(text)) {
    if (s.begin < covered || s.end < s.begin || s.end > text.size())
      return "statement out of order at " + std::to_string(s.begin);
    if (s.end == s.begin) return "empty statement at " + std::to_string(s.begin);
    for (std::size_t i = covered; i < s.begin; ++i)
      if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n' &&
          text[i] != '\f' && text[i] != '\v')
        return "text outside every statement at " + std::to_string(i) + ": " +
               detail::excerpt(text.substr(i));
    covered = s.end;
  }
  for (std::size_t i = covered; i < text.size(); ++i)
    if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n' &&
        text[i] != '\f' && text[i] != '\v')
      return "text after the last statement: " + detail::excerpt(text.substr(i));
  return {};
}

// The statements of a text as the reorder must keep them: the barriers and the other
// statements that never move, in order; the comments; and per stretch between barriers, the
// listed blocks.
struct Arrangement {
  std::vector<std::string_view> fixed;                // neither listed nor a comment, in order
  std::vector<std::string_view> comments;             // sorted
  std::vector<std::vector<std::string_view>> blocks;  // per stretch, sorted
  bool operator==(const Arrangement&) const = default;
};

inline Arrangement arrangementOf(std::string_view text) {
  Arrangement a;
  a.blocks.emplace_back();
  for (const Statement& s : readStatements(text)) {
    if (s.kind == StatementKind::Comment) {
      a.comments.push_back(s.of(text));
      continue;
    }
    if (s.listed && !detail::isBarrierStatement(s)) {
      a.blocks.back().push_back(s.of(text));
      continue;
    }
    a.fixed.push_back(s.of(text));
    if (detail::isBarrierStatement(s)) a.blocks.emplace_back();
  }
  std::sort(a.comments.begin(), a.comments.end());
  for (auto& stretch : a.blocks) std::sort(stretch.begin(), stretch.end());
  return a;
}

// No block crosses a barrier; the statements that never move keep their order.
inline std::string checkArrangementKept(std::string_view text, std::string_view out) {
  const Arrangement before = arrangementOf(text);
  const Arrangement after = arrangementOf(out);
  if (before.fixed != after.fixed) {
    for (std::size_t i = 0; i < std::min(before.fixed.size(), after.fixed.size()); ++i)
      if (before.fixed[i] != after.fixed[i])
        return "statement " + detail::excerpt(before.fixed[i]) + " became " +
               detail::excerpt(after.fixed[i]);
    return "the statements that never move changed in number";
  }
  if (before.comments != after.comments) return "a comment was changed, lost or added";
  if (before.blocks != after.blocks) return "a block crossed a barrier, or changed";
  return {};
}

// Every non-blank line stands whole in the output as often as in the input.
inline std::string checkLinesKept(std::string_view text, std::string_view out) {
  std::vector<std::string_view> a = detail::nonBlankLines(text);
  std::vector<std::string_view> b = detail::nonBlankLines(out);
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  if (a == b) return {};
  std::vector<std::string_view> lost;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(lost));
  if (!lost.empty()) return "line lost or broken: " + detail::excerpt(lost.front());
  return "a line was added";
}

// The same white space and bytes in all (the reorder only moves lines).
inline std::string checkSameBytes(std::string_view text, std::string_view out) {
  if (text.size() != out.size())
    return "size changed from " + std::to_string(text.size()) + " to " +
           std::to_string(out.size());
  std::string a(text), b(out);
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b ? std::string() : "the bytes changed";
}

// The text ends with a line end in the output exactly when it did in the input.
inline std::string checkFinalLineEnd(std::string_view text, std::string_view out) {
  return text.ends_with("\r\n") == out.ends_with("\r\n") ? std::string()
                                                          : "the final line end changed";
}

// The index holds the same entries (names, types), each as often.
inline std::string checkSameIndex(std::string_view text, std::string_view out) {
  auto entries = [](std::string_view t) {
    std::vector<std::pair<std::string, std::string_view>> e;
    for (const IndexEntry& entry : ARESOURCES(t)) e.emplace_back(entry.name, entry.code());
    std::sort(e.begin(), e.end());
    return e;
  };
  return entries(text) == entries(out) ? std::string() : "the index changed";
}

inline std::string checkIdempotent(std::string_view out) {
  return reorderScript(out) == out ? std::string() : "a second reorder changed the text";
}

// All the rules of a whole reorder.
inline std::string checkReorder(std::string_view text, std::string_view out) {
  for (std::string violation :
       {checkStatementsCover(text), checkSameBytes(text, out), checkLinesKept(text, out),
        checkFinalLineEnd(text, out), checkSameIndex(text, out), checkArrangementKept(text, out),
        checkIdempotent(out)})
    if (!violation.empty()) return violation;
  return {};
}

// A delete of the statement that starts at `begin`: every other statement stands byte for
// byte, in order, and only white space went with it.
inline std::string checkDeleted(std::string_view text, std::size_t begin, std::string_view out) {
  std::vector<std::string_view> expected;
  std::string_view removed;
  for (const Statement& s : readStatements(text)) {
    if (s.begin == begin)
      removed = s.of(text);
    else
      expected.push_back(s.of(text));
  }
  if (removed.empty()) return "no statement starts at " + std::to_string(begin);
  std::vector<std::string_view> got;
  for (const Statement& s : readStatements(out)) got.push_back(s.of(out));
  if (got != expected) {
    for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i)
      if (got[i] != expected[i])
        return "after deleting " + detail::excerpt(removed) + ": " +
               detail::excerpt(expected[i]) + " became " + detail::excerpt(got[i]);
    return "after deleting " + detail::excerpt(removed) + " the statements changed in number";
  }
  return {};
}

// The bytes written for a file read unchanged are the bytes read.
inline std::string checkDiskRoundTrip(const std::string& bytes) {
  const ScriptText script = fromDisk(bytes);
  const std::string back = toDisk(script.text, script.form);
  if (back == bytes) return {};
  return "disk form of " + std::to_string(bytes.size()) + " bytes comes back as " +
         std::to_string(back.size()) + " bytes";
}

}  // namespace kolvre::testing
