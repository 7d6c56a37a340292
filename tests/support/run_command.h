// Running an external program from a test (a resource compiler, a preprocessor): the command
// line through the shell, with what it printed on standard output and standard error.
#pragma once

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kolvre::testing {

// A word for the shell's command line: in apostrophes, each apostrophe inside it escaped.
inline std::string shellQuoted(std::string_view word) {
  std::string out = "'";
  for (char c : word) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  out += '\'';
  return out;
}

struct CommandRun {
  bool ok = false;     // ran and ended with status 0
  std::string output;  // standard output and standard error, as printed
};

inline CommandRun runCommand(const std::string& command) {
  CommandRun run;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t read = 0;
  while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, read);
  const int status = pclose(pipe);
  run.ok = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// A program's path: the environment variable `variable` when it is set, else the first of
// `names` the shell finds; empty when none is there.
inline std::string findProgram(const char* variable, std::initializer_list<const char*> names) {
  if (const char* given = std::getenv(variable)) return given;
  for (const char* name : names) {
    const CommandRun run = runCommand(std::string("command -v ") + name);
    if (run.ok && !run.output.empty()) return run.output.substr(0, run.output.find('\n'));
  }
  return {};
}

}  // namespace kolvre::testing
