#include "document/recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "base/text.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

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

void RecoveryKeeper::removeOwnFile() {
  const std::string path = file();
  if (path.empty() || !lock_.holds(path)) return;
  ::unlink(path.c_str());
  lock_.release();
}

void RecoveryKeeper::followScript() {
  removeOwnFile();
  script_ = doc_.fileName();
  changed_ = doc_.unsaved();
  takeBase();
}

bool RecoveryKeeper::afterCommand() {
  if (doc_.fileName() != script_) {
    followScript();
    return !changed_;
  }
  if (!changed_) return true;
  if (doc_.unsaved()) return false;
  removeOwnFile();
  takeBase();
  changed_ = false;
  return true;
}

int RecoveryKeeper::write() {
  const std::string path = file();
  if (path.empty() || doc_.fileName() != script_) return 0;  // afterCommand comes first
  if (!doc_.unsaved()) {
    removeOwnFile();
    return 0;
  }
  if (!lock_.holds(path)) {
    // Another running editor keeps this script's file: its changes are not written over.
    if (const int err = lock_.take(path)) return err == EWOULDBLOCK ? 0 : err;
    // Nor are those of an editor that ended meanwhile: they wait for the question at the next
    // open of the script.
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
      lock_.release();
      return 0;
    }
  }
  RecoveryRecord record;
  record.script = fullPath(script_);
  record.pid = static_cast<long>(::getpid());
  record.time = static_cast<std::int64_t>(std::time(nullptr));
  setRecoveryData(record, base_, doc_.diskBytes());
  return writeRecoveryFile(path, encodeRecovery(record));
}

void RecoveryKeeper::writeOrTell(UserInterface& ui) {
  const int err = write();
  if (err == 0 || failureTold_) return;
  failureTold_ = true;
  inform(ui,
         "Impossibile scrivere il file di recupero " + file() + ": " + std::strerror(err) + ".");
}

void RecoveryKeeper::closed() {
  removeOwnFile();
}

void RecoveryKeeper::adopt() {
  if (doc_.fileName() != script_) followScript();
  const std::string path = file();
  // Taken now, so that a save before the next write removes the file the changes came from;
  // where another editor has taken it meanwhile, the file stays its own.
  if (!path.empty()) (void)lock_.take(path);
}

bool offerRecovery(UserInterface& ui, Document& doc, RecoveryKeeper& keeper) {
  const std::string path = recoveryFilePath(keeper.folder(), doc.fileName());
  if (path.empty() || doc.unsaved()) return false;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return false;
  // A running editor has the script open (this one included): its changes are its own.
  if (keeper.holds(path) || recoveryLockHeld(path)) return false;
  // Only a regular file is read: a pipe put there would never end.
  FileRead read = S_ISREG(st.st_mode) ? readFileBytes(path) : FileRead{{}, EINVAL};
  const std::string name = std::filesystem::path(doc.fileName()).filename().string();
  const std::string unreadable =
      "Il file di recupero di " + name + " non è leggibile e viene ignorato.";
  const std::optional<RecoveryRecord> record =
      read.error == 0 ? decodeRecovery(read.bytes) : std::nullopt;
  if (!record || record->script != fullPath(doc.fileName())) {
    inform(ui, unreadable);
    removeUnheldRecoveryFile(path);
    return false;
  }
  const std::string base = doc.diskBytes();
  RecoveredText recovered = recoveredText(*record, base);
  const std::string when = recoveryTimeText(record->time);
  if (recovered.check != RecoveryCheck::Ok) {
    inform(ui, recovered.check == RecoveryCheck::BaseChanged
                   ? "Le modifiche non salvate di " + name + " (" + when +
                         ") non si possono recuperare: il file è stato modificato in seguito.;"
                         "Il file di recupero viene ignorato."
                   : unreadable);
    removeUnheldRecoveryFile(path);
    return false;
  }
  if (recovered.text == base ||
      !showMessage(ui, "Ci sono modifiche non salvate di " + name + " (" + when + "). Recuperarle?",
                   MessageKind::YesNo)
           .accepted()) {
    removeUnheldRecoveryFile(path);
    return false;
  }
  const bool applied =
      doc.commit(recoveryEdit(doc.text(), fromDisk(std::move(recovered.text)).text));
  if (applied)
    keeper.adopt();
  else
    removeUnheldRecoveryFile(path);
  return applied;
}

}  // namespace kolvre
