// The lookup of a word that the mouse rests on. Unlike a typed query, the
// word comes with the text around it: it is read as a reader means it
// (a contraction, a possessive, a hyphenated word, a word of a phrase), and
// the phrase it stands in comes first when the dictionary has it.
#ifndef VORDO_ENGINE_PAGE_LOOKUP_H_
#define VORDO_ENGINE_PAGE_LOOKUP_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/result_entry.h"
#include "engine/answer.h"
#include "engine/page_words.h"

namespace vordo {

struct PageLookup {
  // What was looked up, in Windows-1250: the text of the panel's field.
  // Empty when the text holds no word at the rest.
  std::string word;
  // The head of the phrase around the word whose entries come first, or
  // empty when the word stands in none that the dictionary has.
  std::string phrase;
  // Where the word under the mouse stands in the text, in UTF-16 code
  // units [begin, end): what the page shows as the word looked up.
  size_t word_begin = 0;
  size_t word_end = 0;
  // The results; when the word finds none, what a typed query of the word
  // would show instead (a word it is derived from, suggestions).
  QueryAnswer answer;
};

// The readings of a word, the longest first: the word itself; without the
// clitic of a contraction or possessive (isn't → is, don't → do, we've →
// we, user's → user); and then the hyphenated part that code unit `at` of
// the page text lies in (well-known → known).
std::vector<std::string> WordReadings(std::u16string_view text, const PageWord& word, size_t at);

// Looks up the word of `text` at code unit `at`: the first reading that the
// dictionary has an entry of its own for (or whose forms have one), else the
// first that finds anything, else the word itself. The longest dictionary
// head made of consecutive words of the text that holds the word (matched
// with word forms, as a typed lookup matches them) comes first. A word that
// finds nothing is answered as AnswerFieldText answers it (with `czech`, a
// Czech word of a Czech page shows its English heads).
PageLookup LookupPageWord(const DictionaryFile& dictionary, std::u16string_view text, size_t at,
                          const CzechIndex* czech = nullptr);

}  // namespace vordo

#endif  // VORDO_ENGINE_PAGE_LOOKUP_H_
