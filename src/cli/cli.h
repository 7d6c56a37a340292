// kolvre-cli: batch commands over the same document code as the editor.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kolvre {

// Exit codes: 0 done, 1 refused or failed (the reason went to `err`), 2 usage error.
int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace kolvre
