#include "document/recovery_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace kolvre {

namespace {

namespace fs = std::filesystem;

bool sameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::string recoveryLockPath(const std::string& recoveryFile) {
  return fs::path(recoveryFile).replace_extension(".lock").string();
}

int makePrivateFolders(const std::string& folder) {
  fs::path made;
  for (const fs::path& part : fs::path(folder)) {
    made /= part;
    struct stat st {};
    if (::stat(made.c_str(), &st) == 0) continue;
    if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  }
  return 0;
}

RecoveryLock::~RecoveryLock() {
  if (fd_ >= 0) ::close(fd_);
}

int RecoveryLock::take(const std::string& recoveryFile) {
  if (holds(recoveryFile)) return 0;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  file_.clear();
  if (const int err = makePrivateFolders(fs::path(recoveryFile).parent_path().string())) return err;
  const std::string path = recoveryLockPath(recoveryFile);
  // An editor that lets go removes the file it locked, so a lock is good only on the file that
  // still stands under the name; after a few such races the lock is taken as not to be had.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      ::close(fd);
      return err;
    }
    struct stat locked {
    }, named{};
    if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 && sameFile(locked, named)) {
      fd_ = fd;
      file_ = recoveryFile;
      return 0;
    }
    ::close(fd);
  }
  return EWOULDBLOCK;
}

void RecoveryLock::release() {
  if (fd_ < 0) return;
  // Removed while still held, so that no other editor takes a lock on a file about to go.
  ::unlink(recoveryLockPath(file_).c_str());
  ::close(fd_);
  fd_ = -1;
  file_.clear();
}

bool recoveryLockHeld(const std::string& recoveryFile) {
  const int fd = ::open(recoveryLockPath(recoveryFile).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);  // and with it the shared lock, where it was taken
  return held;
}

bool removeUnheldRecoveryFile(const std::string& recoveryFile) {
  RecoveryLock lock;
  const bool taken = lock.take(recoveryFile) == 0;
  // A lock that cannot be made (a folder that is not writable) does not keep the file either.
  if (!taken && recoveryLockHeld(recoveryFile)) return false;
  ::unlink(recoveryFile.c_str());
  if (taken) lock.release();
  return true;
}

}  // namespace kolvre
