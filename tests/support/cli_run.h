// The batch tool run inside the test's process: its exit code and what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace kolvre::testing {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

// `input` is its standard input; `measure`, the fonts a check measures texts with.
inline CliRun cli(const std::vector<std::string>& args, const std::string& input = {},
                  const MeasureSource& measure = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int code = runCli(args, in, out, err, measure);
  return {code, out.str(), err.str()};
}

}  // namespace kolvre::testing
