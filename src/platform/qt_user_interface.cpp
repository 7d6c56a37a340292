#include "platform/qt_user_interface.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include "platform/ini_file.h"

namespace kolvre {

int QtUserInterface::messageBox(std::string_view text, MsgKind kind, std::string_view title) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(qstr(title));
  box.setText(qstr(text));
  using B = QMessageBox::StandardButton;
  switch (kind) {
    case MsgKind::Info:
      box.setIcon(QMessageBox::Information);
      box.setStandardButtons(B::Ok);
      break;
    case MsgKind::OkCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(B::Ok | B::Cancel);
      break;
    case MsgKind::YesNoCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(B::Yes | B::No | B::Cancel);
      break;
    case MsgKind::YesNo:
    case MsgKind::YesNoDefaultNo:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(B::Yes | B::No);
      box.setDefaultButton(kind == MsgKind::YesNoDefaultNo ? B::No : B::Yes);
      break;
    case MsgKind::StopOkCancel:
      box.setIcon(QMessageBox::Critical);
      box.setStandardButtons(B::Ok | B::Cancel);
      break;
  }
  switch (box.exec()) {
    case B::Ok: return kIdOk;
    case B::Yes: return kIdYes;
    case B::No: return kIdNo;
    default: return kind == MsgKind::YesNo || kind == MsgKind::YesNoDefaultNo ? kIdNo : kIdCancel;
  }
}

bool QtUserInterface::inputBox(std::string_view title, std::string_view prompt, std::string& value,
                               std::size_t maxLength) {
  bool ok = false;
  const QString answer = QInputDialog::getText(QApplication::activeWindow(), qstr(title),
                                               qstr(prompt), QLineEdit::Normal, qstr(value), &ok);
  if (!ok) return false;
  value = stdstr(answer.left(static_cast<qsizetype>(maxLength)));
  return true;
}

std::string QtUserInterface::chooseFile(FileDialogMode mode, std::string_view title) {
  const QString filter = QStringLiteral("File di risorse (*.rc *.RC)");
  const QString folder = QDir::currentPath();
  QWidget* owner = QApplication::activeWindow();
  const QString chosen =
      mode == FileDialogMode::Open
          ? QFileDialog::getOpenFileName(owner, qstr(title), folder, filter)
          : QFileDialog::getSaveFileName(owner, qstr(title), folder, filter, nullptr,
                                         QFileDialog::DontConfirmOverwrite);
  return QFile::encodeName(chosen).toStdString();
}

std::string QtUserInterface::clipboardText() {
  return fromDisplay(stdstr(QGuiApplication::clipboard()->text()), encoding_);
}

void QtUserInterface::setClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(qstr(toDisplay(text, encoding_)));
}

int QtUserInterface::runAndWait(const std::string& program, const std::vector<std::string>& args) {
  QStringList arguments;
  for (const std::string& a : args) arguments << QFile::decodeName(a.c_str());
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(QFile::decodeName(program.c_str()), arguments);
  if (!process.waitForStarted(-1)) return -1;
  // Poll every 2 ms and keep the event loop running, so the program's windows repaint.
  while (process.state() != QProcess::NotRunning) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!process.waitForFinished(2)) continue;
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

std::string QtUserInterface::readSetting(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) {
  return readIniValue(settingsPath_, section, key, defaultValue);
}

void QtUserInterface::writeSetting(std::string_view section, std::string_view key,
                                   std::string_view value) {
  writeIniValue(settingsPath_, section, key, value);
}

void QtUserInterface::beep() { QApplication::beep(); }

void QtUserInterface::openUrl(std::string_view url) {
  QDesktopServices::openUrl(QUrl(qstr(url), QUrl::TolerantMode));
}

}  // namespace kolvre
