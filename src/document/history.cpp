#include "document/history.h"

#include "base/text.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace kolvre {

namespace {

// Below this many differing bytes a moved block is not looked for: storing them costs little.
constexpr std::size_t kLookForMoveFrom = 256;
// The bytes of C that are searched for, and how many places that match them are tried.
constexpr std::size_t kMoveProbe = 32;
constexpr int kMoveTries = 256;

// The longest C with `ending` = A + C and `starting` = C + B, A not empty, as |C| (0: none
// worth keeping apart).
std::size_t movedLength(std::string_view ending, std::string_view starting) {
  if (starting.size() < kMoveProbe || ending.size() <= kMoveProbe) return 0;
  const std::string_view probe = starting.substr(0, kMoveProbe);
  const std::boyer_moore_horspool_searcher searcher(probe.begin(), probe.end());
  // C fits in `starting`: it begins at or after |ending| - |starting|, and A is not empty.
  std::size_t from = ending.size() > starting.size() ? ending.size() - starting.size() : 1;
  from = std::max<std::size_t>(from, 1);
  int tries = 0;
  auto it = ending.begin() + static_cast<std::ptrdiff_t>(from);
  while (tries++ < kMoveTries) {
    const auto hit = std::search(it, ending.end(), searcher);
    if (hit == ending.end()) return 0;
    const std::size_t k = static_cast<std::size_t>(hit - ending.begin());
    const std::size_t length = ending.size() - k;
    if (length < kMoveProbe) return 0;
    if (std::memcmp(ending.data() + k, starting.data(), length) == 0) return length;
    it = hit + 1;
  }
  return 0;
}

// The bytes a difference of A and B stores: what lies between their common head and tail.
std::size_t storedSize(std::string_view a, std::string_view b) {
  const std::size_t head = commonHead(a, b);
  const std::size_t tail = commonTail(a, b, std::min(a.size(), b.size()) - head);
  return a.size() + b.size() - 2 * (head + tail);
}

// The shift from 0 to `most` whose cost is least (the smallest of equals). Every shift is tried
// while there are few; past that only the ends, which hold the usual answers.
template <typename Cost>
std::size_t bestShift(std::size_t most, Cost cost) {
  constexpr std::size_t kTryAll = 2048;
  std::size_t best = 0;
  std::size_t bestCost = cost(0);
  const auto consider = [&](std::size_t s) {
    const std::size_t c = cost(s);
    if (c < bestCost) best = s, bestCost = c;
  };
  if (most <= kTryAll) {
    for (std::size_t s = 1; s <= most; ++s) consider(s);
  } else {
    for (std::size_t s = most - kTryAll; s <= most; ++s) consider(s);
  }
  return best;
}

}  // namespace

