// Message boxes and the one-line input box as the commands call them.
#pragma once

#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::string_view kDefaultTitle = "Attenzione";

// The result of showMessage: for kind 1 nothing, for kind 3 a button code, for the others a yes/no.
struct MessageResult {
  int button = 0;  // the code of the button pressed (0 when nothing was shown)
  MessageKind kind = MessageKind::Info;
  // Kinds 2 and 6: OK; kinds 4 and 5: Yes.
  bool accepted() const {
    return button == kIdOk || (button == kIdYes && kind != MessageKind::YesNoCancel);
  }
};

// showMessage: shows `text` (";" starts a new line) in a box of the given kind, titled `title` or
// "Attenzione". Kinds 2 to 6 are preceded by the tone.
MessageResult showMessage(UserInterface& ui, std::string_view text, MessageKind kind,
                          std::string_view title = {});

// Kind 1 information box.
inline void inform(UserInterface& ui, std::string_view text) {
  showMessage(ui, text, MessageKind::Info);
}

// askText: the input box; the field shows `value` and accepts at most `maxLength` characters
// (a limit on typing: the value is never padded to it). True with the edited value on confirm;
// false with `value` unchanged on cancel.
bool askText(UserInterface& ui, std::string_view title, std::string_view prompt, std::string& value,
             std::size_t maxLength);

// The text as shown: every ";" becomes a line break.
std::string messageLines(std::string_view text);

}  // namespace kolvre
