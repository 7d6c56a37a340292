#include "dialogs/statement_words.h"

#include "base/text.h"
#include "dialogs/styles.h"

namespace kolvre {

std::string_view firstWord(std::string_view text) {
  return text.substr(0, text.find_first_of(" \","));
}

bool isWord(std::string_view text, std::string_view word) {
  return equalsIgnoringCase(firstWord(text), word);
}

bool standsAlone(std::string_view line) {
  return line.empty() || line.starts_with("//") || line.starts_with("#") || line.starts_with("/*");
}

bool beginsWithStyleName(std::string_view line) {
  const std::string_view word = line.substr(0, line.find_first_of(" \t|,"));
  return equalsIgnoringCase(word, "NOT") || compilerNameValue(word).has_value();
}

}  // namespace kolvre
