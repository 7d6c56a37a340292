// Reading and writing whole script files: the end-of-file mark, LF line ends, safe saves.
#pragma once

#include <string>
#include <string_view>

namespace kolvre {

// How the file on disk ends its lines. The document always works with CR LF in memory; a file
// that had only LF line ends is converted on reading and written back with LF.
enum class LineEnds { AsRead, Lf };

struct FileRead {
  std::string bytes;  // the whole file without one final Ctrl-Z (byte 26)
  int error = 0;      // errno of the failed open or read, 0 on success
};

// Reads a whole file. A file that cannot be read gives empty bytes and the error.
FileRead readWholeFile(const std::string& path);

// A script as the document holds it.
struct ScriptText {
  std::string text;  // CR LF line ends
  LineEnds lineEnds = LineEnds::AsRead;
};

// The in-memory form of a file's bytes: LF line ends become CR LF when the file has at least
// one LF and no CR LF at all; any other file is taken exactly as read.
ScriptText fromDisk(std::string bytes);

// The bytes to write for a text held in memory.
std::string toDisk(std::string_view text, LineEnds lineEnds);

// Whether a safe write waits for the bytes to reach the disk. A saved script does: the save is
// the user's word that the work is kept, even through a crash right after it. A settings write
// does not: it comes many times a minute, the wait costs about 10 ms a time on ext4, and the
// rename still leaves either the old file or the new one whole.
enum class Flush { ToDisk, Later };

// Writes the bytes to a temporary file in the target's folder, flushes it (and, after the
// rename, the folder) when `flush` says so, and renames it over the target, keeping the
// target's permissions (and writing through a symbolic link to the file it names). The old
// file stays intact when any step fails. Returns 0 or the errno of the failing step.
int writeFileSafely(const std::string& path, std::string_view bytes, Flush flush = Flush::ToDisk);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);

// A full path for a name typed or given on a command line (no symbolic links resolved).
std::string fullPath(const std::string& path);

// Appends ".RC" when the file-name part has no extension (no "." or nothing after the last one).
std::string withDefaultExtension(const std::string& path);

}  // namespace kolvre
