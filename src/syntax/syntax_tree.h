// The script's syntax tree: every top-level statement (statements.h) read into tokens and nodes
// that hold every byte of it.
//
// Tokens: the code tokens of a statement (comments are not tokens). Whatever stands between one
// token and the next, blanks, line ends, comments and the backslash that continues a
// preprocessor line, is the later token's trivia; the last token, End, holds what follows the
// last code token. So a statement's text is exactly the concatenation of its tokens with their
// trivia, and so is the script's: the blanks between two statements are the trivia of the
// later one's first token. Offsets in a statement's tree count from the statement's first byte,
// so the tree stays right when an edit before the statement moves it.
//
// Nodes: a statement is one node with its parts below it, kept in preorder with the size of each
// subtree. Every node covers a run of tokens; the text the grammar cannot place is an Unread
// node that keeps its tokens as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/lexer.h"
#include "syntax/statement_diff.h"
#include "syntax/statements.h"

namespace kolvre {

enum class NodeKind : std::uint8_t {
  // Top-level statements.
  Include,          // #include
  Define,           // #define NAME value: a Field for the name, one for the value (if any)
  Undef,            // #undef NAME
  CodePage,         // #pragma code_page(n): a Field for n
  If,               // #if, #ifdef, #ifndef: a Field for the condition
  Elif,             // #elif: a Field for the condition
  Else,             // #else
  EndIf,            // #endif
  Directive,        // any other preprocessor line (also a preprocessor line inside a statement)
  Comment,          // a comment outside every statement (its text is its End token's trivia)
  Language,         // LANGUAGE x, y
  Version,          // VERSION n
  Characteristics,  // CHARACTERISTICS n
  Resource,         // NAME TYPE ...
  StringTable,      // STRINGTABLE ...
  Unread,           // tokens the grammar cannot place, kept as written
  // A resource's parts.
  Name,             // its name
  Type,             // its type as written (STRINGTABLE for a string table)
  MemoryOption,     // PRELOAD, DISCARDABLE, ...
  Values,           // the numbers after a dialog's type: x, y, cx, cy (and DIALOGEX's help ID)
  HeaderStatement,  // STYLE, CAPTION, FONT, LANGUAGE, ... before the body
  FixedField,       // FILEVERSION, FILEFLAGS, ... of version information
  FileName,         // the file a resource's data comes from
  Body,             // "{" or BEGIN, the items, "}" or END (the closer may be missing)
  // The items of a body.
  Control,      // CONTROL or a short form (LTEXT, PUSHBUTTON, ...)
  MenuItem,     // MENUITEM "text", id, flags
  Separator,    // MENUITEM SEPARATOR
  Popup,        // POPUP "text", ... and its Body
  StringEntry,  // id, "text"
  Accelerator,  // key, id, flags
  Block,        // BLOCK "name" and its Body
  Value,        // VALUE "name", values
  Item,         // a keyword item of another kind (a toolbar's BUTTON)
  Data,         // a line of inline data: numbers and strings
  Field,        // one value of an item, between its commas
};

// The node kind's name, as a dump of the tree shows it.
std::string_view nodeKindName(NodeKind kind);

struct TreeToken {
  TokenKind kind = TokenKind::End;
  bool newLine = false;     // a line end stands in its trivia (or it starts the statement's line)
  std::uint32_t begin = 0;  // from the statement's first byte
  std::uint32_t end = 0;
  bool operator==(const TreeToken&) const = default;
};

struct TreeNode {
  NodeKind kind = NodeKind::Unread;
  std::uint32_t first = 0;  // its tokens: [first, last)
  std::uint32_t last = 0;
  std::uint32_t size = 1;  // the nodes of its subtree, itself included: the next sibling's index
  bool operator==(const TreeNode&) const = default;
};

// One statement's tokens and nodes. nodes[0] is the statement.
struct StatementTree {
  std::vector<TreeToken> tokens;  // the last one is End
  std::vector<TreeNode> nodes;
  bool atLineStart = true;  // the statement starts its line (as read, for '#')

  // Where a node's text begins and ends, from the statement's first byte (trivia before its
  // first token left out).
  std::size_t beginOf(const TreeNode& n) const { return tokens[n.first].begin; }
  std::size_t endOf(const TreeNode& n) const {
    return n.first < n.last ? tokens[n.last - 1].end : tokens[n.first].begin;
  }
  // The children of node `i`, as indices.
  std::vector<std::size_t> children(std::size_t i) const;
  // The statement's text again, from its tokens and their trivia: `statementText` itself.
  std::string text(std::string_view statementText) const;
  bool operator==(const StatementTree&) const = default;
};

// Reads the statement `s` of `text` into its tree.
StatementTree readStatementTree(std::string_view text, const Statement& s);

// The tree of a whole script: its statements, read as the text changes; each statement's own
// tree is read the first time it is asked for and kept while the statement stands unchanged.
class SyntaxTree {
 public:
  SyntaxTree() = default;
  explicit SyntaxTree(std::string_view text);

  // Follows a change of the text from `before` (the text this tree was read from) to `after`:
  // the statements are read again only where the change reaches (rereadStatements), and the
  // statement trees of the statements it did not touch are kept, moved with their text.
  void update(std::string_view before, std::string_view after);
  // Takes the statements of `text` as given (readStatements(text)), forgetting every tree.
  void reset(std::string_view text, std::vector<Statement> statements);
  // The same as update, with the statements of `after` already read and matched with this
  // tree's (matchStatements): the trees of the statements matched are kept, those that moved
  // too, wherever they stand on a line as they stood.
  void follow(std::string_view after, std::vector<Statement> statements,
              const StatementMatch& match);

