// Recovery after a crash: the keeper that holds the open script's recovery file up to date while
// the editor runs, and the question, when a script is opened, whether to take back the changes
// an editor that ended without saving them left for it (recovery_file.h: the file itself).
#pragma once

#include <string>

#include "document/document.h"
#include "document/recovery_file.h"
#include "document/recovery_lock.h"
#include "platform/user_interface.h"

namespace kolvre {

// The recovery file of the document's script: written (write()) while the text has unsaved
// changes, as their difference from the file on disk as last loaded or saved (the base);
// removed once there are none (a save, an undo back to the saved text), when another script
// takes the document's place, and on a clean close. The keeper holds the file's lock
// (recovery_lock.h) from its first write until it removes the file: it never writes over nor
// removes a recovery file it does not hold, which is another running editor's or one left for
// the question at the next open.
class RecoveryKeeper {
 public:
  // `folder`: where the recovery files go; empty: nowhere, and nothing is kept.
  explicit RecoveryKeeper(const Document& doc, std::string folder = recoveryFolder());

  // The document changed: write() has something to do.
  void noteChange() { changed_ = true; }
  // After each command: takes a new base, and removes the file, when the document holds another
  // script or its text is again the saved one. True when nothing unsaved is left to keep.
  bool afterCommand();
  // Writes the recovery file now, or removes it when nothing is unsaved. 0, or the errno of the
  // failed write. A recovery file of another editor (running, or ended since the script was
  // opened) is left as it stands, and that is no failure.
  [[nodiscard]] int write();
  // write(), and the first failure of the session told to the user: "Impossibile scrivere il
  // file di recupero FILE: REASON.".
  void writeOrTell(UserInterface& ui);
  // A clean close (the changes saved, or given up by the user): removes the file.
  void closed();
  // The changes of an earlier editor's recovery file were taken into the document: the file is
  // the keeper's from now on, written over at the next write and removed as its own.
  void adopt();

  // The current script's recovery file; empty when none is kept.
  std::string file() const { return recoveryFilePath(folder_, script_); }
  const std::string& folder() const { return folder_; }
  // Whether this keeper holds the lock of recovery file `path`.
  bool holds(const std::string& path) const { return lock_.holds(path); }

 private:
  void takeBase();
  void followScript();
  void removeOwnFile();

  const Document& doc_;
  std::string folder_;
  std::string script_;    // the script the base belongs to
  std::string base_;      // its bytes on disk, as loaded or last saved
  bool changed_ = false;  // changed since the text was last the saved one
  RecoveryLock lock_;     // held from the first write of script_'s file until it is removed
  bool failureTold_ = false;
};

// Offers the changes a recovery file in the keeper's folder holds for the document's script, just
// loaded. When no running editor holds that file (its lock is free: its writer has ended, even if
// its process id now names another process or a zombie), asks "Ci sono modifiche non salvate di
// FILE (data ora). Recuperarle?": Yes makes them one undo step ("Recupero"; the script stays
// unsaved, and the keeper adopts the file), No removes the file. A file that cannot be read, or
// whose base is no longer the file on disk, is removed after a message; one a running editor
// holds is left alone. True when the changes were applied.
bool offerRecovery(UserInterface& ui, Document& doc, RecoveryKeeper& keeper);

}  // namespace kolvre
