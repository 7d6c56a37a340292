#include "syntax/syntax_tree.h"

#include <algorithm>
#include <optional>

#include "base/text.h"
#include "syntax/positions.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

constexpr std::array<std::string_view, 35> kNodeKindDumpNames{"Include",
                                                              "Define",
                                                              "Undef",
                                                              "CodePage",
                                                              "If",
                                                              "Elif",
                                                              "Else",
                                                              "EndIf",
                                                              "Directive",
                                                              "Comment",
                                                              "Language",
                                                              "Version",
                                                              "Characteristics",
                                                              "Resource",
                                                              "StringTable",
                                                              "Unread",
                                                              "Name",
                                                              "Type",
                                                              "MemoryOption",
                                                              "Values",
                                                              "HeaderStatement",
                                                              "FixedField",
                                                              "FileName",
                                                              "Body",
                                                              "Control",
                                                              "MenuItem",
                                                              "Separator",
                                                              "Popup",
                                                              "StringEntry",
                                                              "Accelerator",
                                                              "Block",
                                                              "Value",
                                                              "Item",
                                                              "Data",
                                                              "Field"};
static_assert(kNodeKindDumpNames.size() == static_cast<std::size_t>(NodeKind::Field) + 1);

// Only blanks stand between the line's start and `at`.
bool startsLine(std::string_view text, std::size_t at) {
  while (at > 0) {
    const char c = text[at - 1];
    if (c == '\n' && at >= 2 && text[at - 2] == '\r') return true;
    if (c != ' ' && c != '\t' && c != '\f' && c != '\v' && c != '\r' && c != '\n') return false;
    --at;
  }
  return true;
}

// A backslash that joins a line to the next: trivia, not a token.
bool continuesLine(std::string_view text, const Token& t) {
  return t.kind == TokenKind::Punct && text[t.begin] == '\\' && t.end < text.size() &&
         (text[t.end] == '\n' ||
          (text[t.end] == '\r' && t.end + 1 < text.size() && text[t.end + 1] == '\n'));
}

// The code tokens of a statement's text, and the End token, into `tokens`.
void readTokens(std::string_view text, bool atLineStart, bool directive,
                std::vector<TreeToken>& tokens) {
  tokens.clear();
  tokens.reserve(text.size() / 4 + 2);
  auto add = [&](const Token& t, bool newLine) {
    tokens.push_back(
        {t.kind, newLine, static_cast<std::uint32_t>(t.begin), static_cast<std::uint32_t>(t.end)});
  };
  if (directive) {
    // A preprocessor line's own words: '#', then what follows it, its continuations as trivia.
    add({TokenKind::Punct, 0, 1, true}, true);
    Lexer lexer(text, 1, false);
    for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode())
      if (!continuesLine(text, t)) add(t, false);
  } else {
    Lexer lexer(text, 0, atLineStart);
    bool newLine = false;
    bool spliced = false;  // a backslash joined the line before to this one
    for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
      if (t.kind == TokenKind::Comment) {
        newLine = newLine || t.newLine;
        continue;
      }
      // A backslash at a line's end splices the next line to it, as the preprocessor does before
      // the compiler reads a line: trivia, and the line goes on.
      if (continuesLine(text, t) && !tokens.empty()) {
        spliced = true;
        continue;
      }
      // L"..." is one wide string.
      if (t.kind == TokenKind::String && text[t.begin] == '"' && !tokens.empty() &&
          tokens.back().kind == TokenKind::Word && tokens.back().end == t.begin &&
          tokens.back().end - tokens.back().begin == 1 && text[tokens.back().begin] == 'L') {
        tokens.back().kind = TokenKind::String;
        tokens.back().end = static_cast<std::uint32_t>(t.end);
        continue;
      }
      add(t, tokens.empty() || ((t.newLine || newLine) && !spliced));
      newLine = false;
      spliced = false;
    }
  }
  const auto end = static_cast<std::uint32_t>(text.size());
  tokens.push_back({TokenKind::End, true, end, end});
}

