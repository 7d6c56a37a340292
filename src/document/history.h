// The undo history: each step keeps only the bytes in which the text before and after differ.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/edit.h"

namespace kolvre {

// The difference between two texts, stored compactly. Both texts share a head (the first `at`
// bytes) and a tail; in between, the old text holds A and the new text B. When a command moved
// a block past other text C (a rename that sorts the resource elsewhere), the middle is A + C
// turning into C + B, or C + A into B + C, and C is not stored. A and B themselves are kept as
// their common head and tail plus what differs.
class TextDiff {
 public:
  TextDiff() = default;
  static TextDiff between(std::string_view before, std::string_view after);

  bool empty() const { return removed_.empty() && inserted_.empty() && moved_ == 0; }
  // Turns the text after into the text before, and back.
  void undo(std::string& text) const;
  void redo(std::string& text) const;
  // The memory this difference holds, roughly.
  std::size_t bytes() const { return sizeof(*this) + payloadBytes(); }
  // The bytes of text it stores.
  std::size_t payloadBytes() const { return removed_.size() + inserted_.size(); }

 private:
  void replace(std::string& text, bool forward) const;

  std::size_t at_ = 0;        // where the texts first differ
  std::size_t moved_ = 0;     // |C|: bytes the change moves past, not stored
  bool movedFirst_ = false;   // C stands before A in the old text
  std::size_t keepHead_ = 0;  // bytes that A and B begin with alike
  std::size_t keepTail_ = 0;  // bytes that A and B end with alike
  std::string removed_;       // A without those
  std::string inserted_;      // B without those
};

// The difference a step made to another file (a header), by its full path.
struct FileDiff {
  std::string path;
  TextDiff diff;
};

struct HistoryStep {
  std::string label;
  TextDiff diff;
  std::vector<FileDiff> files;
  std::optional<ResourceKey> currentBefore;
  std::optional<ResourceKey> currentAfter;
  bool keepsSections = false;  // Edit::keepsSections
  std::size_t bytes() const;
};

// Steps to undo and to redo. A new step empties the redo side; the oldest steps are dropped
// when the steps held pass the byte limit (the newest step is always kept).
class History {
 public:
  void push(HistoryStep step);
  void clear();
  bool canUndo() const { return undoCount_ > 0; }
  bool canRedo() const { return undoCount_ < steps_.size(); }
  // The step an undo or redo would take back or apply; null when there is none.
  const HistoryStep* nextUndo() const;
  const HistoryStep* nextRedo() const;
  // Moves past the step that was just undone or redone.
  void stepBack() { --undoCount_; }
  void stepForward() { ++undoCount_; }

  void setLimit(std::size_t bytes);
  std::size_t limit() const { return limit_; }
  std::size_t bytes() const { return bytes_; }
  std::size_t size() const { return steps_.size(); }

  static constexpr std::size_t kDefaultLimit = 64u << 20;

 private:
  void trim();

  std::deque<HistoryStep> steps_;
  std::size_t undoCount_ = 0;  // steps_[0 .. undoCount_) can be undone, the rest redone
  std::size_t bytes_ = 0;
  std::size_t limit_ = kDefaultLimit;
};

}  // namespace kolvre
