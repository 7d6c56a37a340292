#include "syntax/conditionals.h"

#include <algorithm>
#include <set>
#include <string>

#include "syntax/lexer.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

namespace {

// Bounds that keep a hostile script cheap: headers read, tokens a condition may expand to,
// nesting of its operators.
constexpr std::size_t kMaxHeaders = 256;
constexpr std::size_t kMaxTokens = 100000;
constexpr int kMaxDepth = 200;

// The names the compilers define before reading a script.
constexpr std::string_view kPredefined[] = {"RC_INVOKED", "_WIN32"};

bool isUnsure(const std::vector<std::string>& unsure, std::string_view name) {
  return std::find(unsure.begin(), unsure.end(), name) != unsure.end();
}

// A condition's tokens after its names are replaced and `defined` answered: numbers and
// operators (two-byte ones joined).
struct CondToken {
  bool number = false;
  std::int64_t value = 0;
  std::string op;
};

class ConditionReader {
 public:
  ConditionReader(const SymbolTable& symbols, const std::vector<std::string>& unsure)
      : symbols_(symbols), unsure_(unsure) {}

  std::optional<bool> run(std::string_view condition) {
    if (!expand(condition, {}) || tokens_.empty()) return std::nullopt;
    std::int64_t value = 0;
    if (!conditional(value) || at_ != tokens_.size()) return std::nullopt;
    return value != 0;
  }

 private:
  // The tokens of `text` into tokens_; false when one cannot be judged. `replacing`: the names
  // whose definitions are being read, not replaced again inside themselves.
  bool expand(std::string_view text, std::vector<std::string> replacing) {
    Lexer lexer(text, 0, false);
    for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode()) {
      if (tokens_.size() > kMaxTokens) return false;
      const std::string_view word = t.of(text);
      switch (t.kind) {
        case TokenKind::Number: {
          std::string_view digits = word;
          while (!digits.empty() && (digits.back() == 'u' || digits.back() == 'U' ||
                                     digits.back() == 'l' || digits.back() == 'L'))
            digits.remove_suffix(1);
          const auto value = compilerNumber(digits);
          if (!value) return false;
          tokens_.push_back({true, static_cast<std::int64_t>(*value), {}});
          break;
        }
        case TokenKind::Word: {
          if (word == "defined") {
            Token name = lexer.nextCode();
            const bool parenthesis = name.kind == TokenKind::Punct && text[name.begin] == '(';
            if (parenthesis) name = lexer.nextCode();
            if (name.kind != TokenKind::Word) return false;
            if (parenthesis) {
              const Token close = lexer.nextCode();
              if (close.kind != TokenKind::Punct || text[close.begin] != ')') return false;
            }
            const std::string_view n = name.of(text);
            if (isUnsure(unsure_, n)) return false;
            tokens_.push_back({true, symbols_.find(n) ? 1 : 0, {}});
            break;
          }
          if (isUnsure(unsure_, word)) return false;
          const std::string* definition = symbols_.find(word);
          if (!definition || std::find(replacing.begin(), replacing.end(), word) != replacing.end())
            return false;  // a name no definition gives: its value cannot be told here
          replacing.emplace_back(word);
          if (!expand(*definition, replacing)) return false;
          replacing.pop_back();
          break;
        }
        case TokenKind::Punct: {
          const char c = text[t.begin];
          if (c == '\\') break;  // a backslash that continues the line
          std::string op(1, c);
          const Token next = lexer.peekCode();
          if (next.kind == TokenKind::Punct && next.begin == t.end) {
            const std::string two = op + text[next.begin];
            if (two == "&&" || two == "||" || two == "==" || two == "!=" || two == "<=" ||
                two == ">=" || two == "<<" || two == ">>") {
              op = two;
              lexer.nextCode();
            }
          }
          tokens_.push_back({false, 0, std::move(op)});
          break;
        }
        default:  // a string or another line
          return false;
      }
    }
    return true;
  }