bool isPunct(std::string_view text, const TreeToken& t, char c) {
  return t.kind == TokenKind::Punct && text[t.begin] == c;
}

// The most statements added and taken away that an update matches one by one to keep their
// trees; past that only the unchanged ends keep theirs.
constexpr std::size_t kMostTreesMatched = 256;

// The punctuation after which a value goes on (a comma, an operator, an opening parenthesis),
// and before which it goes on even from a new line. A NUL byte counts among both, as it always
// has here.
constexpr std::array<bool, 256> punctTable(std::string_view bytes) {
  std::array<bool, 256> table{};
  table[0] = true;
  for (char c : bytes) table[static_cast<unsigned char>(c)] = true;
  return table;
}
constexpr std::array<bool, 256> kJoinsAfter = punctTable(",|&+-*/(~!");
constexpr std::array<bool, 256> kJoinsBefore = punctTable(",|&*/)");

}  // namespace

bool carriesOn(std::string_view own, const TreeToken& t) {
  if (t.kind == TokenKind::Word) return isKeyword(own.substr(t.begin, t.end - t.begin), "NOT");
  return t.kind == TokenKind::Punct && kJoinsAfter[static_cast<unsigned char>(own[t.begin])];
}

namespace {

// Reads one statement's tokens into nodes, in preorder.
class TreeReader {
 public:
  // `fileNameAt`: where the statement reader found a resource's file name to begin, from the
  // statement's first byte.
  TreeReader(std::string_view text, StatementTree& tree, std::optional<std::size_t> fileNameAt)
      : text_(text), tree_(tree), fileNameAt_(fileNameAt) {}

  void statement(const Statement& s) {
    switch (s.kind) {
      case StatementKind::Comment:
        leaf(NodeKind::Comment, 0);
        return;
      case StatementKind::Directive:
        directive();
        return;
      case StatementKind::Language:
      case StatementKind::Version:
      case StatementKind::Characteristics: {
        const NodeKind kind = s.kind == StatementKind::Language  ? NodeKind::Language
                              : s.kind == StatementKind::Version ? NodeKind::Version
                                                                 : NodeKind::Characteristics;
        const std::size_t n = open(kind);
        ++pos_;
        fields(Body::None);
        rest();
        close(n);
        return;
      }
      case StatementKind::Resource:
      case StatementKind::StringTable:
        resource(s);
        return;
      case StatementKind::Other:
        break;
    }
    const std::size_t n = open(NodeKind::Unread);
    pos_ = end();
    close(n);
  }

 private:
  // The kinds of body, as their items are read.
  enum class Body : std::uint8_t {
    None,
    Dialog,
    Menu,
    Strings,
    Accelerators,
    Version,
    Toolbar,
    Data
  };

  std::size_t end() const { return tree_.tokens.size() - 1; }
  bool atEnd() const { return pos_ >= end(); }
  const TreeToken& token(std::size_t i) const { return tree_.tokens[i]; }
  const TreeToken& current() const { return tree_.tokens[pos_]; }
  std::string_view textOf(const TreeToken& t) const {
    return text_.substr(t.begin, t.end - t.begin);
  }
  bool isWord(const TreeToken& t, std::string_view word) const {
    return t.kind == TokenKind::Word && isKeyword(textOf(t), word);
  }
  bool opens(const TreeToken& t) const { return isPunct(text_, t, '{') || isWord(t, "BEGIN"); }
  bool closes(const TreeToken& t) const { return isPunct(text_, t, '}') || isWord(t, "END"); }

  std::size_t open(NodeKind kind) {
    tree_.nodes.push_back({kind, static_cast<std::uint32_t>(pos_), 0, 1});
    return tree_.nodes.size() - 1;
  }
  void close(std::size_t n) {
    tree_.nodes[n].last = static_cast<std::uint32_t>(pos_);
    tree_.nodes[n].size = static_cast<std::uint32_t>(tree_.nodes.size() - n);
  }
  void leaf(NodeKind kind, std::size_t tokens) {
    const std::size_t n = open(kind);
    pos_ += tokens;
    close(n);
  }
  // Whatever is left of the statement where the grammar ends: unread.
  void rest() {
    if (atEnd()) return;
    const std::size_t n = open(NodeKind::Unread);
    pos_ = end();
    close(n);
  }

