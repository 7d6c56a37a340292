#include "checks/version_checks.h"

#include <algorithm>
#include <cstdio>

#include "resources/version_info.h"

namespace kolvre {

namespace {

// A pair as Translation writes it most often: "0x0410, 1200".
std::string pairText(std::pair<std::uint16_t, std::uint16_t> pair) {
  char language[8];
  std::snprintf(language, sizeof language, "0x%04x", pair.first);
  return std::string(language) + ", " + std::to_string(pair.second);
}

// The block name a pair stands for: "041004b0".
std::string blockName(std::pair<std::uint16_t, std::uint16_t> pair) {
  char name[9];
  std::snprintf(name, sizeof name, "%04x%04x", pair.first, pair.second);
  return name;
}

}  // namespace

void versionTranslations(const CheckContext& c, const ConditionalBranches& branches,
                         std::vector<Finding>& found) {
  const StringContext strings{c.symbols, c.utf16File};
  for (std::size_t entry = 0; entry < c.index.size(); ++entry) {
    const IndexEntry& resource = c.index[entry];
    if (resource.type != ResourceType::VersionInfo || resource.inactive ||
        branches.dead(resource.offset))
      continue;
    const auto statement =
        std::lower_bound(c.statements.begin(), c.statements.end(), resource.offset,
                         [](const Statement& s, std::size_t at) { return s.begin < at; });
    if (statement == c.statements.end() || statement->begin != resource.offset) continue;
    const VersionInfo info = readVersionInfo(c.text, *statement, strings);
    const auto pairs = translationPairs(info);
    if (!info.problem.empty() || !pairs) continue;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> named;
    for (const std::size_t b : info.stringBlocks()) {
      const VersionBlock& block = info.blocks[b];
      const auto pair = blockLanguageAndCodePage(block.name);
      if (!pair || branches.dead(block.begin)) continue;
      named.push_back(*pair);
      if (std::find(pairs->begin(), pairs->end(), *pair) != pairs->end()) continue;
      found.push_back(findingAt(c, entry, CheckRule::TranslationOutOfStep,
                                "Il blocco " + block.name +
                                    " di StringFileInfo manca in Translation (" + pairText(*pair) +
                                    ")."));
    }
    for (const auto& pair : *pairs)
      if (std::find(named.begin(), named.end(), pair) == named.end())
        found.push_back(findingAt(c, entry, CheckRule::TranslationOutOfStep,
                                  "Translation nomina " + pairText(pair) +
                                      ", ma StringFileInfo non ha il blocco " + blockName(pair) +
                                      "."));
  }
}

}  // namespace kolvre
