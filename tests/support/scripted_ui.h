// A user interface for tests: answers from queues and records everything shown.
#pragma once

#include <cctype>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/user_interface.h"

namespace kolvre::testing {

struct ShownMessage {
  std::string text;
  MessageKind kind;
  std::string title;
};

struct RunCall {
  std::string program;
  std::vector<std::string> args;
};

class ScriptedUi : public UserInterface {
 public:
  // Answers, taken in order. A message box without a queued answer answers OK for kind 1
  // and fails the test otherwise (an unexpected question).
  std::deque<int> buttons;
  std::deque<std::optional<std::string>> inputs;  // nullopt: the user cancels
  std::deque<std::string> files;                  // "" : the dialog is cancelled
  std::deque<int> exitCodes;                      // for runAndWait; -1 when empty
  std::string clipboard;
  std::map<std::string, std::string> settings;  // "Section/Key" (lower case) -> value
  // Called while runAndWait "runs", with the program and its arguments.
  std::function<void(const RunCall&)> onRun;
  // What runCapturing does: gives the output and the exit code (-1 when unset: nothing starts).
  std::function<int(const RunCall&, std::string& output)> onCapture;

  std::vector<ShownMessage> messages;
  std::vector<std::string> prompts;       // the value shown in each input box
  std::vector<std::size_t> promptLimits;  // and the most characters its field takes
  std::vector<std::string> dialogTitles;
  std::vector<RunCall> runs;
  std::vector<std::string> urls;
  int beeps = 0;
  // Writes of the settings file as the real interface makes them: one for each writeSetting
  // call and one for each writeSettings call, whatever its number of keys.
  int settingWrites = 0;

  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override {
    messages.push_back({std::string(text), kind, std::string(title)});
    if (buttons.empty()) {
      if (kind == MessageKind::Info) return kIdOk;
      throw std::logic_error("unexpected question: " + std::string(text));
    }
    const int b = buttons.front();
    buttons.pop_front();
    return b;
  }
  bool inputBox(std::string_view, std::string_view, std::string& value,
                std::size_t maxLength) override {
    prompts.push_back(value);
    promptLimits.push_back(maxLength);
    if (inputs.empty()) throw std::logic_error("unexpected input box");
    auto answer = inputs.front();
    inputs.pop_front();
    if (!answer) return false;
    value = answer->substr(0, maxLength);
    return true;
  }
  std::string chooseFile(FileDialogMode, std::string_view title) override {
    dialogTitles.emplace_back(title);
    if (files.empty()) throw std::logic_error("unexpected file dialog");
    std::string f = files.front();
    files.pop_front();
    return f;
  }
  std::string clipboardText() override { return clipboard; }
  void setClipboardText(std::string_view text) override { clipboard = text; }
  int runAndWait(const std::string& program, const std::vector<std::string>& args) override {
    runs.push_back({program, args});
    if (onRun) onRun(runs.back());
    if (exitCodes.empty()) return -1;
    const int code = exitCodes.front();
    exitCodes.pop_front();
    return code;
  }
  int runCapturing(const std::string& program, const std::vector<std::string>& args,
                   std::string& output) override {
    runs.push_back({program, args});
    output.clear();
    return onCapture ? onCapture(runs.back(), output) : -1;
  }
  std::string readSetting(std::string_view section, std::string_view key,
                          std::string_view dflt) override {
    const auto it = settings.find(settingKey(section, key));
    return it == settings.end() ? std::string(dflt) : it->second;
  }
  void writeSetting(std::string_view section, std::string_view key,
                    std::string_view value) override {
    ++settingWrites;
    settings[settingKey(section, key)] = std::string(value);
  }
  void writeSettings(std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override {
    ++settingWrites;
    for (const auto& [key, value] : values) settings[settingKey(section, key)] = value;
  }
  void beep() override { ++beeps; }
  void openUrl(std::string_view url) override { urls.emplace_back(url); }

  std::string setting(std::string_view section, std::string_view key) const {
    const auto it = settings.find(settingKey(section, key));
    return it == settings.end() ? std::string() : it->second;
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
  }

  static std::string settingKey(std::string_view section, std::string_view key) {
    std::string k = std::string(section) + "/" + std::string(key);
    for (char& c : k) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
  }
};

}  // namespace kolvre::testing
