// The script's own symbols: the names its #define lines give a value (and those of the headers
// it includes with quotes), and the integer expressions the fields of a dialog are written with
// (`m`, `xc - bxsDots - 12`, `IDC_BASE + 3`, `WS_CHILD | NOT WS_VISIBLE`).
//
// The table is read from the preprocessor lines among the script's statements, and inside them
// (syntax/statements.h, syntax/syntax_tree.h): a #define in a comment or a string is none. It is
// read without a preprocessor: conditional lines (#if, #ifdef, #else) are not evaluated, so the
// definitions of every branch are read. A name defined again takes its last value, as the
// preprocessor gives it after a redefinition; #undef forgets it. Function-like macros
// (`#define MAX(a, b) ...`) are left out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kolvre {

class SymbolTable {
 public:
  // `value`: the replacement text as the preprocessor reads it: its tokens as written, with
  // what stands between them, each comment one blank and each backslash that continues the
  // line taken out with its line end.
  void define(std::string_view name, std::string_view value);
  void undefine(std::string_view name);
  // The replacement text of a name (names are compared as written); null when it is undefined.
  const std::string* find(std::string_view name) const;
  std::size_t size() const { return values_.size(); }
  // Every name with its replacement text, by name.
  const std::map<std::string, std::string, std::less<>>& definitions() const { return values_; }

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

// A header's text by its path relative to the script's folder, '/' between the folders, as an
// include line names it ("resource.h", "res/ids.h"); nothing when it cannot be read.
using HeaderReader = std::function<std::optional<std::string>(const std::string& path)>;

// The #define and #undef lines of `text` into `table`, in their order. An `#include "name"` line
// reads that header at its place through `readHeader` (when given): names relative to the
// folder of the file that includes them (a doubled backslash is one, as in a resource's file
// name), each header once. `#include <name>` and a name given by a macro are not followed.
void readDefines(std::string_view text, SymbolTable& table, const HeaderReader& readHeader = {});

// What one preprocessor line (read into `tree`, `own` being its text) does to `table`: a
// #define gives its name a value, an #undef forgets it; an `#include "name"` names a header
// (to be read where it stands). Other lines do nothing.
struct StatementTree;
struct DefineLine {
  enum Kind : std::uint8_t { None, Define, Undef, Include } kind = None;
  std::string name;  // the name defined or forgotten, or the header as the line names it
};
DefineLine applyDefineLine(std::string_view own, const StatementTree& tree, SymbolTable& table);
// The header an include line names, as a path from the script's folder, when the file that
// includes it is `including` (such a path too; "" for the script itself).
std::optional<std::string> includedHeaderPath(std::string_view including, std::string_view name);
// A header's text with CR LF at its line ends, as the lexer reads lines.
std::string headerWithCrLf(std::string_view text);

// Headers whose text the editor holds in place of the file's (a symbol renamed, not yet
// saved), by their full paths (headerFullPath).
using HeaderTexts = std::map<std::string, std::string, std::less<>>;

// The full path of a header a script whose file is `scriptPath` includes, from the path the
// reader is asked for (relative to the script's folder): "." and ".." resolved as written.
std::string headerFullPath(const std::filesystem::path& scriptPath, std::string_view path);

// The reader of the headers a script whose file is `scriptPath` includes: from its folder, or
// from `kept` (when given) for the headers it holds. None when the path is empty (a script
// never saved). The reader refers to `kept`, which must outlive it.
HeaderReader headerReaderFor(const std::filesystem::path& scriptPath,
                             const HeaderTexts* kept = nullptr);

// The symbols of a script whose file is `scriptPath` (its headers read from its folder, or from
// `kept`); the script's own defines only when the path is empty. The headers that cannot be
// read go to `missingHeaders` (when given), as their include lines name them.
SymbolTable scriptSymbols(std::string_view text, const std::filesystem::path& scriptPath,
                          std::vector<std::string>* missingHeaders = nullptr,
                          const HeaderTexts* kept = nullptr);

// scriptSymbols kept for the last text, file and held headers asked about, read again when any
// has changed, or when a header file it asked for has another size or time of writing, or has
// come or gone: the preview asks on every move through the list.
std::shared_ptr<const SymbolTable> cachedScriptSymbols(std::string_view text,
                                                       const std::string& fileName,
                                                       const HeaderTexts* kept = nullptr);

// The words of the preprocessor lines of a script and of the headers it includes with quotes
// (read through a HeaderReader, each once, from the script's and from each other): the names the
// #define lines give a value, those #undef forgets, and the words of the values and conditions
// (`#define IDC_LAST (IDC_FIRST + 4)`, `#ifdef IDC_FIRST`), each where it stands in its file.
// Every preprocessor line is read, those of every branch and those inside resource bodies.
struct DirectiveWord {
  enum class Role : std::uint8_t { Defines, Undefines, Uses };
  Role role = Role::Uses;
  std::size_t file = 0;   // 0: the script; n: headers[n - 1]
  std::size_t begin = 0;  // the word's bytes in its file as read
  std::size_t end = 0;
  std::size_t line = 0;  // from 1, as the compilers count lines
  std::string value;     // Defines: the replacement text (SymbolTable::define)
  // Uses: the word stands in the value of a #define (of the Defines word before it, which the
  // same line holds), not in a condition.
  bool inValue = false;
};
struct HeaderText {
  std::string path;  // from the script's folder, as the reader was asked for it
  std::string text;  // as read
};
struct DirectiveSymbols {
  std::vector<HeaderText> headers;   // in the order they were first included
  std::vector<DirectiveWord> words;  // each file's in its order, the script's first
  // The text of file `file` (0: the script as given).
  std::string_view textOf(std::size_t file, std::string_view script) const {
    return file == 0 ? script : std::string_view(headers[file - 1].text);
  }
  std::string_view wordOf(const DirectiveWord& w, std::string_view script) const {
    return textOf(w.file, script).substr(w.begin, w.end - w.begin);
  }
};
// `tree` (when given, following `script`) gives the script's statement trees already read. A
// function-like macro's name and parameters are no words of it (its value's words are).
class SyntaxTree;
DirectiveSymbols readDirectiveSymbols(std::string_view script, const HeaderReader& readHeader,
                                      const SyntaxTree* tree = nullptr);

// An integer expression as the resource compilers evaluate it, in 32 bits, read by the lexer
// (comments are blanks):
//   numbers: decimal; 0x hexadecimal; octal after a leading 0 (010 is 8) or 0o; an L suffix.
//            No U suffix, as neither compiler takes one;
//   operators, loosest first: | (and NOT x: x's bits taken from what the terms before gave),
//            &, + -, * /, unary - ~;   parentheses. Division is unsigned, as windres divides,
//            and a division by zero gives the dividend.
// A name takes the value of its definition, read again as text in its place (as the
// preprocessor replaces it); a name being replaced is not replaced again inside itself, so a
// cycle ends. A name no definition gives is a style name of the compiler's vocabulary
// (compilerNameValue), a system's dialog id (IDOK, IDCANCEL, IDC_STATIC, ...), or else 0, and is
// reported.
struct Evaluation {
  std::optional<std::uint32_t> value;  // nothing when the text is no such expression
  std::vector<std::string> undefined;  // the names counted as 0, each once, in order
};
Evaluation evaluate(std::string_view text, const SymbolTable* symbols, std::uint32_t base = 0);

// A number as both compilers read it: decimal digits; 0x (or 0X) and hexadecimal digits; a
// leading 0, or 0o (0O), and octal digits (010 is 8); then an L at most. A U suffix, a digit
// 8 or 9 after a leading 0, 0b, a sign and a prefix without digits are no number to either.
// Past 32 bits the low bits are kept, as the compilers keep them, unless `wrap` is false: then
// such a number is none (a number typed by the user that the script would not keep whole).
std::optional<std::uint32_t> compilerNumber(std::string_view word, bool wrap = true);

// The terms of a flag expression joined by "|" (a style field): each term's text, blanks and
// comments around it left out, past a NOT that stands first before more of it (`negated`). A
// term with nothing in it (before a leading "|", after a trailing one) is empty, at the place
// it would stand.
struct OrTerm {
  std::size_t begin = 0;
  std::size_t end = 0;
  bool negated = false;
  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
};
std::vector<OrTerm> orTerms(std::string_view text);

// The one notice for the names no definition gives: "Simbolo non definito: NAME." for one,
// "Simboli non definiti: A, B, C." for several (the first 8, then how many more).
std::string undefinedSymbolsNotice(const std::vector<std::string>& names);

// The symbols as one reading uses them: the table (may be null) and the names it lacked, each
// once, in the order they were met, for one notice each.
struct SymbolUse {
  const SymbolTable* table = nullptr;
  std::vector<std::string> undefined;
  void note(const std::vector<std::string>& names);
};

}  // namespace kolvre
