#include "messages/error_record.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace kolvre {

namespace {

struct ErrnoRow {
  int err;
  int osCode;
};

// errno values and the system error numbers the handler's messages are written for.
constexpr std::array<ErrnoRow, 13> kErrnoTable{{
    {ENOENT, 2},   // file not found
    {ENOTDIR, 3},  // a folder of the path is missing or not a folder
    {ENAMETOOLONG, 3},
    {ELOOP, 3},
    {EACCES, 5},  // access denied
    {EPERM, 5},
    {EISDIR, 5},
    {EBUSY, 32},  // in use by another process
    {ETXTBSY, 32},
    {EROFS, 19},  // write-protected medium
    {EMFILE, 4},  // too many open files
    {ENFILE, 4},
    {EIO, 21},  // device not ready
}};

}  // namespace

int osCodeForErrno(int err) {
  for (const ErrnoRow& row : kErrnoTable)
    if (row.err == err) return row.osCode;
  return 0;
}

std::string shortFunctionName(std::string_view signature) {
  std::string_view name = signature.substr(0, signature.find('('));
  if (const auto space = name.rfind(' '); space != std::string_view::npos)
    name.remove_prefix(space + 1);
  if (const auto scope = name.rfind("::"); scope != std::string_view::npos)
    name.remove_prefix(scope + 2);
  return std::string(name);
}

ErrorRecord fileErrorRecord(int err, int genCode, std::string fileName, std::string operation,
                            CodePlace where) {
  ErrorRecord record;
  record.function = shortFunctionName(where.function);
  record.line = static_cast<int>(where.line);
  record.genCode = genCode;
  record.osCode = osCodeForErrno(err);
  if (err == ENOENT) {
    // A missing file and a missing folder on the way to it read the same on this platform.
    std::error_code ec;
    const auto folder = std::filesystem::path(fileName).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) record.osCode = 3;
  }
  if (err == ENOSPC || err == EDQUOT) record.subCode = kSubDiskFull;
  record.subSystem = "FILE";
  record.description = std::strerror(err);
  record.fileName = std::move(fileName);
  record.operation = std::move(operation);
  return record;
}

}  // namespace kolvre

namespace kolvre {

namespace {

struct StopRow {
  bool (*matches)(const ErrorRecord&);
  std::string_view before;
  std::string_view after;
};

// The handler's table of failures that stop the command with a sentence, tested in order.
constexpr std::array<StopRow, 9> kStopRows{{
    {[](const ErrorRecord& r) { return r.osCode == 21; }, "Disco ", " non pronto."},
    {[](const ErrorRecord& r) { return r.osCode == 27 || r.osCode == 31; }, "Disco ",
     " non formattato."},
    {[](const ErrorRecord& r) { return r.osCode == 19; }, "Disco ", " protetto da scrittura."},
    {[](const ErrorRecord& r) { return r.osCode == 82; }, "Directory ", " piena."},
    {[](const ErrorRecord& r) { return r.subCode == kSubDiskFull; }, "Spazio sul disco ",
     " insufficiente."},
    {[](const ErrorRecord& r) { return r.osCode == 5; }, "Impossibile accedere al file ", "."},
    {[](const ErrorRecord& r) { return r.osCode == 3; }, "Percorso ", " non trovato."},
    {[](const ErrorRecord& r) { return r.osCode == 2; }, "Impossibile aprire il file ", "."},
    {[](const ErrorRecord& r) { return r.subCode == 1012 || r.genCode == 32; }, "Il file ",
     " risulta corrotto."},
}};

}  // namespace

std::optional<std::string> stopMessage(const ErrorRecord& record) {
  for (const StopRow& row : kStopRows)
    if (row.matches(record))
      return std::string(row.before) + record.fileName + std::string(row.after);
  return std::nullopt;
}

}  // namespace kolvre
