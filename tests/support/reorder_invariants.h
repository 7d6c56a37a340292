// What must hold between a script text and its reordered or edited form; shared by the corpus
// tests and the fuzz targets. Each check returns an empty string when the rule holds, otherwise
// a short description of the first violation found. The rules are worked out from the
// statements alone, not from the reorder's own bookkeeping:
//  - checkTokens: the lexer's tokens cover the text, each of the kind its first bytes make it;
//  - checkStatementsCover: the statements cover the text once, with only white space between;
//  - checkSelfContained: a statement said to be self-contained holds whole conditional sections;
//  - checkReorder: a whole reorder (reorderScript) keeps the bytes, the lines, the final line
//    end, the index and the arrangement between barriers, and a second reorder changes nothing;
//  - checkPlaced: a move of one block (placeBlock) moves it, with the comments right above it,
//    and nothing else, within its stretch and into its type's name order;
//  - checkRenamed: a rename changes the block's name only, then moves it as checkPlaced says;
//  - checkDeleted: a delete leaves every other statement byte for byte;
//  - checkInserted: a new or pasted block goes in whole, at its place, and nothing else changes;
//  - checkDiskRoundTrip: a file read and written unchanged gives back its bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/reorder.h"
#include "document/scanner.h"
#include "document/script_file.h"
#include "document/statement_check.h"
#include "syntax/statements.h"

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

inline bool isSpaceByte(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

inline bool crLfAt(std::string_view text, std::size_t i) {
  return i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
}

// True when text[i] is white space inside a line: a blank, a tab, or a CR or LF that is no part
// of a CR LF pair (lines end at CR LF only).
inline bool isLineSpace(std::string_view text, std::size_t i) {
  const char c = text[i];
  return (c == ' ' || c == '\t' || c == '\r' || c == '\n') && !crLfAt(text, i) &&
         !(i > 0 && crLfAt(text, i - 1));
}

// Where the line that holds `pos` starts: the text's start, or after a CR LF.
inline std::size_t lineStartOf(std::string_view text, std::size_t pos) {
  const std::size_t at = pos < 2 ? std::string_view::npos : text.rfind("\r\n", pos - 2);
  return at == std::string_view::npos ? 0 : at + 2;
}

// True when the listed statement `statements[i]` shares a line with another statement: on its
// first line something other than white space stands before it, or on its last line something
// other than white space and comments stands after it. Such a block cannot move, and it cuts
// its stretch in two.
inline bool sharesALine(std::string_view text, const std::vector<Statement>& statements,
                        std::size_t i) {
  const Statement& s = statements[i];
  for (std::size_t p = lineStartOf(text, s.begin); p < s.begin; ++p)
    if (!isLineSpace(text, p)) return true;
  std::size_t end = s.end;
  for (std::size_t k = i + 1; k < statements.size(); ++k) {
    const Statement& next = statements[k];
    if (next.kind != StatementKind::Comment) break;
    bool onTheLine = true;
    for (std::size_t p = end; p < next.begin && onTheLine; ++p) onTheLine = isLineSpace(text, p);
    if (!onTheLine) break;
    end = next.end;
  }
  while (end < text.size() && isLineSpace(text, end)) ++end;
  return end < text.size() && !crLfAt(text, end);
}

// Where the blocks of a text stand between its barriers: for each statement, the stretch that
// holds it (barriers end one stretch and start the next), and whether it is a block the
// reorder may move (listed, and neither a barrier nor sharing a line).
struct Stretches {
  std::vector<std::size_t> of;
  std::vector<bool> movable;
};

// True when the listed statement `statements[i]`, with the comments on its last line, runs to
// the end of the text and ends with a string or comment left open that would take in a line put
// after it (takesNextLine).
inline bool endsLeftOpen(std::string_view text, const std::vector<Statement>& statements,
                         std::size_t i) {
  std::size_t k = i;
  while (k + 1 < statements.size() && statements[k + 1].kind == StatementKind::Comment &&
         text.substr(statements[k].end, statements[k + 1].begin - statements[k].end).find("\r\n") ==
             std::string_view::npos)
    ++k;
  if (statements[k].end != text.size()) return false;
  Lexer lexer(text, statements[k].begin, true);
  Token last;
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) last = t;
  return takesNextLine(text, last);
}

