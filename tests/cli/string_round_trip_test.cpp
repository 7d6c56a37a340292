// Every string of every corpus script, listed by strings and given back to string-set as it
// was printed, leaves the script's bytes as they were.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "document/script_file.h"
#include "support/corpus.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun cli(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int code = runCli(args, in, out, err);
  return {code, out.str(), err.str()};
}

TEST(StringRoundTrip, EveryCorpusStringSetToItsListedTextChangesNoByte) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t strings = 0, unchanged = 0;
  for (const std::string& name : scripts) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    const testing::TempDir dir;
    const std::string file = dir.write(name, read.bytes);
    const CliRun listed = cli({"strings", file});
    ASSERT_EQ(listed.code, 0) << listed.err;
    std::istringstream lines(listed.out);
    for (std::string line; std::getline(lines, line);) {
      ++strings;
      // Language, ID and text, as `cut -f1`, `-f2` and `-f3` take them.
      const std::size_t id = line.find('\t') + 1, text = line.find('\t', id) + 1;
      ASSERT_GT(text, id) << line;
      const CliRun set = cli({"string-set", file, line.substr(id, text - id - 1), line.substr(text),
                              "--lang", line.substr(0, id - 1)});
      EXPECT_EQ(set.code, 0) << line << '\n' << set.err;
      const bool same = testing::TempDir::read(file) == read.bytes;
      EXPECT_TRUE(same) << line;
      if (same) {
        ++unchanged;
      } else {
        dir.write(name, read.bytes);
      }
    }
  }
  std::cout << strings << " strings listed, " << unchanged << " set to their text unchanged\n";
}

}  // namespace
}  // namespace kolvre
