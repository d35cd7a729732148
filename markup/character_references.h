#ifndef VORDO_MARKUP_CHARACTER_REFERENCES_H_
#define VORDO_MARKUP_CHARACTER_REFERENCES_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vordo {

// Character references of page text, read as browsers read them, so that
// the marker never cuts one that a browser decodes; and the one byte that
// stands for each character in the tokenizer.

// The byte that the tokenizer reads for a character without a Windows-1250
// form: neither markup nor part of a word.
constexpr uint8_t kForeignByte = 0x7F;

// A character's Windows-1250 byte, or kForeignByte.
uint8_t MarkupByteOf(char32_t character);

// The characters a matched reference stands for and the bytes of its name
// it takes (a ';' that closes it included).
struct ReferenceMatch {
  size_t length = 0;
  char32_t first = 0;
  char32_t second = 0;  // 0 when it stands for one character
};

// The longest named reference at the start of `name`, a run of ASCII
// letters and digits followed by ';' when `semicolon`: "amp" of "ampx"
// (browsers decode the legacy names without ';'), "hellip;" only with its
// ';'. False when none matches.
bool MatchNamedReference(std::string_view name, bool semicolon, ReferenceMatch* match);

// The character a numeric reference stands for in a browser: 0, surrogates
// and values beyond Unicode become U+FFFD, and 0x80-0x9F are read as
// Windows-1252. `value` may be saturated at any number above 0x10FFFF.
char32_t NumericReferenceCharacter(uint32_t value);

}  // namespace vordo

#endif  // VORDO_MARKUP_CHARACTER_REFERENCES_H_
