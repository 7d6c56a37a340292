#include "syntax/resource_types.h"

namespace kolvre {

static_assert([] {
  for (std::size_t i = 0; i < kResourceTypes.size(); ++i)
    if (static_cast<std::size_t>(kResourceTypes[i].type) != i) return false;
  return kResourceTypes.back().type == ResourceType::Other;
}());

const ResourceTypeInfo& typeInfo(ResourceType type) {
  return kResourceTypes[static_cast<std::size_t>(type)];
}

std::optional<std::string_view> resourceTypeName(std::string_view code) {
  for (const auto& info : kResourceTypes)
    if (!code.empty() && info.code == code) return info.keyword;
  return std::nullopt;
}

std::optional<ResourceType> typeFromWord(std::string_view word) {
  for (const auto& info : kResourceTypes)
    if (!info.keyword.empty() && word.starts_with(info.keyword)) return info.type;
  return std::nullopt;
}

bool typeMatchesByFirstLetter(std::string_view given, ResourceType type) {
  return !given.empty() && given.front() == typeCode(type).front();
}

}  // namespace kolvre
