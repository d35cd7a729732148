#ifndef VORDO_DICTIONARY_ENTRY_SEARCH_H_
#define VORDO_DICTIONARY_ENTRY_SEARCH_H_

#include <cstdint>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/form_set.h"

namespace vordo {

// Searches over all forms of one query word.

// Sum of the index weights of the forms; `common` tells whether any form
// carries the common-word mark.
int32_t WordWeight(const DictionaryFile& dictionary, const FormSet& forms, bool* common);

// Appends the entries whose head text holds one of the forms, form by form;
// an entry holding two forms is appended twice.
void FindEntries(const DictionaryFile& dictionary, const FormSet& forms,
                 std::vector<EntryRef>* list);

// The entries of `list`, in order, whose head text holds one of the forms.
std::vector<EntryRef> FilterEntries(const FormSet& forms, const std::vector<EntryRef>& list);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_ENTRY_SEARCH_H_
