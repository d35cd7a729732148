#ifndef VORDO_DICTIONARY_FORM_SET_H_
#define VORDO_DICTIONARY_FORM_SET_H_

#include <string>
#include <vector>

namespace vordo {

// All forms of one query word, sorted by unsigned bytes, without duplicates.
// The engine builds it once per word; the entry searches take it as built.
using FormSet = std::vector<std::string>;

}  // namespace vordo

#endif  // VORDO_DICTIONARY_FORM_SET_H_
