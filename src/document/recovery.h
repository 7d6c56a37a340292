// Recovery after a crash: the keeper that holds the open script's recovery file up to date while
// the editor runs, and the question, when a script is opened, whether to take back the changes
// an editor that ended without saving them left for it (recovery_file.h: the file itself).
#pragma once

#include <string>

#include "document/document.h"
#include "document/recovery_file.h"
#include "platform/user_interface.h"

namespace kolvre {

// The recovery file of the document's script: written (write()) while the text has unsaved
// changes, as their difference from the file on disk as last loaded or saved (the base);
// removed once there are none (a save, an undo back to the saved text), when another script
// takes the document's place, and on a clean close. A recovery file another running editor
// wrote is never written over nor removed.
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
  // failed write.
  int write();
  // A clean close (the changes saved, or given up by the user): removes the file.
  void closed() const { removeFile(script_); }

  // The current script's recovery file; empty when none is kept.
  std::string file() const { return recoveryFilePath(folder_, script_); }

 private:
  void takeBase();
  void removeFile(const std::string& script) const;

  const Document& doc_;
  std::string folder_;
  std::string script_;    // the script the base belongs to
  std::string base_;      // its bytes on disk, as loaded or last saved
  bool changed_ = false;  // changed since the text was last the saved one
};

// Whether the recovery file at `path` was written by another editor that is still running.
bool heldByAnotherEditor(const std::string& path);

// Offers the changes a recovery file in `folder` holds for the document's script, just loaded.
// When an editor that is no longer running left one that applies to the file on disk, asks
// "Ci sono modifiche non salvate di FILE (data ora). Recuperarle?": Yes makes them one undo
// step ("Recupero"; the script stays unsaved, the recovery file until the keeper writes its
// own), No removes the file. A file that cannot be read, or whose base is no longer the file
// on disk, is removed after a message; one of a running editor is left alone. True when the
// changes were applied.
bool offerRecovery(UserInterface& ui, Document& doc, const std::string& folder = recoveryFolder());

}  // namespace kolvre
