// Fuzzes the recovery-file reader. The input is two bytes n (little-endian), n bytes of the file
// on disk (the base; fewer when the input ends first) and then the recovery file's bytes. Any
// broken rule stops the run with the rule's description on standard error.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/recovery_file.h"

#include "fuzz_check.h"

namespace {

using namespace kolvre;
using fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  fuzzing::require("recovery", violation, rule);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t baseSize =
      size < 2 ? 0 : static_cast<std::size_t>(data[0]) | static_cast<std::size_t>(data[1]) << 8;
  const std::string_view rest = input.substr(size < 2 ? size : 2);
  const std::string_view base = rest.substr(0, baseSize);
  const std::string_view file = rest.substr(base.size());

  const std::optional<RecoveryRecord> record = decodeRecovery(file);
  if (!record) {
    // Any text over the base still makes a record that reads back.
    RecoveryRecord made;
    made.script = "/s.rc";
    made.pid = 1;
    setRecoveryData(made, base, file);
    const std::string bytes = encodeRecovery(made);
    const std::optional<RecoveryRecord> back = decodeRecovery(bytes);
    require(unless(back && *back == made, "a record made over the base does not read back"),
            "written records read back");
    const RecoveredText text = recoveredText(made, base);
    require(unless(text.check == RecoveryCheck::Ok && text.text == file,
                   "the text made over the base does not come back"),
            "written records give their text");
    require(
        unless(made.whole || made.bytes.size() < file.size(), "a difference as long as the text"),
        "a difference is shorter than the text");
    return 0;
  }
  // A file read is exactly one written: writing the record again gives the same bytes.
  require(unless(encodeRecovery(*record) == file, "the record read writes other bytes"),
          "files read back byte for byte");
  require(unless(record->pid > 0 && !record->script.empty(), "no writer or no script"),
          "a record has a writer and a script");
  // Cut short, it reads as nothing.
  for (const std::size_t cut : {file.size() - 1, file.size() / 2, file.size() - 5})
    if (cut < file.size())
      require(unless(!decodeRecovery(file.substr(0, cut)), "a truncated file was read"),
              "truncated files are not read");
  // Applied to any base, the text is the promised one or none.
  const RecoveredText text = recoveredText(*record, base);
  if (text.check == RecoveryCheck::Ok)
    require(unless(text.text.size() == record->textSize && fnv1a64(text.text) == record->textHash,
                   "the text given is not the one promised"),
            "the text given is the promised one");
  else
    require(unless(text.text.empty(), "a text given with a failed check"), "no text on failure");
  if (base.size() != record->baseSize || fnv1a64(base) != record->baseHash)
    require(unless(text.check == RecoveryCheck::BaseChanged, "applied over another base"),
            "only the base is patched");
  return 0;
}
