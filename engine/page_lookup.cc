#include "engine/page_lookup.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "engine/head_words.h"
#include "engine/lookup.h"
#include "engine/query.h"
#include "engine/word_forms.h"

namespace vordo {
namespace {

// How many words on either side of the rest a phrase may reach.
constexpr size_t kPhraseReach = 5;

struct Contraction {
  std::string_view stem;  // before n't, lower case
  std::string_view word;
};

// The negated forms whose stem is not the word itself (can't is can not).
constexpr Contraction kIrregularNegations[] = {
    {"ca", "can"}, {"wo", "will"}, {"sha", "shall"}, {"ai", "be"}};

constexpr std::string_view kClitics[] = {"'s", "'re", "'ve", "'ll", "'d", "'m"};

bool EndsWith(std::string_view text, std::string_view ending) {
  return text.size() > ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// The word that a contraction or possessive is made on, or empty.
std::string WithoutClitic(const std::string& spelling) {
  std::string lower = LowerCaseAscii(spelling);
  if (EndsWith(lower, "n't")) {
    std::string stem = spelling.substr(0, spelling.size() - 3);
    std::string lower_stem = LowerCaseAscii(stem);
    for (const Contraction& irregular : kIrregularNegations) {
      if (lower_stem == irregular.stem) return std::string(irregular.word);
    }
    return stem;
  }
  for (std::string_view clitic : kClitics) {
    if (EndsWith(lower, clitic)) return spelling.substr(0, spelling.size() - clitic.size());
  }
  return std::string();
}

// The hyphenated part that holds the `part`-th hyphen's right side, or the
// last part when the word has fewer hyphens.
std::string HyphenPart(const std::string& spelling, size_t part) {
  size_t begin = 0;
  for (size_t i = 0; i < part; ++i) {
    size_t hyphen = spelling.find('-', begin);
    if (hyphen == std::string::npos) break;
    begin = hyphen + 1;
  }
  size_t end = spelling.find('-', begin);
  return spelling.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

// Words that make grammar rather than meaning. The dictionary has heads
// such as "you may", "it is" and "of such", which stand in nearly every
// text; a phrase is put first only when it holds two words besides these.
constexpr std::string_view kGrammarWords[] = {
    "a",     "all",   "am",    "an",     "and",     "are",   "be",    "been",   "being", "but",
    "can",   "cannot", "could", "did",   "do",      "does",  "each",  "had",    "has",   "have",
    "having", "he",   "her",   "him",    "his",     "i",     "is",    "it",     "its",   "may",
    "me",    "might", "must",  "my",     "no",      "nor",   "not",   "or",     "our",   "she",
    "should", "such", "that",  "the",    "their",   "them",  "these", "they",   "this",  "those",
    "us",    "was",   "we",    "were",   "will",    "would", "you",   "your"};

bool IsGrammarWord(std::string_view word) {
  return std::binary_search(std::begin(kGrammarWords), std::end(kGrammarWords), word);
}

bool CarriesMeaning(const std::vector<std::string>& head) {
  return std::count_if(head.begin(), head.end(),
                       [](const std::string& word) { return !IsGrammarWord(word); }) >= 2;
}

constexpr std::string_view kDeterminers[] = {
    "a",   "an",   "any",  "each", "every", "her",  "his",   "its",   "my",
    "no",  "our",  "some", "that", "the",   "their", "these", "this", "those",
    "whose", "your"};

constexpr std::string_view kVerbLabel = "(v.)";

// Particles and prepositions do not inflect: "off" of a head matches no
// form of "offer", nor "as" one of "a".
constexpr std::string_view kUninflected[] = {
    "about", "as",  "at",   "away", "back", "by",  "down", "for", "from", "in", "into",
    "of",    "off", "on",   "out",  "over", "to",  "up",   "with"};

bool SameEntry(const ResultEntry& a, const ResultEntry& b) {
  return a.head == b.head && a.translations == b.translations;
}

// Matches head words against the words of the text around the rest.
class PhraseFinder {
 public:
  PhraseFinder(const DictionaryFile& dictionary, const std::vector<PageWord>& words, size_t rest,
               FormSet rest_forms)
      : dictionary_(dictionary), words_(words), rest_(rest) {
    first_ = rest;
    while (first_ > 0 && words[first_].follows_closely && rest - first_ < kPhraseReach) --first_;
    last_ = rest;
    while (last_ + 1 < words.size() && words[last_ + 1].follows_closely &&
           last_ - rest < kPhraseReach) {
      ++last_;
    }
    for (size_t i = first_; i <= last_; ++i) lower_.push_back(LowerCaseAscii(words[i].spelling));
    forms_.resize(lower_.size());
    std::sort(rest_forms.begin(), rest_forms.end());
    forms_[rest - first_] = std::move(rest_forms);
  }

  size_t reach() const { return last_ - first_ + 1; }

  // Whether the head words stand in the text as consecutive words, one of
  // them the word at the rest. A verb's phrase does not fit where the text
  // uses its first word as a noun, after a determiner ("the work in").
  bool Fits(const std::vector<std::string>& head, bool verb) {
    if (head.size() > reach()) return false;
    size_t lowest = rest_ + 1 >= head.size() ? std::max(first_, rest_ + 1 - head.size()) : first_;
    size_t highest = std::min(rest_, last_ + 1 - head.size());
    for (size_t start = lowest; start <= highest; ++start) {
      bool fits = !(verb && UsedAsNoun(start));
      for (size_t i = 0; i < head.size() && fits; ++i) fits = Matches(head[i], start + i);
      if (fits) return true;
    }
    return false;
  }

 private:
  bool UsedAsNoun(size_t start) const {
    if (start == 0 || !words_[start].follows_closely) return false;
    std::string before = LowerCaseAscii(words_[start - 1].spelling);
    return std::binary_search(std::begin(kDeterminers), std::end(kDeterminers), before);
  }

  bool Matches(const std::string& head_word, size_t index) {
    const std::string& lower = lower_[index - first_];
    if (head_word.empty() || lower.empty()) return false;
    if (head_word == lower) return true;
    if (std::binary_search(std::begin(kUninflected), std::end(kUninflected), head_word)) return false;
    std::optional<FormSet>& forms = forms_[index - first_];
    if (!forms) forms = BuildWordForms(dictionary_, lower);
    return std::binary_search(forms->begin(), forms->end(), head_word);
  }

  const DictionaryFile& dictionary_;
  const std::vector<PageWord>& words_;
  size_t rest_;
  size_t first_;
  size_t last_;
  // Of the words first_ to last_: their spellings in lower case, and their
  // forms once asked for.
  std::vector<std::string> lower_;
  std::vector<std::optional<FormSet>> forms_;
};

// The results of one reading of the word at the rest.
struct ReadingResults {
  std::string reading;
  std::vector<ResultEntry> results;
};

// The results of the chosen reading, with the entries of the longest phrase
// that fits the text (from the results of any reading tried) in front.
void PutPhraseFirst(PhraseFinder* finder, std::vector<ReadingResults>* tried, size_t chosen,
                    PageLookup* lookup) {
  std::vector<std::string> best;
  std::vector<std::string> head;
  for (const ReadingResults& reading : *tried) {
    for (const ResultEntry& result : reading.results) {
      HeadWords(result.head, &head);
      if (head.size() < 2 || head.size() <= best.size() || !CarriesMeaning(head) ||
          !finder->Fits(head, result.head.find(kVerbLabel) != std::string::npos)) {
        continue;
      }
      best = head;
    }
  }
  std::vector<ResultEntry>& own = (*tried)[chosen].results;
  if (best.empty()) {
    lookup->answer.results = std::move(own);
    return;
  }
  std::vector<ResultEntry> ordered;
  for (const ReadingResults& reading : *tried) {
    for (const ResultEntry& result : reading.results) {
      HeadWords(result.head, &head);
      if (head != best) continue;
      if (std::none_of(ordered.begin(), ordered.end(),
                       [&](const ResultEntry& kept) { return SameEntry(kept, result); })) {
        ordered.push_back(result);
      }
    }
  }
  size_t phrase_entries = ordered.size();
  for (ResultEntry& result : own) {
    auto moved = ordered.begin() + static_cast<std::ptrdiff_t>(phrase_entries);
    if (std::none_of(ordered.begin(), moved,
                     [&](const ResultEntry& kept) { return SameEntry(kept, result); })) {
      ordered.push_back(std::move(result));
    }
  }
  lookup->answer.results = std::move(ordered);
  for (const std::string& word : best) {
    if (!lookup->phrase.empty()) lookup->phrase += ' ';
    lookup->phrase += word;
  }
}

}  // namespace

std::vector<std::string> WordReadings(std::u16string_view text, const PageWord& word, size_t at) {
  std::vector<std::string> readings;
  if (word.spelling.empty()) return readings;
  readings.push_back(word.spelling);
  std::string base = WithoutClitic(word.spelling);
  if (!base.empty()) readings.push_back(base);
  if (readings.back().find('-') != std::string::npos) {
    size_t hyphens_before = 0;
    for (size_t i = word.begin; i < at && i < word.end; ++i) hyphens_before += IsHyphen(text[i]);
    std::string part = HyphenPart(readings.back(), hyphens_before);
    if (!part.empty()) readings.push_back(part);
  }
  return readings;
}

PageLookup LookupPageWord(const DictionaryFile& dictionary, std::u16string_view text, size_t at,
                          const CzechIndex* czech) {
  PageLookup lookup;
  std::vector<PageWord> words = SplitPageWords(text);
  auto rest = std::find_if(words.begin(), words.end(),
                           [at](const PageWord& word) { return word.begin <= at && at < word.end; });
  if (rest == words.end()) return lookup;
  lookup.word_begin = rest->begin;
  lookup.word_end = rest->end;
  std::vector<ReadingResults> tried;
  size_t chosen = 0;
  bool has_own_entry = false;
  for (std::string& reading : WordReadings(text, *rest, at)) {
    if (reading.size() > kMaxQueryLength) reading.resize(kMaxQueryLength);
    tried.push_back({reading, LookupFieldText(dictionary, reading)});
    has_own_entry = HasEntryOfItsOwn(tried.back().results);
    if (has_own_entry) {
      chosen = tried.size() - 1;
      break;
    }
  }
  if (tried.empty()) return lookup;
  if (!has_own_entry) {
    auto found = std::find_if(tried.begin(), tried.end(),
                              [](const ReadingResults& r) { return !r.results.empty(); });
    chosen = found != tried.end() ? static_cast<size_t>(found - tried.begin()) : 0;
  }
  lookup.word = tried[chosen].reading;

  FormSet rest_forms;
  for (const ReadingResults& reading : tried) {
    std::string lower = LowerCaseAscii(reading.reading);
    FormSet forms = BuildWordForms(dictionary, lower);
    rest_forms.insert(rest_forms.end(), forms.begin(), forms.end());
    rest_forms.push_back(std::move(lower));
  }
  PhraseFinder finder(dictionary, words, static_cast<size_t>(rest - words.begin()),
                      std::move(rest_forms));
  PutPhraseFirst(&finder, &tried, chosen, &lookup);
  if (lookup.answer.results.empty()) {
    lookup.answer = AnswerFieldText(dictionary, lookup.word, czech);
  } else {
    lookup.answer.kind = QueryAnswer::Kind::kFound;
  }
  return lookup;
}

}  // namespace vordo
