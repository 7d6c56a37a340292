// The search for the next of a few bytes in a text, sixteen bytes at a time where the processor
// compares that many at once (every x86-64 one does), else one byte at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define KOLVRE_BYTE_SCAN_SSE2 1
#endif

namespace kolvre::lexing {

// The first position at or after `pos` whose byte is one of `Bytes`, or text.size().
template <char... Bytes>
std::size_t findAnyOf(std::string_view text, std::size_t pos) {
  const char* const base = text.data();
  const std::size_t size = text.size();
#if defined(KOLVRE_BYTE_SCAN_SSE2)
  for (; pos + 16 <= size; pos += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + pos));
    __m128i hits = _mm_setzero_si128();
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Bytes)))), ...);
    if (const int mask = _mm_movemask_epi8(hits); mask != 0)
      return pos + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
  }
#endif
  for (; pos < size; ++pos) {
    const char c = base[pos];
    if (((c == Bytes) || ...)) return pos;
  }
  return size;
}

}  // namespace kolvre::lexing
