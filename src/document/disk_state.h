// The script's file as it stands on disk, and what to tell the user when another program
// changed it: the stamp of the file (existence, size, modification time, file number) as of the
// last load or save, and the pure rules that compare it with the file as it stands now.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kolvre {

// What a look at a file's status gives. A missing (or unreadable) file is the default stamp.
struct FileStamp {
  bool exists = false;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since the epoch
  // The file number: a file replaced through a rename (git, many editors) is another file,
  // even at the same size and time.
  std::uint64_t inode = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a path names (through symbolic links).
FileStamp fileStamp(const std::string& path);

// What the document knows of its file on disk. Both are empty for a text not read from a file.
struct DiskState {
  std::optional<FileStamp> known;    // as of the last load or save
  std::optional<FileStamp> noticed;  // the change on disk last asked or told about
};

// What to tell the user about the file on disk.
enum class DiskNotice {
  None,                // as loaded or saved, already asked about, or no file known
  Changed,             // "Ricaricarlo?"
  ChangedOverUnsaved,  // "Ricaricarlo? Le modifiche non salvate andranno perse."
  Deleted,             // "... eliminato ...": said once
};

// The notice for the file standing as `now`: once per change, none for the stamp already
// asked about.
DiskNotice diskNotice(const DiskState& state, const FileStamp& now, bool unsaved);

// Before a save over the same file: true when the copy on disk is another program's (it exists
// and is not the file last loaded or saved), so that writing would replace that program's work.
bool diskCopyIsForeign(const DiskState& state, const FileStamp& now);

}  // namespace kolvre
