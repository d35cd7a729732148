#include "engine/search.h"

#include <algorithm>
#include <cstring>

#include "dictionary/entry_search.h"
#include "dictionary/labels.h"

namespace vordo {
namespace {

constexpr uint32_t kQueryWordValue = 1000;
constexpr uint32_t kFormValue = 600;

struct WordStatistics {
  int32_t weight;
  int32_t position;
  bool common;
};

// `word_forms[i]` holds the forms of words[i].
std::vector<EntryRef> CollectCandidates(const DictionaryFile& dictionary,
                                        const std::vector<FormSet>& word_forms) {
  std::vector<EntryRef> candidates;
  if (word_forms.empty()) return candidates;
  if (word_forms.size() == 1) {
    FindEntries(dictionary, word_forms[0], &candidates);
    return candidates;
  }
  std::vector<WordStatistics> statistics;
  statistics.reserve(word_forms.size());
  for (size_t i = 0; i < word_forms.size(); ++i) {
    WordStatistics word{0, static_cast<int32_t>(i), false};
    word.weight = WordWeight(dictionary, word_forms[i], &word.common);
    statistics.push_back(word);
  }
  // Start from the rarest word that is not common, so the list starts small.
  std::stable_sort(statistics.begin(), statistics.end(),
                   [](const WordStatistics& a, const WordStatistics& b) {
                     if (a.common != b.common) return !a.common;
                     return a.weight < b.weight;
                   });
  FindEntries(dictionary, word_forms[static_cast<size_t>(statistics[0].position)], &candidates);
  for (size_t i = 1; i < statistics.size(); ++i) {
    candidates = FilterEntries(word_forms[static_cast<size_t>(statistics[i].position)], candidates);
  }
  return candidates;
}

bool SameEntry(const EntryRef& a, const EntryRef& b) {
  return std::strcmp(a.head, b.head) == 0 && std::strcmp(a.translations, b.translations) == 0;
}

bool EntryBefore(const EntryRef& a, const EntryRef& b) {
  int head = std::strcmp(a.head, b.head);
  if (head != 0) return head < 0;
  return std::strcmp(a.translations, b.translations) < 0;
}

std::vector<std::string> SplitTranslations(const char* text) {
  std::vector<std::string> parts;
  if (*text == '\0') return parts;
  parts.reserve(4);
  const char* pos = text;
  while (*pos != '\0') {
    size_t length = std::strcspn(pos, "\t");
    parts.push_back(ExpandLabels(std::string_view(pos, length), kTranslationLabelTable));
    pos += length;
    if (*pos == '\t') ++pos;
  }
  return parts;
}

// Puts records into result order. Records are sorted through an index so
// that each is moved once; records already in head order need only a stable
// sort by score, which spares comparing the heads of equal scores.
std::vector<ResultEntry> SortedResults(std::vector<ResultEntry> results) {
  std::vector<uint32_t> order(results.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  bool heads_ascending =
      std::is_sorted(results.begin(), results.end(),
                     [](const ResultEntry& a, const ResultEntry& b) { return a.head < b.head; });
  if (heads_ascending) {
    std::stable_sort(order.begin(), order.end(), [&results](uint32_t a, uint32_t b) {
      return results[a].score > results[b].score;
    });
  } else {
    std::sort(order.begin(), order.end(), [&results](uint32_t a, uint32_t b) {
      return ResultBefore(results[a], results[b]);
    });
  }
  std::vector<ResultEntry> sorted;
  sorted.reserve(results.size());
  for (uint32_t index : order) sorted.push_back(std::move(results[index]));
  return sorted;
}

}  // namespace

std::vector<std::string_view> SplitQueryWords(std::string_view query) {
  std::vector<std::string_view> words;
  size_t pos = 0;
  while (pos < query.size()) {
    size_t space = query.find(' ', pos);
    if (space == std::string_view::npos) {
      words.push_back(query.substr(pos));
      break;
    }
    words.push_back(query.substr(pos, space - pos));
    pos = space + 1;
  }
  return words;
}

int32_t ScoreHeadText(const std::vector<std::string_view>& words, const FormSet& forms,
                      std::string_view head) {
  uint32_t count = 0;
  uint32_t tokens = 0;
  uint32_t sum = 0;
  // Most tokens of a head start with a byte that no query word or form
  // starts with, and need no search of either list.
  uint64_t starts[4] = {};
  auto note_start = [&starts](std::string_view text) {
    if (text.empty()) return;
    uint8_t first = static_cast<uint8_t>(text[0]);
    starts[first >> 6] |= uint64_t{1} << (first & 63);
  };
  for (std::string_view word : words) note_start(word);
  for (const std::string& form : forms) note_start(form);
  auto score_token = [&](std::string_view token) {
    ++tokens;
    if (!token.empty()) {
      uint8_t first = static_cast<uint8_t>(token[0]);
      if ((starts[first >> 6] >> (first & 63) & 1) == 0) return;
    }
    if (std::find(words.begin(), words.end(), token) != words.end()) {
      sum += kQueryWordValue;
    } else if (std::binary_search(forms.begin(), forms.end(), token,
                                  [](std::string_view a, std::string_view b) { return a < b; })) {
      sum += kFormValue;
    }
  };
  size_t pos = 0;
  while (pos < head.size()) {
    ++count;
    while (pos < head.size() && head[pos] == ' ') ++pos;
    if (pos < head.size() && head[pos] == '(') {
      size_t close = head.find(')', pos);
      pos = close == std::string_view::npos ? head.size() : close + 1;
      continue;
    }
    size_t space = head.find(' ', pos);
    if (space == std::string_view::npos) {
      score_token(head.substr(pos));
      break;
    }
    score_token(head.substr(pos, space - pos));
    pos = space + 1;
  }
  uint32_t average = tokens == 0 ? 0 : sum / tokens;
  return static_cast<int32_t>(average - count);
}

bool ResultBefore(const ResultEntry& a, const ResultEntry& b) {
  if (a.score != b.score) return a.score > b.score;
  return a.head < b.head;
}

std::vector<ResultEntry> SearchQuery(const DictionaryFile& dictionary, std::string_view query) {
  query = query.substr(0, query.find('\0'));
  std::vector<std::string_view> words = SplitQueryWords(query);
  std::vector<FormSet> word_forms;
  word_forms.reserve(words.size());
  for (std::string_view word : words) word_forms.push_back(BuildWordForms(dictionary, word));
  std::vector<EntryRef> candidates = CollectCandidates(dictionary, word_forms);
  // Entries stored in head order arrive sorted from one form's blocks.
  if (!std::is_sorted(candidates.begin(), candidates.end(), EntryBefore)) {
    std::sort(candidates.begin(), candidates.end(), EntryBefore);
  }
  candidates.erase(std::unique(candidates.begin(), candidates.end(), SameEntry), candidates.end());

  std::vector<ResultEntry> results;
  if (candidates.empty()) return results;
  FormSet forms;
  for (FormSet& one_word : word_forms) {
    forms.insert(forms.end(), std::make_move_iterator(one_word.begin()),
                 std::make_move_iterator(one_word.end()));
  }
  std::sort(forms.begin(), forms.end());
  forms.erase(std::unique(forms.begin(), forms.end()), forms.end());

  results.reserve(candidates.size());
  for (const EntryRef& candidate : candidates) {
    ResultEntry result;
    result.head = ExpandLabels(candidate.head, kHeadLabelTable);
    result.score = ScoreHeadText(words, forms, result.head);
    result.translations = SplitTranslations(candidate.translations);
    results.push_back(std::move(result));
  }
  return SortedResults(std::move(results));
}

}  // namespace vordo
