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

// The number of UTF-8 characters in a text (bytes that do not continue a character).
std::size_t characterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// The first `count` UTF-8 characters of a text.
std::string firstCharacters(std::string_view utf8, std::size_t count) {
  std::size_t end = 0, seen = 0;
  while (end < utf8.size()) {
    if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80 && seen++ == count) break;
    ++end;
  }
  return std::string(utf8.substr(0, end));
}

}  // namespace

std::optional<std::string> askResourceName(UserInterface& ui, const ResourceIndex& index,
                                           std::string_view title, std::string_view prompt,
                                           std::string_view initial, std::string_view typeWord,
                                           TextEncoding encoding) {
  // The field shows and takes characters; the script holds bytes in its own encoding.
  std::string name = firstCharacters(toDisplay(initial, encoding), kMaxNameLength);
  for (;;) {
    std::string field = name;
    field.append(kMaxNameLength - characterCount(field), ' ');
    if (!MSGGET(ui, title, prompt, field)) return std::nullopt;
    while (!field.empty() && field.back() == ' ') field.pop_back();
    name = upperAscii(firstCharacters(field, kMaxNameLength));
    if (name.empty()) return std::nullopt;
    // CR and LF count as blanks: in a header they split the name across lines, at once or
    // when the file is saved with LF line ends and read again.
    if (name.find_first_of(" \t\r\n") != std::string::npos) {
      inform(ui, "Spazi non ammessi.");
      continue;
    }
    const std::string bytes = fromDisplay(name, encoding);
    if (isDuplicate(index, bytes, typeWord)) {
      inform(ui, "Nome risorsa già presente.");
      continue;
    }
    return bytes;
  }
}

}  // namespace kolvre
