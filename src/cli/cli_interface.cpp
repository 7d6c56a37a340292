#include "cli/cli_interface.h"

namespace kolvre {

int CliInterface::messageBox(std::string_view text, MsgKind kind, std::string_view) {
  err_ << text << '\n';
  messageShown_ = true;
  // A batch run never agrees to a question it was not given an answer for.
  switch (kind) {
    case MsgKind::Info:
      return kIdOk;
    case MsgKind::YesNo:
    case MsgKind::YesNoDefaultNo:
      return kIdNo;
    default:
      return kIdCancel;
  }
}

bool CliInterface::inputBox(std::string_view, std::string_view, std::string& value,
                            std::size_t maxLength) {
  if (answers_.empty()) return false;
  value = answers_.front().substr(0, maxLength);
  answers_.pop_front();
  return true;
}

}  // namespace kolvre
