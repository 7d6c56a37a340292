// Throughput of reading, indexing and reordering large scripts, against two baselines over the
// same buffer: a plain count of CR LF pairs (the least any pass over the text's lines can cost)
// and a copy of the bytes into freshly allocated memory (the least a pass that writes a new text
// as large as the script can cost).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstring>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "document/reorder.h"
#include "document/scanner.h"
#include "syntax/statements.h"
#include "syntax/syntax_tree.h"
#include "synthetic_script.h"

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Scripts are made once per shape and shared by every benchmark that uses it.
const std::string& script(std::size_t mib, std::size_t resources) {
  static std::map<std::pair<std::size_t, std::size_t>, std::string> made;
  auto [it, fresh] = made.try_emplace({mib, resources});
  if (fresh) it->second = kolvre::bench::syntheticScript(mib * kMiB, resources);
  return it->second;
}

std::size_t countCrLf(const std::string& text) {
  std::size_t count = 0;
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const void* hit = std::memchr(p, '\r', static_cast<std::size_t>(end - p));
    if (!hit) break;
    p = static_cast<const char*>(hit) + 1;
    if (p < end && *p == '\n') ++count;
  }
  return count;
}

void setUp(benchmark::State& state, const std::string& text) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["MiB"] = static_cast<double>(text.size()) / kMiB;
}

void CountCrLf(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  for (auto _ : state) benchmark::DoNotOptimize(countCrLf(text));
  setUp(state, text);
}

void CopyToFreshMemory(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  for (auto _ : state) {
    std::string copy(text);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  setUp(state, text);
}

void Statements(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  std::size_t statements = 0;
  for (auto _ : state) {
    std::vector<kolvre::Statement> read = kolvre::readStatements(text);
    statements = read.size();
    benchmark::DoNotOptimize(read.data());
  }
  setUp(state, text);
  state.counters["statements"] = static_cast<double>(statements);
}

void Scan(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  std::size_t entries = 0;
  for (auto _ : state) {
    kolvre::ResourceIndex index = kolvre::indexResources(text);
    entries = index.size();
    benchmark::DoNotOptimize(index.data());
  }
  setUp(state, text);
  state.counters["resources"] = static_cast<double>(entries);
}

// Every statement read into its tree: tokens and nodes, bodies included.
void WholeTree(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  std::size_t nodes = 0;
  for (auto _ : state) {
    const kolvre::SyntaxTree tree(text);
    nodes = 0;
    for (std::size_t i = 0; i < tree.statements().size(); ++i)
      nodes += tree.statementTree(text, i).nodes.size();
    benchmark::DoNotOptimize(nodes);
  }
  setUp(state, text);
  state.counters["nodes"] = static_cast<double>(nodes);
}

// The bytes the heap holds in use (0 where the C library does not tell).
double heapBytes() {
#if defined(__GLIBC__)
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
#else
  return 0;
#endif
}

// What the statements and the index hold, and the whole tree, per byte of script: the growth of
// the heap while they are kept (the script itself made beforehand).
void MemoryHeld(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  double held = 0, tree = 0;
  for (auto _ : state) {
    const double before = heapBytes();
    {
      const std::vector<kolvre::Statement> statements = kolvre::readStatements(text);
      const kolvre::ResourceIndex index = kolvre::indexResources(text, statements);
      held = heapBytes() - before;
      benchmark::DoNotOptimize(index.data());
    }
    const double between = heapBytes();
    {
      const kolvre::SyntaxTree whole(text);
      for (std::size_t i = 0; i < whole.statements().size(); ++i) whole.statementTree(text, i);
      tree = heapBytes() - between;
    }
  }
  setUp(state, text);
  state.counters["statements_and_index_per_byte"] = held / static_cast<double>(text.size());
  state.counters["whole_tree_per_byte"] = tree / static_cast<double>(text.size());
}

void Reorder(benchmark::State& state) {
  const std::string& text = script(state.range(0), state.range(1));
  for (auto _ : state) {
    std::string out = kolvre::reorderScript(text);
    benchmark::DoNotOptimize(out.data());
  }
  setUp(state, text);
}

// Arguments: size in MiB, number of resources (0: one per 2 KB on average).
void Shapes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"MiB", "res"});
  b->Args({1, 0})->Args({10, 0})->Args({50, 0})->Args({20, 50000});
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(CountCrLf)->Apply(Shapes);
BENCHMARK(CopyToFreshMemory)->Apply(Shapes);
BENCHMARK(Statements)->Apply(Shapes);
BENCHMARK(Scan)->Apply(Shapes);
BENCHMARK(WholeTree)->Apply(Shapes);
BENCHMARK(Reorder)->Apply(Shapes);
BENCHMARK(MemoryHeld)->Args({20, 50000})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
