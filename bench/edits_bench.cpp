// Time of the edits of whole resources on a large reordered script, from the computed edit to
// the new text and index (Document::commit), and of their undo and redo; and the memory the
// history holds after many renames. The name prompt is not part of the measure.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/history.h"
#include "document/name_prompt.h"
#include "document/reorder.h"
#include "document/resource_edits.h"
#include "syntax/statements.h"
#include "synthetic_script.h"

namespace {

using namespace kolvre;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMiB = 1024 * 1024;

// 20 MiB with 50,000 resources, reordered as a saved script is after any edit.
const std::string& reorderedScript() {
  static const std::string text = reorderScript(bench::syntheticScript(20 * kMiB, 50000));
  return text;
}

void load(Document& doc) {
  doc.load("bench.rc", reorderedScript());
}

// Index positions of the resources whose block is found and closed, with where each stands.
std::vector<std::size_t> locatable(const Document& doc) {
  std::vector<std::size_t> offsets;
  for (const Statement& s : doc.statements())
    if (s.listed && s.complete) offsets.push_back(s.begin);
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < doc.index().size(); ++i)
    if (std::binary_search(offsets.begin(), offsets.end(), doc.index()[i].offset))
      positions.push_back(i);
  return positions;
}

// The locatable resource of `type` that stands first (or last) in the text.
std::size_t edgeOfType(const Document& doc, ResourceType type, bool last) {
  std::optional<std::size_t> found;
  for (std::size_t i : locatable(doc)) {
    const IndexEntry& e = doc.index()[i];
    if (e.type != type) continue;
    if (!found ||
        (last ? e.offset > doc.index()[*found].offset : e.offset < doc.index()[*found].offset))
      found = i;
  }
  return *found;
}

// A locatable resource halfway through the text.
std::size_t middleEntry(const Document& doc) {
  const std::size_t half = doc.text().size() / 2;
  const auto distance = [&](std::size_t i) {
    const std::size_t at = doc.index()[i].offset;
    return at > half ? at - half : half - at;
  };
  std::optional<std::size_t> best;
  for (std::size_t i : locatable(doc))
    if (!best || distance(i) < distance(*best)) best = i;
  return *best;
}

// The rename that moves a resource farthest: the first dialog in the text renamed so that it
// sorts after the other dialogs' upper-case names ("ZZZ..."), or the last one renamed so that
// it sorts before all of them ("0..."). The name is one the prompt takes.
struct Rename {
  std::size_t position;
  BlockExtent block;
  std::string name;
};
Rename farRename(const Document& doc, bool toFront, int serial = 0) {
  char name[16];
  std::snprintf(name, sizeof name, toFront ? "0%03d_MOVED" : "ZZZ%03d_MOVED", serial);
  const std::size_t at = edgeOfType(doc, ResourceType::Dialog, toFront);
  if (!nameRefusal(doc.index(), name, "DIALOG", doc.encoding()).empty()) std::abort();
  return {at, *entryBlock(doc.statements(), doc.index(), at), name};
}

// Which edit a benchmark measures.
enum class Kind { RenameToEnd, RenameToFront, Delete, Paste, Replace };

// What a command has in hand when the user has answered: the resource's position and block,
// the name, the pasted text. Its edit is computed from these on each run, as the command does.
struct Prepared {
  Kind kind = Kind::Paste;
  std::size_t position = 0;
  BlockExtent block{0, 0};
  std::string name;    // rename
  std::string pasted;  // paste: a copy of the resource halfway through the text; edit as text:
                       // the text that replaces it

  Edit edit(const Document& doc) const {
    switch (kind) {
      case Kind::RenameToEnd:
      case Kind::RenameToFront:
        return renameEdit(doc.index(), position, block, name);
      case Kind::Delete:
        return deleteEdit(doc.text(), doc.index(), position, block, &doc.statements()).value();
      case Kind::Replace:
        return *replaceEdit(doc.text(), doc.index(), position, block, pasted);
      case Kind::Paste:
        break;
    }
    return appendEdit(doc.text(), pastedBlock(pasted, "PASTED_COPY"), kLabelPaste,
                      &doc.statements())
        .value();
  }
};

