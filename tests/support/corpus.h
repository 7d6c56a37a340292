// The shared corpus of real resource scripts, for the tests that run the core over it. A fresh
// clone has no corpus: those tests skip, unless KOLVRE_REQUIRE_CORPUS=1 makes that a failure.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kolvre::testing {

inline const std::filesystem::path kCorpusDir = KOLVRE_CORPUS_DIR;

// The script files of the corpus by name, in name order (the manifest left out).
inline std::vector<std::string> corpusScripts() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpusDir, ec))
    if (entry.is_regular_file() && entry.path().filename() != "MANIFEST.tsv")
      names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline bool corpusRequired() {
  const char* v = std::getenv("KOLVRE_REQUIRE_CORPUS");
  return v && std::string(v) == "1";
}

// A test name from a file name: letters and digits kept, anything else becomes "_".
inline std::string corpusCaseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name.empty() ? "NoCorpus" : name;
}

// The cases of a test over the corpus: one per script, or one empty case that reports the
// missing corpus.
inline std::vector<std::string> corpusCases() {
  std::vector<std::string> names = corpusScripts();
  if (names.empty()) names.emplace_back();
  return names;
}

}  // namespace kolvre::testing

// Opens a test over one corpus script `name`: skips (or fails, where the corpus is required)
// when there is no corpus.
#define KOLVRE_CORPUS_CASE(name)                                                       \
  do {                                                                                 \
    if ((name).empty()) {                                                              \
      if (::kolvre::testing::corpusRequired())                                         \
        FAIL() << "no corpus at " << ::kolvre::testing::kCorpusDir;                    \
      GTEST_SKIP() << "no corpus of real scripts at " << ::kolvre::testing::kCorpusDir \
                   << " (a fresh clone has none)";                                     \
    }                                                                                  \
  } while (false)
