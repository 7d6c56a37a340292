// Work files: the temporary copies of a resource handed to an external editor, and the run of
// that editor.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace kolvre {

// Work file names begin with this byte, so that leftovers are easy to recognise.
inline constexpr char kWorkFileMark = '\x7F';

// newWorkFileName: the mark, today's date as eight digits and the hundredths of a second since
// midnight, without a folder. Two calls in one run never give the same name.
std::string newWorkFileName();

// Deletes the files of `folder` whose names begin with the work-file mark (leftovers of a run
// that ended abruptly). Returns how many were deleted.
int deleteWorkFiles(const std::string& folder);

// Writes a work file whole; a failure raises a CommandError for the error handler.
void writeWorkFile(const std::string& path, std::string_view bytes);

// The editor program of a key of [Edit] ("TXT", "BMP", "ICO"); nothing, after telling the user
// which key of which settings file to set, when there is none. `what` names the kind of editor
// ("di testo", "di immagini").
std::optional<std::string> configuredEditor(UserInterface& ui, std::string_view key,
                                            std::string_view what);

// Runs the editor on `file` and waits for it. False, after telling the user to check the key,
// when it cannot be started.
bool runEditor(UserInterface& ui, const std::string& editor, std::string_view key,
               const std::string& file);

}  // namespace kolvre
