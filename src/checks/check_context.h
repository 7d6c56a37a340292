// What every check of one script reads: the text, its syntax tree, statements and full index,
// its symbols, where its file stands and the text measure.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "checks/findings.h"
#include "checks/text_measure.h"
#include "syntax/symbols.h"
#include "document/scanner.h"
#include "syntax/statements.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

struct CheckContext {
  std::string_view text;
  const SyntaxTree& tree;                    // follows `text`
  const std::vector<Statement>& statements;  // the tree's
  const ResourceIndex& index;                // every kind, in the order of the text
  const SymbolTable* symbols;                // may be null
  std::string fileName;                      // empty for a script not read from a file
  const FontMeasure* measure;                // null: the rules that measure are skipped
  bool utf16File = false;                    // read from UTF-16: its literals are UTF-8 already
};

// The finding's frame for the index entry `entry`: its key (occurrence counted among the
// entries before it), language and offset; rule and message are the caller's.
Finding findingAt(const CheckContext& context, std::size_t entry, CheckRule rule,
                  std::string message);

}  // namespace kolvre
