#include "document/name_prompt.h"

#include "ui/messages.h"

namespace kolvre {

namespace {

bool isDuplicate(const ResourceIndex& index, std::string_view name, std::string_view typeWord) {
  for (const IndexEntry& e : index)
    if (e.name == name && typeWord.starts_with(e.code())) return true;
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
    if (name.find_first_of(" \t") != std::string::npos) {
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
