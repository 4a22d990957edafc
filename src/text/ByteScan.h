// Searching and counting byte values, and finding bytes outside ASCII, in a block of bytes,
// sixteen bytes at a time.
#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytescan {

// The first byte equal to value in [from, to), or to. The C library's memchr is a plain byte
// loop in some runtimes, and line splitting runs over every byte of a file.
inline const char* Find(const char* from, const char* to, char value) {
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(value);
  for (; to - from >= 16; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted));
    if (hits != 0) return from + __builtin_ctz(static_cast<unsigned>(hits));
  }
  for (; from < to; ++from)
    if (*from == value) return from;
  return to;
#else
  const void* found = std::memchr(from, value, static_cast<std::size_t>(to - from));
  return found ? static_cast<const char*>(found) : to;
#endif
}

// How many bytes of [from, to) equal value.
inline std::size_t Count(const char* from, const char* to, char value) {
  std::size_t count = 0;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(value);
  const __m128i zero = _mm_setzero_si128();
  while (to - from >= 16) {
    // Each byte of counters counts the hits at its place, for at most 255 blocks so that none
    // overflows; then the sixteen are summed in two halves.
    __m128i counters = zero;
    const std::ptrdiff_t blocks = (to - from) / 16 < 255 ? (to - from) / 16 : 255;
    for (const char* stop = from + blocks * 16; from < stop; from += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
      counters = _mm_sub_epi8(counters, _mm_cmpeq_epi8(block, wanted));
    }
    const __m128i sums = _mm_sad_epu8(counters, zero);
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; from < to; ++from) count += *from == value;
  return count;
}

// The first byte of [from, to) equal to one of values[0, count), or to; count at most 8.
inline const char* FindAnyOf(const char* from, const char* to, const char* values, int count) {
#if defined(__SSE2__)
  __m128i wanted[8];
  for (int k = 0; k < count; ++k) wanted[k] = _mm_set1_epi8(values[k]);
  for (; to - from >= 16; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    __m128i equal = _mm_setzero_si128();
    for (int k = 0; k < count; ++k) equal = _mm_or_si128(equal, _mm_cmpeq_epi8(block, wanted[k]));
    const int hits = _mm_movemask_epi8(equal);
    if (hits != 0) return from + __builtin_ctz(static_cast<unsigned>(hits));
  }
#endif
  for (; from < to; ++from)
    for (int k = 0; k < count; ++k)
      if (*from == values[k]) return from;
  return to;
}

// The first byte of [from, to) outside ASCII (0x80 or more), or to.
inline const char* FindNonAscii(const char* from, const char* to) {
#if defined(__SSE2__)
  for (; to - from >= 16; from += 16) {
    const int high = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
    if (high != 0) return from + __builtin_ctz(static_cast<unsigned>(high));
  }
#endif
  for (; from < to; ++from)
    if (static_cast<unsigned char>(*from) >= 0x80) return from;
  return to;
}

}  // namespace bytescan
