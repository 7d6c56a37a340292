// Settings writes held in memory and written later in one pass, for writes that come in bursts
// (the placement of a window being dragged) where only the last value of each key counts.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/user_interface.h"

namespace kolvre {

// A user interface that hands everything to `target` except settings writes, which it holds
// until flush(). Reads see the held values (names matched without regard to ASCII letter case,
// as in the settings file), so rules that read back what they wrote work as they would on the
// file, and the file ends as the writes made one at a time would have left it.
class PendingSettings : public UserInterface {
 public:
  explicit PendingSettings(UserInterface& target) : target_(target) {}

  // True while some write is held.
  bool pending() const { return !held_.empty(); }
  // Writes what is held: one writeSettings call per section, in the order the sections were
  // first written, each key once with its last value, in the order the keys were first
  // written (a key that is new to the file is added where its first write would have put it).
  void flush();

  std::string readSetting(std::string_view section, std::string_view key,
                          std::string_view defaultValue) override;
  void writeSetting(std::string_view section, std::string_view key,
                    std::string_view value) override;
  std::string settingsFile() const override { return target_.settingsFile(); }

  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override {
    return target_.messageBox(text, kind, title);
  }
  bool inputBox(std::string_view title, std::string_view prompt, std::string& value,
                std::size_t maxLength) override {
    return target_.inputBox(title, prompt, value, maxLength);
  }
  std::string chooseFile(FileDialogMode mode, std::string_view title) override {
    return target_.chooseFile(mode, title);
  }
  std::string clipboardText() override { return target_.clipboardText(); }
  void setClipboardText(std::string_view text) override { target_.setClipboardText(text); }
  int runAndWait(const std::string& program, const std::vector<std::string>& args) override {
    return target_.runAndWait(program, args);
  }
  int runCapturing(const std::string& program, const std::vector<std::string>& args,
                   std::string& output) override {
    return target_.runCapturing(program, args, output);
  }
  void beep() override { target_.beep(); }
  void openUrl(std::string_view url) override { target_.openUrl(url); }

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
  };
  Section* section(std::string_view name);
  std::pair<std::string, std::string>* value(std::string_view section, std::string_view key);

  UserInterface& target_;
  std::vector<Section> held_;
};

}  // namespace kolvre