// A listed block stands fast (a barrier) where it shares a line, where it is the first
// statement after one left open (past comments: the open statement ends where it begins), and
// where it ends the text with a string or comment left open.
inline Stretches stretchesOf(std::string_view text, const std::vector<Statement>& statements) {
  Stretches st;
  std::size_t stretch = 0;
  bool afterOpen = false;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    const bool barrier =
        isBarrierStatement(s) || (s.listed && (sharesALine(text, statements, i) || afterOpen ||
                                               endsLeftOpen(text, statements, i)));
    if (s.kind != StatementKind::Comment) afterOpen = !s.complete;
    if (barrier) ++stretch;
    st.of.push_back(stretch);
    st.movable.push_back(s.listed && !barrier);
    if (barrier) ++stretch;
  }
  return st;
}

}  // namespace detail

// Two lists of statements alike field by field (statements read again only where a text
// changed, beside those read whole).
inline bool sameStatements(const std::vector<Statement>& a, const std::vector<Statement>& b) {
  return std::equal(
      a.begin(), a.end(), b.begin(), b.end(), [](const Statement& x, const Statement& y) {
        return x.begin == y.begin && x.end == y.end && x.kind == y.kind && x.nameEnd == y.nameEnd &&
               x.typeBegin == y.typeBegin && x.typeEnd == y.typeEnd && x.listed == y.listed &&
               x.complete == y.complete && x.selfContained == y.selfContained &&
               x.directive == y.directive;
      });
}

// The statements cover the text once, in order, with only white space between them.
inline std::string checkStatementsCover(std::string_view text) {
  const std::vector<Statement> statements = readStatements(text);
  std::size_t covered = 0;
  for (const Statement& s : statements) {
    if (s.begin < covered || s.end < s.begin || s.end > text.size())
      return "statement out of order at " + std::to_string(s.begin);
    if (s.end == s.begin) return "empty statement at " + std::to_string(s.begin);
    for (std::size_t i = covered; i < s.begin; ++i)
      if (!detail::isSpaceByte(text[i]))
        return "text outside every statement at " + std::to_string(i) + ": " +
               detail::excerpt(text.substr(i));
    covered = s.end;
  }
  for (std::size_t i = covered; i < text.size(); ++i)
    if (!detail::isSpaceByte(text[i]))
      return "text after the last statement: " + detail::excerpt(text.substr(i));
  return {};
}

// A resource or string table said to be self-contained holds, of the preprocessor lines the
// lexer finds in it, whole conditional sections only.
inline std::string checkSelfContained(std::string_view text) {
  const std::vector<Statement> statements = readStatements(text);
  Lexer lexer(text);
  std::vector<Token> directives;
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next())
    if (t.kind == TokenKind::Directive) directives.push_back(t);
  auto next = directives.begin();
  for (const Statement& s : statements) {
    while (next != directives.end() && next->begin < s.begin) ++next;
    if (s.kind != StatementKind::Resource && s.kind != StatementKind::StringTable) continue;
    if (!s.selfContained) continue;
    std::size_t open = 0;
    bool whole = true;
    for (auto d = next; d != directives.end() && d->begin < s.end && whole; ++d) {
      switch (directiveKind(d->of(text))) {
        case DirectiveKind::If:
          ++open;
          break;
        case DirectiveKind::Else:
          whole = open > 0;
          break;
        case DirectiveKind::EndIf:
          whole = open > 0;
          if (open > 0) --open;
          break;
        case DirectiveKind::Other:
          whole = false;
          break;
      }
    }
    if (!whole || open > 0)
      return "statement " + detail::excerpt(s.of(text)) +
             " said to be self-contained holds a preprocessor line that is no whole section";
  }
  return {};
}

