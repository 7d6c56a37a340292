// What the fuzz targets share: stopping on a broken rule with a readable report.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kolvre::fuzzing {

// Aborts (so libFuzzer keeps the input) when `violation` says a rule was broken.
inline void require(const char* target, const std::string& violation, const char* rule) {
  if (violation.empty()) return;
  std::fprintf(stderr, "%s rule broken (%s): %s\n", target, rule, violation.c_str());
  std::abort();
}

// "" when the rule holds, else the description of what broke it.
inline std::string unless(bool holds, std::string what) {
  return holds ? std::string() : std::move(what);
}

}  // namespace kolvre::fuzzing
