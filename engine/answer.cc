#include "engine/answer.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "dictionary/entry_search.h"
#include "engine/czech_lookup.h"
#include "engine/derived_words.h"
#include "engine/head_words.h"
#include "engine/lookup.h"
#include "engine/query.h"
#include "engine/word_forms.h"
#include "markup/word_bytes.h"

namespace vordo {
namespace {

// A base, or half of a compound, stands with its forms in at least this
// many entries: rare words make false bases ("prepend" is no pre- + pend).
constexpr int32_t kLeastBaseWeight = 3;
// Halves of a compound are commoner still: "prepend" is no prep end.
constexpr int32_t kLeastCompoundPartWeight = 5;

bool EndsWith(const std::string& text, char last) { return !text.empty() && text.back() == last; }

bool IsLetter(char c) { return IsWordByte(static_cast<uint8_t>(c)); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetterOrDigit(char c) { return IsLetter(c) || IsDigit(c); }

// The word without the signs before and after it ("dog!" is dog).
std::string_view WithoutSigns(std::string_view word) {
  while (!word.empty() && !IsLetterOrDigit(word.front())) word.remove_prefix(1);
  while (!word.empty() && !IsLetterOrDigit(word.back())) word.remove_suffix(1);
  return word;
}

// How many entries hold the word or one of its forms.
int32_t FormsWeight(const DictionaryFile& dictionary, const std::string& word) {
  bool common = false;
  return WordWeight(dictionary, BuildWordForms(dictionary, word), &common);
}

// A word of the word list whose results hold an entry of its own (with
// `exactly`, one whose head is the word itself, not another of its forms):
// its results.
bool LookUpBase(const DictionaryFile& dictionary, const std::string& base, bool exactly,
                std::vector<ResultEntry>* results) {
  if (!YieldsWordForms(dictionary, base) || FormsWeight(dictionary, base) < kLeastBaseWeight) return false;
  *results = Lookup(dictionary, base);
  if (!exactly) return HasEntryOfItsOwn(*results);
  std::vector<std::string> words;
  return std::any_of(results->begin(), results->end(), [&](const ResultEntry& result) {
    HeadWords(result.head, &words);
    return words.size() == 1 && words[0] == base;
  });
}

QueryAnswer Derived(std::string base, std::vector<ResultEntry> results) {
  QueryAnswer answer;
  answer.kind = QueryAnswer::Kind::kDerived;
  answer.base = std::move(base);
  answer.results = std::move(results);
  return answer;
}

}  // namespace

QueryAnswer AnswerFieldText(const DictionaryFile& dictionary, std::string text,
                            const CzechIndex* czech) {
  if (text.size() > kMaxQueryLength) text.resize(kMaxQueryLength);
  TrimQuery(&text);
  QueryAnswer answer;
  answer.results = Lookup(dictionary, text);
  if (!answer.results.empty()) {
    answer.kind = QueryAnswer::Kind::kFound;
    return answer;
  }
  auto as_czech = [&]() {
    if (czech == nullptr || std::none_of(text.begin(), text.end(), IsLetter)) return false;
    answer.results = CzechLookup(dictionary, *czech, text);
    if (answer.results.empty()) return false;
    answer.kind = QueryAnswer::Kind::kCzech;
    answer.base = text;
    return true;
  };
  bool beyond_ascii =
      std::any_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) >= 0x80; });
  if (beyond_ascii && as_czech()) return answer;
  std::string_view word = WithoutSigns(text);
  if (word.empty() || word.find(' ') != std::string_view::npos) {
    if (!beyond_ascii) as_czech();
    return answer;
  }
  if (word.size() != text.size()) {
    std::vector<ResultEntry> results = Lookup(dictionary, word);
    if (!results.empty()) return Derived(std::string(word), std::move(results));
  }
  // A word with digits (MP3, 1990s) is derived from nothing and spelt like
  // nothing: "1990s" is no "s".
  if (std::any_of(word.begin(), word.end(), IsDigit)) {
    if (!beyond_ascii) as_czech();
    return answer;
  }
  // A prefix leaves the word's own form (sublicenses: licenses); a suffix's
  // base must be a head itself ("supersize" is not "supers" + "-ize").
  std::vector<ResultEntry> results;
  for (const std::string& base : PrefixBases(word)) {
    if (LookUpBase(dictionary, base, false, &results)) return Derived(base, std::move(results));
  }
  for (const std::string& base : SuffixBases(word)) {
    if (LookUpBase(dictionary, base, true, &results)) return Derived(base, std::move(results));
  }
  // Of the ways to split a compound into two heads, the one whose rarer
  // half stands in the most entries ("shortstop" is short stop, not shorts
  // top).
  int32_t best_weight = 0;
  std::string best_base;
  std::vector<ResultEntry> first_results;
  std::vector<ResultEntry> second_results;
  std::vector<std::pair<std::string, std::string>> splits = CompoundParts(word);
  auto is_split = [&](const std::string& first, const std::string& second) {
    return std::find(splits.begin(), splits.end(), std::make_pair(first, second)) != splits.end() &&
           LookUpBase(dictionary, first, true, &first_results) &&
           LookUpBase(dictionary, second, true, &second_results);
  };
  for (const auto& [first, second] : splits) {
    // An "s" that may start the second word is not the first word's plural:
    // "columnselection" is column selection, not columns election.
    if (EndsWith(first, 's') && is_split(first.substr(0, first.size() - 1), "s" + second)) continue;
    if (!is_split(first, second)) continue;
    int32_t weight = std::min(FormsWeight(dictionary, first), FormsWeight(dictionary, second));
    if (weight < kLeastCompoundPartWeight || weight <= best_weight) continue;
    best_weight = weight;
    best_base = first + " " + second;
    results = std::move(first_results);
    results.insert(results.end(), std::make_move_iterator(second_results.begin()),
                   std::make_move_iterator(second_results.end()));
  }
  if (!best_base.empty()) return Derived(best_base, std::move(results));
  if (!beyond_ascii && as_czech()) return answer;
  answer.suggestions = SpellingSuggestions(dictionary, word, kMaxSuggestions);
  if (!answer.suggestions.empty()) answer.kind = QueryAnswer::Kind::kSuggested;
  return answer;
}

}  // namespace vordo