TextDiff TextDiff::between(std::string_view before, std::string_view after) {
  TextDiff d;
  d.at_ = commonHead(before, after);
  std::size_t tail = commonTail(before, after, std::min(before.size(), after.size()) - d.at_);
  // The texts are compared by whole lines: a common head or tail that ends inside a line (two
  // names that begin alike, "IDD_A" and "IDD_B") would cut a moved block apart from its own
  // name, and the block would then be stored whole. The parts of lines given back are found
  // again as the common head and tail of what is stored.
  if (const std::size_t lf = before.rfind('\n', d.at_ == 0 ? 0 : d.at_ - 1);
      d.at_ > 0 && before[d.at_ - 1] != '\n')
    d.at_ = lf == std::string_view::npos ? 0 : lf + 1;
  if (tail > 0 && tail < before.size() && before[before.size() - tail - 1] != '\n') {
    const std::size_t lf = before.find('\n', before.size() - tail);
    tail = lf == std::string_view::npos ? 0 : before.size() - lf - 1;
  }
  std::string_view a = before.substr(d.at_, before.size() - tail - d.at_);
  std::string_view b = after.substr(d.at_, after.size() - tail - d.at_);
  if (a.size() + b.size() >= kLookForMoveFrom) {
    // A + C -> C + B: C ends the old middle and starts the new one; C + A -> B + C the reverse.
    const std::size_t forward = movedLength(a, b);
    const std::size_t backward = movedLength(b, a);
    const std::size_t middleEnd = d.at_ + a.size();  // where the common tail starts, in before
    if (forward >= backward && forward > 0) {
      d.moved_ = forward;
      a = a.substr(0, a.size() - forward);
      b = b.substr(forward);
      // B may begin with what the common tail begins with (the separator after a moved block):
      // then C can take that in, and B become the bytes just after, so that A and B line up
      // (old block + separator against new block + separator) and share their tail.
      const std::size_t most = commonHead(b, before.substr(middleEnd));
      const std::size_t shift = bestShift(most, [&](std::size_t s) {
        return storedSize(a, after.substr(d.at_ + d.moved_ + s, b.size()));
      });
      d.moved_ += shift;
      b = after.substr(d.at_ + d.moved_, b.size());
    } else if (backward > 0) {
      d.moved_ = backward;
      d.movedFirst_ = true;
      a = a.substr(backward);
      b = b.substr(0, b.size() - backward);
      // The mirror case: B may end with what the common head ends with.
      const std::string_view headEnd = before.substr(0, d.at_);
      const std::size_t most = commonTail(b, headEnd, std::min(b.size(), headEnd.size()));
      const std::size_t shift = bestShift(
          most, [&](std::size_t s) { return storedSize(a, after.substr(d.at_ - s, b.size())); });
      d.at_ -= shift;
      d.moved_ += shift;
      b = after.substr(d.at_, b.size());
    }
  }
  d.keepHead_ = commonHead(a, b);
  d.keepTail_ = commonTail(a, b, std::min(a.size(), b.size()) - d.keepHead_);
  d.removed_ = a.substr(d.keepHead_, a.size() - d.keepHead_ - d.keepTail_);
  d.inserted_ = b.substr(d.keepHead_, b.size() - d.keepHead_ - d.keepTail_);
  return d;
}

// Forward (redo): A in the text gives way to B. Backward (undo): B gives way to A. A stands at
// `at` when nothing was moved before it, else after C; B the other way round.
void TextDiff::replace(std::string& text, bool forward) const {
  const std::size_t posA = movedFirst_ ? at_ + moved_ : at_;
  const std::size_t posB = movedFirst_ ? at_ : at_ + moved_;
  const std::string& gone = forward ? removed_ : inserted_;
  const std::string& come = forward ? inserted_ : removed_;
  const std::size_t from = forward ? posA : posB;
  const std::size_t to = forward ? posB : posA;
  const std::size_t goneSize = keepHead_ + gone.size() + keepTail_;
  std::string piece;
  piece.reserve(keepHead_ + come.size() + keepTail_);
  piece.append(text, from, keepHead_);
  piece.append(come);
  piece.append(text, from + goneSize - keepTail_, keepTail_);
  if (moved_ == 0) {
    text.replace(from, goneSize, piece);
    return;
  }
  text.erase(from, goneSize);
  text.insert(to, piece);
}

void TextDiff::undo(std::string& text) const {
  replace(text, false);
}

void TextDiff::redo(std::string& text) const {
  replace(text, true);
}

std::size_t HistoryStep::bytes() const {
  std::size_t n = sizeof(*this) + label.size() + diff.payloadBytes();
  for (const FileDiff& f : files) n += f.path.size() + f.diff.bytes();
  if (currentBefore) n += currentBefore->name.size();
  if (currentAfter) n += currentAfter->name.size();
  return n;
}

void History::push(HistoryStep step) {
  while (steps_.size() > undoCount_) {
    bytes_ -= steps_.back().bytes();
    steps_.pop_back();
  }
  bytes_ += step.bytes();
  steps_.push_back(std::move(step));
  undoCount_ = steps_.size();
  trim();
}

void History::clear() {
  steps_.clear();
  undoCount_ = 0;
  bytes_ = 0;
}

const HistoryStep* History::nextUndo() const {
  return canUndo() ? &steps_[undoCount_ - 1] : nullptr;
}

const HistoryStep* History::nextRedo() const {
  return canRedo() ? &steps_[undoCount_] : nullptr;
}

void History::setLimit(std::size_t bytes) {
  limit_ = bytes;
  trim();
}

void History::trim() {
  // Only steps that can be undone are dropped, oldest first; the newest step stays.
  while (bytes_ > limit_ && steps_.size() > 1 && undoCount_ > 1) {
    bytes_ -= steps_.front().bytes();
    steps_.pop_front();
    --undoCount_;
  }
}

}  // namespace kolvre
