// The user interface of the batch tool: messages go to standard error, the name prompt is
// answered from the command line, and nothing else is ever asked.
#pragma once

#include <deque>
#include <ostream>
#include <string>

#include "platform/user_interface.h"

namespace kolvre {

class CliInterface : public UserInterface {
 public:
  explicit CliInterface(std::ostream& err) : err_(err) {}

  // Answers for the input box, in order; when none is left the box counts as cancelled.
  void queueAnswer(std::string answer) { answers_.push_back(std::move(answer)); }
  void setClipboard(std::string text) { clipboard_ = std::move(text); }
  const std::string& clipboard() const { return clipboard_; }
  // True once a message box was shown (the command was refused or failed).
  bool messageShown() const { return messageShown_; }

  int messageBox(std::string_view text, MsgKind kind, std::string_view title) override;
  bool inputBox(std::string_view title, std::string_view prompt, std::string& value,
                std::size_t maxLength) override;
  std::string chooseFile(FileDialogMode, std::string_view) override { return {}; }
  std::string clipboardText() override { return clipboard_; }
  void setClipboardText(std::string_view text) override { clipboard_ = text; }
  int runAndWait(const std::string&, const std::vector<std::string>&) override { return -1; }
  std::string readSetting(std::string_view, std::string_view, std::string_view dflt) override {
    return std::string(dflt);
  }
  void writeSetting(std::string_view, std::string_view, std::string_view) override {}
  void beep() override {}
  void openUrl(std::string_view) override {}

 private:
  std::ostream& err_;
  std::deque<std::string> answers_;
  std::string clipboard_;
  bool messageShown_ = false;
};

}  // namespace kolvre
