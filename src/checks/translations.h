// Translations side by side: a dialog the scripts hold under several languages is compared with
// its first language, control by control (by ID): controls the translation lacks or adds, and
// texts that fit in the first language and not in the translation.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "checks/dialog_checks.h"
#include "checks/findings.h"

namespace kolvre {

// The findings of `translation` against `original` (whose language is `originalLanguage`),
// framed by `frame` (the translation's resource, language and offset).
std::vector<Finding> compareTranslation(const DialogUnderCheck& original,
                                        const std::string& originalLanguage,
                                        const DialogUnderCheck& translation,
                                        const FontMeasure* measure, const Finding& frame);

// The dialogs of the index that are the same dialog as entry `entry` in another language (its
// name, compared as the compilers compare names, each language once), `entry` among them, in
// the order of the text; just `entry` when it has no translation.
std::vector<std::size_t> translationEntries(const ResourceIndex& index, std::size_t entry);

// A text that does not fit where it fits in the first language is reported once, as such:
// the text-fit finding of the same control goes.
void preferTranslationFindings(std::vector<Finding>& found);

// What the findings mark on one dialog shown beside its translations: the findings of the
// resource whose statement starts at `offset` (in their order), the controls they are about
// (by their place among the dialog's controls, ascending, each once), and whether one of them
// is about no control of this dialog (the whole dialog, or a control it lacks).
struct DialogMarks {
  std::vector<Finding> findings;
  std::vector<std::size_t> controls;
  bool wholeDialog = false;
};
DialogMarks findingsByControl(const std::vector<Finding>& findings, std::size_t offset);

}  // namespace kolvre