  // A token after which a value goes on: a comma or an operator, or NOT.
  bool joinsAfter(const TreeToken& t) const { return carriesOn(text_, t); }
  // A token that goes on with the value before it, even from a new line.
  bool joinsBefore(const TreeToken& t) const {
    return t.kind == TokenKind::Punct && kJoinsBefore[static_cast<unsigned char>(text_[t.begin])];
  }

  // A word that starts an item of `body`.
  bool startsItem(const TreeToken& t, Body body) const {
    if (t.kind != TokenKind::Word) return false;
    const std::string_view w = textOf(t);
    switch (body) {
      case Body::Dialog:
        return isOneOf(w, kControlWords);
      case Body::Menu:
        return isKeyword(w, "MENUITEM") || isKeyword(w, "POPUP");
      case Body::Version:
        return isKeyword(w, "BLOCK") || isKeyword(w, "VALUE");
      case Body::Toolbar:
        return isKeyword(w, "BUTTON") || isKeyword(w, "SEPARATOR");
      case Body::None:
        return isOneOf(w, kHeaderWords) || isOneOf(w, kVersionFields) || isMemoryOption(w);
      default:
        return false;
    }
  }

  // The fields of an item from the current token: values between commas, on one line unless a
  // comma or an operator carries them on; parentheses hold a value together. Stops before a body
  // delimiter, a preprocessor line or a word that starts the next item of `body`.
  void fields(Body body, bool stringStartsField = false) {
    int depth = 0;
    std::size_t field = SIZE_MAX;
    bool fieldHasString = false;
    bool first = true;
    while (!atEnd()) {
      const TreeToken& t = current();
      const TreeToken* before = pos_ > 0 ? &token(pos_ - 1) : nullptr;
      // A preprocessor line or a body delimiter ends the fields even inside parentheses left
      // open, as the statement reader ends a header at the body's opener.
      if (t.kind == TokenKind::Directive || opens(t) || closes(t)) break;
      if (depth == 0) {
        // A string after a string goes on with it even from a new line: in a dialog the two
        // make one text, as the compilers join them.
        const bool joined =
            before && (joinsAfter(*before) || joinsBefore(t) ||
                       ((body == Body::Dialog || body == Body::None) &&
                        before->kind == TokenKind::String && t.kind == TokenKind::String));
        if (!first && t.newLine && !joined) break;
        if (!first && !joined && startsItem(t, body)) break;
      }
      if (depth == 0 && isPunct(text_, t, ',')) {
        if (field != SIZE_MAX) close(field);
        field = SIZE_MAX;
        ++pos_;
        first = false;
        continue;
      }
      // An entry's text may follow its ID without a comma.
      if (field != SIZE_MAX && depth == 0 && stringStartsField && t.kind == TokenKind::String &&
          !fieldHasString && before && !joinsAfter(*before)) {
        close(field);
        field = SIZE_MAX;
      }
      if (field == SIZE_MAX) {
        field = open(NodeKind::Field);
        fieldHasString = false;
      }
      fieldHasString = fieldHasString || t.kind == TokenKind::String;
      if (isPunct(text_, t, '(')) ++depth;
      if (isPunct(text_, t, ')') && depth > 0) --depth;
      ++pos_;
      first = false;
    }
    if (field != SIZE_MAX) close(field);
  }

  // The keyword item at the current token: the keyword, then its fields.
  void keywordItem(NodeKind kind, Body body) {
    const std::size_t n = open(kind);
    ++pos_;
    if (!atEnd() && !current().newLine) fields(body);
    close(n);
  }

  // Tokens to the line's end (or a delimiter): text no rule reads.
  void unreadLine() {
    if (atEnd()) return;
    const std::size_t n = open(NodeKind::Unread);
    ++pos_;
    while (!atEnd() && !current().newLine && !opens(current()) && !closes(current())) ++pos_;
    close(n);
  }