// The tokens cover the text in order, each one not empty, with only white space between them;
// each kind starts as it must; a line end stands before a token exactly when `newLine` says
// so (counting line ends inside comments and since the last token that is no comment), and a
// '#' starts a preprocessor line exactly there. Comments blanked keep every byte outside them
// and the CR LF pairs inside them.
inline std::string checkTokens(std::string_view text) {
  Lexer lexer(text);
  std::size_t covered = 0;
  std::size_t sinceCode = 0;  // where the last token that is no comment ended
  bool anyCode = false;
  const auto at = [](std::size_t pos) { return " at " + std::to_string(pos); };
  for (std::size_t count = 0;; ++count) {
    const Token t = lexer.next();
    if (t.begin < covered || t.end < t.begin || t.end > text.size())
      return "token out of order" + at(t.begin);
    for (std::size_t i = covered; i < t.begin; ++i)
      if (!detail::isSpaceByte(text[i])) return "byte outside every token" + at(i);
    if (t.kind == TokenKind::End) {
      if (t.begin != text.size()) return "the tokens end before the text" + at(t.begin);
      break;
    }
    if (t.end == t.begin) return "empty token" + at(t.begin);
    if (count > text.size()) return "more tokens than bytes";
    const bool newLine = !anyCode || text.substr(sinceCode, t.begin - sinceCode).find("\r\n") !=
                                         std::string_view::npos;
    if (t.newLine != newLine) return "line end flag wrong" + at(t.begin);
    const std::string_view tok = t.of(text);
    const unsigned char first = static_cast<unsigned char>(tok[0]);
    const lexing::ByteClass cls = lexing::kByteClass[first];
    bool fits = true;
    switch (t.kind) {
      case TokenKind::Word:
        fits = cls == lexing::ByteClass::Word;
        break;
      case TokenKind::Number:
        fits = cls == lexing::ByteClass::Digit;
        break;
      case TokenKind::String:
        fits = tok[0] == '"' || (tok[0] == '\'' && tok.size() > 1 && tok.back() == '\'');
        // A string ends with its line unless a backslash continues it.
        for (std::size_t k = tok.find("\r\n"); tok[0] == '"' && k != std::string_view::npos;
             k = tok.find("\r\n", k + 2))
          if (tok[k - 1] != '\\') return "a string runs over a line end" + at(t.begin);
        break;
      case TokenKind::Comment:
        fits = tok.starts_with("//") || tok.starts_with("/*");
        break;
      case TokenKind::Directive:
        fits = tok[0] == '#' && newLine;
        break;
      case TokenKind::Punct:
        fits =
            tok.size() == 1 && cls == lexing::ByteClass::Other && !(tok[0] == '#' && newLine) &&
            tok[0] != '"' &&
            !(tok[0] == '/' && t.end < text.size() && (text[t.end] == '/' || text[t.end] == '*'));
        break;
      case TokenKind::End:
        break;
    }
    if (!fits) return "token " + detail::excerpt(tok) + " of the wrong kind" + at(t.begin);
    if ((t.kind == TokenKind::Word || t.kind == TokenKind::Number) && t.end < text.size() &&
        lexing::isWordByte(text[t.end]))
      return "word cut short" + at(t.begin);
    if (t.kind != TokenKind::Comment) {
      anyCode = true;
      sinceCode = t.end;
    }
    covered = t.end;
  }
  const std::string blanked = blankComments(text);
  if (blanked.size() != text.size()) return "blanking comments changed the size";
  Lexer again(text);
  std::size_t from = 0;
  for (Token t = again.next(); t.kind != TokenKind::End; t = again.next()) {
    if (t.kind != TokenKind::Comment) continue;
    if (text.substr(from, t.begin - from) != std::string_view(blanked).substr(from, t.begin - from))
      return "blanking comments changed code" + at(from);
    for (std::size_t i = t.begin; i < t.end; ++i) {
      const bool lineEnd = (text.compare(i, 2, "\r\n") == 0 && i + 1 < t.end) ||
                           (i > t.begin && text.compare(i - 1, 2, "\r\n") == 0);
      if (blanked[i] != (lineEnd ? text[i] : ' ')) return "comment blanked wrong" + at(i);
    }
    from = t.end;
  }
  if (text.substr(from) != std::string_view(blanked).substr(from))
    return "blanking comments changed code" + at(from);
  return {};
}

// The statements of a text as the reorder must keep them: the barriers and the other
// statements that never move, in order; the comments; and per stretch between barriers, the
// movable blocks. A listed block that shares a line with another statement never moves: it
// counts among the barriers.
struct Arrangement {
  std::vector<std::string_view> fixed;                // neither movable nor a comment, in order
  std::vector<std::string_view> comments;             // sorted
  std::vector<std::vector<std::string_view>> blocks;  // per stretch, sorted
  bool operator==(const Arrangement&) const = default;
};

