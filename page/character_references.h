#ifndef VORDO_PAGE_CHARACTER_REFERENCES_H_
#define VORDO_PAGE_CHARACTER_REFERENCES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vordo {

// What page text becomes in Windows-1250: UTF-8 sequences that stand in a
// page read as Windows-1250, and character references.

// A two-byte UTF-8 sequence (lead 0xC2-0xDF): Latin-1 for leads C2 and C3,
// the Czech and Slovak letters of Latin Extended-A, '?' for the rest.
uint8_t DecodeUtf8Pair(uint8_t lead, uint8_t next);

// A three-byte UTF-8 sequence (lead 0xE1-0xEC): dashes, quotes and a few
// signs; '?' for the rest.
uint8_t DecodeUtf8Triple(uint8_t lead, uint8_t second, uint8_t third);

// A named reference ("amp" for "&amp;"): its byte, or the reference as
// written with a closing ';'.
std::string Named(std::string_view name);

// A decimal reference ("269" for "&#269;"): its byte, or the reference as
// written with a closing ';'.
std::string Numeric(std::string_view digits);

}  // namespace vordo

#endif  // VORDO_PAGE_CHARACTER_REFERENCES_H_
