// The conditional sections of a script (#if, #ifdef, #ifndef, then #elif, #else, up to #endif)
// and which statements the resource compiler keeps, the conditions evaluated as its
// preprocessor evaluates them.
//
// The names it knows: the script's own #define lines before the place (and those of the headers
// it includes with quotes, at their include line), a definition in a skipped branch not counted;
// RC_INVOKED and _WIN32, defined as 1 as the compilers define them; no other (APSTUDIO_INVOKED,
// _WIN64, UNDER_CE, DEBUG, ... are undefined unless the script defines them).
//
// A condition that cannot be judged (a name no definition gives outside `defined`, a macro with
// parameters, a string, a division by zero) leaves its branch kept, and the branches after it
// in its section too unless a later condition is true: what cannot be judged is never hidden.
// A name defined or undefined inside such a branch cannot be judged either, from there on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "syntax/statements.h"
#include "syntax/symbols.h"

namespace kolvre {

class SyntaxTree;
struct StatementTree;

// Each preprocessor line of `statements` in text order: a directive statement, and the lines
// inside other statements (a resource's body): all of them when `everyInnerLine`, else only
// those of statements that are not self-contained (whole sections inside a body, which change
// nothing after it, are passed over without reading the body). `statement` is the statement
// it stands in, `own` the line's text, `line` its tree. `tree` (when given, following `text`)
// gives the statements' trees already read.
using PreprocessorLineVisit =
    std::function<void(std::size_t statement, std::string_view own, const StatementTree& line)>;
void forEachPreprocessorLine(std::string_view text, const std::vector<Statement>& statements,
                             const PreprocessorLineVisit& visit, bool everyInnerLine,
                             const SyntaxTree* tree = nullptr);

// True when a statement opens a conditional section, at the top level or inside its body: the
// only scripts whose statements need their conditions evaluated.
bool holdsConditionals(const std::vector<Statement>& statements);

// A condition of #if or #elif: true or false, or nothing when it cannot be judged. `symbols`
// holds the names defined at its place; a name in `unsure` cannot be judged.
// Operators as the preprocessor reads them: ?: || && | ^ & == != < > <= >= << >> + - * / %,
// unary ! ~ - +, parentheses and `defined NAME` / `defined(NAME)`, in 64-bit signed arithmetic.
std::optional<bool> conditionHolds(std::string_view condition, const SymbolTable& symbols,
                                   const std::vector<std::string>& unsure = {});

// The statements of `text` the compiler skips: true at each statement that stands in a branch
// whose condition is false (or in a section within one). Empty when the script holds no
// conditional section. Headers the script includes with quotes are read through `readHeader`.
std::vector<bool> skippedStatements(std::string_view text, const std::vector<Statement>& statements,
                                    const HeaderReader& readHeader = {});

}  // namespace kolvre
