// The words of a result's head as the engine compares them with a reader's
// text: "look up (v.)" is look and up, "don't ask!" is don't and ask.
#ifndef VORDO_ENGINE_HEAD_WORDS_H_
#define VORDO_ENGINE_HEAD_WORDS_H_

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/result_entry.h"

namespace vordo {

// The words of a head into `words`, parenthesised groups left out and
// signs around a word ("ask!") taken off, in lower case. A word of signs
// only stays, empty, so that no text matches it. The strings of `words` are
// reused: a lookup of "the" reads thousands of heads.
void HeadWords(std::string_view head, std::vector<std::string>* words);

// Whether some result's head is one word: the query word, or a form of it,
// has an entry of its own rather than only phrases that hold it.
bool HasEntryOfItsOwn(const std::vector<ResultEntry>& results);

}  // namespace vordo

#endif  // VORDO_ENGINE_HEAD_WORDS_H_