Prepared prepare(const Document& doc, Kind kind) {
  Prepared p;
  p.kind = kind;
  if (kind == Kind::RenameToEnd || kind == Kind::RenameToFront) {
    const Rename r = farRename(doc, kind == Kind::RenameToFront);
    p.position = r.position;
    p.block = r.block;
    p.name = r.name;
  } else if (kind == Kind::Delete) {
    p.position = middleEntry(doc);
    p.block = *entryBlock(doc.text(), doc.index(), p.position);
  } else if (kind == Kind::Replace) {
    // The resource halfway through the text, as the text editor gives it back with a comment
    // line added at its end.
    p.position = middleEntry(doc);
    p.block = *entryBlock(doc.text(), doc.index(), p.position);
    p.pasted = std::string(p.block.of(doc.text())) + "\r\n// edited";
  } else {
    const std::size_t at = middleEntry(doc);
    p.pasted = entryBlock(doc.text(), doc.index(), at)->of(doc.text());
  }
  return p;
}

double seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

void counters(benchmark::State& state, const Document& doc) {
  state.counters["MiB"] = static_cast<double>(doc.text().size()) / kMiB;
  state.counters["resources"] = static_cast<double>(doc.index().size());
}

// The command once the user has answered: the edit and commit (splices, reorder, the step, the
// new index). Each run starts from the same text: the step is undone outside the measure.
void Commit(benchmark::State& state, Kind kind) {
  Document doc;
  load(doc);
  const Prepared p = prepare(doc, kind);
  for (auto _ : state) {
    const auto from = Clock::now();
    if (!doc.commit(p.edit(doc))) state.SkipWithError("nothing changed");
    state.SetIterationTime(seconds(from));
    doc.undo();
  }
  counters(state, doc);
}

// The whole command as the user waits for it, then its undo: the resource's block found
// (among the statements the document keeps; none for a paste), the edit computed and committed, and
// the step undone.
void CommandThenUndo(benchmark::State& state, Kind kind) {
  Document doc;
  load(doc);
  const Prepared p = prepare(doc, kind);
  double command = 0, undo = 0;
  for (auto _ : state) {
    auto from = Clock::now();
    Prepared now = p;
    if (kind != Kind::Paste) now.block = *blockAt(doc.statements(), doc.index()[p.position].offset);
    if (!doc.commit(now.edit(doc))) state.SkipWithError("nothing changed");
    const double commandTime = seconds(from);
    from = Clock::now();
    if (!doc.undo()) state.SkipWithError("nothing to undo");
    const double undoTime = seconds(from);
    command += commandTime;
    undo += undoTime;
    state.SetIterationTime(commandTime + undoTime);
  }
  counters(state, doc);
  const auto perRun = [&](double total) {
    return benchmark::Counter(total * 1000 / static_cast<double>(state.iterations()));
  };
  state.counters["command_ms"] = perRun(command);
  state.counters["undo_ms"] = perRun(undo);
}

// Undo and redo of one step of that edit, each measured alone.
void Undo(benchmark::State& state, Kind kind) {
  Document doc;
  load(doc);
  doc.commit(prepare(doc, kind).edit(doc));
  for (auto _ : state) {
    const auto from = Clock::now();
    if (!doc.undo()) state.SkipWithError("nothing to undo");
    state.SetIterationTime(seconds(from));
    doc.redo();
  }
  counters(state, doc);
  state.counters["step_bytes"] = static_cast<double>(doc.history().bytes());
}

