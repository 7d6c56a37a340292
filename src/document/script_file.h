// Reading and writing whole script files: the end-of-file mark, LF line ends, UTF-16, safe saves.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kolvre {

// How the file on disk ends its lines. The document always works with CR LF in memory; a file
// that had only LF line ends is converted on reading and written back with LF.
enum class LineEnds { AsRead, Lf };

// Whether the file is UTF-16 (with its byte-order mark). The document works on such a file as
// UTF-8 without the mark, and writes it back in its own form.
enum class Utf16 : std::uint8_t { None, LittleEndian, BigEndian };

// Everything about a file's form on disk that the document keeps apart from its text.
struct DiskForm {
  LineEnds lineEnds = LineEnds::AsRead;
  Utf16 utf16 = Utf16::None;
  bool operator==(const DiskForm&) const = default;
};

struct FileRead {
  std::string bytes;  // the whole file (readWholeFile: without one final Ctrl-Z, byte 26)
  int error = 0;      // errno of the failed open or read, 0 on success
};

// Reads a whole file. A file that cannot be read gives empty bytes and the error.
[[nodiscard]] FileRead readWholeFile(const std::string& path);

// Reads a whole file byte for byte, a final Ctrl-Z included (image files).
[[nodiscard]] FileRead readFileBytes(const std::string& path);

// Drops one final Ctrl-Z (the end-of-file mark) from text read whole.
void dropEndOfFileMark(std::string& bytes);

// A script as the document holds it.
struct ScriptText {
  std::string text;  // CR LF line ends; UTF-8 for a UTF-16 file
  DiskForm form;
};

// The in-memory form of a file's bytes. Bytes that begin with a UTF-16 byte-order mark (either
// order) are decoded to UTF-8 and the mark dropped (a character that cannot be decoded becomes
// U+FFFD: utf16Problem tells beforehand). Then LF line ends become CR LF when the text has at
// least one LF and no CR LF at all; any other text is taken exactly as read.
ScriptText fromDisk(std::string bytes);

// The bytes to write for a text held in memory: its line ends, then for a UTF-16 file the
// byte-order mark and the text in UTF-16. Bytes of the text that are not UTF-8 are written as
// the Windows-1252 characters they stand for.
std::string toDisk(std::string_view text, DiskForm form);

// The text with the file's line ends, still in memory's encoding (for the clipboard).
std::string withLineEnds(std::string_view text, LineEnds lineEnds);

// Why bytes that begin with a UTF-16 byte-order mark could not be written back exactly after
// reading (an odd number of bytes, a surrogate without its pair), as a sentence; empty when
// they can, or are no UTF-16.
std::string utf16Problem(std::string_view bytes);

// What writeFileSafely gives for a target that exists but is no regular file (a device, a pipe).
inline constexpr int kNotARegularFile = -1;

// Whether a safe write waits for the bytes to reach the disk. A saved script does: the save is
// the user's word that the work is kept, even through a crash right after it. A settings write
// does not: it comes many times a minute, the wait costs about 10 ms a time on ext4, and the
// rename still leaves either the old file or the new one whole.
enum class Flush { ToDisk, Later };

// Writes the bytes to a temporary file in the target's folder, flushes it (and, after the
// rename, the folder) when `flush` says so, and renames it over the target, keeping the
// target's permissions; through symbolic links (any number, dangling ones too) the file they
// name is written. A target that is a folder, no regular file, or has no write permission bits
// (even for a user who could write it) is refused. The old file stays intact, and no temporary
// file remains, when any step fails, a file-size limit included. Returns 0, kNotARegularFile,
// or the errno of the failing step.
[[nodiscard]] int writeFileSafely(const std::string& path, std::string_view bytes,
                                  Flush flush = Flush::ToDisk);

// Why writeFileSafely would fail before writing anything (the checks it makes of the target,
// and a folder where no file can be made), as the same codes; 0 when nothing stands in the way.
// A save of several files asks it of each before it writes any.
[[nodiscard]] int writableProblem(const std::string& path);

// The reason a save failed, as a sentence for the second line of the message.
std::string saveFailureReason(int error);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);

// A full path for a name typed or given on a command line (no symbolic links resolved).
std::string fullPath(const std::string& path);

// Appends ".RC" when the file-name part has no extension (no "." or nothing after the last one).
std::string withDefaultExtension(const std::string& path);

}  // namespace kolvre
