// Find across the resources of a script: a text the user types, looked for in what the panels
// show of every resource the index lists: its name, a dialog's caption and its controls' texts
// and IDs, the strings and their IDs, the menu items' texts and IDs, the values of version
// information. Texts are compared as the user sees them (escapes decoded, in the code page in
// force where the resource stands) and without regard to letter case; an ID is found by its
// name as written or, when the text typed is a number, by its value. The script is read through
// the readers of each kind and the syntax tree, resource by resource in text order, so that the
// first matches are there before the last resources are read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/edit.h"
#include "resources/menus.h"
#include "syntax/symbols.h"

namespace kolvre {

// What of a resource holds the text found.
enum class FoundIn : std::uint8_t {
  Name,          // the resource's name (a numeric name by its value too)
  Caption,       // a dialog's CAPTION
  ControlText,   // a dialog control's text
  ControlId,     // a dialog control's ID
  StringText,    // a string's text
  StringId,      // a string's ID
  MenuText,      // a menu item's text (its shortcut after the tab included)
  MenuId,        // a menu item's ID
  VersionValue,  // a VALUE of version information
};

struct FindMatch {
  FoundIn in = FoundIn::Name;
  // The resource: its key for the list, and as the list shows it.
  ResourceKey resource;
  std::string type;                // the kind's code, or an Other type's own word
  std::string name;                // as written, UTF-8
  std::string language;            // its tag; empty when neutral
  std::size_t resourceOffset = 0;  // where its statement begins in the script
  // Where the text found stands in the script: its literal (its L prefix included), the ID as
  // written, or the name.
  std::size_t offset = 0;
  // The place inside the resource, as the panel names it, UTF-8: the control's ID ("IDOK", with
  // its number among the controls when another control has that ID too), the string's ID, the
  // menu item's path of texts ("File/Apri"), the version value's block and key
  // ("040904b0/FileDescription"); empty for the name and the caption.
  std::string place;
  // The text around the match on one line (line ends and tabs as blanks, "…" where it is cut),
  // UTF-8, and where the match stands in it (bytes).
  std::string context;
  std::size_t matchBegin = 0;
  std::size_t matchLength = 0;
  // Where a panel finds it: a control's number among the dialog's control statements (from 0),
  // a string's place in its table, a menu item's path, a version value's block (its place among
  // the blocks of StringFileInfo, a table each in the panel) and its place in that block.
  std::optional<std::size_t> control;
  std::optional<std::size_t> stringEntry;
  MenuPath menuPath;
  std::optional<std::size_t> versionBlock;
  std::optional<std::size_t> versionValue;
};

// The word a match's place is named with ("controllo", "stringa", "voce", "valore", "nome",
// "titolo"), as the findings panel and the batch tool show it.
std::string_view foundInWord(FoundIn in);

// Finds the text in the resources of a document, a page at a time. The document and the
// symbols must stay as they are while the finder is used (a change of the text asks for a new
// finder).
class ResourceFinder {
 public:
  // `symbols`: the script's (may be null: IDs then have a value only when written as numbers).
  // Only the resources the document's index lists are read.
  ResourceFinder(const Document& doc, const SymbolTable* symbols, std::string_view typed);
  ~ResourceFinder();
  ResourceFinder(const ResourceFinder&) = delete;
  ResourceFinder& operator=(const ResourceFinder&) = delete;

  // Reads on through the resources, in text order, until at least `matches` more matches are
  // found, `resources` more resources are read, or the script ends; gives the matches found.
  std::vector<FindMatch> next(std::size_t matches, std::size_t resources = SIZE_MAX);
  bool done() const;
  // The resources read so far, and how many there are.
  std::size_t resourcesRead() const;
  std::size_t resourceCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Every match at once.
std::vector<FindMatch> findInResources(const Document& doc, const SymbolTable* symbols,
                                       std::string_view typed);

// The control statement `control` (FindMatch::control) of the dialog whose statement begins at
// `resourceOffset`, as the designer counts its controls (the statements of its body that read
// as controls); nothing when the statement does not read as one.
std::optional<std::size_t> designerControl(const Document& doc, std::size_t resourceOffset,
                                           std::size_t control, const SymbolTable* symbols);

// A text folded for comparison without regard to letter case: the capitals of the Latin,
// Greek and Cyrillic letters (as UTF-8) in lower case, each letter keeping its length in bytes,
// so that a place in the folded text is the same place in the text.
std::string foldCase(std::string_view utf8);
// The same into `out` (its memory kept for the next text).
void foldCaseInto(std::string_view utf8, std::string& out);

}  // namespace kolvre
