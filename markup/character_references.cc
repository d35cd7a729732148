#include "markup/character_references.h"

#include <algorithm>
#include <array>

#include "markup/named_reference_table.h"
#include "platform/windows_1250.h"

namespace vordo {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// What browsers read numeric references 0x80-0x9F as (Windows-1252); 0
// where the code page leaves the byte undefined and the value stays.
constexpr char16_t kWindows1252Controls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Windows-1250 byte of every character up to the code page's last
// (U+2122), or kForeignByte.
constexpr char32_t kLastWindows1250Character = 0x2122;
constexpr std::array<uint8_t, kLastWindows1250Character + 1> kWindows1250Bytes = [] {
  std::array<uint8_t, kLastWindows1250Character + 1> table{};
  for (char32_t c = 0; c <= kLastWindows1250Character; ++c) {
    table[c] = c < 0x80 ? static_cast<uint8_t>(c) : kForeignByte;
  }
  for (int i = 0; i < 128; ++i) table[kWindows1250High[i]] = static_cast<uint8_t>(0x80 + i);
  return table;
}();

const NamedReference* FindName(std::string_view name) {
  const NamedReference* end = kNamedReferences + std::size(kNamedReferences);
  const NamedReference* found = std::lower_bound(
      kNamedReferences, end, name,
      [](const NamedReference& entry, std::string_view key) { return entry.name < key; });
  return found != end && found->name == name ? found : nullptr;
}

}  // namespace

uint8_t MarkupByteOf(char32_t character) {
  return character <= kLastWindows1250Character ? kWindows1250Bytes[character] : kForeignByte;
}

bool MatchNamedReference(std::string_view name, bool semicolon, ReferenceMatch* match) {
  if (semicolon && name.size() < kLongestReferenceName) {
    char key[kLongestReferenceName + 1];
    std::copy(name.begin(), name.end(), key);
    key[name.size()] = ';';
    if (const NamedReference* entry = FindName(std::string_view(key, name.size() + 1))) {
      *match = ReferenceMatch{name.size() + 1, entry->first, entry->second};
      return true;
    }
  }
  // Only the legacy names stand in the table without ';'.
  for (size_t length = std::min(name.size(), kLongestReferenceName); length > 0; --length) {
    if (const NamedReference* entry = FindName(name.substr(0, length))) {
      *match = ReferenceMatch{length, entry->first, entry->second};
      return true;
    }
  }
  return false;
}

char32_t NumericReferenceCharacter(uint32_t value) {
  if (value == 0 || value > kLastCodePoint || (value >= 0xD800 && value <= 0xDFFF)) {
    return kReplacementCharacter;
  }
  if (value >= 0x80 && value <= 0x9F && kWindows1252Controls[value - 0x80] != 0) {
    return kWindows1252Controls[value - 0x80];
  }
  return value;
}

}  // namespace vordo
