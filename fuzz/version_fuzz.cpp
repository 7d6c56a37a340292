// Fuzzes the edits of version information (src/resources/version_info.*): arbitrary file bytes
// are read as the editor reads a script, and every VERSIONINFO resource that reads takes each
// edit in turn. Rules:
//
//   - a fixed field set to its own text changes nothing; set to a new value (a version, a
//     number, names of the vocabulary) it reads back as that value, every other field as it was
//     written, and setting it again changes nothing;
//   - a value added after another reads back there with its key and text, the others as they
//     were; a value deleted leaves one fewer, the others in order;
//   - a language block added reads back after its model with as many values, and Translation,
//     kept in step, holds its pair; a block renamed reads back with its new name, and so does
//     its pair.
//
// An edit refused (a field that does not edit in place, a value cut short, a block that shares
// its lines) is no fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "document/script_file.h"
#include "messages/error_record.h"
#include "resources/version_info.h"
#include "syntax/statements.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("version", violation, rule);
}

constexpr std::size_t kMostEdits = 4;

// The resource at statement `place` of `text` after an edit: it must still read.
kolvre::VersionInfo readAt(const std::string& text, std::size_t place, const char* rule) {
  const auto statements = kolvre::readStatements(text);
  require(unless(place < statements.size() &&
                     statements[place].listed == kolvre::ResourceType::VersionInfo,
                 "the resource's statement moved"),
          rule);
  kolvre::VersionInfo info = kolvre::readVersionInfo(text, statements[place], {});
  require(unless(info.problem.empty(), "the resource no longer reads: " + info.problem), rule);
  return info;
}

// Applies `make` unless it refuses; nothing when it does.
template <typename Make>
std::optional<std::string> edited(const std::string& text, Make make) {
  try {
    return kolvre::applySplices(text, make().splices);
  } catch (const kolvre::Refusal&) {
    return std::nullopt;
  }
}

void checkFields(const std::string& text, std::size_t place, const kolvre::VersionInfo& info) {
  using namespace kolvre;
  for (std::size_t f = 0; f < std::min(info.fields.size(), kMostEdits * 2); ++f) {
    const VersionField& field = info.fields[f];
    require(unless(setVersionField(text, info, f, field.value, {}).splices.empty(),
                   "a field set to its own text changes the script"),
            "field");
    const bool version = fixedFieldKind(field.keyword) == FixedFieldKind::Version;
    // What is typed, and the value it stands for (a version's: its text again).
    struct Typed {
      const char* typed;
      std::uint32_t value;
    };
    const Typed versions[] = {{"9.8.7.65535", 0}, {"0.0.0.0", 0}};
    const Typed others[] = {
        {"VS_FF_DEBUG | VS_FF_PATCHED", 5}, {"0x40004", 0x40004}, {"7", 7}, {"0", 0}};
    for (const Typed& row :
         version ? std::span<const Typed>(versions) : std::span<const Typed>(others)) {
      const char* const wanted = row.typed;
      const std::uint32_t value = row.value;
      const auto after = edited(text, [&] { return setVersionField(text, info, f, wanted, {}); });
      if (!after) continue;
      const VersionInfo again = readAt(*after, place, "field");
      require(unless(again.fields.size() == info.fields.size(), "the fields read otherwise"),
              "field");
      for (std::size_t g = 0; g < info.fields.size(); ++g)
        if (g != f)
          require(unless(again.fields[g].value == info.fields[g].value, "another field changed"),
                  "field");
      if (version) {
        const auto numbers = versionNumbers(again, f, {});
        require(unless(numbers.has_value(), "the version set does not read back"), "field");
        const std::string shown =
            std::to_string((*numbers)[0]) + "." + std::to_string((*numbers)[1]) + "." +
            std::to_string((*numbers)[2]) + "." + std::to_string((*numbers)[3]);
        require(unless(shown == wanted, "the version reads back as " + shown), "field");
      } else {
        require(unless(fixedFieldValue(again, f, {}) == value, "the value set does not read back"),
                "field");
      }
      require(unless(setVersionField(*after, again, f, wanted, {}).splices.empty(),
                     "the same value again changes the script"),
              "field");
    }
  }
}

