// Czech to English: the entries whose translations hold the words of a
// Czech query, found through dic-cs.bin.
#ifndef VORDO_ENGINE_CZECH_LOOKUP_H_
#define VORDO_ENGINE_CZECH_LOOKUP_H_

#include <string_view>
#include <vector>

#include "dictionary/czech_index.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/result_entry.h"

namespace vordo {

// The translations that hold every word of `query` as a whole word (accents
// and capitals aside: "prilis" finds "příliš"), each as a result whose head
// is the translation and whose translations are the English heads that
// have it, at most kMaxCzechResults of them. A translation that is exactly
// the query scores 1000, or 999 when only its accents differ; each further
// word costs 10, so the closest come first.
std::vector<ResultEntry> CzechLookup(const DictionaryFile& dictionary, const CzechIndex& index,
                                     std::string_view query);

inline constexpr size_t kMaxCzechResults = 100;

// The process-wide Czech index beside ProcessDictionary's file.
CzechIndex& ProcessCzechIndex();

}  // namespace vordo

#endif  // VORDO_ENGINE_CZECH_LOOKUP_H_
