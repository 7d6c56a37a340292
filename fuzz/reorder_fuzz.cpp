// Fuzzes reading a file's bytes, indexing and reordering the script. Any broken rule between a
// text and its reordered form stops the run with the rule's description on standard error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/reorder.h"
#include "document/script_file.h"
#include "support/reorder_invariants.h"

#include "fuzz_check.h"

namespace {

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("reorder", violation, rule);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  require(testing::checkDiskRoundTrip(bytes), "disk round trip");

  const std::string text = fromDisk(bytes).text;
  const std::string out = reorderScript(text);
  require(testing::checkBlocksKept(text, out), "blocks kept");
  require(testing::checkSameNonSpaceBytes(text, out), "same bytes");
  require(testing::checkLinesKept(text, out), "lines whole");
  require(testing::checkSameIndex(text, out), "same index");
  require(testing::checkStretchesKept(text, out), "stretches kept");
  require(testing::checkIdempotent(out), "idempotent");
  return 0;
}
