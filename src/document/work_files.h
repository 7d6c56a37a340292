// Work files: the temporary copies of a resource handed to an external editor, each in the
// editor's private work folder, and the run of that editor.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

namespace kolvre {

// The private folder of one running editor for its work files: made on first use with
// owner-only permissions under $XDG_RUNTIME_DIR (else the temporary folder), named
// "kolvre-<pid>-<random>", holding a file "pid" with the editor's process id; removed, with
// whatever is in it, when the editor ends. Nothing outside it is ever deleted.
class WorkFolder {
 public:
  // A folder under `base`; empty path when it cannot be made.
  explicit WorkFolder(const std::string& base);
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const std::string& path() const { return path_; }
  // A new file in the folder, created empty and exclusively (never an existing one), whose
  // name ends in `suffix` (".BMP", "" for none). A failure raises a CommandError.
  std::string newFile(std::string_view suffix = {});

 private:
  std::string path_;
  unsigned counter_ = 0;
};

// The folder work folders are made in: $XDG_RUNTIME_DIR when it is an absolute path, else the
// system's temporary folder.
std::string workFolderBase();

// This editor's work folder, made on first use under workFolderBase() and removed at exit.
WorkFolder& workFolder();

// Whether a process with this id is running (one of another user's counts).
bool processRunning(long pid);

// Removes the work folders under `base` of editors that are no longer running: those whose "pid"
// file names no running process. A folder of a running editor, one without a readable "pid"
// file and anything not named like a work folder are left alone. Returns how many were removed.
int removeLeftoverWorkFolders(const std::string& base);

// Writes a work file whole; a failure raises a CommandError for the error handler.
void writeWorkFile(const std::string& path, std::string_view bytes);

// The editor program of a key of [Edit] ("TXT", "BMP", "ICO"); nothing, after telling the user
// which key of which settings file to set, when there is none. `what` names the kind of editor
// ("di testo", "di immagini").
std::optional<std::string> configuredEditor(UserInterface& ui, std::string_view key,
                                            std::string_view what);

// Runs the editor on `file` and waits for it. False, after telling the user to check the key,
// when it cannot be started.
[[nodiscard]] bool runEditor(UserInterface& ui, const std::string& editor, std::string_view key,
                             const std::string& file);

}  // namespace kolvre
