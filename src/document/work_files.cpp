#include "document/work_files.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFolderPrefix = "kolvre-";
constexpr const char* kPidFile = "pid";

// The process id a work folder records; nothing when it records none.
std::optional<long> recordedPid(const fs::path& folder) {
  std::ifstream in(folder / kPidFile);
  long pid = 0;
  if (!(in >> pid)) return std::nullopt;
  return pid;
}

}  // namespace

bool processRunning(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

WorkFolder::WorkFolder(const std::string& base) {
  std::string pattern =
      (fs::path(base) / (std::string(kFolderPrefix) + std::to_string(::getpid()) + "-XXXXXX"))
          .string();
  if (!::mkdtemp(pattern.data())) return;  // mkdtemp makes it with owner-only permissions
  std::ofstream pid(fs::path(pattern) / kPidFile);
  pid << ::getpid() << '\n';
  if (!pid.flush()) {
    std::error_code ec;
    fs::remove_all(pattern, ec);
    return;
  }
  path_ = pattern;
}

WorkFolder::~WorkFolder() {
  if (path_.empty()) return;
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string WorkFolder::newFile(std::string_view suffix) {
  if (path_.empty())
    throw CommandError(fileErrorRecord(EACCES, kGenCreate, workFolderBase(), "creazione"));
  for (int attempt = 0;; ++attempt) {
    const std::string file =
        (fs::path(path_) / ("risorsa" + std::to_string(++counter_) + std::string(suffix))).string();
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return file;
    }
    if (errno != EEXIST || attempt == 100)
      throw CommandError(fileErrorRecord(errno, kGenCreate, file, "creazione"));
  }
}

std::string workFolderBase() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && fs::path(runtime).is_absolute()) {
    std::error_code ec;
    if (fs::is_directory(runtime, ec)) return runtime;
  }
  std::error_code ec;
  const fs::path temp = fs::temp_directory_path(ec);
  return ec ? std::string("/tmp") : temp.string();
}

WorkFolder& workFolder() {
  static WorkFolder folder(workFolderBase());
  return folder;
}

int removeLeftoverWorkFolders(const std::string& base) {
  std::error_code ec;
  int removed = 0;
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code kind;
    if (!name.starts_with(kFolderPrefix) || it->is_symlink(kind) || !it->is_directory(kind))
      continue;
    const std::optional<long> pid = recordedPid(it->path());
    if (!pid || processRunning(*pid)) continue;
    std::error_code gone;
    if (fs::remove_all(it->path(), gone) > 0 && !gone) ++removed;
  }
  return removed;
}

void writeWorkFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int err = errno;
  if (f && std::fclose(f) != 0 && ok)
    throw CommandError(fileErrorRecord(errno, kGenWrite, path, "scrittura"));
  if (!ok) throw CommandError(fileErrorRecord(err ? err : EIO, kGenCreate, path, "creazione"));
}

std::optional<std::string> configuredEditor(UserInterface& ui, std::string_view key,
                                            std::string_view what) {
  std::string editor = ui.readSetting("Edit", key, "");
  if (!editor.empty()) return editor;
  inform(ui, "Nessun editor " + std::string(what) +
                 " impostato.;Indicare il programma nella chiave " + std::string(key) +
                 " della sezione [Edit] del file " + ui.settingsFile() + ".");
  return std::nullopt;
}

bool runEditor(UserInterface& ui, const std::string& editor, std::string_view key,
               const std::string& file) {
  if (ui.runAndWait(editor, {file}) != -1) return true;
  inform(ui, "Impossibile avviare l'editor " + editor + ".;Controllare la chiave " +
                 std::string(key) + " della sezione [Edit] del file " + ui.settingsFile() + ".");
  return false;
}

}  // namespace kolvre