inline Arrangement arrangementOf(std::string_view text) {
  const std::vector<Statement> statements = readStatements(text);
  const detail::Stretches stretches = detail::stretchesOf(text, statements);
  Arrangement a;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    if (s.kind == StatementKind::Comment) {
      a.comments.push_back(s.of(text));
    } else if (stretches.movable[i]) {
      a.blocks.resize(std::max(a.blocks.size(), stretches.of[i] + 1));
      a.blocks[stretches.of[i]].push_back(s.of(text));
    } else {
      a.fixed.push_back(s.of(text));
    }
  }
  if (!statements.empty()) a.blocks.resize(stretches.of.back() + 1);
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
    return "size changed from " + std::to_string(text.size()) + " to " + std::to_string(out.size());
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
    std::vector<std::pair<std::string, std::string>> e;
    for (const IndexEntry& entry : indexResources(t))
      e.emplace_back(entry.name, std::string(entry.code()));
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
  const std::vector<Statement> statements = readStatements(text);
  // The comments after it on its last line go with it, when nothing but blanks follows them.
  const auto blank = [&](std::size_t p) { return text[p] == ' ' || text[p] == '\t'; };
  const auto lineSpaceOnly = [&](std::size_t from, std::size_t to) {
    for (std::size_t p = from; p < to; ++p)
      if (!blank(p)) return false;
    return true;
  };
  std::size_t lastTaken = statements.size();
  for (std::size_t i = 0; i < statements.size(); ++i) {
    if (statements[i].begin != begin) continue;
    std::size_t j = i;
    while (j + 1 < statements.size() && statements[j + 1].kind == StatementKind::Comment &&
           lineSpaceOnly(statements[j].end, statements[j + 1].begin) &&
           statements[j + 1].of(text).find("\r\n") == std::string_view::npos)
      ++j;
    std::size_t p = statements[j].end;
    while (p < text.size() && blank(p)) ++p;
    lastTaken = p == text.size() || crLfAt(text, p) ? j : i;
    break;
  }
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    if (s.begin == begin)
      removed = s.of(text);
    else if (removed.empty() || i > lastTaken)
      expected.push_back(s.of(text));
  }
  if (removed.empty()) return "no statement starts at " + std::to_string(begin);
  std::vector<std::string_view> got;
  for (const Statement& s : readStatements(out)) got.push_back(s.of(out));
  if (got != expected) {
    for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i)
      if (got[i] != expected[i])
        return "after deleting " + detail::excerpt(removed) + ": " + detail::excerpt(expected[i]) +
               " became " + detail::excerpt(got[i]);
    return "after deleting " + detail::excerpt(removed) + " the statements changed in number";
  }
  return {};
}

namespace detail {

inline std::vector<std::string_view> statementTexts(std::string_view text,
                                                    const std::vector<Statement>& statements) {
  std::vector<std::string_view> texts;
  texts.reserve(statements.size());
  for (const Statement& s : statements) texts.push_back(s.of(text));
  return texts;
}

// True when `comment` is a comment alone on its lines right above the line `below` starts on
// (no blank line between): a block takes such comments along when it moves.
inline bool standsRightAbove(std::string_view text, const Statement& comment,
                             const Statement& below) {
  if (comment.kind != StatementKind::Comment) return false;
  for (std::size_t p = lineStartOf(text, comment.begin); p < comment.begin; ++p)
    if (!isLineSpace(text, p)) return false;
  std::size_t p = comment.end;
  while (p < below.begin && isLineSpace(text, p)) ++p;
  if (!crLfAt(text, p)) return false;
  for (p += 2; p < below.begin; ++p)
    if (!isLineSpace(text, p)) return false;
  return true;
}

// Where `after` holds `before` with the run before[first, last] taken out and put back whole
// at one place: the indexes in `after` at which the run may start (more than one where equal
// statements stand next to it), none when `after` is no such text.
inline std::vector<std::size_t> runMovedTo(const std::vector<std::string_view>& before,
                                           std::size_t first, std::size_t last,
                                           const std::vector<std::string_view>& after) {
  std::vector<std::size_t> places;
  if (after.size() != before.size()) return places;
  const std::size_t length = last - first + 1;
  const std::size_t rest = before.size() - length;
  // The statements but the run, in order: rest(k) is the k-th of them.
  const auto restAt = [&](std::size_t k) { return before[k < first ? k : k + length]; };
  // The longest stretch of `after` from its start that matches the rest, and from its end.
  std::size_t prefix = 0;
  while (prefix < rest && after[prefix] == restAt(prefix)) ++prefix;
  std::size_t suffix = 0;
  while (suffix < rest && after[after.size() - 1 - suffix] == restAt(rest - 1 - suffix)) ++suffix;
  // The run goes in before the rest's k-th statement, for each k the two stretches allow.
  for (std::size_t k = rest > suffix ? rest - suffix : 0; k <= prefix; ++k)
    if (std::equal(before.begin() + static_cast<std::ptrdiff_t>(first),
                   before.begin() + static_cast<std::ptrdiff_t>(last + 1),
                   after.begin() + static_cast<std::ptrdiff_t>(k)))
      places.push_back(k);
  return places;
}

}  // namespace detail

