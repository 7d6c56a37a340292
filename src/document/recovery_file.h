// The recovery file: the unsaved text of a script, kept on disk while the editor runs so that a
// crash does not lose it. One script has one recovery file, named from its absolute path.
//
// The file is a small text header, then the data, then an end line:
//
//   KOLVRE-RECOVERY 1
//   script <length>            the script's absolute path, <length> bytes, on the next line
//   <path>
//   pid <n>                    the editor that wrote it
//   time <n>                   when, in seconds since 1970-01-01 UTC
//   base <size> <hash>         the file on disk the data applies to
//   text <size> <hash>         the text the data gives
//   whole <length>             either the whole text, <length> bytes, on the next line,
//   diff <prefix> <suffix> <length>   or the bytes that replace all of the base but its first
//   <bytes>                           <prefix> and last <suffix> bytes
//   end
//
// Numbers are decimal without leading zeros; hashes are FNV-1a 64 of the bytes, as 16 lower-case
// hex digits. Every field has exactly this form, so a file reads back only as it was written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kolvre {

// FNV-1a, 64 bits.
std::uint64_t fnv1a64(std::string_view bytes);

struct RecoveryRecord {
  std::string script;          // the script's absolute path
  long pid = 0;                // the editor that wrote the file
  std::int64_t time = 0;       // when, seconds since 1970-01-01 UTC
  std::uint64_t baseSize = 0;  // the file on disk the data applies to
  std::uint64_t baseHash = 0;
  std::uint64_t textSize = 0;  // the text the data gives
  std::uint64_t textHash = 0;
  bool whole = false;        // `bytes` is the whole text; else the middle of a difference
  std::uint64_t prefix = 0;  // a difference keeps the base's first `prefix` bytes
  std::uint64_t suffix = 0;  // and its last `suffix` bytes
  std::string bytes;
  bool operator==(const RecoveryRecord&) const = default;
};

// Fills the base, the text and the data of `record` for `text` over `base`: the difference (the
// common head and tail of the two kept, the bytes between written), or the whole text where the
// difference would save fewer bytes than its numbers cost.
void setRecoveryData(RecoveryRecord& record, std::string_view base, std::string_view text);

enum class RecoveryCheck {
  Ok,
  BaseChanged,  // the file on disk is not the one the data applies to
  Damaged,      // the data does not give the text it promises
};

struct RecoveredText {
  RecoveryCheck check = RecoveryCheck::Damaged;
  std::string text;  // with Ok only
};

// The text the record gives over `base` (the file on disk, as read whole). Never reads outside
// the record or the base, whatever numbers the record holds.
RecoveredText recoveredText(const RecoveryRecord& record, std::string_view base);

// The file's bytes.
std::string encodeRecovery(const RecoveryRecord& record);

// The record of a file's bytes; nothing for anything that is not a whole recovery file of this
// version, exactly as encodeRecovery writes one (a truncated file, another file, garbage).
std::optional<RecoveryRecord> decodeRecovery(std::string_view bytes);

// The folder of the recovery files: $XDG_STATE_HOME/kolvre when XDG_STATE_HOME is an absolute
// path, else ~/.local/state/kolvre; empty when there is no home folder either.
std::string recoveryFolder();

// The recovery file of a script in `folder`: the FNV-1a 64 hash of the script's absolute path,
// in hex, with ".rec". Empty when `folder` or `script` is.
std::string recoveryFilePath(const std::string& folder, const std::string& script);

// Writes a recovery file: its folder made first (owner-only) when missing, then the bytes to a
// temporary file in that folder, flushed to the disk and renamed over the file. 0, or the errno
// of the failing step.
[[nodiscard]] int writeRecoveryFile(const std::string& path, std::string_view bytes);

// The date and time of a recovery file as the question shows it, local time: "dd/mm/yyyy hh:mm".
std::string recoveryTimeText(std::int64_t time);

}  // namespace kolvre