  void directive() {
    // '#', its word, then what the kind reads.
    const std::size_t words = end();
    const std::string_view word = words > 1 ? textOf(token(1)) : std::string_view();
    NodeKind kind = NodeKind::Directive;
    if (word == "include") kind = NodeKind::Include;
    if (word == "define") kind = NodeKind::Define;
    if (word == "undef") kind = NodeKind::Undef;
    if (word == "if" || word == "ifdef" || word == "ifndef") kind = NodeKind::If;
    if (word == "elif") kind = NodeKind::Elif;
    if (word == "else") kind = NodeKind::Else;
    if (word == "endif") kind = NodeKind::EndIf;
    const bool codePage = word == "pragma" && words > 2 && isWord(token(2), "code_page");
    if (codePage) kind = NodeKind::CodePage;
    const std::size_t n = open(kind);
    pos_ = std::min<std::size_t>(2, words);
    auto fieldTo = [&](std::size_t to) {
      if (pos_ >= to) return;
      const std::size_t f = open(NodeKind::Field);
      pos_ = to;
      close(f);
    };
    switch (kind) {
      case NodeKind::Define: {
        // The name, its parameters when a parenthesis follows it at once, then the value.
        std::size_t nameEnd = std::min(pos_ + 1, words);
        if (nameEnd < words && isPunct(text_, token(nameEnd), '(') &&
            token(nameEnd).begin == token(nameEnd - 1).end) {
          while (nameEnd < words && !isPunct(text_, token(nameEnd), ')')) ++nameEnd;
          nameEnd = std::min(nameEnd + 1, words);
        }
        fieldTo(nameEnd);
        fieldTo(words);
        break;
      }
      case NodeKind::CodePage: {
        // code_page ( n ): the field is what stands between the parentheses.
        pos_ = 3;
        if (pos_ < words && isPunct(text_, token(pos_), '(')) ++pos_;
        std::size_t close = pos_;
        while (close < words && !isPunct(text_, token(close), ')')) ++close;
        fieldTo(close);
        pos_ = words;
        break;
      }
      case NodeKind::Include:
      case NodeKind::Undef:
      case NodeKind::If:
      case NodeKind::Elif:
        fieldTo(words);
        break;
      default:
        pos_ = words;
        break;
    }
    pos_ = words;
    close(n);
  }

  static Body bodyOf(const Statement& s, std::string_view type) {
    if (s.kind == StatementKind::StringTable) return Body::Strings;
    if (isKeyword(type, "DIALOG") || isKeyword(type, "DIALOGEX")) return Body::Dialog;
    if (isKeyword(type, "MENU") || isKeyword(type, "MENUEX")) return Body::Menu;
    if (isKeyword(type, "ACCELERATORS")) return Body::Accelerators;
    if (isKeyword(type, "VERSIONINFO")) return Body::Version;
    if (isKeyword(type, "TOOLBAR")) return Body::Toolbar;
    return Body::Data;
  }

