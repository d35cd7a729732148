#ifndef VORDO_MARKUP_WORD_BYTES_H_
#define VORDO_MARKUP_WORD_BYTES_H_

#include <array>
#include <cstdint>

namespace vordo {

// The Windows-1250 bytes that make up words on a page: A-Z, a-z, and the
// ranges 0x8A-0x8F, 0x9A-0x9F and 0xBC-0xFD, which hold the code page's
// letters (with a few neighbours). Digits and everything else separate words.
constexpr bool IsWordByteSlow(uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= 0x8A && byte <= 0x8F) || (byte >= 0x9A && byte <= 0x9F) ||
         (byte >= 0xBC && byte <= 0xFD);
}

inline constexpr std::array<bool, 256> kWordBytes = [] {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 256; ++byte) table[byte] = IsWordByteSlow(static_cast<uint8_t>(byte));
  return table;
}();

inline bool IsWordByte(uint8_t byte) { return kWordBytes[byte]; }

}  // namespace vordo

#endif  // VORDO_MARKUP_WORD_BYTES_H_
