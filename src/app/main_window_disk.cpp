// The main window and the script's file on disk: the watcher, the check when the window is
// activated or the watcher reports the file, and the save with its status message
// (main_window.cpp: the window itself). The rules are Qt-free: document/disk_state.h decides,
// checkScriptOnDisk and saveScript ask.
#include <QFile>
#include <QFileSystemWatcher>
#include <QStatusBar>
#include <QTimer>

#include "app/main_window.h"
#include "document/document_commands.h"

namespace kolvre {

namespace {

// The watcher reports every step of another program's write: the check waits until the file
// has been still this long, so that one change asks one question.
constexpr int kDiskSettleMs = 200;
constexpr int kSavedMessageMs = 3000;

}  // namespace

void MainWindow::watchDisk() {
  watcher_ = new QFileSystemWatcher(this);
  diskTimer_ = new QTimer(this);
  diskTimer_->setSingleShot(true);
  connect(diskTimer_, &QTimer::timeout, this, &MainWindow::checkDisk);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
    // A file replaced through a rename or deleted is dropped by the watcher: watched again
    // when it stands there again.
    watchScriptFile();
    checkDiskSoon(kDiskSettleMs);
  });
  watchScriptFile();
}

void MainWindow::watchScriptFile() {
  const QString path = QFile::decodeName(doc_.fileName().c_str());
  const FileStamp now = fileStamp(doc_.fileName());
  const QStringList held = watcher_->files();
  if (now.exists && held == QStringList{path} && now.inode == watchedInode_) return;
  if (!held.isEmpty()) watcher_->removePaths(held);
  watchedInode_ = 0;
  if (now.exists && watcher_->addPath(path)) watchedInode_ = now.inode;
}

void MainWindow::checkDiskSoon(int delayMs) {
  diskTimer_->start(delayMs);
}

void MainWindow::checkDisk() {
  // Never in the middle of a command (a question up, the designer open): afterwards.
  if (dispatchDepth_ > 0 || modalEditors_ > 0) {
    diskCheckPutOff_ = true;
    return;
  }
  dispatch([this] { checkScriptOnDisk(ui_, doc_); });
}

void MainWindow::afterCommand() {
  updateTitle();
  watchScriptFile();
  if (diskCheckPutOff_) {
    diskCheckPutOff_ = false;
    checkDiskSoon(0);
  }
}

bool MainWindow::saveScriptFile(bool saveAs) {
  bool saved = false;
  dispatch([&] { saved = saveScript(ui_, doc_, saveAs); });
  if (saved) statusBar()->showMessage(QStringLiteral("Salvato."), kSavedMessageMs);
  // Inside the designer a command is still running: the title and the watcher follow now.
  updateTitle();
  watchScriptFile();
  return saved;
}

}  // namespace kolvre
