#ifndef VORDO_PAGE_WORD_BYTES_H_
#define VORDO_PAGE_WORD_BYTES_H_

#include <cstdint>

namespace vordo {

// The Windows-1250 bytes that make up words on a page: A-Z, a-z, and the
// ranges 0x8A-0x8F, 0x9A-0x9F and 0xBC-0xFD, which hold the code page's
// letters (with a few neighbours). Digits and everything else separate words.
inline bool IsWordByte(uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= 0x8A && byte <= 0x8F) || (byte >= 0x9A && byte <= 0x9F) ||
         (byte >= 0xBC && byte <= 0xFD);
}

}  // namespace vordo

#endif  // VORDO_PAGE_WORD_BYTES_H_
