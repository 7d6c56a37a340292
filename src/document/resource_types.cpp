#include "document/resource_types.h"

namespace kolvre {

const ResTypeInfo& typeInfo(ResType type) {
  return kResTypes[static_cast<std::size_t>(type)];
}

std::optional<std::string_view> TIPORIS(std::string_view code) {
  for (const auto& info : kResTypes)
    if (info.code == code) return info.keyword;
  return std::nullopt;
}

std::optional<ResType> typeFromWord(std::string_view word) {
  for (const auto& info : kResTypes)
    if (word.starts_with(info.keyword)) return info.type;
  return std::nullopt;
}

bool typeMatchesByFirstLetter(std::string_view given, ResType type) {
  return !given.empty() && given.front() == typeCode(type).front();
}

}  // namespace kolvre
