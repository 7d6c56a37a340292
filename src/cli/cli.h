// kolvre-cli: batch commands over the same document code as the editor.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace kolvre {

class FontMeasure;

// The text measure of `check`, made when it is first asked for: the other commands never start
// a font system. It may give null: the rules that measure are then skipped.
using MeasureSource = std::function<const FontMeasure*()>;

// Exit codes: 0 done, 1 refused or failed (the reason went to `err`), 2 usage error. `check`
// has its own: 0 no finding, 1 findings, 2 a file that could not be read.
int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const MeasureSource& measure = {});

}  // namespace kolvre
