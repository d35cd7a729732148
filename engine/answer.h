// What to show for a query typed into the extension's panel or given to the
// tool: its results when it finds any, exactly as Lookup finds them;
// otherwise what a reader can still use.
#ifndef VORDO_ENGINE_ANSWER_H_
#define VORDO_ENGINE_ANSWER_H_

#include <string>
#include <vector>

#include "dictionary/czech_index.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/result_entry.h"

namespace vordo {

struct QueryAnswer {
  enum class Kind {
    kFound,      // the query's own results
    kDerived,    // the results of `base`, which the query is made from
    kSuggested,  // nothing found; `suggestions` are spelt like the query
    kCzech,      // the query is Czech: `results` are its translations, each
                 // with the English heads that have it
    kNothing,
  };
  Kind kind = Kind::kNothing;
  std::vector<ResultEntry> results;
  // kDerived: what was looked up instead, in Windows-1250: the word without
  // the signs around it ("dog" for "dog!"), the base of a derived word
  // ("licensing" for "relicensing"), or the two words of a compound
  // ("new line" for "newline").
  std::string base;
  std::vector<std::string> suggestions;  // kSuggested, nearest first
};

// How many spelling suggestions an answer offers at most.
inline constexpr size_t kMaxSuggestions = 5;

// Answers text as the field hands it over (cut to its length, trimmed). A
// query of one word that finds nothing is looked up without the signs
// around it, then through the words it may be derived from (the base must
// be a word of the word list with an entry of its own), then as a compound
// of two such words; failing all that, head words spelt like it are
// suggested. A query that finds nothing is also looked up as Czech in
// `czech` (when given and open): first when it holds a letter beyond
// ASCII (příliš), else after the English readings (pes, prilis).
QueryAnswer AnswerFieldText(const DictionaryFile& dictionary, std::string text,
                            const CzechIndex* czech = nullptr);

}  // namespace vordo

#endif  // VORDO_ENGINE_ANSWER_H_
