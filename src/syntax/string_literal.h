// A quoted text of a script as the resource compiler stores it: the text between the quotes as
// written (doubled quotes kept) turned into the bytes the compiled resource holds, and those
// bytes into the characters a window shows. Used for showing only: the script and the dialog
// model keep every text as written.
//
// What the compiler makes of a text, character by character:
//   ""                  one quote
//   \n \t \r \a         line feed, tab, carriage return, and 0x08
//   \\ \"               a backslash, a quote
//   \ooo                one to three octal digits: the byte of that value (its low eight bits)
//   \xhh \Xhh           one or two hexadecimal digits: the byte of that value (a zero byte
//                       without a digit)
//   \ at a line's end   the line goes on in the next one: the line end and the blanks and
//                       tabs that begin the next line are left out
//   anything else       itself (a backslash before another character stays, with it)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/encoding.h"

namespace kolvre {

// How a script's bytes stand for characters. A UTF-16 file is held in memory as UTF-8: its
// characters are known whatever the code page, which then applies to the bytes escapes give.
struct ScriptCharset {
  int codePage = kDefaultCodePage;
  bool utf16File = false;
  bool operator==(const ScriptCharset&) const = default;
};

// A run of a compiled text: bytes as they stand in the script, or bytes given by escapes.
struct CompiledRun {
  std::string bytes;
  bool escaped = false;
  bool operator==(const CompiledRun&) const = default;
};

// The compiled text in runs, neighbouring runs of the same kind joined.
std::vector<CompiledRun> compiledRuns(std::string_view asWritten);

// The bytes the compiler stores for the text (the runs joined).
std::string compiledBytes(std::string_view asWritten);

// Turns bytes of a code page into UTF-8; nothing when it does not know the code page.
using CodePageDecoder = std::optional<std::string> (*)(std::string_view bytes, int codePage);

// The text a window shows for a quoted text as written, in UTF-8: the compiled bytes read in
// the script's code page (the escaped bytes alone for a UTF-16 file). A window's text ends at
// its first zero byte. A code page `decoder` does not know is read as Windows-1252.
std::string shownString(std::string_view asWritten, const ScriptCharset& charset,
                        CodePageDecoder decoder = codePageToUtf8);

// The charset in force at `offset` of a script held as `text`.
ScriptCharset scriptCharsetAt(std::string_view text, std::size_t offset, bool utf16File);

// Script bytes as written (escapes left as they stand) as UTF-8, read in the code page of
// `charset`: a UTF-16 file's text and a UTF-8 script's bytes as toDisplay reads UTF-8, a code
// page without a table here as Windows-1252 (as toDisplay reads it).
std::string writtenToUtf8(std::string_view bytes, const ScriptCharset& charset);

// UTF-8 text as script bytes in the code page of `charset` (writtenToUtf8 undone: bytes read by
// it come back the same). Nothing when the code page lacks one of the characters.
std::optional<std::string> utf8ToWritten(std::string_view utf8, const ScriptCharset& charset);

// True when every line end (CR LF) inside the string literal `literal` (a String token as
// written, from its quote) follows a backslash that continues the line, as the compilers read a
// literal: any other line end leaves it open. A lone CR or LF is no line end. False too for a
// literal without its closing quote (the lexer ends one left open at its line's end).
bool lineEndsContinued(std::string_view literal);

// The contents of the string literals of `literals` (adjacent literals as written, `L"a" "b"`,
// with blanks, line ends and comments between them), their escapes as written, joined.
std::string literalsAsWritten(std::string_view literals);

}  // namespace kolvre
