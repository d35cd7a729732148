#ifndef VORDO_MARKUP_WORD_BYTES_H_
#define VORDO_MARKUP_WORD_BYTES_H_

#include <array>
#include <cstdint>

namespace vordo {

// The Windows-1250 bytes that make up words on a page: A-Z, a-z, and the
// ranges 0x8A-0x8F, 0x9A-0x9F and 0xBC-0xFD, which hold the code page's
// letters. Five signs stand inside those ranges and are no letters: the
// single guillemets 0x8B and 0x9B, the double acute 0xBD, and the
// multiplication and division signs 0xD7 and 0xF7. They, digits and
// everything else separate words.
constexpr bool IsSignAmongLetters(uint8_t byte) {
  return byte == 0x8B || byte == 0x9B || byte == 0xBD || byte == 0xD7 || byte == 0xF7;
}

constexpr bool IsWordByteSlow(uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (((byte >= 0x8A && byte <= 0x8F) || (byte >= 0x9A && byte <= 0x9F) ||
           (byte >= 0xBC && byte <= 0xFD)) &&
          !IsSignAmongLetters(byte));
}

inline constexpr std::array<bool, 256> kWordBytes = [] {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 256; ++byte) table[byte] = IsWordByteSlow(static_cast<uint8_t>(byte));
  return table;
}();

inline bool IsWordByte(uint8_t byte) { return kWordBytes[byte]; }

}  // namespace vordo

#endif  // VORDO_MARKUP_WORD_BYTES_H_