  bool isOp(std::string_view op) const {
    return at_ < tokens_.size() && !tokens_[at_].number && tokens_[at_].op == op;
  }

  bool conditional(std::int64_t& value) {
    if (++depth_ > kMaxDepth || !binary(value, 0)) return false;
    --depth_;
    if (!isOp("?")) return true;
    ++at_;
    std::int64_t yes = 0, no = 0;
    if (!conditional(yes) || !isOp(":")) return false;
    ++at_;
    if (!conditional(no)) return false;
    value = value != 0 ? yes : no;
    return true;
  }

  // The binary operators by how tightly they bind, loosest first.
  static int precedence(std::string_view op) {
    static constexpr std::string_view kLevels[][4] = {{"||"},
                                                      {"&&"},
                                                      {"|"},
                                                      {"^"},
                                                      {"&"},
                                                      {"==", "!="},
                                                      {"<", ">", "<=", ">="},
                                                      {"<<", ">>"},
                                                      {"+", "-"},
                                                      {"*", "/", "%"}};
    for (int level = 0; level < static_cast<int>(std::size(kLevels)); ++level)
      for (std::string_view o : kLevels[level])
        if (!o.empty() && o == op) return level;
    return -1;
  }

  bool binary(std::int64_t& value, int level) {
    if (level == 10) return unary(value);
    if (!binary(value, level + 1)) return false;
    while (at_ < tokens_.size() && !tokens_[at_].number && precedence(tokens_[at_].op) == level) {
      const std::string op = tokens_[at_++].op;
      std::int64_t right = 0;
      if (!binary(right, level + 1)) return false;
      if (!apply(op, value, right)) return false;
    }
    return true;
  }

  static bool apply(std::string_view op, std::int64_t& a, std::int64_t b) {
    const auto ua = static_cast<std::uint64_t>(a), ub = static_cast<std::uint64_t>(b);
    if (op == "||")
      a = a != 0 || b != 0;
    else if (op == "&&")
      a = a != 0 && b != 0;
    else if (op == "|")
      a = static_cast<std::int64_t>(ua | ub);
    else if (op == "^")
      a = static_cast<std::int64_t>(ua ^ ub);
    else if (op == "&")
      a = static_cast<std::int64_t>(ua & ub);
    else if (op == "==")
      a = a == b;
    else if (op == "!=")
      a = a != b;
    else if (op == "<")
      a = a < b;
    else if (op == ">")
      a = a > b;
    else if (op == "<=")
      a = a <= b;
    else if (op == ">=")
      a = a >= b;
    else if (op == "<<" || op == ">>") {
      if (b < 0 || b > 63) return false;
      a = static_cast<std::int64_t>(op == "<<" ? ua << b : ua >> b);
    } else if (op == "+")
      a = static_cast<std::int64_t>(ua + ub);
    else if (op == "-")
      a = static_cast<std::int64_t>(ua - ub);
    else if (op == "*")
      a = static_cast<std::int64_t>(ua * ub);
    else {  // / and %
      if (b == 0 || (b == -1 && a == INT64_MIN)) return false;
      a = op == "/" ? a / b : a % b;
    }
    return true;
  }

  bool unary(std::int64_t& value) {
    if (at_ >= tokens_.size()) return false;
    const CondToken& t = tokens_[at_];
    if (t.number) {
      value = t.value;
      ++at_;
      return true;
    }
    if (++depth_ > kMaxDepth) return false;
    ++at_;
    bool ok = false;
    if (t.op == "(") {
      ok = conditional(value) && isOp(")");
      ++at_;
    } else if (t.op == "!" || t.op == "~" || t.op == "-" || t.op == "+") {
      ok = unary(value);
      if (t.op == "!") value = value == 0;
      if (t.op == "~") value = ~value;
      if (t.op == "-") value = static_cast<std::int64_t>(0u - static_cast<std::uint64_t>(value));
    }
    --depth_;
    return ok;
  }

