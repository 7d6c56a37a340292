// Follows the entry a command leaves current, as the main window's list does: a document
// observer that keeps a 1-based row and counts the changes reported.
#pragma once

#include <optional>

#include "document/document.h"

namespace kolvre::testing {

class CurrentEntry : public DocumentObserver {
 public:
  explicit CurrentEntry(Document& doc) : doc_(doc) { doc.setObserver(this); }
  ~CurrentEntry() override { doc_.setObserver(nullptr); }

  int row = 1;
  int changes = 0;
  std::optional<DocumentChange> last;

  // The current entry's place in the index; nothing when the index is empty.
  std::optional<std::size_t> position() const {
    if (row < 1 || static_cast<std::size_t>(row) > doc_.index().size()) return std::nullopt;
    return static_cast<std::size_t>(row - 1);
  }
  void documentChanged(const DocumentChange& change) override {
    ++changes;
    last = change;
    row = 1;
    if (change.current)
      if (const auto at = findEntry(doc_.index(), *change.current)) row = static_cast<int>(*at) + 1;
  }

 private:
  Document& doc_;
};

}  // namespace kolvre::testing
