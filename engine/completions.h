// What the panel's field offers while a reader types: dictionary heads that
// start with the text typed so far.
#ifndef VORDO_ENGINE_COMPLETIONS_H_
#define VORDO_ENGINE_COMPLETIONS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace vordo {

// Up to `limit` heads that start with `prefix` (Windows-1250, compared
// without regard to ASCII case), without their parenthesised groups.
// A prefix of one word gives words of the dictionary's word list that head
// entries, the word itself first, then those most entries hold; a prefix
// with a space gives the phrases of its whole words that go on as typed,
// in the order a lookup of those words ranks them.
std::vector<std::string> Completions(const DictionaryFile& dictionary, std::string_view prefix,
                                     size_t limit);

// A head without its parenthesised groups and the blanks they leave:
// "look up (v.)" is "look up".
std::string BareHead(std::string_view head);

}  // namespace vordo

#endif  // VORDO_ENGINE_COMPLETIONS_H_
