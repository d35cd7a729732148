// Finding one byte in a run of bytes, the search that reading dictionary
// blocks spends its time in. The platforms' memchr is word- or vector-wide,
// but for WebAssembly's: WASI's C library reads a byte at a time, and there
// eight bytes are tested at once instead.
#ifndef VORDO_PLATFORM_FIND_BYTE_H_
#define VORDO_PLATFORM_FIND_BYTE_H_

#include <cstdint>
#include <cstring>

namespace vordo {

// The first `byte` in [begin, end), or null, testing eight bytes at a time.
inline const char* FindByteWordwise(const char* begin, const char* end, char byte) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHighBits = 0x8080808080808080ull;
  const uint64_t pattern = kOnes * static_cast<uint8_t>(byte);
  const char* pos = begin;
  while (end - pos >= 8) {
    uint64_t word;
    std::memcpy(&word, pos, sizeof word);
    const uint64_t difference = word ^ pattern;  // a zero byte where `byte` stands
    if (((difference - kOnes) & ~difference & kHighBits) != 0) break;
    pos += 8;
  }
  for (; pos < end; ++pos) {
    if (*pos == byte) return pos;
  }
  return nullptr;
}

// The first `byte` in [begin, end), or null.
inline const char* FindByte(const char* begin, const char* end, char byte) {
#if defined(__wasm__)
  return FindByteWordwise(begin, end, byte);
#else
  return static_cast<const char*>(std::memchr(begin, byte, static_cast<size_t>(end - begin)));
#endif
}

}  // namespace vordo

#endif  // VORDO_PLATFORM_FIND_BYTE_H_
