#include "ui/qt_user_interface.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include "messages/messages.h"
#include "settings/ini_file.h"
#include "settings/placement.h"
#include "ui/qt_input_box.h"
#include "ui/qt_message_box.h"

namespace kolvre {

int QtUserInterface::messageBox(std::string_view text, MessageKind kind, std::string_view title) {
  return showMessageBox(qstr(text), kind, qstr(title));
}

bool QtUserInterface::inputBox(std::string_view title, std::string_view prompt, std::string& value,
                               std::size_t maxLength) {
  QString edited = qstr(value);
  if (!showInputBox(qstr(title), qstr(prompt), edited, static_cast<int>(maxLength))) return false;
  value = stdstr(edited);
  return true;
}

std::string QtUserInterface::chooseFile(FileDialogMode mode, std::string_view title) {
  // Scripts go by several extensions; any other file can still be chosen.
  const QString filter =
      QStringLiteral("Script di risorse (*.rc *.rc2 *.orc *.dlg *.RC);;Tutti i file (*)");
  QFileDialog dialog(QApplication::activeWindow(), qstr(title), startFolder(), filter);
  // Dates and sizes in the list as an Italian user writes them.
  dialog.setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  dialog.setAcceptMode(mode == FileDialogMode::Open ? QFileDialog::AcceptOpen
                                                    : QFileDialog::AcceptSave);
  // The dialog takes any name: the command adds ".RC" to a name without extension, checks that
  // the file exists and asks before replacing one, in its own words.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString chosen = dialog.selectedFiles().first();
  writeSetting(kParametri, kLastFolderKey, stdstr(QFileInfo(chosen).absolutePath()));
  return QFile::encodeName(chosen).toStdString();
}

QString QtUserInterface::startFolder() {
  // The open script's folder, else the last one a file was chosen in, else the current one;
  // each only while it is there.
  QStringList folders;
  if (mainWindow_ && !mainWindow_->windowFilePath().isEmpty())
    folders << QFileInfo(mainWindow_->windowFilePath()).absolutePath();
  folders << qstr(readSetting(kParametri, kLastFolderKey, ""));
  for (const QString& folder : folders)
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  return QDir::currentPath();
}

std::string QtUserInterface::clipboardText() {
  return stdstr(QGuiApplication::clipboard()->text());
}

void QtUserInterface::setClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(qstr(text));
}

int QtUserInterface::runAndWait(const std::string& program, const std::vector<std::string>& args) {
  QStringList arguments;
  for (const std::string& a : args) arguments << QFile::decodeName(a.c_str());
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(QFile::decodeName(program.c_str()), arguments);
  if (!process.waitForStarted(-1)) return -1;
  // The main window is hidden while the program runs, so that no command reaches the document
  // the program is editing a part of.
  QPointer<QWidget> hidden = mainWindow_;
  if (hidden) hidden->hide();
  // Poll every 2 ms and keep the event loop running, so the program's windows repaint.
  while (process.state() != QProcess::NotRunning) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!process.waitForFinished(2)) continue;
  }
  if (hidden) {
    hidden->show();
    QCoreApplication::processEvents();
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

int QtUserInterface::runCapturing(const std::string& program, const std::vector<std::string>& args,
                                  std::string& output) {
  QStringList arguments;
  for (const std::string& a : args) arguments << QFile::decodeName(a.c_str());
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  // The window stays shown; the wait cursor says the editor is busy meanwhile.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  process.start(QFile::decodeName(program.c_str()), arguments);
  const bool started = process.waitForStarted(-1);
  if (started) {
    process.closeWriteChannel();
    // A program that has not ended in two minutes is stopped.
    if (!process.waitForFinished(120000)) {
      process.kill();
      process.waitForFinished(-1);
    }
  }
  output = process.readAll().toStdString();
  QApplication::restoreOverrideCursor();
  if (!started) return -1;
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::string QtUserInterface::readSetting(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) {
  return settings_.read(section, key, defaultValue);
}

void QtUserInterface::writeSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
  writeSettings(section, {{std::string(key), std::string(value)}});
}

void QtUserInterface::writeSettings(
    std::string_view section, const std::vector<std::pair<std::string, std::string>>& values) {
  if (settings_.write(section, values) || settingsFailureTold_) return;
  // Once a session: every choice the user makes would say it again.
  settingsFailureTold_ = true;
  messageBox("Impossibile scrivere il file delle impostazioni " + settings_.path() +
                 ": le scelte di questa sessione non saranno ricordate.",
             MessageKind::Info, kDefaultTitle);
}

void QtUserInterface::beep() {
  QApplication::beep();
}

void QtUserInterface::openUrl(std::string_view url) {
  QDesktopServices::openUrl(QUrl(qstr(url), QUrl::TolerantMode));
}

}  // namespace kolvre
