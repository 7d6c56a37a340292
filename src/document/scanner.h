// The resource index: the resources the list shows, read from the script's statements and
// sorted as the list shows them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/resource_types.h"

namespace kolvre {

// One entry of the resource index.
struct IndexEntry {
  std::string name;
  ResourceType type;
  std::size_t offset;  // where its name starts in the text the index was built from

  std::string_view code() const { return typeCode(type); }
  bool operator==(const IndexEntry&) const = default;
};

using ResourceIndex = std::vector<IndexEntry>;

// Orders two resource names as the compilers tell them apart: a number (decimal, or 0x hex)
// before any other name, numbers by value, other names without regard to letter case.
// Negative, zero or positive, as a comparison does.
int compareNames(std::string_view a, std::string_view b);

// True when the compilers take the two names for one: equal without regard to letter case.
bool sameName(std::string_view a, std::string_view b);

// indexResources: the index of the text: every resource statement of the six kinds the list
// shows, sorted by name (compareNames), then type code. Entries with equal keys keep their text
// order.
ResourceIndex indexResources(std::string_view text);
// The same from the text's statements, already read.
struct Statement;
ResourceIndex indexResources(std::string_view text, const std::vector<Statement>& statements);

}  // namespace kolvre
