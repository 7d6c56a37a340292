// Fuzzes the quoted texts as the compiler stores them (src/syntax/string_literal.h): an
// arbitrary text is compiled and shown in every code page with a table, as a byte file and as a
// UTF-16 file; the first two bytes of the input also choose where codePageAt looks in it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "syntax/string_literal.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("literal", violation, rule);
}

bool validUtf8(const std::string& text) {
  const auto* u = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = u[i] < 0x80 ? 1 : u[i] >= 0xF0 ? 4 : u[i] >= 0xE0 ? 3 : 2;
    if (u[i] >= 0x80 && (u[i] < 0xC2 || u[i] > 0xF4)) return false;
    if (i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((u[i + k] & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// The bytes written back as a text the compiler reads as them: each as an octal escape, or as
// itself with a backslash and a quote escaped.
std::string asOctal(const std::string& bytes) {
  std::string text;
  for (const unsigned char b : bytes) {
    text += '\\';
    text += static_cast<char>('0' + (b >> 6));
    text += static_cast<char>('0' + ((b >> 3) & 7));
    text += static_cast<char>('0' + (b & 7));
  }
  return text;
}
std::string asWritten(const std::string& bytes) {
  std::string text;
  for (const char b : bytes) {
    if (b == '\\') text += '\\';
    if (b == '"') text += '"';
    text += b;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string bytes = compiledBytes(text);
  require(unless(bytes.size() <= text.size(), "the compiled text is longer than the written"),
          "shorter");
  std::string joined;
  const auto runs = compiledRuns(text);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    require(unless(!runs[i].bytes.empty(), "an empty run"), "runs");
    require(unless(i == 0 || runs[i].escaped != runs[i - 1].escaped, "two runs of one kind"),
            "runs");
    joined += runs[i].bytes;
  }
  require(unless(joined == bytes, "the runs do not make the bytes"), "runs");
  if (text.find_first_of("\\\"") == std::string::npos)
    require(unless(bytes == text, "a text without escapes changed"), "plain");
  require(unless(compiledBytes(asOctal(text)) == text, "octal escapes do not give the bytes"),
          "octal");
  require(unless(compiledBytes(asWritten(text)) == text, "escaped quotes and backslashes"),
          "written");

  constexpr std::array<int, 5> kPages{1250, 1251, 1252, kUtf8CodePage, 437};
  for (const int page : kPages) {
    const std::string shown = shownString(text, {page, false});
    require(unless(validUtf8(shown), "not UTF-8 in " + std::to_string(page)), "utf8");
    require(unless(shown.find('\0') == std::string::npos, "a zero in the shown text"), "zero");
    const std::string unicode = shownString(text, {page, true});
    require(unless(unicode.find('\0') == std::string::npos, "a zero in a UTF-16 file's text"),
            "zero");
  }
  const std::size_t at = size < 2 ? 0 : (data[0] | (data[1] << 8)) % (size + 1);
  const int page = codePageAt(text, at);
  require(unless(page >= 0 && page <= 999999, "a code page out of range"), "pragma");
  return 0;
}
