// Where windres and llvm-rc part: the verdicts of both compilers on each construct, kept in
// compilers/verdicts.txt, and what the checks report of it. The checks are held to the kept
// verdicts without the compilers; with them, the verdicts are taken again (missing compilers
// skip that test, unless KOLVRE_REQUIRE_RC_COMPILERS=1 makes it a failure).
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::shellQuoted;
using testing::TempDir;

const std::string kVerdicts = KOLVRE_TESTS_DIR "/checks/compilers/verdicts.txt";

struct VerdictCase {
  std::string what;
  bool windres = false;  // accepts
  bool llvmRc = false;
  std::set<std::string> rules;  // what the checks report
  std::string script;           // CR LF
};

std::vector<VerdictCase> readVerdicts() {
  std::istringstream in(TempDir::read(kVerdicts));
  std::vector<VerdictCase> cases;
  bool inScript = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("== ")) {
      cases.emplace_back();
      cases.back().what = line.substr(3);
      inScript = false;
    } else if (cases.empty() || (!inScript && (line.empty() || line.starts_with("#")))) {
      continue;
    } else if (inScript) {
      cases.back().script += line + "\r\n";
    } else if (line == "--") {
      inScript = true;
    } else if (line.starts_with("windres: ")) {
      cases.back().windres = line.substr(9) == "accepts";
    } else if (line.starts_with("llvm-rc: ")) {
      cases.back().llvmRc = line.substr(9) == "accepts";
    } else if (line.starts_with("check: ")) {
      std::istringstream words(line.substr(7));
      for (std::string word; words >> word;)
        if (word != "-") cases.back().rules.insert(word);
    } else {
      ADD_FAILURE() << "unread line in " << kVerdicts << ": " << line;
    }
  }
  // The blank lines between two cases are none of the script.
  for (VerdictCase& c : cases)
    while (c.script.ends_with("\r\n\r\n")) c.script.resize(c.script.size() - 2);
  return cases;
}

TEST(CompilerVerdicts, TheChecksReportWhatOnlyOneCompilerReads) {
  const std::vector<VerdictCase> cases = readVerdicts();
  ASSERT_GE(cases.size(), 5u) << kVerdicts;
  for (const VerdictCase& c : cases) {
    std::set<std::string> reported;
    for (const Finding& f : checkScript(c.script, "", nullptr))
      reported.insert(std::string(ruleInfo(f.rule).word));
    EXPECT_EQ(reported, c.rules) << c.what;
    // Where the compilers part, a check says so.
    if (c.windres != c.llvmRc) {
      EXPECT_FALSE(c.rules.empty()) << c.what;
    }
  }
}

using testing::findProgram;

// Each script compiled alone: windres with cpp as its preprocessor, llvm-rc on the script as
// written (it holds no preprocessor line).
TEST(CompilerVerdicts, TheCompilersGiveTheVerdictsKept) {
  const std::string windres = findProgram("KOLVRE_WINDRES", {"x86_64-w64-mingw32-windres"});
  const std::string llvmRc =
      findProgram("KOLVRE_LLVM_RC", {"llvm-rc", "llvm-rc-19", "llvm-rc-16", "llvm-rc-14"});
  const std::string cpp = findProgram("KOLVRE_CPP", {"cpp"});
  if (windres.empty() || llvmRc.empty() || cpp.empty()) {
    const char* required = std::getenv("KOLVRE_REQUIRE_RC_COMPILERS");
    if (required && std::string(required) == "1") FAIL() << "windres, llvm-rc or cpp missing";
    GTEST_SKIP() << "windres, llvm-rc or cpp missing";
  }
  TempDir dir;
  for (const VerdictCase& c : readVerdicts()) {
    const std::string rc = dir.write("case.rc", c.script);
    const testing::CommandRun byWindres =
        testing::runCommand(shellQuoted(windres) + " --preprocessor=" + shellQuoted(cpp) +
                            " --preprocessor-arg=-DRC_INVOKED -i " + shellQuoted(rc) + " -o " +
                            shellQuoted(dir.file("w.res")));
    EXPECT_EQ(byWindres.ok, c.windres) << c.what << "\n" << byWindres.output;
    const testing::CommandRun byLlvmRc =
        testing::runCommand(shellQuoted(llvmRc) + " /no-preprocess /FO " +
                            shellQuoted(dir.file("l.res")) + " " + shellQuoted(rc));
    EXPECT_EQ(byLlvmRc.ok, c.llvmRc) << c.what << "\n" << byLlvmRc.output;
  }
}

}  // namespace
}  // namespace kolvre
