// Throughput of the inline hex codec on a 10 MB image, beside a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "images/hex_data.h"

namespace {

constexpr std::size_t kImageBytes = 10u << 20;

const std::vector<std::uint8_t>& image() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<std::uint8_t> b(kImageBytes);
    std::mt19937 random(1);
    for (auto& x : b) x = static_cast<std::uint8_t>(random());
    return b;
  }();
  return bytes;
}

const std::string& block() {
  static const std::string text = *kolvre::encodeImageBlock("BIG BITMAP\r\n{\r\n}", image());
  return text;
}

void Memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> copy(kImageBytes);
  for (auto _ : state) {
    std::memcpy(copy.data(), image().data(), kImageBytes);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kImageBytes));
}
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);

void Decode(benchmark::State& state) {
  const std::string& text = block();
  for (auto _ : state) benchmark::DoNotOptimize(kolvre::decodeImageBlock(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kImageBytes));
}
BENCHMARK(Decode)->Unit(benchmark::kMillisecond);

void Encode(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(kolvre::encodeImageBlock("BIG BITMAP\r\n{\r\n}", image()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kImageBytes));
}
BENCHMARK(Encode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
