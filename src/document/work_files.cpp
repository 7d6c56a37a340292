#include "document/work_files.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

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

std::string GETNEWFNAME() {
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

}  // namespace kolvre
