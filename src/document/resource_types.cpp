#include "document/resource_types.h"

namespace kolvre {

const ResourceTypeInfo& typeInfo(ResourceType type) {
  return kResourceTypes[static_cast<std::size_t>(type)];
}

std::optional<std::string_view> resourceTypeName(std::string_view code) {
  for (const auto& info : kResourceTypes)
    if (info.code == code) return info.keyword;
  return std::nullopt;
}

std::optional<ResourceType> typeFromWord(std::string_view word) {
  for (const auto& info : kResourceTypes)
    if (word.starts_with(info.keyword)) return info.type;
  return std::nullopt;
}

bool typeMatchesByFirstLetter(std::string_view given, ResourceType type) {
  return !given.empty() && given.front() == typeCode(type).front();
}

}  // namespace kolvre
