#include "engine/answer.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "engine/derived_words.h"
#include "engine/head_words.h"
#include "engine/lookup.h"
#include "engine/query.h"
#include "engine/word_forms.h"
#include "markup/word_bytes.h"

namespace vordo {
namespace {

// Words too slight to be half of a compound: "therein" is no "the rein".
constexpr std::string_view kNoCompoundParts[] = {
    "all", "and", "any", "are", "but", "can", "for", "had", "has", "her", "him", "his", "how",
    "its", "may", "nor", "not", "one", "our", "out", "she", "the", "too", "was", "who", "why",
    "yet", "you"};

bool IsLetter(char c) { return IsWordByte(static_cast<uint8_t>(c)); }

// The word without the signs before and after it ("dog!" is dog).
std::string_view WithoutSigns(std::string_view word) {
  while (!word.empty() && !IsLetter(word.front())) word.remove_prefix(1);
  while (!word.empty() && !IsLetter(word.back())) word.remove_suffix(1);
  return word;
}

// A word of the word list that has an entry of its own: its results.
bool LookUpBase(const DictionaryFile& dictionary, const std::string& base,
                std::vector<ResultEntry>* results) {
  if (!YieldsWordForms(dictionary, base)) return false;
  *results = Lookup(dictionary, base);
  return HasEntryOfItsOwn(*results);
}

bool IsCompoundPart(const DictionaryFile& dictionary, const std::string& part,
                    std::vector<ResultEntry>* results) {
  return !std::binary_search(std::begin(kNoCompoundParts), std::end(kNoCompoundParts), part) &&
         LookUpBase(dictionary, part, results);
}

QueryAnswer Derived(std::string base, std::vector<ResultEntry> results) {
  QueryAnswer answer;
  answer.kind = QueryAnswer::Kind::kDerived;
  answer.base = std::move(base);
  answer.results = std::move(results);
  return answer;
}

}  // namespace

QueryAnswer AnswerFieldText(const DictionaryFile& dictionary, std::string text) {
  if (text.size() > kMaxQueryLength) text.resize(kMaxQueryLength);
  TrimQuery(&text);
  QueryAnswer answer;
  answer.results = Lookup(dictionary, text);
  if (!answer.results.empty()) {
    answer.kind = QueryAnswer::Kind::kFound;
    return answer;
  }
  std::string_view word = WithoutSigns(text);
  if (word.empty() || word.find(' ') != std::string_view::npos) return answer;
  if (word.size() != text.size()) {
    std::vector<ResultEntry> results = Lookup(dictionary, word);
    if (!results.empty()) return Derived(std::string(word), std::move(results));
  }
  std::vector<ResultEntry> results;
  for (const std::string& base : DerivationBases(word)) {
    if (LookUpBase(dictionary, base, &results)) return Derived(base, std::move(results));
  }
  for (const auto& [first, second] : CompoundParts(word)) {
    std::vector<ResultEntry> second_results;
    if (!IsCompoundPart(dictionary, first, &results) ||
        !IsCompoundPart(dictionary, second, &second_results)) {
      continue;
    }
    results.insert(results.end(), std::make_move_iterator(second_results.begin()),
                   std::make_move_iterator(second_results.end()));
    return Derived(first + " " + second, std::move(results));
  }
  answer.suggestions = SpellingSuggestions(dictionary, word, kMaxSuggestions);
  if (!answer.suggestions.empty()) answer.kind = QueryAnswer::Kind::kSuggested;
  return answer;
}

}  // namespace vordo
