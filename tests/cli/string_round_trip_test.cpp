// Every string of every corpus script, listed by strings and given back to string-set as it
// was printed, leaves the script's bytes as they were; so does every dialog's caption, as
// dialog-props prints it, given back after another text stood in its place.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "document/script_file.h"
#include "support/cli_run.h"
#include "support/corpus.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::cli;
using testing::CliRun;

// Each corpus script copied into a folder of its own, `visit(name, file, bytes, dir)` called on
// the copy; a fatal failure inside stops the walk.
template <typename Visit>
void forEachCorpusCopy(Visit visit) {
  for (const std::string& name : testing::corpusScripts()) {
    SCOPED_TRACE(name);
    const FileRead read = readWholeFile((testing::kCorpusDir / name).string());
    ASSERT_EQ(read.error, 0);
    const testing::TempDir dir;
    visit(name, dir.write(name, read.bytes), read.bytes, dir);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(StringRoundTrip, EveryCorpusStringSetToItsListedTextChangesNoByte) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t strings = 0, unchanged = 0;
  forEachCorpusCopy([&](const std::string& name, const std::string& file, const std::string& bytes,
                        const testing::TempDir& dir) {
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
      const bool same = testing::TempDir::read(file) == bytes;
      EXPECT_TRUE(same) << line;
      if (same) {
        ++unchanged;
      } else {
        dir.write(name, bytes);
      }
    }
  });
  std::cout << strings << " strings listed, " << unchanged << " set to their text unchanged\n";
}

TEST(StringRoundTrip, EveryCorpusCaptionChangedAndSetBackToItsShownTextGivesTheBytesBack) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t captions = 0;
  forEachCorpusCopy([&](const std::string&, const std::string& file, const std::string& bytes,
                        const testing::TempDir&) {
    std::istringstream rows(cli({"list", file}).out);
    std::size_t nth = 0;
    std::string previous;
    for (std::string row; std::getline(rows, row);) {
      const std::size_t tab = row.find('\t');
      const std::string resource = row.substr(0, tab);
      nth = resource == previous ? nth + 1 : 1;
      previous = resource;
      if (row.compare(tab + 1, 2, "D\t") != 0 && row.compare(tab + 1, 2, "D") != 0) continue;
      const std::vector<std::string> which = {resource, "--nth", std::to_string(nth)};
      std::vector<std::string> args = {"dialog-props", file};
      args.insert(args.end(), which.begin(), which.end());
      const CliRun shown = cli(args);
      if (shown.code != 0) continue;  // a dialog the reader refuses, said so
      const std::size_t at = shown.out.find("Titolo:\t");
      ASSERT_NE(at, std::string::npos) << shown.out;
      const std::size_t from = at + 8;
      const std::string caption = shown.out.substr(from, shown.out.find('\n', from) - from);
      // (The form takes a typed caption's trailing blanks away.)
      if (caption.empty() || caption.back() == ' ') continue;
      ++captions;
      for (const std::string& text : {caption + " x", caption}) {
        std::vector<std::string> set = args;
        set.insert(set.end(), {"--caption", text});
        const CliRun stored = cli(set);
        ASSERT_EQ(stored.code, 0) << row << '\n' << stored.err;
      }
      ASSERT_TRUE(testing::TempDir::read(file) == bytes) << row << ": " << caption;
    }
  });
  std::cout << captions << " captions changed and set back\n";
}

// Every fixed field of every corpus version resource, as version prints it, given back to
// version-set leaves the script's bytes as they were.
TEST(StringRoundTrip, EveryCorpusVersionFieldSetToItsPrintedValueChangesNoByte) {
  const std::vector<std::string> scripts = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(scripts.empty() ? std::string() : scripts.front());
  std::size_t fields = 0;
  forEachCorpusCopy([&](const std::string&, const std::string& file, const std::string& bytes,
                        const testing::TempDir&) {
    std::istringstream rows(cli({"list", file}).out);
    std::map<std::string, int> seen;
    for (std::string row; std::getline(rows, row);) {
      const std::size_t tab = row.find('\t');
      const std::string resource = row.substr(0, tab);
      const int nth = ++seen[resource + row.substr(tab, 3)];
      if (row.compare(tab + 1, 3, "VI\t") != 0 && row.substr(tab + 1) != "VI") continue;
      const CliRun shown = cli({"version", file, resource, "--nth", std::to_string(nth)});
      if (shown.code != 0) continue;  // a resource the reader refuses, said so
      std::istringstream lines(shown.out);
      for (std::string line; std::getline(lines, line);) {
        const std::size_t at = line.find('\t');
        // The fixed fields' lines: a keyword, a tab, the value; the values' lines have three.
        if (at == std::string::npos || line.find('\t', at + 1) != std::string::npos) continue;
        ++fields;
        const CliRun set = cli({"version-set", file, resource, line.substr(0, at),
                                line.substr(at + 1), "--nth", std::to_string(nth)});
        EXPECT_EQ(set.code, 0) << line << '\n' << set.err;
        ASSERT_TRUE(testing::TempDir::read(file) == bytes) << line;
      }
    }
  });
  std::cout << fields << " version fields set to their printed value\n";
  EXPECT_GT(fields, 0u);
}

}  // namespace
}  // namespace kolvre
