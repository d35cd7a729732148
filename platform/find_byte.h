// Finding bytes in a run of bytes, the searches that reading dictionary
// blocks and page markup spend their time in. The platforms' memchr is
// vector-wide, but for WebAssembly's: WASI's C library reads a byte at a
// time, and there sixteen bytes are tested at once with SIMD instead (see
// platform_wasm.cc, which gives the whole module this memchr). The searches
// the C library lacks (either of two bytes, a byte above ASCII) test eight
// bytes at once.
#ifndef VORDO_PLATFORM_FIND_BYTE_H_
#define VORDO_PLATFORM_FIND_BYTE_H_

#include <cstdint>
#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace vordo {

namespace find_byte_internal {

constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kHighBits = 0x8080808080808080ull;

inline uint64_t LoadWord(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// Whether one of the word's bytes is zero (the test may not say which).
inline bool HasZeroByte(uint64_t word) { return ((word - kOnes) & ~word & kHighBits) != 0; }

}  // namespace find_byte_internal

// The first `byte` in [begin, end), or null.
inline const char* FindByte(const char* begin, const char* end, char byte) {
#if defined(__wasm_simd128__)
  const v128_t pattern = wasm_i8x16_splat(byte);
  const char* pos = begin;
  for (; end - pos >= 16; pos += 16) {
    uint32_t hits = wasm_i8x16_bitmask(wasm_i8x16_eq(wasm_v128_load(pos), pattern));
    if (hits != 0) return pos + __builtin_ctz(hits);
  }
  for (; pos < end; ++pos) {
    if (*pos == byte) return pos;
  }
  return nullptr;
#else
  return static_cast<const char*>(std::memchr(begin, byte, static_cast<size_t>(end - begin)));
#endif
}

// The first `first` or `second` in [begin, end), or end.
inline const char* FindEitherByte(const char* begin, const char* end, char first, char second) {
  using namespace find_byte_internal;
  const uint64_t first_pattern = kOnes * static_cast<uint8_t>(first);
  const uint64_t second_pattern = kOnes * static_cast<uint8_t>(second);
  const char* pos = begin;
  while (end - pos >= 8) {
    const uint64_t word = LoadWord(pos);
    if (HasZeroByte(word ^ first_pattern) || HasZeroByte(word ^ second_pattern)) break;
    pos += 8;
  }
  while (pos < end && *pos != first && *pos != second) ++pos;
  return pos;
}

// The first byte of [begin, end) above 0x7F, or end.
inline const char* FindNonAscii(const char* begin, const char* end) {
  using namespace find_byte_internal;
  const char* pos = begin;
  while (end - pos >= 8 && (LoadWord(pos) & kHighBits) == 0) pos += 8;
  while (pos < end && static_cast<uint8_t>(*pos) < 0x80) ++pos;
  return pos;
}

}  // namespace vordo

#endif  // VORDO_PLATFORM_FIND_BYTE_H_
