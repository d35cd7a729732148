#ifndef VORDO_ENGINE_SEARCH_H_
#define VORDO_ENGINE_SEARCH_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/result_entry.h"
#include "engine/word_forms.h"

namespace vordo {

// Splits a query at single spaces: a leading space gives an empty first
// word, each further space of a run an empty word, a final space nothing.
std::vector<std::string_view> SplitQueryWords(std::string_view query);

// Relevance of an expanded head text: the average over its plain tokens of
// 1000 (a query word), 600 (another form of a query word) or 0, minus one
// per token and per parenthesised group. A head without plain tokens
// averages 0.
int32_t ScoreHeadText(const std::vector<std::string_view>& words, const FormSet& forms,
                      std::string_view head);

// Result order: higher score first, then head text by unsigned bytes, the
// shorter first.
bool ResultBefore(const ResultEntry& a, const ResultEntry& b);

// One search pass: every entry whose head holds a form of each query word,
// scored and in result order. The text ends at its first NUL, if any.
std::vector<ResultEntry> SearchQuery(const DictionaryFile& dictionary, std::string_view query);

}  // namespace vordo

#endif  // VORDO_ENGINE_SEARCH_H_
