// Which editor a recovery file belongs to: the editor that writes a script's recovery file holds
// an exclusive lock on a file beside it for as long as it keeps that file. The kernel lets the
// lock go when the process ends, however it ends (a crash, SIGKILL, a zombie its parent has not
// waited for), so a held lock is a live editor and a free one is not, whatever process the id
// in the recovery file names today.
#pragma once

#include <string>

namespace kolvre {

// The lock file of a recovery file: its path with ".lock" in place of ".rec".
std::string recoveryLockPath(const std::string& recoveryFile);

// Makes the folders of a path that are missing, owner-only as the XDG rules ask. 0, or the errno
// of the step that failed.
[[nodiscard]] int makePrivateFolders(const std::string& folder);

// This process's hold on the lock of one recovery file.
class RecoveryLock {
 public:
  RecoveryLock() = default;
  // Closes the lock file without removing it, exactly as the end of the process would.
  ~RecoveryLock();
  RecoveryLock(const RecoveryLock&) = delete;
  RecoveryLock& operator=(const RecoveryLock&) = delete;

  // Takes the lock of `recoveryFile` (closing any other this object held). 0 when this process
  // holds it now; EWOULDBLOCK when another editor does; else the errno of the step that failed.
  [[nodiscard]] int take(const std::string& recoveryFile);
  // Lets it go and removes the lock file; call it once the recovery file is gone.
  void release();
  bool holds(const std::string& recoveryFile) const { return fd_ >= 0 && file_ == recoveryFile; }

 private:
  int fd_ = -1;
  std::string file_;  // the recovery file the lock is for
};

// Whether a running editor holds the lock of `recoveryFile` (this process counts too, through
// any RecoveryLock of its own).
bool recoveryLockHeld(const std::string& recoveryFile);

// Removes a recovery file no running editor holds, and its lock file. False, leaving both, when
// an editor holds it.
bool removeUnheldRecoveryFile(const std::string& recoveryFile);

}  // namespace kolvre
