#include "document/script_file.h"

#include "syntax/encoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kolvre {

namespace fs = std::filesystem;

FileRead readWholeFile(const std::string& path) {
  FileRead result = readFileBytes(path);
  dropEndOfFileMark(result.bytes);
  return result;
}

FileRead readFileBytes(const std::string& path) {
  FileRead result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.error = errno;
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    result.error = EISDIR;
    return result;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      result.bytes.clear();
      break;
    }
    if (n == 0) break;
    result.bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return result;
}

void dropEndOfFileMark(std::string& bytes) {
  if (!bytes.empty() && bytes.back() == '\x1A') bytes.pop_back();
}

namespace {

constexpr std::string_view kBomLe = "\xFF\xFE";
constexpr std::string_view kBomBe = "\xFE\xFF";

Utf16 utf16Of(std::string_view bytes) {
  if (bytes.starts_with(kBomLe)) return Utf16::LittleEndian;
  if (bytes.starts_with(kBomBe)) return Utf16::BigEndian;
  return Utf16::None;
}

}  // namespace

ScriptText fromDisk(std::string bytes) {
  ScriptText script;
  script.form.utf16 = utf16Of(bytes);
  if (script.form.utf16 != Utf16::None)
    bytes = utf16ToUtf8(std::string_view(bytes).substr(2), script.form.utf16 == Utf16::BigEndian);
  if (bytes.find('\n') == std::string::npos || bytes.find("\r\n") != std::string::npos) {
    script.text = std::move(bytes);
    return script;
  }
  script.text.reserve(bytes.size() + bytes.size() / 16);
  for (char c : bytes) {
    if (c == '\n') script.text += '\r';
    script.text += c;
  }
  script.form.lineEnds = LineEnds::Lf;
  return script;
}

std::string utf16Problem(std::string_view bytes) {
  const Utf16 utf16 = utf16Of(bytes);
  if (utf16 == Utf16::None) return {};
  return utf16Fault(bytes.substr(2), utf16 == Utf16::BigEndian);
}

std::string toDisk(std::string_view text, DiskForm form) {
  if (form.utf16 == Utf16::None) return withLineEnds(text, form.lineEnds);
  const bool big = form.utf16 == Utf16::BigEndian;
  std::string out(big ? kBomBe : kBomLe);
  out += utf8ToUtf16(withLineEnds(text, form.lineEnds), big);
  return out;
}

std::string withLineEnds(std::string_view text, LineEnds lineEnds) {
  if (lineEnds == LineEnds::AsRead) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

namespace {

// The file a save replaces: through any number of symbolic links (relative ones read from the
// link's own folder), the file the last one names, whether or not it exists yet. Empty when the
// links go round in a circle.
std::string saveTarget(const std::string& path) {
  fs::path p(path);
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(p, ec))) return p.string();
    const fs::path next = fs::read_symlink(p, ec);
    if (ec) return p.string();
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return {};
}

// While a save writes, going past the file-size limit makes the write fail (EFBIG) instead of
// ending the program, so that the temporary file is removed and the failure reported.
class FileSizeSignalIgnored {
 public:
  FileSizeSignalIgnored() { previous_ = std::signal(SIGXFSZ, SIG_IGN); }
  ~FileSizeSignalIgnored() {
    if (previous_ != SIG_ERR) std::signal(SIGXFSZ, previous_);
  }
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

 private:
  void (*previous_)(int) = SIG_ERR;
};

mode_t defaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

namespace {

// Why the file a safe write would write (`target`, links followed) may not be replaced: 0 when
// it may; `st` and `exists` tell what stands there.
int replaceProblem(const std::string& target, struct stat& st, bool& exists) {
  exists = ::stat(target.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return errno;
  if (exists && S_ISDIR(st.st_mode)) return EISDIR;
  // A device or a pipe is never replaced by a regular file.
  if (exists && !S_ISREG(st.st_mode)) return kNotARegularFile;
  // A file the user made read-only is not replaced behind their back, not even by a user the
  // system would let write it.
  if (exists && (st.st_mode & 0222) == 0) return EACCES;
  if (exists && ::access(target.c_str(), W_OK) != 0) return errno;
  return 0;
}

fs::path folderOf(const fs::path& target) {
  fs::path folder = target.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

}  // namespace

int writableProblem(const std::string& path) {
  const std::string target = saveTarget(path);
  if (target.empty()) return ELOOP;
  struct stat st {};
  bool exists = false;
  if (const int problem = replaceProblem(target, st, exists); problem != 0) return problem;
  // The temporary file is made in the folder.
  if (::access(folderOf(fs::path(target)).c_str(), W_OK | X_OK) != 0) return errno;
  return 0;
}

int writeFileSafely(const std::string& path, std::string_view bytes, Flush flush) {
  const std::string target = saveTarget(path);
  if (target.empty()) return ELOOP;
  const fs::path targetPath(target);
  const fs::path folder = folderOf(targetPath);

  struct stat st {};
  bool exists = false;
  if (const int problem = replaceProblem(target, st, exists); problem != 0) return problem;

  const FileSizeSignalIgnored sizeLimitFails;
  std::string temp = (folder / ("." + targetPath.filename().string() + ".kolvre-XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return errno;
  int error = 0;
  if (!writeAll(fd, bytes) || (flush == Flush::ToDisk && ::fsync(fd) != 0)) error = errno;
  if (!error && ::fchmod(fd, exists ? (st.st_mode & 07777) : defaultFileMode()) != 0) error = errno;
  if (!error && exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
    // Keeping the owner is best effort: only a privileged user may give a file away.
    [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
  }
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error) {
    ::unlink(temp.c_str());
    return error;
  }
  if (flush == Flush::Later) return 0;
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return 0;
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string fullPath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

std::string withDefaultExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view fileName = slash == std::string::npos
                                        ? std::string_view(path)
                                        : std::string_view(path).substr(slash + 1);
  const std::size_t dot = fileName.find_last_of('.');
  if (dot == std::string_view::npos || dot + 1 == fileName.size()) return path + ".RC";
  return path;
}

std::string saveFailureReason(int error) {
  struct Reason {
    int error;
    std::string_view text;
  };
  static constexpr Reason kReasons[] = {
      {ENOSPC, "Disco pieno."},
      {EDQUOT, "Spazio concesso sul disco esaurito."},
      {EACCES, "Accesso negato."},
      {EPERM, "Accesso negato."},
      {EROFS, "Disco protetto da scrittura."},
      {ENOENT, "La cartella non esiste."},
      {ENOTDIR, "La cartella non esiste."},
      {EISDIR, "Esiste una cartella con questo nome."},
      {EFBIG, "File troppo grande."},
      {ENAMETOOLONG, "Nome del file troppo lungo."},
      {ELOOP, "Troppi collegamenti simbolici."},
      {EIO, "Errore di scrittura sul disco."},
      {kNotARegularFile, "Non è un file normale (dispositivo o pipe)."},
  };
  for (const Reason& r : kReasons)
    if (r.error == error) return std::string(r.text);
  return "Errore di sistema " + std::to_string(error) + ".";
}

}  // namespace kolvre
