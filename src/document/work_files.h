// Work files: the temporary copies of a resource handed to an external editor.
#pragma once

#include <string>

namespace kolvre {

// Work file names begin with this byte, so that leftovers are easy to recognise.
inline constexpr char kWorkFileMark = '\x7F';

// GETNEWFNAME: the mark, today's date as eight digits and the hundredths of a second since
// midnight, without a folder. Two calls in one run never give the same name.
std::string GETNEWFNAME();

// Deletes the files of `folder` whose names begin with the work-file mark (leftovers of a run
// that ended abruptly). Returns how many were deleted.
int deleteWorkFiles(const std::string& folder);

}  // namespace kolvre
