#include "checks/translations.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace kolvre {

namespace {

// The controls with an ID of their own, by ID: statics with -1 cannot be told apart.
// IDs whose symbol is undefined are left out: their value is not known.
std::map<std::uint16_t, std::size_t> controlsById(const DialogUnderCheck& checked) {
  std::map<std::uint16_t, std::size_t> byId;
  for (std::size_t i = 0; i < checked.dialog.controls.size(); ++i) {
    const auto id = static_cast<std::uint16_t>(checked.dialog.controls[i].id);
    if (id != 0xFFFF && !checked.unknownId[i]) byId.emplace(id, i);
  }
  return byId;
}

bool allIdsKnown(const DialogUnderCheck& checked) {
  return std::find(checked.unknownId.begin(), checked.unknownId.end(), true) ==
         checked.unknownId.end();
}

std::string languageName(const std::string& tag) {
  return tag.empty() ? std::string("neutra") : tag;
}

}  // namespace

std::vector<Finding> compareTranslation(const DialogUnderCheck& original,
                                        const std::string& originalLanguage,
                                        const DialogUnderCheck& translation,
                                        const FontMeasure* measure, const Finding& frame) {
  std::vector<Finding> found;
  const auto theirs = controlsById(original);
  const auto ours = controlsById(translation);
  // A control is missing only where every ID of the translation is known, and added only
  // where every ID of the first language is.
  const bool judgeMissing = allIdsKnown(translation);
  const bool judgeAdded = allIdsKnown(original);
  const std::string first = " (" + languageName(originalLanguage) + ")";
  for (const auto& [id, at] : theirs) {
    if (ours.contains(id) || !judgeMissing) continue;
    Finding f = frame;
    f.rule = CheckRule::MissingInTranslation;
    f.control = controlIdText(original.dialog.controls[at]);
    f.message = "Manca il controllo " + f.control + " della prima lingua" + first + ".";
    found.push_back(std::move(f));
  }
  for (const auto& [id, at] : ours) {
    const DialogControl& control = translation.dialog.controls[at];
    const auto match = theirs.find(id);
    Finding f = frame;
    f.control = controlIdText(control);
    f.controlIndex = at;
    if (match == theirs.end()) {
      if (!judgeAdded) continue;
      f.rule = CheckRule::AddedInTranslation;
      f.message = "Il controllo " + f.control + " non c'è nella prima lingua" + first + ".";
      found.push_back(std::move(f));
      continue;
    }
    const DialogControl& before = original.dialog.controls[match->second];
    if (textFits(before, original.dialog, original.charset, measure) == true &&
        textFits(control, translation.dialog, translation.charset, measure) == false) {
      f.rule = CheckRule::FitsOnlyInOriginal;
      f.message = "Il testo di " + namedControl(control, translation.charset) +
                  " entra nella prima lingua" + first + " ma non in questa.";
      found.push_back(std::move(f));
    }
  }
  return found;
}

std::vector<std::size_t> translationEntries(const ResourceIndex& index, std::size_t entry) {
  std::vector<std::size_t> entries;
  std::set<std::string> languages;
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (index[i].type != ResourceType::Dialog || !sameName(index[i].name, index[entry].name))
      continue;
    // The first of a language's namesakes stands for it, and `entry` for its own.
    if (i != entry &&
        (languages.contains(index[i].language) || index[i].language == index[entry].language))
      continue;
    languages.insert(index[i].language);
    entries.push_back(i);
  }
  std::sort(entries.begin(), entries.end(),
            [&](std::size_t a, std::size_t b) { return index[a].offset < index[b].offset; });
  return entries;
}

void preferTranslationFindings(std::vector<Finding>& found) {
  std::set<std::tuple<std::size_t, std::size_t>> translated;
  for (const Finding& f : found)
    if (f.rule == CheckRule::FitsOnlyInOriginal && f.controlIndex)
      translated.emplace(f.offset, *f.controlIndex);
  std::erase_if(found, [&](const Finding& f) {
    return f.rule == CheckRule::TextDoesNotFit && f.controlIndex &&
           translated.contains({f.offset, *f.controlIndex});
  });
}

DialogMarks findingsByControl(const std::vector<Finding>& findings, std::size_t offset) {
  DialogMarks marks;
  std::set<std::size_t> controls;
  for (const Finding& f : findings) {
    if (f.offset != offset) continue;
    marks.findings.push_back(f);
    if (f.controlIndex)
      controls.insert(*f.controlIndex);
    else
      marks.wholeDialog = true;
  }
  marks.controls.assign(controls.begin(), controls.end());
  return marks;
}

}  // namespace kolvre
