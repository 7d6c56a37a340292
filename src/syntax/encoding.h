// Decoding script bytes for display. The script itself is never converted.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "syntax/code_pages.h"

namespace kolvre {

enum class TextEncoding { Windows1252, Utf8 };

// UTF-8 when the text starts with a UTF-8 byte-order mark or a "#pragma code_page(65001)" line
// (read as codePageAt reads one, syntax/code_pages.h) stands in it; Windows-1252 otherwise.
TextEncoding detectEncoding(std::string_view text);

// The bytes as UTF-8 for display. Invalid UTF-8 sequences decode byte by byte as Windows-1252.
std::string toDisplay(std::string_view bytes, TextEncoding encoding);

// UTF-8 text (from the clipboard) as script bytes. In Windows-1252 a character that the code page
// lacks becomes "?", and bytes that are not UTF-8 are kept as they are. toDisplay followed by
// fromDisplay gives back the original bytes.
std::string fromDisplay(std::string_view utf8, TextEncoding encoding);

// True when fromDisplay keeps every character of the text: in Windows-1252, no character that
// the code page lacks (bytes that are not UTF-8 count as kept).
bool representable(std::string_view utf8, TextEncoding encoding);

// UTF-16 bytes (no byte-order mark) as UTF-8: a surrogate without its pair, or a last odd byte,
// becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// UTF-8 text as UTF-16 bytes; bytes that are not UTF-8 are taken as Windows-1252 characters.
std::string utf8ToUtf16(std::string_view text, bool bigEndian);
// Why UTF-16 bytes would not decode exactly (Italian, lower case); empty when they do.
std::string utf16Fault(std::string_view bytes, bool bigEndian);

// Bytes of code page `codePage` as UTF-8, as the system converts them: a byte a single-byte page
// leaves undefined stands for the control character of its value, and in UTF-8 (65001) a byte
// that begins no valid sequence becomes U+FFFD, and so does a Japanese (932) lead byte without
// its trail byte. Nothing for a code page without a table here (1250, 1251, 1252, 932 and 65001
// have one).
std::optional<std::string> codePageToUtf8(std::string_view bytes, int codePage);

// UTF-8 text as bytes of code page `codePage` (codePageToUtf8 undone; where the page holds two
// byte sequences for one character, the first of the table). Nothing when the text is no UTF-8,
// the page lacks one of its characters, or the page has no table here.
std::optional<std::string> utf8ToCodePage(std::string_view utf8, int codePage);

}  // namespace kolvre