void Redo(benchmark::State& state, Kind kind) {
  Document doc;
  load(doc);
  doc.commit(prepare(doc, kind).edit(doc));
  doc.undo();
  for (auto _ : state) {
    const auto from = Clock::now();
    if (!doc.redo()) state.SkipWithError("nothing to redo");
    state.SetIterationTime(seconds(from));
    doc.undo();
  }
  counters(state, doc);
}

// The stages of a rename's commit, in the order commit runs them on fresh copies of the text:
// the splices, the move of the renamed block to its place (placeBlock), the difference kept in
// the history and the new index; then the undo's splice of the text and its new index.
// Counters: milliseconds per stage.
void RenameStages(benchmark::State& state) {
  Document doc;
  load(doc);
  const Edit edit = prepare(doc, Kind::RenameToEnd).edit(doc);
  std::string text = doc.text();
  std::vector<Statement> statements = doc.statements();
  ResourceIndex index = doc.index();
  double splices = 0, reread = 0, place = 0, same = 0, difference = 0, update = 0;
  double undoSplice = 0, undoReread = 0, undoUpdate = 0;
  // The stages of Document::commit and Document::undo, each timed alone.
  for (auto _ : state) {
    auto from = Clock::now();
    std::string spliced = applySplices(text, edit.splices);
    splices += seconds(from);
    from = Clock::now();
    std::vector<Statement> splicedStatements = rereadStatements(text, statements, spliced);
    reread += seconds(from);
    from = Clock::now();
    std::string after = placeBlock(spliced, splicedStatements, *edit.placeBlockAt, nullptr);
    place += seconds(from);
    from = Clock::now();
    std::vector<Statement> afterStatements = rereadStatements(spliced, splicedStatements, after);
    reread += seconds(from);
    from = Clock::now();
    benchmark::DoNotOptimize(after == text);
    same += seconds(from);
    from = Clock::now();
    updateIndex(index, text, statements, after, afterStatements, ListedKinds::All);
    update += seconds(from);
    from = Clock::now();
    const TextDiff diff = TextDiff::between(text, after);
    difference += seconds(from);
    from = Clock::now();
    const std::string changed = after;
    diff.undo(after);
    undoSplice += seconds(from);
    from = Clock::now();
    std::vector<Statement> undone = rereadStatements(changed, afterStatements, after);
    undoReread += seconds(from);
    from = Clock::now();
    updateIndex(index, changed, afterStatements, after, undone, ListedKinds::All);
    undoUpdate += seconds(from);
    text = std::move(after);
    statements = std::move(undone);
  }
  const auto perRun = [&](double total) {
    return benchmark::Counter(total * 1000 / static_cast<double>(state.iterations()));
  };
  state.counters["splices_ms"] = perRun(splices);
  state.counters["reread_ms"] = perRun(reread);
  state.counters["place_ms"] = perRun(place);
  state.counters["compare_ms"] = perRun(same);
  state.counters["index_ms"] = perRun(update);
  state.counters["difference_ms"] = perRun(difference);
  state.counters["undo_splice_ms"] = perRun(undoSplice);
  state.counters["undo_reread_ms"] = perRun(undoReread);
  state.counters["undo_index_ms"] = perRun(undoUpdate);
}

// What rename, delete, copy and edit as text do before asking anything: finding the current
// resource's block in the text.
void LocateBlock(benchmark::State& state) {
  Document doc;
  load(doc);
  const std::size_t at = edgeOfType(doc, ResourceType::Dialog, false);
  for (auto _ : state) benchmark::DoNotOptimize(entryBlock(doc.text(), doc.index(), at));
  counters(state, doc);
}

