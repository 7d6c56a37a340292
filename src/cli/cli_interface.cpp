#include "cli/cli_interface.h"

namespace kolvre {

int CliInterface::messageBox(std::string_view text, MessageKind kind, std::string_view) {
  err_ << text << '\n';
  // A batch run never agrees to a question it was not given an answer for.
  switch (kind) {
    case MessageKind::Info:
      return kIdOk;
    case MessageKind::YesNo:
    case MessageKind::YesNoDefaultNo:
      return kIdNo;
    default:
      return kIdCancel;
  }
}

}  // namespace kolvre
