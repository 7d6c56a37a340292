#include "document/disk_state.h"

#include <sys/stat.h>

namespace kolvre {

FileStamp fileStamp(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return {};
  FileStamp stamp;
  stamp.exists = true;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.modified =
      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  return stamp;
}

DiskNotice diskNotice(const DiskState& state, const FileStamp& now, bool unsaved) {
  if (!state.known || now == *state.known) return DiskNotice::None;
  if (state.noticed && now == *state.noticed) return DiskNotice::None;
  if (!now.exists) return DiskNotice::Deleted;
  return unsaved ? DiskNotice::ChangedOverUnsaved : DiskNotice::Changed;
}

bool diskCopyIsForeign(const DiskState& state, const FileStamp& now) {
  return state.known && now.exists && now != *state.known;
}

}  // namespace kolvre