  const SymbolTable& symbols_;
  const std::vector<std::string>& unsure_;
  std::vector<CondToken> tokens_;
  std::size_t at_ = 0;
  int depth_ = 0;
};

// Whether a place is compiled: surely, surely not, or it cannot be told.
enum class Reach : std::uint8_t { Kept, Skipped, Unsure };

// A branch under condition `holds` within a place that is `outer`.
Reach branchReach(Reach outer, std::optional<bool> holds) {
  if (outer == Reach::Skipped || holds == false) return Reach::Skipped;
  return holds ? outer : Reach::Unsure;
}

// The script and its headers read in order: the sections open, the names defined.
class SectionReading {
 public:
  explicit SectionReading(const HeaderReader& readHeader) : readHeader_(readHeader) {
    for (std::string_view name : kPredefined) symbols_.define(name, "1");
  }

  // Reads `text` (the script when `skipped` is given, else a header at `path`).
  void read(std::string_view text, const std::vector<Statement>& statements, std::string_view path,
            std::vector<bool>* skipped) {
    const std::size_t depth = frames_.size();
    std::size_t next = 0;  // the statements before it are marked
    forEachPreprocessorLine(
        text, statements,
        [&](std::size_t statement, std::string_view own, const StatementTree& lineTree) {
          if (skipped) {
            // The statements before this line (and this one, where the line stands in its body:
            // its start stands before the line) stand where the sections were before it.
            const bool inside = statements[statement].kind != StatementKind::Directive;
            for (; next < statement + (inside ? 1 : 0); ++next)
              (*skipped)[next] = reach() == Reach::Skipped;
            if (!inside) next = statement + 1;
          }
          line(own, lineTree, path, depth);
        },
        false);
    if (skipped)
      for (; next < statements.size(); ++next) (*skipped)[next] = reach() == Reach::Skipped;
    frames_.resize(depth);  // sections a header leaves open close with it
  }

 private:
  struct Frame {
    Reach outer = Reach::Kept;
    Reach now = Reach::Kept;
    bool taken = false;   // a branch before was surely compiled
    bool unsure = false;  // a branch before may have been
  };

  Reach reach() const { return frames_.empty() ? base_ : frames_.back().now; }

  std::optional<bool> holds(std::string_view own, const StatementTree& line) {
    if (line.tokens.size() < 2) return std::nullopt;
    const std::string_view keyword = tokenText(own, line.tokens[1]);
    const std::vector<std::size_t> fields = line.children(0);
    if (fields.empty()) return std::nullopt;
    const TreeNode& field = line.nodes[fields[0]];
    if (field.first >= field.last) return std::nullopt;
    const std::string_view condition = own.substr(
        line.beginOf(field), line.endOf(line.nodes[fields.back()]) - line.beginOf(field));
    if (keyword == "if" || keyword == "elif") return conditionHolds(condition, symbols_, unsure_);
    if (keyword != "ifdef" && keyword != "ifndef") return std::nullopt;
    const TreeToken& name = line.tokens[field.first];
    if (name.kind != TokenKind::Word) return std::nullopt;
    const std::string_view word = tokenText(own, name);
    if (isUnsure(unsure_, word)) return std::nullopt;
    return (symbols_.find(word) != nullptr) == (keyword == "ifdef");
  }

