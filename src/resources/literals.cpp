#include "resources/literals.h"

#include "base/text.h"
#include "messages/error_record.h"

namespace kolvre {

namespace {

// The bytes of a UTF-8 character that starts at `at`; 0 when none starts there.
std::size_t utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t n = lead < 0x80             ? 1
                        : (lead & 0xE0) == 0xC0 ? 2
                        : (lead & 0xF0) == 0xE0 ? 3
                        : (lead & 0xF8) == 0xF0 ? 4
                                                : 0;
  if (n == 0 || at + n > text.size()) return 0;
  for (std::size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

StringContext stringContext(const Document& doc, const SymbolTable* symbols) {
  return {symbols, doc.form().utf16 != Utf16::None};
}

ScriptCharset charsetAt(std::string_view text, std::size_t offset, const StringContext& context) {
  if (!context.codePages) return scriptCharsetAt(text, offset, context.utf16File);
  return {codePageIn(*context.codePages, offset), context.utf16File};
}

bool isLiteral(std::string_view own, const TreeToken& token) {
  return isQuotedString(own, token);
}

std::optional<WrittenText> readLiterals(std::string_view text, std::size_t base,
                                        const StatementTree& tree, std::size_t& at,
                                        const ScriptCharset& charset, std::string& problem) {
  const std::string_view own = text.substr(base, tree.tokens.back().end);
  if (!isLiteral(own, tree.tokens[at])) return std::nullopt;
  WrittenText written;
  written.begin = base + tree.tokens[at].begin;
  written.wide = own[tree.tokens[at].begin] == 'L';
  for (; isLiteral(own, tree.tokens[at]); ++at) {
    const TreeToken& t = tree.tokens[at];
    const Token literal{TokenKind::String, t.begin + (own[t.begin] == 'L' ? 1 : 0), t.end, false};
    const auto notClosed = [&] {
      problem = "Testo non chiuso alla riga " +
                std::to_string(lineNumberAt(text, base + literal.begin)) + ".";
      return std::nullopt;
    };
    if (leftOpen(own, literal)) return notClosed();
    // A line may end inside a literal only after a backslash that continues it, as the
    // compilers read it: any other line end leaves the literal open.
    if (!lineEndsContinued(literal.of(own))) return notClosed();
    written.end = base + literal.end;
    written.text +=
        shownString(own.substr(literal.begin + 1, literal.end - literal.begin - 2), charset);
  }
  return written;
}

std::string writtenString(std::string_view text, const ScriptCharset& charset,
                          bool octalApostrophes) {
  const bool asUtf8 = charset.utf16File || charset.codePage == kUtf8CodePage;
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const std::size_t n = utf8Length(text, i);
    if (n == 0) throw Refusal("Il testo non è UTF-8 valido.");
    if (n == 1) {
      switch (c) {
        case '"':
          out += "\"\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        case '\t':
          out += "\\t";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\'':
          out += octalApostrophes ? "\\047" : "'";
          break;
        default:
          if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            // Three digits always: a digit that follows is not taken into the escape.
            const auto v = static_cast<unsigned char>(c);
            out += '\\';
            out += static_cast<char>('0' + (v >> 6));
            out += static_cast<char>('0' + ((v >> 3) & 7));
            out += static_cast<char>('0' + (v & 7));
          } else {
            out += c;
          }
      }
    } else if (asUtf8) {
      out.append(text.substr(i, n));
    } else {
      // A code page without a table here is read as Windows-1252, so it is written so too.
      const std::string character(text.substr(i, n));
      const auto bytes = utf8ToCodePage(
          character, codePageToUtf8({}, charset.codePage) ? charset.codePage : kDefaultCodePage);
      if (!bytes)
        throw Refusal("Il carattere " + character + " non esiste nella code page " +
                      std::to_string(charset.codePage) + " dello script.");
      // A second byte that is a backslash would begin an escape.
      if (bytes->find('\\') != std::string::npos)
        throw Refusal("Il carattere " + character + " non si può scrivere tra virgolette nella " +
                      "code page " + std::to_string(charset.codePage) + " dello script.");
      out += *bytes;
    }
    i += n;
  }
  return out;
}

std::string literalFor(std::string_view text, bool wide, const ScriptCharset& charset,
                       bool octalApostrophes) {
  return (wide ? "L\"" : "\"") + writtenString(text, charset, octalApostrophes) + "\"";
}

std::string textAsWritten(std::string_view script, const WrittenText& text) {
  return literalsAsWritten(text.of(script));
}

std::string oneLineText(std::string_view text) {
  constexpr std::string_view kHex = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (byte < 0x20 || byte == 0x7F)
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    else
      out += c;
  }
  return out;
}

std::string fromOneLine(std::string_view line) {
  const auto hexDigit = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    const char next = i + 1 < line.size() ? line[i + 1] : '\0';
    if (c != '\\') {
      out += c;
    } else if (next == '\\' || next == 'n' || next == 'r' || next == 't') {
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\\';
      ++i;
    } else if (next == 'x' && i + 3 < line.size() && hexDigit(line[i + 2]) >= 0 &&
               hexDigit(line[i + 3]) >= 0) {
      out += static_cast<char>(hexDigit(line[i + 2]) * 16 + hexDigit(line[i + 3]));
      i += 3;
    } else {
      out += c;
    }
  }
  return out;
}

std::string indentOf(std::string_view text, std::size_t offset) {
  const std::size_t start = lineStartOf(text, offset);
  std::size_t end = start;
  while (end < offset && isBlank(text[end])) ++end;
  return std::string(text.substr(start, end - start));
}

}  // namespace kolvre
