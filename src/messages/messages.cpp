#include "messages/messages.h"

namespace kolvre {

std::string messageLines(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == ';') c = '\n';
  return out;
}

MessageResult showMessage(UserInterface& ui, std::string_view text, MessageKind kind,
                          std::string_view title) {
  if (kind != MessageKind::Info) ui.beep();
  const int button = ui.messageBox(messageLines(text), kind, title.empty() ? kDefaultTitle : title);
  return {button, kind};
}

bool askText(UserInterface& ui, std::string_view title, std::string_view prompt,
             std::string& value) {
  // The field takes as many characters as the value holds: characters, not UTF-8 bytes.
  std::size_t characters = 0;
  for (char c : value) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  std::string edited = value;
  if (!ui.inputBox(title, prompt, edited, characters)) return false;
  value = std::move(edited);
  return true;
}

}  // namespace kolvre
