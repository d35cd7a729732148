#include "engine/completions.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

#include "dictionary/format.h"
#include "engine/lookup.h"
#include "engine/query.h"
#include "engine/word_forms.h"

namespace vordo {
namespace {

// A one-letter prefix would read a twenty-sixth of the word list for a few
// words the reader is about to type anyway.
constexpr size_t kShortestWordPrefix = 2;
// Lemma records read for one prefix at most: "co" starts a few thousand.
constexpr size_t kMaxRecordsRead = 20000;

struct Candidate {
  bool exact;
  uint32_t weight;
  std::string word;
};

// Forms the builder kept with a sign ("costs,") head nothing a reader types.
constexpr std::string_view kSigns = ",;:.!?()\"";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string TrimmedStart(std::string_view text) {
  size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::vector<std::string> WordCompletions(const DictionaryFile& dictionary, const std::string& prefix,
                                         size_t limit) {
  std::vector<std::string> words;
  if (prefix.size() < kShortestWordPrefix || prefix.size() > kMaxWordLength) return words;
  // Records stand in word order. A record's word may be a stem shorter than
  // the prefix ("lov" yields love), so the reading starts where the
  // prefix's first letters belong and ends at the first word past it.
  const FormTables& tables = dictionary.formTables();
  BucketRange all;
  BucketRange bucket;
  if (!tables.AllLemmaRecords(&all) || !tables.LemmaBucket(prefix.substr(0, kShortestWordPrefix), &bucket)) {
    return words;
  }
  std::vector<Candidate> found;
  FormTables::LemmaRecord record;
  size_t read = 0;
  for (size_t pos = bucket.begin; pos < all.end && read < kMaxRecordsRead; pos = record.next, ++read) {
    if (!tables.ReadLemmaRecord(pos, all.end, &record)) break;
    bool begins_prefix = StartsWith(prefix, record.word);
    if (!begins_prefix && !StartsWith(record.word, prefix)) {
      if (record.word > prefix) break;
      continue;
    }
    for (std::string& form : LemmaRecordForms(dictionary, record)) {
      if (!StartsWith(form, prefix) || form.find_first_of(kSigns) != std::string::npos) continue;
      IndexEntry entry;
      if (!dictionary.FindIndexEntry(form.data(), form.size(), &entry)) continue;
      found.push_back({form == prefix, static_cast<uint32_t>(entry.weightWord & kWeightMask), std::move(form)});
    }
  }
  std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    return std::tie(b.exact, b.weight, a.word) < std::tie(a.exact, a.weight, b.word);
  });
  for (Candidate& candidate : found) {
    if (words.size() == limit) break;
    if (std::find(words.begin(), words.end(), candidate.word) == words.end()) {
      words.push_back(std::move(candidate.word));
    }
  }
  return words;
}

std::vector<std::string> PhraseCompletions(const DictionaryFile& dictionary, const std::string& prefix,
                                           size_t limit) {
  std::vector<std::string> phrases;
  std::string whole_words = prefix.substr(0, prefix.rfind(' '));
  std::string lower_prefix = LowerCaseAscii(prefix);
  for (const ResultEntry& result : Lookup(dictionary, whole_words)) {
    if (phrases.size() == limit) break;
    std::string head = BareHead(result.head);
    if (!StartsWith(LowerCaseAscii(head), lower_prefix)) continue;
    if (std::find(phrases.begin(), phrases.end(), head) == phrases.end()) phrases.push_back(std::move(head));
  }
  return phrases;
}

}  // namespace

std::string BareHead(std::string_view head) {
  std::string bare;
  int depth = 0;
  for (char c : head) {
    if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (depth == 0 && !(c == ' ' && (bare.empty() || bare.back() == ' '))) {
      bare += c;
    }
  }
  while (!bare.empty() && bare.back() == ' ') bare.pop_back();
  return bare;
}

std::vector<std::string> Completions(const DictionaryFile& dictionary, std::string_view prefix,
                                     size_t limit) {
  std::string typed = TrimmedStart(prefix.substr(0, kMaxQueryLength));
  if (typed.find(' ') == std::string::npos) return WordCompletions(dictionary, LowerCaseAscii(typed), limit);
  return PhraseCompletions(dictionary, typed, limit);
}

}  // namespace vordo