  void resource(const Statement& s) {
    const bool table = s.kind == StatementKind::StringTable;
    const std::size_t n = open(table ? NodeKind::StringTable : NodeKind::Resource);
    if (!table) {
      // A name runs over the tokens the statement reader took into it (`IDR-MAIN/x`).
      std::size_t tokens = 1;
      while (pos_ + tokens < end() && token(pos_ + tokens).end <= s.nameEnd - s.begin) ++tokens;
      leaf(NodeKind::Name, tokens);
    }
    const std::string_view type = atEnd() ? std::string_view() : textOf(current());
    leaf(NodeKind::Type, atEnd() ? 0 : 1);
    const Body body = bodyOf(s, type);
    const ResourceKeyword* keyword = table ? nullptr : resourceKeyword(type);
    const bool required = table || (keyword && keyword->body == BodyRule::Required);
    // A dialog's numbers, and a toolbar's, follow the type and its memory options.
    bool wantsValues = body == Body::Dialog || body == Body::Toolbar;
    bool named = false;
    while (!atEnd()) {
      const TreeToken& t = current();
      // The file name, where the statement reader found it: whatever words it holds.
      if (fileNameAt_ && t.begin >= *fileNameAt_ && !named) {
        named = true;
        const std::size_t f = open(NodeKind::FileName);
        pos_ = end();
        close(f);
        continue;
      }
      if (opens(t)) {
        bodyNode(body);
        break;
      }
      if (t.kind == TokenKind::Directive) {
        leaf(NodeKind::Directive, 1);
        continue;
      }
      if (t.kind == TokenKind::Word && isMemoryOption(textOf(t))) {
        leaf(NodeKind::MemoryOption, 1);
        continue;
      }
      if (wantsValues && !startsItem(t, Body::None)) {
        wantsValues = false;
        const std::size_t v = open(NodeKind::Values);
        fields(Body::None);
        close(v);
        if (tree_.nodes.size() > v + 1) continue;
        tree_.nodes.pop_back();  // no value there
      }
      wantsValues = false;
      if (t.kind == TokenKind::Word &&
          (isOneOf(textOf(t), kHeaderWords) ||
           (body == Body::Version && isOneOf(textOf(t), kVersionFields)))) {
        keywordItem(
            isOneOf(textOf(t), kVersionFields) ? NodeKind::FixedField : NodeKind::HeaderStatement,
            Body::None);
        continue;
      }
      if (!required && !named) {
        // The file name: the rest of the statement.
        named = true;
        const std::size_t f = open(NodeKind::FileName);
        pos_ = end();
        close(f);
        continue;
      }
      unreadLine();
    }
    rest();
    close(n);
  }

  void bodyNode(Body body) {
    const std::size_t n = open(NodeKind::Body);
    ++pos_;  // the opener
    while (!atEnd()) {
      const TreeToken& t = current();
      if (closes(t)) {
        ++pos_;
        break;
      }
      if (t.kind == TokenKind::Directive) {
        leaf(NodeKind::Directive, 1);
        continue;
      }
      if (opens(t)) {  // a body where no item opens one: read alike
        bodyNode(body);
        continue;
      }
      item(body);
    }
    close(n);
  }

  void item(Body body) {
    const TreeToken& t = current();
    const std::string_view w = t.kind == TokenKind::Word ? textOf(t) : std::string_view();
    switch (body) {
      case Body::Dialog:
        if (isOneOf(w, kControlWords)) return keywordItem(NodeKind::Control, body);
        if (isOneOf(w, kHeaderWords)) return keywordItem(NodeKind::HeaderStatement, body);
        break;
      case Body::Menu:
        if (isKeyword(w, "MENUITEM")) {
          const bool separator =
              pos_ + 1 < end() && isWord(token(pos_ + 1), "SEPARATOR") && !token(pos_ + 1).newLine;
          if (separator) return leaf(NodeKind::Separator, 2);
          return keywordItem(NodeKind::MenuItem, body);
        }
        if (isKeyword(w, "POPUP")) return nested(NodeKind::Popup, body);
        break;
      case Body::Version:
        if (isKeyword(w, "BLOCK")) return nested(NodeKind::Block, body);
        if (isKeyword(w, "VALUE")) return keywordItem(NodeKind::Value, body);
        break;
      case Body::Toolbar:
        if (startsItem(t, body)) return keywordItem(NodeKind::Item, body);
        break;
      case Body::Strings:
      case Body::Accelerators:
      case Body::Data: {
        const NodeKind kind = body == Body::Strings        ? NodeKind::StringEntry
                              : body == Body::Accelerators ? NodeKind::Accelerator
                                                           : NodeKind::Data;
        const std::size_t start = pos_;
        const std::size_t n = open(kind);
        fields(body, body == Body::Strings);
        if (tree_.nodes.size() == n + 1) {  // no value: commas alone, or a lone token
          tree_.nodes.pop_back();
          pos_ = start;
          return unreadLine();
        }
        close(n);
        return;
      }
      case Body::None:
        break;
    }
    unreadLine();
  }

