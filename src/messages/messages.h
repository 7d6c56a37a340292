// Message boxes and the one-line input box as the commands call them.
#pragma once

#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::string_view kDefaultTitle = "Attenzione";

// The result of POPMSG: for kind 1 nothing, for kind 3 a button code, for the others a yes/no.
struct MsgResult {
  int button = 0;  // the code of the button pressed (0 when nothing was shown)
  MsgKind kind = MsgKind::Info;
  // Kinds 2 and 6: OK; kinds 4 and 5: Yes.
  bool accepted() const {
    return button == kIdOk || (button == kIdYes && kind != MsgKind::YesNoCancel);
  }
};

// POPMSG: shows `text` (";" starts a new line) in a box of the given kind, titled `title` or
// "Attenzione". Kinds 2 to 6 are preceded by the tone.
MsgResult POPMSG(UserInterface& ui, std::string_view text, MsgKind kind,
                 std::string_view title = {});

// Kind 1 information box.
inline void inform(UserInterface& ui, std::string_view text) {
  POPMSG(ui, text, MsgKind::Info);
}

// MSGGET: the input box; the field accepts as many characters as `value` holds when passed.
// True with the edited value on confirm; false with `value` unchanged on cancel.
bool MSGGET(UserInterface& ui, std::string_view title, std::string_view prompt, std::string& value);

// The text as shown: every ";" becomes a line break.
std::string messageLines(std::string_view text);

}  // namespace kolvre
