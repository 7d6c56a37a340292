// The quoted texts of the resource kinds beside the dialogs: adjacent literals read as the one
// text the compiler stores, and a text written back as a literal the compilers read the same.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "syntax/code_pages.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"
#include "syntax/string_literal.h"
#include "syntax/symbols.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

// What reading a script's texts needs beside the text: the symbols the IDs are written with
// (may be null: then only numbers have a value) and whether the file is UTF-16.
struct StringContext {
  const SymbolTable* symbols = nullptr;
  bool utf16File = false;
  // The script's code page changes read once (codePageChanges over the whole text), for a
  // caller that reads many resources; null: each reading looks for them before its place.
  const std::vector<CodePageChange>* codePages = nullptr;
};

// The charset in force at `offset` of `text` for a reading in `context`.
ScriptCharset charsetAt(std::string_view text, std::size_t offset, const StringContext& context);

// What reading the document's texts needs: its symbols (may be null) and its form on disk.
StringContext stringContext(const Document& doc, const SymbolTable* symbols);

// One or more adjacent literals that make one text: `L"a" "b"`.
struct WrittenText {
  std::size_t begin = 0;  // the first literal, its L prefix included
  std::size_t end = 0;    // after the closing quote of the last one
  bool wide = false;      // the first literal has an L prefix
  std::string text;       // what the compiler stores, in UTF-8
  std::string_view of(std::string_view script) const { return script.substr(begin, end - begin); }
};

// A double-quoted literal among a statement's tree tokens: "..." or L"..." (one token).
bool isLiteral(std::string_view own, const TreeToken& token);

// The adjacent literals of a statement's tree from token `at` on (`L"a" "b"`), `own` the
// statement's text and `base` where it begins in `text`; `at` is left at the token after them.
// Nothing when token `at` is no literal; `problem` says why when a literal is left open.
std::optional<WrittenText> readLiterals(std::string_view text, std::size_t base,
                                        const StatementTree& tree, std::size_t& at,
                                        const ScriptCharset& charset, std::string& problem);

// The text between the quotes of a literal that makes the compiler store `text` (UTF-8), in
// the code page of `charset`: a quote doubled (the one form both compilers read), backslash,
// tab, line feed and carriage return as escapes, other control characters in octal; with
// `octalApostrophes`, an apostrophe in octal too (one that would else close an apostrophe left
// open before it on its line). Throws Refusal when the code page lacks one of the characters or
// the text is no UTF-8.
std::string writtenString(std::string_view text, const ScriptCharset& charset,
                          bool octalApostrophes = false);

// A whole literal for `text`: its prefix, quotes and contents.
std::string literalFor(std::string_view text, bool wide, const ScriptCharset& charset,
                       bool octalApostrophes = false);

// The contents of the literals of `text` with their escapes as written, joined.
std::string textAsWritten(std::string_view script, const WrittenText& text);

// A text (UTF-8) on one line, as the batch tool prints it and takes it back: a backslash
// doubled, line feed, carriage return and tab as \n, \r and \t, every other control character
// as \x and two hexadecimal digits; the rest as it stands (a quote too).
std::string oneLineText(std::string_view text);

// The text of a one-line form (oneLineText undone): \\ \n \r \t and \xhh read as above; a
// backslash before anything else stays as it stands, with what follows it.
std::string fromOneLine(std::string_view line);

// The blanks that begin the line that holds `offset`.
std::string indentOf(std::string_view text, std::size_t offset);

}  // namespace kolvre
