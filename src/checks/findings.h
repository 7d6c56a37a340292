// What the checks find in a script: one finding per fault, with the resource (and the control)
// it is in, the rule it breaks and an Italian message. The rules are data: each has the word the
// batch tool prints and whether it is an error or a warning.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/edit.h"

namespace kolvre {

enum class CheckRule : std::uint8_t {
  // One dialog.
  OutsideClient,       // a control wholly or partly outside the client area
  Overlap,             // two controls overlap
  DuplicateControlId,  // one control ID on two controls
  DuplicateMnemonic,   // one & key on two controls
  TextDoesNotFit,      // a text wider (or, wrapped, higher) than its control
  UnknownStyle,        // a style name outside the vocabulary
  UndefinedSymbol,     // a name no definition gives
  // The script.
  DuplicateStringId,     // a string ID defined twice in one language
  MissingFile,           // a resource naming a file that is not there
  DuplicateMenuId,       // one item ID twice in one menu
  AcceleratorNoItem,     // an accelerator whose ID no menu item has
  DuplicateAccelerator,  // one key (with its modifiers) twice in one accelerator table
  EscapedQuote,          // a quote escaped with a backslash in a string, which llvm-rc refuses
  Multiplication,        // a value that multiplies or divides, which llvm-rc refuses
  UnreadText,            // text the syntax tree cannot place
  UnclosedText,          // a string left open on its line, which both compilers refuse
  TranslationOutOfStep,  // a version block without its pair in Translation, or the reverse
  // Translations, against the resource's first language.
  MissingInTranslation,  // a control of the first language the translation lacks
  AddedInTranslation,    // a control the first language lacks
  FitsOnlyInOriginal,    // a text that fits in the first language and not in this one
};

enum class Severity : std::uint8_t { Error, Warning };

struct CheckRuleInfo {
  CheckRule rule;
  std::string_view word;  // as the batch tool prints it
  Severity severity;
};

// Indexed by CheckRule.
inline constexpr std::array<CheckRuleInfo, 20> kCheckRules{{
    {CheckRule::OutsideClient, "fuori-area", Severity::Error},
    {CheckRule::Overlap, "sovrapposti", Severity::Error},
    {CheckRule::DuplicateControlId, "id-doppio", Severity::Error},
    {CheckRule::DuplicateMnemonic, "tasto-doppio", Severity::Error},
    {CheckRule::TextDoesNotFit, "testo-tagliato", Severity::Error},
    {CheckRule::UnknownStyle, "stile-sconosciuto", Severity::Error},
    {CheckRule::UndefinedSymbol, "simbolo-non-definito", Severity::Error},
    {CheckRule::DuplicateStringId, "stringa-doppia", Severity::Error},
    {CheckRule::MissingFile, "file-mancante", Severity::Error},
    {CheckRule::DuplicateMenuId, "voce-doppia", Severity::Error},
    {CheckRule::AcceleratorNoItem, "acceleratore-senza-voce", Severity::Warning},
    {CheckRule::DuplicateAccelerator, "acceleratore-doppio", Severity::Error},
    {CheckRule::EscapedQuote, "virgolette-con-barra", Severity::Warning},
    {CheckRule::Multiplication, "per-o-diviso", Severity::Warning},
    {CheckRule::UnreadText, "testo-non-riconosciuto", Severity::Warning},
    {CheckRule::UnclosedText, "testo-non-chiuso", Severity::Error},
    {CheckRule::TranslationOutOfStep, "translation-disallineata", Severity::Warning},
    {CheckRule::MissingInTranslation, "manca-in-traduzione", Severity::Error},
    {CheckRule::AddedInTranslation, "in-piu-in-traduzione", Severity::Warning},
    {CheckRule::FitsOnlyInOriginal, "tagliato-in-traduzione", Severity::Error},
}};

constexpr const CheckRuleInfo& ruleInfo(CheckRule rule) {
  return kCheckRules[static_cast<std::size_t>(rule)];
}

struct Finding {
  CheckRule rule = CheckRule::OutsideClient;
  ResourceKey resource;    // the resource the finding is in (a string table by its list name)
  std::string language;    // the resource's language tag; empty when neutral
  std::size_t offset = 0;  // where the resource's statement starts in the script text
  // The control the finding is about: its ID as written and its place among the dialog's
  // controls (for the designer to select it); none for a finding about a whole resource.
  std::string control;
  std::optional<std::size_t> controlIndex;
  std::string message;  // Italian, one line
  bool operator==(const Finding&) const = default;
};

}  // namespace kolvre
