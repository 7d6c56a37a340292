// Fuzzes the reading of a script's symbols and the expressions written with them. The input is
// a script text, then (after the first NUL byte) an expression. Every quoted include is answered
// with the script text itself, so that nested and repeated includes are read too. Rules: an
// expression that evaluates gives the same value again and through its hexadecimal number; the
// names counted as 0 are names, each once; the class a field names without the script's symbols
// is empty only for an empty quoted text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "base/text.h"
#include "dialogs/class_names.h"
#include "syntax/symbols.h"
#include "syntax/lexer.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("symbols", violation, rule);
}

bool isName(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name)
    if (!kolvre::lexing::isWordByte(c)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  const std::size_t split = raw.find('\0');
  const std::string script = raw.substr(0, split);
  const std::string expression = split == std::string::npos ? raw : raw.substr(split + 1);

  kolvre::SymbolTable table;
  std::size_t headers = 0;
  kolvre::readDefines(script, table, [&](const std::string& path) -> std::optional<std::string> {
    require(unless(!path.empty() && !path.starts_with('/'), "include path \"" + path + "\""),
            "relative path");
    ++headers;
    return script;
  });
  require(unless(headers <= 256, "too many headers read"), "headers bounded");

  const kolvre::Evaluation first = kolvre::evaluate(expression, &table);
  const kolvre::Evaluation again = kolvre::evaluate(expression, &table);
  require(unless(first.value == again.value && first.undefined == again.undefined,
                 "two evaluations differ"),
          "deterministic");
  if (first.value) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(*first.value));
    const kolvre::Evaluation number = kolvre::evaluate(hex, &table);
    require(unless(number.value == first.value && number.undefined.empty(),
                   std::string("its number reads otherwise: ") + hex),
            "number");
  }
  for (std::size_t i = 0; i < first.undefined.size(); ++i) {
    require(unless(isName(first.undefined[i]), "not a name: " + first.undefined[i]), "names");
    for (std::size_t j = 0; j < i; ++j)
      require(unless(first.undefined[i] != first.undefined[j], "twice: " + first.undefined[i]),
              "once");
  }
  // The expression as a define's value, on a line after the script: read as written (where no
  // comment, continuation or line end stands in it), it evaluates as the expression does.
  const std::string name = "KOLVRE_FUZZ_VALUE";
  if (expression.find_first_of(std::string("\r\n\f\v\\/#\0", 8)) == std::string::npos &&
      raw.find(name) == std::string::npos) {
    kolvre::SymbolTable withValue;
    kolvre::readDefines(script + "\r\n#define " + name + " " + expression + "\r\n", withValue);
    if (const std::string* value = withValue.find(name)) {
      const std::string written(kolvre::trimBlanks(expression));
      require(unless(*value == written, "the value \"" + *value + "\" for \"" + written + "\""),
              "value as written");
      const kolvre::Evaluation direct = kolvre::evaluate(expression, &withValue);
      const kolvre::Evaluation named = kolvre::evaluate(name, &withValue);
      require(unless(direct.value == named.value && direct.undefined == named.undefined,
                     "the name and its value evaluate otherwise"),
              "value evaluates");
    }
  }
  kolvre::namedClass(expression, &table);
  const std::string named = kolvre::namedClass(expression);
  require(unless(kolvre::trimSpace(expression).empty() || !named.empty() ||
                     kolvre::trimSpace(expression) == "\"\"" ||
                     kolvre::trimSpace(expression) == "L\"\"",
                 "no class for \"" + expression + "\""),
          "class");
  return 0;
}
