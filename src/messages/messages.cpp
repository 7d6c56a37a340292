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

bool askText(UserInterface& ui, std::string_view title, std::string_view prompt, std::string& value,
             std::size_t maxLength) {
  std::string edited = value;
  if (!ui.inputBox(title, prompt, edited, maxLength)) return false;
  value = std::move(edited);
  return true;
}

}  // namespace kolvre
