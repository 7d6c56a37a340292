// What the resources the editor only shows hold: the file a resource names, resolved against
// the script's folder, or the bytes an inline body compiles to, for the data and text views.
// Also the statement lookups those views and the batch tool's commands share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "syntax/statements.h"
#include "syntax/string_literal.h"
#include "syntax/symbols.h"

namespace kolvre {

// The resource statement that begins at `begin`; null when none does.
const Statement* statementAt(const std::vector<Statement>& statements, std::size_t begin);

// The `nth` (1 the first) resource statement named `name` (compared as the compilers compare
// names) whose type is one of `types` (keywords, any case); null when there is none. Those the
// compiler skips (`skipped`, beside `statements` as skippedStatements gives it) count after the
// others.
const Statement* findResourceStatement(std::string_view text,
                                       const std::vector<Statement>& statements,
                                       std::string_view name,
                                       const std::vector<std::string_view>& types,
                                       std::size_t nth = 1, const std::vector<bool>& skipped = {});

// The file a resource names instead of a body (`NAME TYPE "file.png"`, or a name without
// quotes): as written, its path seen from the script's folder, and its size where it exists.
struct NamedFile {
  std::string written;  // UTF-8, doubled backslashes undone
  std::string path;
  std::optional<std::uintmax_t> size;
};
std::optional<NamedFile> namedFile(const Document& doc, const Statement& statement);
// The same for a script held as `text` (in `encoding`) whose file is `fileName`.
std::optional<NamedFile> namedFile(std::string_view text, const std::string& fileName,
                                   TextEncoding encoding, const Statement& statement);

// The bytes of an inline body as the compiler stores them, where they are easily known:
// numbers as 16-bit words (32 bits with an L suffix), little-endian; "..." as its bytes and
// L"..." as UTF-16, with no zero after them; '...' lines as hexadecimal bytes. Nothing when the
// statement has no body; `problem` says what could not be read (the bytes stop before it).
struct InlineData {
  std::vector<std::uint8_t> bytes;
  std::string problem;
};
std::optional<InlineData> inlineData(std::string_view text, const Statement& statement,
                                     const SymbolTable* symbols, const ScriptCharset& charset);

// The hex view of bytes, one line per sixteen: the offset in eight hexadecimal digits, two
// blanks, the bytes as two digits each with a blank between (padded), two blanks, and the bytes
// as characters (a dot for each byte that is no printable ASCII character).
std::vector<std::string> hexViewLines(const std::vector<std::uint8_t>& bytes);

}  // namespace kolvre
