// The one interface through which commands reach the user and the system. The real
// implementation is Qt; tests use a scripted double; the batch tool answers from its arguments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolvre {

// Button codes a message box answers with.
enum ButtonCode : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

// The message-box kinds: buttons, icon and default button of each.
enum class MessageKind : int {
  Info = 1,            // OK, information icon
  OkCancel = 2,        // OK and Cancel, question icon
  YesNoCancel = 3,     // Yes, No and Cancel, question icon
  YesNo = 4,           // Yes and No, question icon
  YesNoDefaultNo = 5,  // Yes and No, question icon, No is the default
  StopOkCancel = 6,    // OK and Cancel, stop icon
};

enum class FileDialogMode { Open, Save };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Shows one message box; `text` already has its line breaks as "\n". Returns the code of the
  // button pressed; closing the box counts as Cancel (or No where there is no Cancel).
  virtual int messageBox(std::string_view text, MessageKind kind, std::string_view title) = 0;

  // The one-line input box: true with the edited value on confirm, false (value untouched) on
  // cancel. The field accepts at most `maxLength` characters.
  [[nodiscard]] virtual bool inputBox(std::string_view title, std::string_view prompt,
                                      std::string& value, std::size_t maxLength) = 0;

  // A file dialog for resource scripts; the chosen full path, or "" when cancelled.
  virtual std::string chooseFile(FileDialogMode mode, std::string_view title) = 0;

  virtual std::string clipboardText() = 0;
  virtual void setClipboardText(std::string_view text) = 0;

  // Runs `program` with `args` (no shell) and waits for it while the interface stays live.
  // Returns the exit code, or -1 when the program cannot be started.
  [[nodiscard]] virtual int runAndWait(const std::string& program,
                                       const std::vector<std::string>& args) = 0;
  // Runs `program` with `args` (no shell, no window hidden) and waits for it; `output` receives
  // what it printed, standard output and standard error merged in the order printed. Returns
  // the exit code, or -1 when the program cannot be started or does not end normally.
  [[nodiscard]] virtual int runCapturing(const std::string& program,
                                         const std::vector<std::string>& args,
                                         std::string& output) = 0;

  // One key of the settings file, read or written at the moment of use.
  virtual std::string readSetting(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) = 0;
  virtual void writeSetting(std::string_view section, std::string_view key,
                            std::string_view value) = 0;
  // Several keys of one section, (key, value) in order, with the file read and written once
  // where the implementation can; the file ends as the same writeSetting calls would leave it.
  virtual void writeSettings(std::string_view section,
                             const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [key, value] : values) writeSetting(section, key, value);
  }
  // Where the settings live, to name in a message that asks the user to set one.
  virtual std::string settingsFile() const { return {}; }

  // The tone played before a question.
  virtual void beep() = 0;

  // Hands a link (a mail link for an error report) to the desktop's default handler.
  virtual void openUrl(std::string_view url) = 0;
};

}  // namespace kolvre