// A move of one block (placeBlock) of the listed statement that starts at `begin`: the block
// goes as one run with comments right beside it, and every other statement stands byte for
// byte in order; lines stay whole, the final line end, the index and the stretches are kept;
// and where the other blocks of its type in its stretch stood in name order, they still do with
// it among them.
inline std::string checkPlaced(std::string_view text, std::size_t begin, std::string_view out) {
  const std::vector<Statement> before = readStatements(text);
  std::size_t moved = 0;
  while (moved < before.size() && !(before[moved].begin == begin && before[moved].listed)) ++moved;
  if (moved == before.size())
    return out == text
               ? std::string()
               : "no listed block starts at " + std::to_string(begin) + ", yet the text changed";
  if (out == text) return {};
  const std::vector<Statement> after = readStatements(out);
  const std::vector<std::string_view> a = detail::statementTexts(text, before);
  const std::vector<std::string_view> b = detail::statementTexts(out, after);
  // It takes along the comments right above it, and may take those after it on its last line.
  std::size_t first = moved;
  while (first > 0 && detail::standsRightAbove(text, before[first - 1], before[first])) --first;
  std::size_t lastComment = moved;
  while (lastComment + 1 < before.size() && before[lastComment + 1].kind == StatementKind::Comment)
    ++lastComment;
  // Where the run starts in `after`: at a place that parts no comment from the statement it
  // stands right above.
  std::optional<std::size_t> landed;
  std::string violation;
  std::size_t last = moved;
  for (; last <= lastComment && !landed; ++last) {
    const std::size_t length = last - first + 1;
    const auto restAt = [&](std::size_t k) -> const Statement& {
      return before[k < first ? k : k + length];
    };
    for (const std::size_t k : detail::runMovedTo(a, first, last, b)) {
      if (k > 0 && k + length < before.size() &&
          detail::standsRightAbove(text, restAt(k - 1), restAt(k))) {
        violation = detail::excerpt(a[moved]) + " came between " +
                    detail::excerpt(restAt(k - 1).of(text)) + " and the statement below it";
        continue;
      }
      landed = k + (moved - first);
      break;
    }
  }
  if (!landed)
    return !violation.empty() ? violation
                              : "moving " + detail::excerpt(a[moved]) +
                                    " moved, changed or lost other statements, or left comments "
                                    "above it behind";
  for (std::string rule : {checkLinesKept(text, out), checkFinalLineEnd(text, out),
                           checkSameIndex(text, out), checkArrangementKept(text, out)})
    if (!rule.empty()) return rule;

  // Its type's blocks in its stretch, before (without it) and after (with it).
  const auto sameType = [&](std::string_view t, const std::vector<Statement>& statements,
                            std::size_t at, bool withIt) {
    const detail::Stretches stretches = detail::stretchesOf(t, statements);
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < statements.size(); ++i)
      if (stretches.movable[i] && stretches.of[i] == stretches.of[at] &&
          statements[i].listed == statements[at].listed && (withIt || i != at))
        names.push_back(statements[i].name(t));
    return names;
  };
  const auto inOrder = [](const std::vector<std::string_view>& names) {
    return std::is_sorted(names.begin(), names.end(), [](std::string_view x, std::string_view y) {
      return compareNames(x, y) < 0;
    });
  };
  if (inOrder(sameType(text, before, moved, false)) &&
      !inOrder(sameType(out, after, *landed, true)))
    return detail::excerpt(a[moved]) + " was put out of name order among its type";
  return {};
}

