#include "settings/recent_files.h"

#include <algorithm>

namespace kolvre {

namespace {
constexpr std::string_view kSection = "Mru";
std::string keyFor(std::size_t n) {
  return "File" + std::to_string(n);
}
}  // namespace

std::vector<std::string> readRecentFiles(UserInterface& ui) {
  std::vector<std::string> list;
  for (std::size_t n = 1;; ++n) {
    std::string value = ui.readSetting(kSection, keyFor(n), "");
    if (value.empty()) break;
    list.push_back(std::move(value));
  }
  return list;
}

std::vector<std::string> addRecentFile(UserInterface& ui, std::string_view path) {
  std::vector<std::string> list = readRecentFiles(ui);
  if (path.empty()) return list;
  const auto earlier = std::find_if(list.begin(), list.end(), [&](const std::string& entry) {
    return std::string_view(entry).starts_with(path);
  });
  if (earlier != list.end()) list.erase(earlier);
  const bool full = list.size() >= kMaxRecentFiles;
  list.insert(list.begin(), std::string(path));
  if (full) list.pop_back();
  std::vector<std::pair<std::string, std::string>> entries;
  entries.reserve(list.size());
  for (std::size_t n = 1; n <= list.size(); ++n) entries.emplace_back(keyFor(n), list[n - 1]);
  ui.writeSettings(kSection, entries);
  return list;
}

}  // namespace kolvre
