// An edit of the script as a value: what a command removes and inserts, and which resource is
// current before and after. Commands compute edits with pure functions; the document applies
// them (Document::commit).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/scanner.h"

namespace kolvre {

// A resource named independently of where the index holds it: its exact name, its type (and an
// Other type's word), and which of the entries with that name and type it is (0 for the first,
// in text order).
struct ResourceKey {
  ResourceKey() = default;
  ResourceKey(std::string name, ResourceType type, std::size_t occurrence,
              std::string typeWord = {})
      : name(std::move(name)), type(type), occurrence(occurrence), typeWord(std::move(typeWord)) {}

  std::string name;
  ResourceType type = ResourceType::Dialog;
  std::size_t occurrence = 0;
  std::string typeWord;  // Other: the type as written
  bool operator==(const ResourceKey&) const = default;
};

// True when the entry has the key's name and type (names and Other types' words compared as
// the compilers compare them).
bool matchesKey(const IndexEntry& entry, const ResourceKey& key);

// The key of the index entry at `position` (which must exist).
ResourceKey keyAt(const ResourceIndex& index, std::size_t position);

// Where the index holds the resource of `key`, or nothing when it holds none. Names are
// compared as the compilers compare them, without regard to letter case.
std::optional<std::size_t> findEntry(const ResourceIndex& index, const ResourceKey& key);

// The key of the first resource named exactly `name` of the type `typeWord` names (a word that
// begins with a type keyword, such as "DIALOGEX", or a type code): what a command that adds a
// resource makes current. Nothing when the word names no type: such a header is not indexed.
std::optional<ResourceKey> keyForHeader(std::string_view name, std::string_view typeWord);

// The same for a type word as the script writes it, never a type code: "D" is a user-defined
// type there, as the compilers read it.
std::optional<ResourceKey> keyForWrittenHeader(std::string_view name, std::string_view typeWord);

// The key of the first listed resource statement of a text, read as the index reads it.
// Nothing when it holds none.
std::optional<ResourceKey> keyOfText(std::string_view text);

// One replacement: the bytes [begin, end) of the text give way to `inserted`.
struct Splice {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string inserted;
};

// The splice that turns `before`, the text's bytes from `at` on, into `after`: it replaces only
// what stands between their common beginning and their common end, so that an edit of one field
// of a block touches that field's bytes alone.
Splice narrowedSplice(std::size_t at, std::string_view before, std::string after);

// A change of another file that goes with a change of the script, in the same step (a header
// whose symbol is renamed): its splices over its text as it stood when they were computed.
struct FileEdit {
  std::string path;    // the file's full path
  std::string before;  // its text as read: the bytes of the file, line ends and all
  std::vector<Splice> splices;
};

struct Edit {
  std::string label;            // names the step in the undo menu ("Rinomina")
  std::vector<Splice> splices;  // in text order, not overlapping
  // The other files the step changes: the document holds their new texts until a save writes
  // them with the script (Document::headerTexts).
  std::vector<FileEdit> files;
  // After the splices, the listed block whose name starts here (in the spliced text) moves to
  // its place among the blocks of its stretch (placeBlock); nothing else moves.
  std::optional<std::size_t> placeBlockAt;
  // A renamed block's name before the edit: it moves only where its stretch stood sorted.
  std::optional<std::string> placedNameBefore;
  bool reorderAll = false;  // after the splices, the whole reorder (reorderScript)
  // The edit keeps what every condition of the script finds (a symbol renamed with every word
  // of it): the index need not be built again for the preprocessor lines it changes.
  bool keepsSections = false;
  std::optional<ResourceKey> currentBefore;
  std::optional<ResourceKey> currentAfter;  // nothing: the first entry
};

// The text with the edit's splices applied (no reorder).
std::string applySplices(std::string_view text, const std::vector<Splice>& splices);

}  // namespace kolvre