  // A POPUP or BLOCK: its keyword and fields, then its body.
  void nested(NodeKind kind, Body body) {
    const std::size_t n = open(kind);
    ++pos_;
    if (!atEnd() && !current().newLine) fields(body);
    while (!atEnd() && current().kind == TokenKind::Directive) leaf(NodeKind::Directive, 1);
    if (!atEnd() && opens(current())) bodyNode(body);
    close(n);
  }

  std::string_view text_;
  StatementTree& tree_;
  std::optional<std::size_t> fileNameAt_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string_view nodeKindName(NodeKind kind) {
  return kNodeKindDumpNames[static_cast<std::size_t>(kind)];
}

std::vector<std::size_t> StatementTree::children(std::size_t i) const {
  std::vector<std::size_t> out;
  const std::size_t stop = i + nodes[i].size;
  for (std::size_t c = i + 1; c < stop; c += nodes[c].size) out.push_back(c);
  return out;
}

std::string StatementTree::text(std::string_view statementText) const {
  std::string out;
  out.reserve(statementText.size());
  std::size_t at = 0;
  for (const TreeToken& t : tokens) {
    out.append(statementText.substr(at, t.end - at));  // its trivia, then itself
    at = t.end;
  }
  return out;
}

StatementTree readStatementTree(std::string_view text, const Statement& s) {
  // A statement is read into a tree kept from one statement to the next (on each thread), and
  // the tree it gives takes a copy of just its size: reading allocates once for the tokens and
  // once for the nodes, and a kept tree holds no spare room.
  thread_local StatementTree read;
  const std::string_view own = text.substr(s.begin, s.end - s.begin);
  read.atLineStart = startsLine(text, s.begin);
  readTokens(own, read.atLineStart, s.kind == StatementKind::Directive, read.tokens);
  read.nodes.clear();
  read.nodes.reserve(read.tokens.size() / 2 + 2);
  std::optional<std::size_t> fileNameAt;
  if (s.kind == StatementKind::Resource)
    if (const auto name = resourceContent(text, s).fileName) fileNameAt = name->begin - s.begin;
  TreeReader(own, read, fileNameAt).statement(s);
  StatementTree tree;
  tree.atLineStart = read.atLineStart;
  tree.tokens.assign(read.tokens.begin(), read.tokens.end());
  tree.nodes.assign(read.nodes.begin(), read.nodes.end());
  // A very long statement's buffers are not kept.
  constexpr std::size_t kLargestKept = 1 << 16;
  if (read.tokens.capacity() > kLargestKept) read = StatementTree();
  return tree;
}

SyntaxTree::SyntaxTree(std::string_view text) {
  reset(text, readStatements(text));
}

void SyntaxTree::reset(std::string_view, std::vector<Statement> statements) {
  statements_ = std::move(statements);
  trees_.assign(statements_.size(), nullptr);
}

void SyntaxTree::update(std::string_view before, std::string_view after) {
  std::vector<Statement> statements = rereadStatements(before, statements_, after);
  const StatementMatch match =
      matchStatements(before, statements_, after, statements, kMostTreesMatched);
  follow(after, std::move(statements), match);
}

void SyntaxTree::follow(std::string_view after, std::vector<Statement> statements,
                        const StatementMatch& match) {
  std::vector<std::shared_ptr<const StatementTree>> trees(statements.size());
  // A tree is kept where its statement starts a line as it did ('#' reads by that).
  const auto keep = [&](std::size_t from, std::size_t to) {
    if (trees_[from] && trees_[from]->atLineStart == startsLine(after, statements[to].begin))
      trees[to] = trees_[from];
  };
  for (std::size_t i = 0; i < match.first; ++i) keep(i, i);
  for (const auto& [from, to] : match.pairs) keep(from, to);
  for (std::size_t k = 0; match.beforeEnd + k < statements_.size(); ++k)
    keep(match.beforeEnd + k, match.afterEnd + k);
  statements_ = std::move(statements);
  trees_ = std::move(trees);
}

const StatementTree& SyntaxTree::statementTree(std::string_view text, std::size_t i) const {
  if (!trees_[i])
    trees_[i] = std::make_shared<const StatementTree>(readStatementTree(text, statements_[i]));
  return *trees_[i];
}

std::size_t SyntaxTree::treesKept() const {
  return static_cast<std::size_t>(
      std::count_if(trees_.begin(), trees_.end(), [](const auto& t) { return t != nullptr; }));
}

std::string textFromTree(std::string_view text, const SyntaxTree& tree) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t i = 0; i < tree.statements().size(); ++i) {
    const Statement& s = tree.statements()[i];
    out.append(text.substr(at, s.begin - at));  // the blanks before it
    out.append(tree.statementTree(text, i).text(text.substr(s.begin, s.end - s.begin)));
    at = s.end;
  }
  out.append(text.substr(at));
  return out;
}

