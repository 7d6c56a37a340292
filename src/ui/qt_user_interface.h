// The user interface on Qt: message boxes, the input box, file dialogs, the clipboard (Unicode
// text as UTF-8), external programs and the settings file.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/user_interface.h"
#include "settings/ini_file.h"

namespace kolvre {

// The folder a file was last chosen in, as the file dialogs keep it.
inline constexpr std::string_view kLastFolderKey = "UltimaCartella";

class QtUserInterface : public UserInterface {
 public:
  // Reads the settings file once, now; later reads come from memory.
  explicit QtUserInterface(std::string settingsPath) : settings_(std::move(settingsPath)) {}

  // The window hidden while an external program runs.
  void setMainWindow(QWidget* window) { mainWindow_ = window; }
  const std::string& settingsPath() const { return settings_.path(); }

  int messageBox(std::string_view text, MessageKind kind, std::string_view title) override;
  bool inputBox(std::string_view title, std::string_view prompt, std::string& value,
                std::size_t maxLength) override;
  // Starts in the open script's folder, else in the last folder a file was chosen in (kept in
  // the settings as "UltimaCartella" of "Parametri"), else in the current folder.
  std::string chooseFile(FileDialogMode mode, std::string_view title) override;
  std::string clipboardText() override;
  void setClipboardText(std::string_view text) override;
  int runAndWait(const std::string& program, const std::vector<std::string>& args) override;
  int runCapturing(const std::string& program, const std::vector<std::string>& args,
                   std::string& output) override;
  std::string readSetting(std::string_view section, std::string_view key,
                          std::string_view defaultValue) override;
  void writeSetting(std::string_view section, std::string_view key,
                    std::string_view value) override;
  void writeSettings(std::string_view section,
                     const std::vector<std::pair<std::string, std::string>>& values) override;
  std::string settingsFile() const override { return settings_.path(); }
  void beep() override;
  void openUrl(std::string_view url) override;

 private:
  QString startFolder();

  SettingsFile settings_;
  bool settingsFailureTold_ = false;
  QPointer<QWidget> mainWindow_;
};

// Text of the program (UTF-8) for Qt, and back.
inline QString qstr(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string stdstr(const QString& s) {
  return s.toUtf8().toStdString();
}

}  // namespace kolvre
