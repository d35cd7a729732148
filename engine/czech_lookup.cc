#include "engine/czech_lookup.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string>

#include "dictionary/labels.h"
#include "engine/lookup.h"
#include "engine/search.h"

namespace vordo {
namespace {

constexpr int32_t kWholeTranslationScore = 1000;
constexpr int32_t kFurtherWordCost = 10;
// A Czech word as common as "a" or "se" stands in thousands of entries;
// more than this many are not read.
constexpr size_t kMaxPostingsRead = 4000;

bool PostingBefore(const CzechPosting& a, const CzechPosting& b) {
  return a.block != b.block ? a.block < b.block : a.record < b.record;
}

bool SamePosting(const CzechPosting& a, const CzechPosting& b) {
  return a.block == b.block && a.record == b.record;
}

// The postings of the entries that hold every word.
std::vector<CzechPosting> CommonPostings(const CzechIndex& index, const std::vector<std::string>& words) {
  std::vector<CzechPosting> common = index.Postings(words[0]);
  for (size_t i = 1; i < words.size() && !common.empty(); ++i) {
    std::vector<CzechPosting> next = index.Postings(words[i]);
    std::vector<CzechPosting> both;
    std::set_intersection(common.begin(), common.end(), next.begin(), next.end(), std::back_inserter(both),
                          PostingBefore);
    common = std::move(both);
  }
  common.erase(std::unique(common.begin(), common.end(), SamePosting), common.end());
  if (common.size() > kMaxPostingsRead) common.resize(kMaxPostingsRead);
  return common;
}

// The score of a translation for the query words, or 0 when it lacks one.
// Written as the query was, accents and all, it comes before a translation
// that is the query only without them (hezký before hezky).
int32_t TranslationScore(std::string_view query, const std::vector<std::string>& query_words,
                         const std::string& translation) {
  std::vector<std::string> words = FoldedWords(translation);
  for (const std::string& word : query_words) {
    if (std::find(words.begin(), words.end(), word) == words.end()) return 0;
  }
  if (words.size() == query_words.size() && LowerCaseAscii(translation) == LowerCaseAscii(query)) {
    return kWholeTranslationScore;
  }
  int32_t further_words = static_cast<int32_t>(words.size() - query_words.size());
  return kWholeTranslationScore - 1 - kFurtherWordCost * further_words;
}

}  // namespace

std::vector<ResultEntry> CzechLookup(const DictionaryFile& dictionary, const CzechIndex& index,
                                     std::string_view query) {
  std::vector<ResultEntry> results;
  std::vector<std::string> words = FoldedWords(query);
  if (words.empty() || !index.IsOpen()) return results;
  std::map<std::string, size_t> by_translation;  // translation -> its result
  for (const CzechPosting& posting : CommonPostings(index, words)) {
    EntryRef entry;
    if (!RecordOfBlock(dictionary.GetBlock(posting.block), posting.record, &entry)) continue;
    std::string head = ExpandLabels(entry.head, kHeadLabelTable);
    std::string_view translations(entry.translations);
    size_t pos = 0;
    while (pos <= translations.size()) {
      size_t end = std::min(translations.find('\t', pos), translations.size());
      std::string translation = ExpandLabels(translations.substr(pos, end - pos), kTranslationLabelTable);
      pos = end + 1;
      int32_t score = TranslationScore(query, words, translation);
      if (score <= 0) continue;
      auto [found, added] = by_translation.emplace(translation, results.size());
      if (added) results.push_back({score, translation, {}});
      std::vector<std::string>& heads = results[found->second].translations;
      if (std::find(heads.begin(), heads.end(), head) == heads.end()) heads.push_back(head);
    }
  }
  std::stable_sort(results.begin(), results.end(), ResultBefore);
  if (results.size() > kMaxCzechResults) results.resize(kMaxCzechResults);
  return results;
}

CzechIndex& ProcessCzechIndex() {
  static CzechIndex index;
  return index;
}

}  // namespace vordo