std::vector<std::size_t> childrenOfKind(const StatementTree& tree, std::size_t i, NodeKind kind) {
  std::vector<std::size_t> out;
  const std::size_t stop = i + tree.nodes[i].size;
  for (std::size_t c = i + 1; c < stop; c += tree.nodes[c].size)
    if (tree.nodes[c].kind == kind) out.push_back(c);
  return out;
}

std::size_t childOfKind(const StatementTree& tree, std::size_t i, NodeKind kind) {
  const std::size_t stop = i + tree.nodes[i].size;
  for (std::size_t c = i + 1; c < stop; c += tree.nodes[c].size)
    if (tree.nodes[c].kind == kind) return c;
  return 0;
}

bool closesBody(std::string_view own, const StatementTree& tree, const TreeNode& body) {
  if (body.last < body.first + 2) return false;
  const TreeToken& t = tree.tokens[body.last - 1];
  return isPunct(own, t, '}') || (t.kind == TokenKind::Word && isKeyword(tokenText(own, t), "END"));
}

std::size_t tokenAt(const StatementTree& tree, std::size_t offset) {
  const auto at = std::lower_bound(tree.tokens.begin(), tree.tokens.end() - 1, offset,
                                   [](const TreeToken& t, std::size_t o) { return t.begin < o; });
  return static_cast<std::size_t>(at - tree.tokens.begin());
}

std::optional<std::size_t> lineStartBefore(std::string_view own, const StatementTree& tree,
                                           std::size_t i) {
  if (i == 0 || !tree.tokens[i].newLine) return std::nullopt;
  const std::size_t from = tree.tokens[i - 1].end, to = tree.tokens[i].begin;
  const std::size_t lineEnd = own.substr(from, to - from).rfind("\r\n");
  if (lineEnd == std::string_view::npos) return std::nullopt;
  // A line end inside a comment has the comment's close after it: no blanks alone.
  const std::size_t start = from + lineEnd + 2;
  for (std::size_t at = start; at < to; ++at)
    if (own[at] != ' ' && own[at] != '\t') return std::nullopt;
  return start;
}

std::optional<std::size_t> lineEndBefore(std::string_view own, const StatementTree& tree,
                                         std::size_t i) {
  if (i == 0 || !tree.tokens[i].newLine) return std::nullopt;
  const std::size_t from = tree.tokens[i - 1].end, to = tree.tokens[i].begin;
  const std::size_t lineEnd = own.substr(from, to - from).find("\r\n");
  if (lineEnd == std::string_view::npos) return std::nullopt;
  // Only blanks and comments closed before it: a block comment open across it goes on.
  const std::string_view line = own.substr(0, from + lineEnd);
  Lexer lexer(line, from, false);
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next())
    if (t.kind != TokenKind::Comment || leftOpen(line, t)) return std::nullopt;
  return from + lineEnd;
}

