#ifndef VORDO_DICTIONARY_ENTRY_SEARCH_H_
#define VORDO_DICTIONARY_ENTRY_SEARCH_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace vordo {

// Searches over all forms of one query word (see BuildWordForms).

// Sum of the index weights of the word's forms; `common` tells whether any
// form carries the common-word mark.
int32_t WordWeight(const DictionaryFile& dictionary, std::string_view word, bool* common);

// Appends the entries whose head text holds a form of the word, form by
// form; an entry holding two forms is appended twice.
void FindEntries(const DictionaryFile& dictionary, std::string_view word,
                 std::vector<EntryRef>* list);

// The entries of `list`, in order, whose head text holds a form of the word.
std::vector<EntryRef> FilterEntries(const DictionaryFile& dictionary, std::string_view word,
                                    const std::vector<EntryRef>& list);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_ENTRY_SEARCH_H_