  const std::vector<Statement>& statements() const { return statements_; }
  // The tree of statement `i` of `text` (the text this tree follows).
  const StatementTree& statementTree(std::string_view text, std::size_t i) const;
  // How many statement trees are read and kept.
  std::size_t treesKept() const;

 private:
  std::vector<Statement> statements_;
  mutable std::vector<std::shared_ptr<const StatementTree>> trees_;  // beside statements_
};

// A dump of the whole script's tree, one node per line, indented by depth: its kind, line,
// extent in the text and, for names, types, fields and unread text, the text as written.
// Statements left open are marked "(aperta)". For tests and `kolvre-cli tree`.
std::string dumpTree(std::string_view text);

// The script again from its whole tree: every statement's tokens and trivia, and the blanks
// between them. Equal to `text` for any bytes.
std::string textFromTree(std::string_view text, const SyntaxTree& tree);

// A token after which a value goes on, even on the next line: a comma, an operator, an opening
// parenthesis, NOT (and a NUL byte). `own`: the statement's text.
bool carriesOn(std::string_view own, const TreeToken& t);

// One value of an item between its commas (parentheses hold commas inside a value): tokens
// [first, last) of a statement tree, empty where two commas stand together, and the comma
// before it (none for the first).
struct CommaField {
  std::size_t first = 0;
  std::size_t last = 0;
  std::optional<std::size_t> comma;
  bool empty() const { return first == last; }
};
// The values of tokens [first, last) of `tree`, split at their commas.
std::vector<CommaField> commaFields(std::string_view statementText, const StatementTree& tree,
                                    std::size_t first, std::size_t last);

// Tokens [first, last) of `tree` as code: their texts, one blank wherever trivia (blanks, line
// ends, comments) stands between two of them.
std::string codeText(std::string_view statementText, const StatementTree& tree, std::size_t first,
                     std::size_t last);

// A preprocessor line that stands inside statement `s` (a Directive token of its tree) as a
// statement of its own, which readStatementTree reads as it reads a top-level one: a Define,
// If, EndIf, ... node with its fields.
Statement lineInside(const Statement& s, const TreeToken& line);

// Where the trivia before token `i` parts between the line before and the token's own lines: at
// its first line end (CR LF) outside its comments, so that blanks and a comment that follow the
// code of the line before stay with that line; at the trivia's start when it holds no line end.
// From the statement's first byte; `statementText` is the statement's text.
std::size_t triviaLineBreak(const StatementTree& tree, std::string_view statementText,
                            std::size_t i);

// What the readers of a statement's tree ask of it. `own` is the statement's text (offsets in
// the tree count from its first byte).

// The children of node `i` of kind `kind`, as indices.
std::vector<std::size_t> childrenOfKind(const StatementTree& tree, std::size_t i, NodeKind kind);
// The first child of node `i` of kind `kind`; 0 when it has none (node 0 is no one's child).
std::size_t childOfKind(const StatementTree& tree, std::size_t i, NodeKind kind);
// A token's text.
inline std::string_view tokenText(std::string_view own, const TreeToken& t) {
  return own.substr(t.begin, t.end - t.begin);
}
// A string in double quotes among a statement's tokens: "..." or L"..." (one token), no
// apostrophe string.
inline bool isQuotedString(std::string_view own, const TreeToken& t) {
  return t.kind == TokenKind::String && (own[t.begin] == '"' || own[t.begin] == 'L');
}
// A node's text as written, from its first token to the end of its last (comments between them
// kept); empty for a node without tokens.
inline std::string_view nodeText(std::string_view own, const StatementTree& tree,
                                 const TreeNode& n) {
  return own.substr(tree.beginOf(n), tree.endOf(n) - tree.beginOf(n));
}
// The body's opener ("{" or BEGIN) is its first token; its closer ("}" or END) is its last when
// the body is closed.
bool closesBody(std::string_view own, const StatementTree& tree, const TreeNode& body);
// The first token that begins at or after `offset`: tokens.size() - 1 (End) when none does.
std::size_t tokenAt(const StatementTree& tree, std::size_t offset);
// Where the line that holds token `i` starts, when only blanks (spaces and tabs) stand between
// its line end in the token's trivia and the token: just after that CR LF. Nothing when the
// token does not begin a line of the statement (another token, a comment or no line end stands
// before it on its line).
std::optional<std::size_t> lineStartBefore(std::string_view own, const StatementTree& tree,
                                           std::size_t i);
// Where the line of the token before token `i` ends, when only blanks and closed comments stand
// after that token on its line: the CR LF in token `i`'s trivia. Nothing when token `i` stands
// on the same line, or a comment goes on past the line end.
std::optional<std::size_t> lineEndBefore(std::string_view own, const StatementTree& tree,
                                         std::size_t i);

// A statement read again into its tree, for the lines its tokens stand on: offsets here are the
// script's.
struct StatementLines {
  StatementLines(std::string_view script, const Statement& s)
      : base(s.begin), own(s.of(script)), tree(readStatementTree(script, s)) {}
  // The token that begins at `offset` or after it.
  std::size_t tokenAfter(std::size_t offset) const { return tokenAt(tree, offset - base); }
  // Where the line starts when only blanks stand before the token at `offset` on it.
  std::optional<std::size_t> lineStartBefore(std::size_t offset) const {
    const auto at = kolvre::lineStartBefore(own, tree, tokenAfter(offset));
    return at ? std::optional(base + *at) : std::nullopt;
  }
  // Where the line ends when only blanks and comments follow `end` (a token's end) on it.
  std::optional<std::size_t> lineEndAfter(std::size_t end) const {
    const auto at = kolvre::lineEndBefore(own, tree, tokenAfter(end));
    return at ? std::optional(base + *at) : std::nullopt;
  }

  std::size_t base;
  std::string_view own;
  StatementTree tree;
};

}  // namespace kolvre
