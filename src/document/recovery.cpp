#include "document/recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

#include "base/text.h"
#include "document/work_files.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

// The first bytes of a file, at most `limit`; empty when it cannot be read.
std::string readHead(const std::string& path, std::size_t limit) {
  std::string head;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return head;
  head.resize(limit);
  std::size_t got = 0;
  while (got < limit) {
    const ssize_t n = ::read(fd, head.data() + got, limit - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  head.resize(got);
  return head;
}

// The one splice that turns `before` into `after`: the bytes between their common head and tail.
Edit recoveryEdit(std::string_view before, std::string_view after) {
  const std::size_t head = commonHead(before, after);
  const std::size_t tail = commonTail(before, after, std::min(before.size(), after.size()) - head);
  Edit edit;
  edit.label = "Recupero";
  edit.splices.push_back(
      {head, before.size() - tail, std::string(after.substr(head, after.size() - head - tail))});
  return edit;
}

void removeRecoveryFile(const std::string& path) {
  if (!path.empty()) ::unlink(path.c_str());
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(const Document& doc, std::string folder)
    : doc_(doc), folder_(std::move(folder)), script_(doc.fileName()), changed_(doc.unsaved()) {
  takeBase();
}

void RecoveryKeeper::takeBase() {
  // The text as it stands is the file's content when nothing is unsaved (the bytes a save writes
  // are the bytes read: the on-disk form round-trips); else the file is read again.
  base_ = !doc_.unsaved() ? doc_.diskBytes() : readWholeFile(script_).bytes;
}

void RecoveryKeeper::removeFile(const std::string& script) const {
  const std::string path = recoveryFilePath(folder_, script);
  if (!path.empty() && !heldByAnotherEditor(path)) removeRecoveryFile(path);
}

bool RecoveryKeeper::afterCommand() {
  if (doc_.fileName() != script_) {
    removeFile(script_);
    script_ = doc_.fileName();
    changed_ = doc_.unsaved();
    takeBase();
    return !changed_;
  }
  if (!changed_) return true;
  if (doc_.unsaved()) return false;
  removeFile(script_);
  takeBase();
  changed_ = false;
  return true;
}

int RecoveryKeeper::write() {
  const std::string path = file();
  if (path.empty() || doc_.fileName() != script_) return 0;  // afterCommand comes first
  if (!doc_.unsaved()) {
    removeFile(script_);
    return 0;
  }
  if (heldByAnotherEditor(path)) return 0;
  RecoveryRecord record;
  record.script = fullPath(script_);
  record.pid = static_cast<long>(::getpid());
  record.time = static_cast<std::int64_t>(std::time(nullptr));
  setRecoveryData(record, base_, doc_.diskBytes());
  return writeRecoveryFile(path, encodeRecovery(record));
}

bool heldByAnotherEditor(const std::string& path) {
  // The header through the pid line: the path, its length and a few short lines.
  const std::optional<long> writer = recoveryWriter(readHead(path, 8192));
  return writer && *writer != static_cast<long>(::getpid()) && processRunning(*writer);
}

bool offerRecovery(UserInterface& ui, Document& doc, const std::string& folder) {
  const std::string path = recoveryFilePath(folder, doc.fileName());
  if (path.empty() || doc.unsaved()) return false;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return false;
  // Only a regular file is read: a pipe put there would never end.
  FileRead read = S_ISREG(st.st_mode) ? readFileBytes(path) : FileRead{{}, EINVAL};
  const std::string name = std::filesystem::path(doc.fileName()).filename().string();
  const std::string unreadable =
      "Il file di recupero di " + name + " non è leggibile e viene ignorato.";
  const std::optional<RecoveryRecord> record =
      read.error == 0 ? decodeRecovery(read.bytes) : std::nullopt;
  if (!record || record->script != fullPath(doc.fileName())) {
    inform(ui, unreadable);
    removeRecoveryFile(path);
    return false;
  }
  // An editor still running has the script open: its changes are its own.
  if (record->pid != static_cast<long>(::getpid()) && processRunning(record->pid)) return false;
  const std::string base = doc.diskBytes();
  RecoveredText recovered = recoveredText(*record, base);
  const std::string when = recoveryTimeText(record->time);
  if (recovered.check != RecoveryCheck::Ok) {
    inform(ui, recovered.check == RecoveryCheck::BaseChanged
                   ? "Le modifiche non salvate di " + name + " (" + when +
                         ") non si possono recuperare: il file è stato modificato in seguito.;"
                         "Il file di recupero viene ignorato."
                   : unreadable);
    removeRecoveryFile(path);
    return false;
  }
  if (recovered.text == base ||
      !showMessage(ui, "Ci sono modifiche non salvate di " + name + " (" + when + "). Recuperarle?",
                   MessageKind::YesNo)
           .accepted()) {
    removeRecoveryFile(path);
    return false;
  }
  const bool applied =
      doc.commit(recoveryEdit(doc.text(), fromDisk(std::move(recovered.text)).text));
  if (!applied) removeRecoveryFile(path);
  return applied;
}

}  // namespace kolvre