  void line(std::string_view own, const StatementTree& line, std::string_view path,
            std::size_t depth) {
    switch (line.nodes[0].kind) {
      case NodeKind::If: {
        Frame f;
        f.outer = reach();
        const auto h = f.outer == Reach::Skipped ? std::optional<bool>(false) : holds(own, line);
        f.now = branchReach(f.outer, h);
        f.taken = h == true;
        f.unsure = !h;
        frames_.push_back(f);
        return;
      }
      case NodeKind::Elif:
      case NodeKind::Else: {
        if (frames_.size() <= depth) return;  // without its #if: the compiler refuses it
        Frame& f = frames_.back();
        if (f.outer == Reach::Skipped || f.taken) {
          f.now = Reach::Skipped;
          return;
        }
        const auto h =
            line.nodes[0].kind == NodeKind::Else ? std::optional<bool>(true) : holds(own, line);
        f.now = branchReach(f.outer, h);
        if (f.unsure && f.now == Reach::Kept) f.now = Reach::Unsure;
        f.taken = f.taken || h == true;
        f.unsure = f.unsure || !h;
        return;
      }
      case NodeKind::EndIf:
        if (frames_.size() > depth) frames_.pop_back();
        return;
      default:
        break;
    }
    const Reach now = reach();
    if (now == Reach::Skipped) return;
    const DefineLine defined = applyDefineLine(own, line, symbols_);
    if (now == Reach::Unsure &&
        (defined.kind == DefineLine::Define || defined.kind == DefineLine::Undef))
      unsure_.push_back(defined.name);
    if (defined.kind == DefineLine::Include) include(path, defined.name);
  }

  void include(std::string_view including, std::string_view name) {
    if (!readHeader_ || read_.size() >= kMaxHeaders) return;
    const auto path = includedHeaderPath(including, name);
    if (!path || !read_.insert(*path).second) return;
    const auto raw = readHeader_(*path);
    if (!raw) return;
    const std::string text = headerWithCrLf(*raw);
    const Reach outerBase = base_;
    base_ = reach();
    const std::vector<Frame> outer = std::move(frames_);
    frames_.clear();
    read(text, readStatements(text), *path, nullptr);
    frames_ = outer;
    base_ = outerBase;
  }

  const HeaderReader& readHeader_;
  SymbolTable symbols_;
  std::vector<std::string> unsure_;
  std::set<std::string> read_;
  std::vector<Frame> frames_;
  Reach base_ = Reach::Kept;  // where the file being read is included
};

}  // namespace

void forEachPreprocessorLine(std::string_view text, const std::vector<Statement>& statements,
                             const PreprocessorLineVisit& visit, bool everyInnerLine,
                             const SyntaxTree* tree) {
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    if (s.kind == StatementKind::Directive) {
      if (tree) {
        visit(i, s.of(text), tree->statementTree(text, i));
      } else {
        visit(i, s.of(text), readStatementTree(text, s));
      }
      continue;
    }
    if (s.kind == StatementKind::Comment || (!everyInnerLine && s.selfContained) ||
        s.of(text).find('#') == std::string_view::npos)
      continue;
    // A preprocessor line inside a statement (a resource's body) is one Directive token.
    StatementTree read;
    const StatementTree& own =
        tree ? tree->statementTree(text, i) : (read = readStatementTree(text, s));
    for (const TreeToken& t : own.tokens)
      if (t.kind == TokenKind::Directive) {
        const Statement line = lineInside(s, t);
        visit(i, line.of(text), readStatementTree(text, line));
      }
  }
}

bool holdsConditionals(const std::vector<Statement>& statements) {
  return std::any_of(statements.begin(), statements.end(), [](const Statement& s) {
    return s.kind == StatementKind::Directive ? s.directive == DirectiveKind::If : !s.selfContained;
  });
}

std::optional<bool> conditionHolds(std::string_view condition, const SymbolTable& symbols,
                                   const std::vector<std::string>& unsure) {
  return ConditionReader(symbols, unsure).run(condition);
}

std::vector<bool> skippedStatements(std::string_view text, const std::vector<Statement>& statements,
                                    const HeaderReader& readHeader) {
  if (!holdsConditionals(statements)) return {};
  std::vector<bool> skipped(statements.size(), false);
  SectionReading(readHeader).read(text, statements, "", &skipped);
  return skipped;
}

}  // namespace kolvre
