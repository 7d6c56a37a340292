#include "settings/pending_settings.h"

#include <utility>

#include "base/text.h"

namespace kolvre {

PendingSettings::Section* PendingSettings::section(std::string_view name) {
  for (Section& s : held_)
    if (equalsIgnoringCase(s.name, name)) return &s;
  return nullptr;
}

std::pair<std::string, std::string>* PendingSettings::value(std::string_view sectionName,
                                                            std::string_view key) {
  Section* s = section(sectionName);
  if (!s) return nullptr;
  for (auto& kv : s->values)
    if (equalsIgnoringCase(kv.first, key)) return &kv;
  return nullptr;
}

std::string PendingSettings::readSetting(std::string_view sectionName, std::string_view key,
                                         std::string_view defaultValue) {
  if (const auto* held = value(sectionName, key)) return held->second;
  return target_.readSetting(sectionName, key, defaultValue);
}

void PendingSettings::writeSetting(std::string_view sectionName, std::string_view key,
                                   std::string_view newValue) {
  if (auto* held = value(sectionName, key)) {
    held->second = newValue;
    return;
  }
  Section* s = section(sectionName);
  if (!s) s = &held_.emplace_back(Section{std::string(sectionName), {}});
  s->values.emplace_back(std::string(key), std::string(newValue));
}

void PendingSettings::flush() {
  const std::vector<Section> held = std::exchange(held_, {});
  for (const Section& s : held) target_.writeSettings(s.name, s.values);
}

}  // namespace kolvre
