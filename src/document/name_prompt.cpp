#include "document/name_prompt.h"

#include "ui/messages.h"

namespace kolvre {

namespace {

// The type word names the entry's type when it begins with the type's code or keyword: the code
// alone would never match "VERSIONINFO" to "VI", letting a second version resource of the same
// name in.
bool namesType(std::string_view typeWord, const IndexEntry& e) {
  return typeWord.starts_with(e.code()) || typeWord.starts_with(typeKeyword(e.type));
}

bool isDuplicate(const ResourceIndex& index, std::string_view name, std::string_view typeWord) {
  for (const IndexEntry& e : index)
    if (e.name == name && namesType(typeWord, e)) return true;
  return false;
}

}  // namespace

std::optional<std::string> askResourceName(UserInterface& ui, const ResourceIndex& index,
                                           std::string_view title, std::string_view prompt,
                                           std::string_view initial, std::string_view typeWord) {
  std::string name(initial.substr(0, kMaxNameLength));
  for (;;) {
    std::string field = name;
    field.resize(kMaxNameLength, ' ');
    if (!MSGGET(ui, title, prompt, field)) return std::nullopt;
    while (!field.empty() && field.back() == ' ') field.pop_back();
    name = upperAscii(field);
    if (name.empty()) return std::nullopt;
    // CR and LF count as blanks: in a header they split the name across lines, at once or
    // when the file is saved with LF line ends and read again.
    if (name.find_first_of(" \t\r\n") != std::string::npos) {
      inform(ui, "Spazi non ammessi.");
      continue;
    }
    if (isDuplicate(index, name, typeWord)) {
      inform(ui, "Nome risorsa già presente.");
      continue;
    }
    return name;
  }
}

}  // namespace kolvre
