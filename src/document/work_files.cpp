#include "document/work_files.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

std::string nameForNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t t = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto midnight = system_clock::from_time_t(t) - hours(local.tm_hour) -
                        minutes(local.tm_min) - seconds(local.tm_sec);
  const auto hundredths =
      (duration_cast<milliseconds>(now - midnight).count() + 5) / 10;  // rounded
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d%lld", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, static_cast<long long>(hundredths));
  return std::string(1, kWorkFileMark) + buffer;
}

}  // namespace

std::string newWorkFileName() {
  // Wait until the clock has moved on, so the next call cannot give the same name.
  const std::string first = nameForNow();
  while (nameForNow() == first) {
  }
  return first;
}

int deleteWorkFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  int deleted = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!name.empty() && name.front() == kWorkFileMark && !it->is_directory(ec) &&
        fs::remove(it->path(), ec))
      ++deleted;
  }
  return deleted;
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