// A rename of the listed statement that starts at `begin` to `newName`, then its move
// (placeBlock): the statement differs from what it was only by its name, and the move keeps
// the rules of checkPlaced.
inline std::string checkRenamed(std::string_view text, std::size_t begin, std::string_view newName,
                                std::string_view out) {
  const std::vector<Statement> before = readStatements(text);
  const auto it = std::find_if(before.begin(), before.end(), [&](const Statement& s) {
    return s.begin == begin && s.kind == StatementKind::Resource;
  });
  if (it == before.end()) return "no resource starts at " + std::to_string(begin);
  std::string renamed(text.substr(0, begin));
  renamed += newName;
  renamed += text.substr(it->nameEnd);
  const std::vector<Statement> mid = readStatements(renamed);
  if (mid.size() != before.size()) return "the rename changed the statements in number";
  for (std::size_t i = 0; i < mid.size(); ++i) {
    const Statement& was = before[i];
    const Statement& is = mid[i];
    if (was.begin != begin) {
      if (was.of(text) != is.of(renamed))
        return "the rename changed " + detail::excerpt(was.of(text)) + " into " +
               detail::excerpt(is.of(renamed));
      continue;
    }
    if (is.begin != begin || is.name(renamed) != newName || is.listed != was.listed ||
        is.of(renamed).substr(newName.size()) != was.of(text).substr(was.name(text).size()))
      return "the renamed block reads as " + detail::excerpt(is.of(renamed));
  }
  // Only the six kinds the editor creates move to their place.
  if (!it->listed) return out == renamed ? std::string() : "a block the reorder leaves moved";
  // Only where its type's blocks in its stretch stood sorted, with its old name among them: a
  // stretch its author did not sort stays as it stands.
  const detail::Stretches stretches = detail::stretchesOf(text, before);
  const auto at = static_cast<std::size_t>(it - before.begin());
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < before.size(); ++i)
    if (stretches.movable[i] && stretches.of[i] == stretches.of[at] &&
        before[i].listed == before[at].listed)
      names.push_back(before[i].name(text));
  if (!std::is_sorted(names.begin(), names.end(), [](std::string_view x, std::string_view y) {
        return compareNames(x, y) < 0;
      }))
    return out == renamed ? std::string() : "a rename moved a block in a stretch not sorted";
  return checkPlaced(renamed, begin, out);
}

namespace detail {

// True when a statement written after `text` on a line of its own reads as written: the text
// leaves no body, header, comment or string open at its end. The statement written is a
// manifest, whose type (24) is no keyword: a statement left open reads it as its own.
inline bool endsClosed(std::string_view text) {
  const std::string_view sentinel = "KOLVRE_SENTINEL 24 \"sentinel.manifest\"";
  std::string probe(text);
  probe += "\r\n";
  probe += sentinel;
  const std::vector<Statement> statements = readStatements(probe);
  return !statements.empty() && statements.back().of(probe) == sentinel && statements.back().listed;
}

// True when `block` read alone is statements that are complete, hold whole conditional sections
// only, and leave nothing open at the end.
inline bool closesItself(std::string_view block) {
  if (!endsClosed(block)) return false;
  for (const Statement& s : readStatements(block))
    if (!s.complete || !s.selfContained || s.kind == StatementKind::Other) return false;
  return true;
}

inline bool onlySpace(std::string_view s) {
  return std::all_of(s.begin(), s.end(), isSpaceByte);
}

}  // namespace detail

