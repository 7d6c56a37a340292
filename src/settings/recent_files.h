// The recent-files list kept in the settings file (section "Mru", keys "File1", "File2", ...).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::size_t kMaxRecentFiles = 15;

// The list as the settings file holds it: "File1", "File2", ... up to the first missing or
// empty key.
std::vector<std::string> readRecentFiles(UserInterface& ui);

// addRecentFile: puts `path` at the top of the list, dropping its earlier entry (or an entry that
// begins with it) and, when the list is full, the last entry; then writes the whole list in one
// pass. An empty path changes nothing. Returns the list as written.
std::vector<std::string> addRecentFile(UserInterface& ui, std::string_view path);

}  // namespace kolvre
