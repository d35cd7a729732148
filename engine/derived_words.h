// What a reader gets for a word that has no entry of its own: the word it
// is derived from (relicensing from licensing, happily from happy), the
// words a compound is written of (newline: new, line), or head words
// spelt like it (recieve: receive).
#ifndef VORDO_ENGINE_DERIVED_WORDS_H_
#define VORDO_ENGINE_DERIVED_WORDS_H_

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace vordo {

// The words that `word` may be made of by one English prefix (re-, un-,
// non-, sub-, over-, under-, pre-, mis-, dis-, co-, multi-, with or without
// a hyphen), in the word's own form (sublicenses: licenses). Lower case.
// A capitalised word, mostly a name, takes a prefix only before a hyphen.
std::vector<std::string> PrefixBases(std::string_view word);

// Whether the word is written with a capital and then small letters.
bool IsCapitalized(std::string_view word);

// The words that `word` may be derived from by one English suffix (-ly,
// -ness, -less, -able, -ible, -er, -or, -ism, -ist, -ize, -ise, -ation)
// under English spelling rules, the most likely first; also from the word
// without a plural or verb ending (modernizes). Lower case; none of them
// checked against the dictionary. A word in mixed case ("hashISt") has
// none, a capitalised one none that makes people (Pinter is no pint-er).
std::vector<std::string> SuffixBases(std::string_view word);

// The two words a compound written as one word may be made of (newline:
// new line), or its halves at its hyphen (freeze-dried: freeze dried), the
// longer first part first. Each part has four letters or more, or is one
// of the short words that often start or end compounds (new, key, web). A
// capitalised word, mostly a name, is split only at a hyphen.
std::vector<std::pair<std::string, std::string>> CompoundParts(std::string_view word);

// Up to `limit` words of the dictionary's word list that hold entries and
// are spelt within two edits of `word` (insertion, deletion, substitution,
// or swapping two neighbours; one edit for words of four letters or fewer),
// nearest first, then the more entries hold the word the sooner.
std::vector<std::string> SpellingSuggestions(const DictionaryFile& dictionary, std::string_view word,
                                             size_t limit);

// The optimal string alignment distance of `a` and `b`, or `bound` + 1 when
// it exceeds `bound`.
size_t EditDistance(std::string_view a, std::string_view b, size_t bound);

}  // namespace vordo

#endif  // VORDO_ENGINE_DERIVED_WORDS_H_