// 100 renames, each of the dialog that stands first (or last) in the text to a name that sorts
// after (or before) every other: the memory the history then holds, and how much the largest
// step exceeds its header line. A step over 1 KB plus its header line counts as over the goal.
void HistoryAfter100Renames(benchmark::State& state) {
  const bool toFront = state.range(0) != 0;
  for (auto _ : state) {
    Document doc;
    load(doc);
    double largestOverHeader = 0, headerBytes = 0, blockBytes = 0, overGoal = 0;
    for (int i = 0; i < 100; ++i) {
      const Rename r = farRename(doc, toFront, i);
      const std::size_t lineEnd = doc.text().find("\r\n", r.block.begin);
      const double header = static_cast<double>(
          (lineEnd == std::string::npos ? doc.text().size() : lineEnd) - r.block.begin);
      const std::size_t before = doc.history().bytes();
      if (!doc.commit(renameEdit(doc.index(), r.position, r.block, r.name)))
        state.SkipWithError("nothing changed");
      const double step = static_cast<double>(doc.history().bytes() - before);
      largestOverHeader = std::max(largestOverHeader, step - header);
      headerBytes += header;
      blockBytes += static_cast<double>(r.block.end - r.block.begin);
      overGoal += step > 1024 + header;
    }
    state.counters["history_bytes"] = static_cast<double>(doc.history().bytes());
    state.counters["steps"] = static_cast<double>(doc.history().size());
    state.counters["per_step"] = static_cast<double>(doc.history().bytes()) / 100;
    state.counters["header_line_avg"] = headerBytes / 100;
    state.counters["largest_step_less_header"] = largestOverHeader;
    state.counters["block_avg"] = blockBytes / 100;
    state.counters["steps_over_goal"] = overGoal;
  }
}

void Timed(benchmark::internal::Benchmark* b) {
  b->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(Commit, RenameToEnd, Kind::RenameToEnd)->Apply(Timed);
BENCHMARK_CAPTURE(Commit, RenameToFront, Kind::RenameToFront)->Apply(Timed);
BENCHMARK_CAPTURE(Commit, Delete, Kind::Delete)->Apply(Timed);
BENCHMARK_CAPTURE(Commit, Paste, Kind::Paste)->Apply(Timed);
BENCHMARK_CAPTURE(Commit, Replace, Kind::Replace)->Apply(Timed);
BENCHMARK_CAPTURE(Undo, RenameToEnd, Kind::RenameToEnd)->Apply(Timed);
BENCHMARK_CAPTURE(Undo, RenameToFront, Kind::RenameToFront)->Apply(Timed);
BENCHMARK_CAPTURE(Undo, Delete, Kind::Delete)->Apply(Timed);
BENCHMARK_CAPTURE(Undo, Paste, Kind::Paste)->Apply(Timed);
BENCHMARK_CAPTURE(Undo, Replace, Kind::Replace)->Apply(Timed);
BENCHMARK_CAPTURE(Redo, RenameToEnd, Kind::RenameToEnd)->Apply(Timed);
BENCHMARK_CAPTURE(Redo, RenameToFront, Kind::RenameToFront)->Apply(Timed);
BENCHMARK_CAPTURE(Redo, Delete, Kind::Delete)->Apply(Timed);
BENCHMARK_CAPTURE(Redo, Paste, Kind::Paste)->Apply(Timed);
BENCHMARK_CAPTURE(Redo, Replace, Kind::Replace)->Apply(Timed);
BENCHMARK_CAPTURE(CommandThenUndo, RenameToEnd, Kind::RenameToEnd)->Apply(Timed);
BENCHMARK_CAPTURE(CommandThenUndo, RenameToFront, Kind::RenameToFront)->Apply(Timed);
BENCHMARK_CAPTURE(CommandThenUndo, Delete, Kind::Delete)->Apply(Timed);
BENCHMARK_CAPTURE(CommandThenUndo, Paste, Kind::Paste)->Apply(Timed);
BENCHMARK_CAPTURE(CommandThenUndo, Replace, Kind::Replace)->Apply(Timed);
BENCHMARK(RenameStages)->Unit(benchmark::kMillisecond);
BENCHMARK(LocateBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(HistoryAfter100Renames)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("to_front")
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