namespace {

// A text as a dump shows it: in quotes, with quotes, backslashes and control bytes escaped.
std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

bool showsText(NodeKind kind) {
  switch (kind) {
    case NodeKind::Name:
    case NodeKind::Type:
    case NodeKind::MemoryOption:
    case NodeKind::FileName:
    case NodeKind::Field:
    case NodeKind::Unread:
    case NodeKind::Directive:
      return true;
    default:
      return false;
  }
}

// Items whose first token is a keyword: the dump names it.
bool showsKeyword(NodeKind kind) {
  switch (kind) {
    case NodeKind::HeaderStatement:
    case NodeKind::FixedField:
    case NodeKind::Control:
    case NodeKind::MenuItem:
    case NodeKind::Popup:
    case NodeKind::Block:
    case NodeKind::Value:
    case NodeKind::Item:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string dumpTree(std::string_view text) {
  const SyntaxTree tree(text);
  std::string out;
  for (std::size_t i = 0; i < tree.statements().size(); ++i) {
    const Statement& s = tree.statements()[i];
    const StatementTree& st = tree.statementTree(text, i);
    const std::string_view own = text.substr(s.begin, s.end - s.begin);
    std::vector<std::size_t> depthEnds;  // where each open ancestor's subtree ends
    for (std::size_t n = 0; n < st.nodes.size(); ++n) {
      while (!depthEnds.empty() && depthEnds.back() <= n) depthEnds.pop_back();
      const TreeNode& node = st.nodes[n];
      const std::size_t begin = s.begin + (node.kind == NodeKind::Comment ? 0 : st.beginOf(node));
      const std::size_t end =
          s.begin + (node.kind == NodeKind::Comment ? own.size() : st.endOf(node));
      out.append(depthEnds.size() * 2, ' ');
      out += nodeKindName(node.kind);
      out += ' ';
      out += std::to_string(lineNumberAt(text, begin));
      out += " [" + std::to_string(begin) + "," + std::to_string(end) + ")";
      if (showsText(node.kind)) {
        out += ' ';
        out += quoted(text.substr(begin, end - begin));
      } else if (showsKeyword(node.kind) && node.first < node.last) {
        out += ' ';
        const TreeToken& k = st.tokens[node.first];
        out += own.substr(k.begin, k.end - k.begin);
      }
      if (n == 0 && !s.complete) out += " open";
      if (n == 0 && s.fromHeader) out += " header";
      out += '\n';
      depthEnds.push_back(n + node.size);
    }
  }
  return out;
}

std::vector<CommaField> commaFields(std::string_view statementText, const StatementTree& tree,
                                    std::size_t first, std::size_t last) {
  std::vector<CommaField> fields;
  CommaField field{first, first, std::nullopt};
  int depth = 0;
  for (std::size_t i = first; i < last; ++i) {
    const TreeToken& t = tree.tokens[i];
    if (isPunct(statementText, t, '(')) ++depth;
    if (isPunct(statementText, t, ')') && depth > 0) --depth;
    if (depth == 0 && isPunct(statementText, t, ',')) {
      fields.push_back(field);
      field = {i + 1, i + 1, i};
      continue;
    }
    field.last = i + 1;
  }
  fields.push_back(field);
  return fields;
}

std::string codeText(std::string_view statementText, const StatementTree& tree, std::size_t first,
                     std::size_t last) {
  std::string out;
  for (std::size_t i = first; i < last; ++i) {
    const TreeToken& t = tree.tokens[i];
    if (i > first && t.begin > tree.tokens[i - 1].end) out += ' ';
    out.append(statementText.substr(t.begin, t.end - t.begin));
  }
  return out;
}

Statement lineInside(const Statement& s, const TreeToken& line) {
  Statement inner;
  inner.kind = StatementKind::Directive;
  inner.begin = s.begin + line.begin;
  inner.end = s.begin + line.end;
  return inner;
}

std::size_t triviaLineBreak(const StatementTree& tree, std::string_view statementText,
                            std::size_t i) {
  const std::size_t begin = i > 0 ? tree.tokens[i - 1].end : 0;
  const std::size_t end = tree.tokens[i].begin;
  for (std::size_t at = begin; at < end;) {
    if (crLfAt(statementText, at)) return at;
    const bool slash = statementText[at] == '/' && at + 1 < end;
    if (slash && statementText[at + 1] == '/')
      at = lexing::lineCommentEnd(statementText, at);
    else if (slash && statementText[at + 1] == '*')
      at = lexing::blockCommentEnd(statementText, at);
    else
      ++at;
  }
  return begin;
}

}  // namespace kolvre
