// The user interface of the batch tool: messages go to standard error; nothing is ever asked,
// since the batch commands take their answers from the command line.
#pragma once

#include <ostream>
#include <string>

#include "platform/user_interface.h"

namespace kolvre {

class CliInterface : public UserInterface {
 public:
  explicit CliInterface(std::ostream& err) : err_(err) {}

  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override;
  bool inputBox(std::string_view, std::string_view, std::string&, std::size_t) override {
    return false;
  }
  std::string chooseFile(FileDialogMode, std::string_view) override { return {}; }
  std::string clipboardText() override { return {}; }
  void setClipboardText(std::string_view) override {}
  int runAndWait(const std::string&, const std::vector<std::string>&) override { return -1; }
  // The batch tool starts no program of its own accord.
  int runCapturing(const std::string&, const std::vector<std::string>&, std::string&) override {
    return -1;
  }
  std::string readSetting(std::string_view, std::string_view, std::string_view dflt) override {
    return std::string(dflt);
  }
  void writeSetting(std::string_view, std::string_view, std::string_view) override {}
  void writeSettings(std::string_view,
                     const std::vector<std::pair<std::string, std::string>>&) override {}
  void beep() override {}
  void openUrl(std::string_view) override {}

 private:
  std::ostream& err_;
};

}  // namespace kolvre
