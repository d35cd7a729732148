// Words of a page's text as a reader takes them. The text comes as the
// browser holds it (UTF-16) and may hold any script; the dictionary spells
// its heads in Windows-1250, so a word is looked up by its folded spelling:
// letters that the code page lacks are written with those it has (naïve as
// naive, ﬁnd as find), curly apostrophes and Unicode hyphens as ' and -.
#ifndef VORDO_ENGINE_PAGE_WORDS_H_
#define VORDO_ENGINE_PAGE_WORDS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/letter_tables.h"

namespace vordo {

struct PageWord {
  size_t begin = 0;  // UTF-16 code units of the text
  size_t end = 0;
  // Windows-1250; empty when the word holds a letter that the code page
  // cannot spell (Cyrillic, Greek, CJK) or a digit other than 0-9.
  std::string spelling;
  // Only white space stands between this word and the one before it, so
  // the two can be words of one phrase. The paragraph separator U+2029 is
  // no white space here: no phrase reaches over it.
  bool follows_closely = false;
};

CharacterKind KindOf(char32_t character);

// - and the Unicode hyphens ‐ and ‑, which a word keeps as -.
bool IsHyphen(char32_t character);

// Appends the Windows-1250 spelling of a letter, a combining mark (nothing)
// or a digit 0-9; false for anything else.
bool AppendSpelling(char32_t character, std::string* out);

// The words of `text`: runs of letters, combining marks and digits that hold
// a letter, with an apostrophe (' ’ ´ ʼ) or a hyphen (- ‐ ‑) kept where it
// stands between two of those; soft hyphens inside a word are skipped.
// Anything else (signs, digits-only runs, white space) separates words.
std::vector<PageWord> SplitPageWords(std::u16string_view text);

}  // namespace vordo

#endif  // VORDO_ENGINE_PAGE_WORDS_H_
