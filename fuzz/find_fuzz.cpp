// Fuzzes find across the resources (src/resources/find.*): the input's first line is the text
// typed, the rest a script read as the editor reads one. Rules:
//
//   - every match names a resource of the index, by the key that finds it again, at the place
//     its statement begins, and stands inside the script;
//   - the matches come in text order: resources by their place, a resource's matches by theirs;
//   - the frame holds the match, and a match of a text or a name shows the text typed there
//     (letter case aside);
//   - a search a page at a time, bounded by matches or by resources, gives what one search
//     gives;
//   - a dialog's control is the designer's or none, never a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/document.h"
#include "resources/find.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("find", violation, rule);
}

// A match shows the text typed in its frame, unless an ID was found by its value.
bool byValue(const kolvre::FindMatch& m) {
  return m.in == kolvre::FoundIn::Name || m.in == kolvre::FoundIn::ControlId ||
         m.in == kolvre::FoundIn::StringId || m.in == kolvre::FoundIn::MenuId;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t line = input.find('\n');
  if (line == std::string::npos || line > 40) return 0;
  const std::string typed = input.substr(0, line);
  Document doc;
  doc.load("", input.substr(line + 1));
  const std::string& text = doc.text();
  const std::vector<FindMatch> all = findInResources(doc, nullptr, typed);
  // The frame shows control characters as blanks.
  std::string shownTyped = typed;
  for (char& c : shownTyped)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  const std::string needle = foldCase(shownTyped);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const FindMatch& m = all[i];
    const auto entry = findEntry(doc.index(), m.resource);
    require(unless(entry && doc.index()[*entry].offset == m.resourceOffset,
                   "a match's key finds no resource at its place"),
            "key");
    require(unless(m.resourceOffset <= m.offset && m.offset < text.size(),
                   "a match outside its resource or the script"),
            "place");
    if (i > 0) {
      const FindMatch& before = all[i - 1];
      require(unless(before.resourceOffset < m.resourceOffset ||
                         (before.resourceOffset == m.resourceOffset && before.offset <= m.offset),
                     "matches out of text order"),
              "order");
    }
    require(unless(m.matchBegin + m.matchLength <= m.context.size(), "the match past its frame"),
            "frame");
    const bool shows = foldCase(m.context.substr(m.matchBegin, m.matchLength)) == needle;
    require(unless(shows || byValue(m), "the frame does not show the text typed"), "frame");
    if (m.control) designerControl(doc, m.resourceOffset, *m.control, nullptr);
  }
  for (const auto& [matches, resources] : {std::pair<std::size_t, std::size_t>{3, SIZE_MAX},
                                           std::pair<std::size_t, std::size_t>{SIZE_MAX, 2}}) {
    ResourceFinder finder(doc, nullptr, typed);
    std::vector<FindMatch> paged;
    while (!finder.done()) {
      const std::vector<FindMatch> page = finder.next(matches, resources);
      paged.insert(paged.end(), page.begin(), page.end());
    }
    require(unless(paged.size() == all.size(), "pages that do not add up to the whole"), "pages");
    for (std::size_t i = 0; i < paged.size(); ++i)
      require(unless(paged[i].offset == all[i].offset && paged[i].context == all[i].context,
                     "a page's match differs from the whole's"),
              "pages");
  }
  return 0;
}