// A new block put in (newBlockInsertion, appendEdit): the text around it stands as it was, only
// white space gave way, and the block (without the white space at its end) went in on lines of
// its own, with only white space around it.
// Where the block reads alone as statements that close themselves, and the text leaves nothing
// open at its end, every statement of the text stands byte for byte in order, with the block's
// statements as one run among them; and where the block is one listed resource, it goes into the
// text's last stretch, in its type's name order where the blocks of its type there were in order.
inline std::string checkInserted(std::string_view text, std::string_view block,
                                 std::string_view out) {
  // The white space the block ends with: blanks, tabs, CR and LF.
  std::string_view content = block;
  while (!content.empty() &&
         std::string_view(" \t\r\n").find(content.back()) != std::string_view::npos)
    content.remove_suffix(1);
  std::size_t prefix = 0;
  while (prefix < text.size() && prefix < out.size() && text[prefix] == out[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < text.size() && suffix < out.size() &&
         text[text.size() - 1 - suffix] == out[out.size() - 1 - suffix])
    ++suffix;
  bool whole = false;
  for (std::size_t q = out.find(content); q != std::string_view::npos && !whole;
       q = out.find(content, q + 1)) {
    // The text kept before and after the block: as much as the common head and tail allow,
    // the head first or the tail first (where they would overlap in the text).
    const std::size_t after = out.size() - q - content.size();
    const auto fits = [&](std::size_t head, std::size_t tail) {
      return detail::onlySpace(out.substr(head, q - head)) &&
             detail::onlySpace(out.substr(q + content.size(), after - tail)) &&
             detail::onlySpace(text.substr(head, text.size() - tail - head));
    };
    // On lines of its own.
    std::size_t lineStart = q;
    while (lineStart > 0 && detail::isLineSpace(out, lineStart - 1)) --lineStart;
    std::size_t lineEnd = q + content.size();
    while (lineEnd < out.size() && detail::isLineSpace(out, lineEnd)) ++lineEnd;
    if ((lineStart > 0 && (lineStart < 2 || out.compare(lineStart - 2, 2, "\r\n") != 0)) ||
        (lineEnd < out.size() && out.compare(lineEnd, 2, "\r\n") != 0))
      continue;
    const std::size_t head = std::min(q, prefix);
    const std::size_t tail = std::min(after, suffix);
    whole = (head <= text.size() && fits(head, std::min(tail, text.size() - head))) ||
            (tail <= text.size() && fits(std::min(head, text.size() - tail), tail));
  }
  if (!whole)
    return "the block " + detail::excerpt(content) +
           " did not go in whole on lines of its own, or more than white space changed around it";
  // A block put in after a text that leaves a statement open at its end is read into it.
  if (!detail::closesItself(content) || !detail::endsClosed(text)) return {};

  const std::vector<Statement> before = readStatements(text);
  const std::vector<Statement> after = readStatements(out);
  const std::vector<Statement> own = readStatements(content);
  const std::vector<std::string_view> a = detail::statementTexts(text, before);
  const std::vector<std::string_view> b = detail::statementTexts(out, after);
  const std::vector<std::string_view> run = detail::statementTexts(content, own);
  if (b.size() != a.size() + run.size())
    return "the text holds " + std::to_string(b.size()) + " statements, expected " +
           std::to_string(a.size() + run.size());
  std::size_t head = 0;
  while (head < a.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
  std::optional<std::size_t> landed;
  for (std::size_t k = a.size() > tail ? a.size() - tail : 0; k <= head && !landed; ++k)
    if (std::equal(run.begin(), run.end(), b.begin() + static_cast<std::ptrdiff_t>(k))) landed = k;
  if (!landed) return "the statements of the text changed around the block";

  // One listed resource: the last stretch, its type's order.
  std::size_t codeStatements = 0;
  std::size_t listed = 0;
  for (std::size_t i = 0; i < own.size(); ++i)
    if (own[i].kind != StatementKind::Comment) {
      ++codeStatements;
      listed = *landed + i;
    }
  if (codeStatements != 1 || !after[listed].listed) return {};
  // Where its place would change how a statement left open reads, it goes at the end.
  if (*landed == a.size() && mayReadOtherwise(text, before)) return {};
  const detail::Stretches stretches = detail::stretchesOf(out, after);
  if (!stretches.movable[listed]) return {};
  if (stretches.of[listed] != stretches.of.back())
    return "the block went in before a barrier: not in the last stretch";
  std::vector<std::string_view> others, with;
  for (std::size_t i = 0; i < after.size(); ++i)
    if (stretches.movable[i] && stretches.of[i] == stretches.of[listed] &&
        after[i].listed == after[listed].listed) {
      with.push_back(after[i].name(out));
      if (i != listed) others.push_back(after[i].name(out));
    }
  const auto inOrder = [](const std::vector<std::string_view>& names) {
    return std::is_sorted(names.begin(), names.end(), [](std::string_view x, std::string_view y) {
      return compareNames(x, y) < 0;
    });
  };
  if (inOrder(others) && !inOrder(with))
    return "the block went in out of name order among its type";
  return {};
}

// The bytes written for a file read unchanged are the bytes read, for every file the editor
// opens: it refuses a UTF-16 file that would not come back byte for byte (utf16Problem).
inline std::string checkDiskRoundTrip(const std::string& bytes) {
  if (!utf16Problem(bytes).empty()) return {};
  const ScriptText script = fromDisk(bytes);
  const std::string back = toDisk(script.text, script.form);
  if (back == bytes) return {};
  return "disk form of " + std::to_string(bytes.size()) + " bytes comes back as " +
         std::to_string(back.size()) + " bytes";
}

}  // namespace kolvre::testing
