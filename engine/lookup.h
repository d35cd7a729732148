#ifndef VORDO_ENGINE_LOOKUP_H_
#define VORDO_ENGINE_LOOKUP_H_

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/result_entry.h"

namespace vordo {

// Searches the query as given and, when lower-casing A-Z changes it, again
// in lower case, merging the two lists in result order without records of
// equal score and head text.
std::vector<ResultEntry> Lookup(const DictionaryFile& dictionary, std::string_view query);

// Looks text up as the panel's input field hands it over: cut to the field's
// kMaxQueryLength characters, then trimmed.
std::vector<ResultEntry> LookupFieldText(const DictionaryFile& dictionary, std::string text);

// Lower-cases the ASCII capitals A-Z only; every other byte stays.
std::string LowerCaseAscii(std::string_view text);

}  // namespace vordo

#endif  // VORDO_ENGINE_LOOKUP_H_
