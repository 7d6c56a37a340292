#include "document/script_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kolvre {

namespace fs = std::filesystem;

FileRead readWholeFile(const std::string& path) {
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
  if (!result.bytes.empty() && result.bytes.back() == '\x1A') result.bytes.pop_back();
  return result;
}

ScriptText fromDisk(std::string bytes) {
  if (bytes.find('\n') == std::string::npos || bytes.find("\r\n") != std::string::npos)
    return {std::move(bytes), LineEnds::AsRead};
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 16);
  for (char c : bytes) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return {std::move(text), LineEnds::Lf};
}

std::string toDisk(std::string_view text, LineEnds lineEnds) {
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

// The file a save replaces: the target of a symbolic link, else the path itself.
std::string saveTarget(const std::string& path) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path resolved = fs::weakly_canonical(path, ec);
    if (!ec) return resolved.string();
  }
  return path;
}

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

int writeFileSafely(const std::string& path, std::string_view bytes, Flush flush) {
  const std::string target = saveTarget(path);
  if (target.empty()) return ENOENT;
  const fs::path targetPath(target);
  fs::path folder = targetPath.parent_path();
  if (folder.empty()) folder = ".";

  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return EISDIR;
  // A file the user made read-only is not replaced behind their back.
  if (exists && ::access(target.c_str(), W_OK) != 0) return errno;
  if (!exists && errno != ENOENT) return errno;

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

}  // namespace kolvre