void checkValues(const std::string& text, std::size_t place, const kolvre::VersionInfo& info) {
  using namespace kolvre;
  for (std::size_t b = 0; b < std::min(info.blocks.size(), kMostEdits); ++b) {
    const VersionBlock& block = info.blocks[b];
    for (std::size_t v = 0; v < std::min(block.values.size(), kMostEdits); ++v) {
      if (const auto after = edited(text, [&] {
            return insertVersionValue(text, info, b, v, "KolvreFuzz", "v \"1\"\t\\", {});
          })) {
        const VersionInfo again = readAt(*after, place, "insert");
        require(unless(again.blocks.size() == info.blocks.size() &&
                           again.blocks[b].values.size() == block.values.size() + 1,
                       "the block does not hold one value more"),
                "insert");
        const VersionValue& added = again.blocks[b].values[v + 1];
        require(unless(added.key.text == "KolvreFuzz" && added.text &&
                           added.text->text == "v \"1\"\t\\",
                       "the value added does not read back after its neighbour"),
                "insert");
      }
      if (const auto after = edited(text, [&] { return deleteVersionValue(text, info, b, v); })) {
        const VersionInfo again = readAt(*after, place, "delete");
        // The block itself may go from the list with its last value (a top block).
        if (again.blocks.size() != info.blocks.size()) continue;
        require(unless(again.blocks[b].values.size() == block.values.size() - 1,
                       "the block does not hold one value fewer"),
                "delete");
        for (std::size_t w = 0; w + 1 < block.values.size(); ++w)
          require(
              unless(again.blocks[b].values[w].key.text == block.values[w < v ? w : w + 1].key.text,
                     "the other values do not read as before"),
              "delete");
      }
    }
  }
}

void checkLanguageBlocks(const std::string& text, std::size_t place,
                         const kolvre::VersionInfo& info) {
  using namespace kolvre;
  const std::vector<std::size_t> strings = info.stringBlocks();
  if (strings.empty()) return;
  const auto holdsPair = [](const VersionInfo& read, std::string_view name) {
    const auto pairs = translationPairs(read);
    const auto pair = blockLanguageAndCodePage(name);
    return pairs && pair && std::find(pairs->begin(), pairs->end(), *pair) != pairs->end();
  };
  const bool inStep = translationWouldChange(info, "041004e4");
  for (const bool empty : {false, true}) {
    const auto after = edited(text, [&] {
      return addLanguageBlock(text, info, strings[0], "041004e4", empty, true, {});
    });
    if (!after) continue;
    const VersionInfo again = readAt(*after, place, "block");
    const std::vector<std::size_t> now = again.stringBlocks();
    require(unless(now.size() == strings.size() + 1 && again.blocks[now[1]].name == "041004e4" &&
                       again.blocks[now[1]].values.size() == info.blocks[strings[0]].values.size(),
                   "the block added does not read back after its model"),
            "block");
    require(unless(!inStep || holdsPair(again, "041004e4") ||
                       info.blocks[info.translationValue()->first]
                           .values[info.translationValue()->second]
                           .cutShort,
                   "Translation lacks the block added"),
            "block");
  }
  const bool renameInStep = translationWouldChange(info, "040704e4", strings[0]);
  if (const auto after = edited(
          text, [&] { return renameVersionBlock(text, info, strings[0], "040704e4", true, {}); })) {
    const VersionInfo again = readAt(*after, place, "rename");
    require(unless(again.blocks[again.stringBlocks().at(0)].name == "040704e4",
                   "the block renamed does not read back"),
            "rename");
    require(unless(!renameInStep || holdsPair(again, "040704e4") ||
                       info.blocks[info.translationValue()->first]
                           .values[info.translationValue()->second]
                           .cutShort,
                   "Translation lacks the block renamed"),
            "rename");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string text = fromDisk(std::string(reinterpret_cast<const char*>(data), size)).text;
  const auto statements = readStatements(text);
  for (std::size_t i = 0; i < statements.size(); ++i) {
    if (statements[i].listed != ResourceType::VersionInfo) continue;
    const VersionInfo info = readVersionInfo(text, statements[i], {});
    if (!info.problem.empty()) continue;
    checkFields(text, i, info);
    checkValues(text, i, info);
    checkLanguageBlocks(text, i, info);
  }
  return 0;
}
