#include "engine/derived_words.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>

#include "engine/lookup.h"
#include "engine/word_forms.h"

namespace vordo {
namespace {

constexpr size_t kShortestBase = 3;
constexpr size_t kShortestUnhyphenatedBase = 4;
constexpr size_t kShortestUnhyphenatedCoBase = 5;
constexpr size_t kShortestSuggestedWord = 3;
constexpr size_t kLongestOneEditWord = 4;

constexpr std::string_view kPrefixes[] = {"multi", "under", "over", "dis", "mis", "non",
                                          "pre",   "sub",   "re",   "un",  "co"};

struct SuffixRule {
  std::string_view suffix;
  std::string_view replacement;
};

// Each suffix with the endings its base may have had; the likelier first.
constexpr SuffixRule kSuffixRules[] = {
    {"ability", "able"}, {"ability", ""}, {"ily", "y"},    {"ally", ""},  {"ly", ""},
    {"ly", "le"},        {"iness", "y"},  {"ness", ""},    {"iless", "y"}, {"less", ""},
    {"iable", "y"},      {"able", ""},    {"able", "e"},   {"ible", ""},  {"ible", "e"},
    {"ier", "y"},        {"er", ""},      {"er", "e"},     {"or", ""},    {"or", "e"},
    {"ism", ""},         {"ism", "e"},    {"ist", ""},     {"ist", "e"},  {"ist", "y"},
    {"ize", ""},         {"ize", "e"},    {"ize", "y"},    {"ise", ""},   {"ise", "e"},
    {"ise", "y"},        {"ication", "y"}, {"ation", "ate"}, {"ation", "e"}, {"ation", ""}};

bool EndsWith(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool IsLowerCase(std::string_view word) {
  return std::none_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

std::string UpperCase(std::string_view word) {
  std::string upper(word);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  }
  return upper;
}

bool IsVowel(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

void AddBase(std::string base, std::vector<std::string>* bases) {
  if (base.size() < kShortestBase) return;
  if (std::find(bases->begin(), bases->end(), base) == bases->end()) bases->push_back(std::move(base));
}

// A suffix's base has four letters or more: "herror" is no "her" + "-ror",
// nor "nodist" "nod" + "-ist".
void AddSuffixBase(std::string base, std::vector<std::string>* bases) {
  if (base.size() > kShortestBase) AddBase(std::move(base), bases);
}

// Which suffixes a stem may end in: any; or, for a word taken without a
// verb ending, only the verb-making -ize and -ise (colorized, not
// "poettering" as poet + -er + -ing); or, in a name, none that makes
// people (Pinter, Plummer).
enum class SuffixesAllowed { kAll, kVerbMaking, kNotPeople };

bool Allows(SuffixesAllowed allowed, std::string_view suffix) {
  switch (allowed) {
    case SuffixesAllowed::kAll:
      return true;
    case SuffixesAllowed::kVerbMaking:
      return suffix == "ize" || suffix == "ise";
    case SuffixesAllowed::kNotPeople:
      return suffix != "er" && suffix != "or" && suffix != "ier";
  }
  return false;
}

struct Stem {
  std::string text;
  SuffixesAllowed allowed;
};

// The word without a plural or verb ending, as it may have stood before.
std::vector<Stem> WithoutInflection(const std::string& word, SuffixesAllowed allowed) {
  std::vector<Stem> stems;
  auto cut = [&](std::string_view ending, std::string_view replacement, SuffixesAllowed then) {
    if (EndsWith(word, ending) && word.size() > ending.size() + 2) {
      stems.push_back({word.substr(0, word.size() - ending.size()) + std::string(replacement), then});
    }
  };
  cut("ies", "y", allowed);
  cut("es", "", allowed);
  if (!EndsWith(word, "ss")) cut("s", "", allowed);
  cut("ed", "", SuffixesAllowed::kVerbMaking);
  cut("ed", "e", SuffixesAllowed::kVerbMaking);
  cut("ing", "", SuffixesAllowed::kVerbMaking);
  cut("ing", "e", SuffixesAllowed::kVerbMaking);
  return stems;
}

void AddSuffixBases(const std::string& stem, SuffixesAllowed allowed, std::vector<std::string>* bases) {
  for (const SuffixRule& rule : kSuffixRules) {
    if (!EndsWith(stem, rule.suffix) || !Allows(allowed, rule.suffix)) continue;
    std::string base = stem.substr(0, stem.size() - rule.suffix.size());
    if (base.size() < kShortestBase) continue;  // "lation" is no l + -ation
    // "-ly" makes "-le" words only after a consonant (possibly, gently);
    // "-ally" is "-ic" + "-ally" (basically); "-or" takes the "e" of
    // "-ate" and "-ise" verbs (creator, supervisor), not of others (savor).
    if (rule.replacement == "le" && (base.empty() || IsVowel(base.back()))) continue;
    if (rule.suffix == "ally" && !EndsWith(base, "ic")) continue;
    if (rule.suffix == "or" && rule.replacement == "e" && !EndsWith(base, "at") && !EndsWith(base, "is")) {
      continue;
    }
    // A doubled final consonant (forgettable, runner) was single.
    if (rule.replacement.empty() && rule.suffix != "or" && base.size() >= 2 &&
        base.back() == base[base.size() - 2] && !IsVowel(base.back()) && base.back() != 'l' &&
        base.back() != 's') {
      AddSuffixBase(base.substr(0, base.size() - 1), bases);
    }
    // A plural takes no "-ize", "-ism" or "-ist" ("bytesize" is no "bytes").
    if (rule.replacement.empty() && EndsWith(base, "s") && rule.suffix.size() == 3 &&
        rule.suffix[0] == 'i') {
      continue;
    }
    AddSuffixBase(base + std::string(rule.replacement), bases);
  }
}

// Three-letter words that often make compounds; other parts have four
// letters or more, so that "confab" is no "con fab", nor "picante" "pic ante".
constexpr std::string_view kShortCompoundParts[] = {
    "air", "bed", "box", "bus", "car", "day", "dog", "end", "eye", "fly", "key", "law", "man",
    "net", "new", "oil", "pot", "sea", "sun", "tea", "top", "war", "way", "web"};

bool IsCompoundPart(const std::string& part) {
  return part.size() > kShortestBase ||
         std::binary_search(std::begin(kShortCompoundParts), std::end(kShortCompoundParts), part);
}

struct Suggestion {
  size_t distance;
  uint32_t weight;
  std::string word;
};

}  // namespace

bool IsCapitalized(std::string_view word) {
  return !word.empty() && word[0] >= 'A' && word[0] <= 'Z' && IsLowerCase(word.substr(1));
}

std::vector<std::string> PrefixBases(std::string_view word) {
  std::string lower = LowerCaseAscii(word);
  std::vector<std::string> bases;
  // A capitalised word is mostly a name ("Coverity", "Reinhold"): only a
  // hyphen marks a prefix there.
  bool name = IsCapitalized(word);
  for (std::string_view prefix : kPrefixes) {
    if (lower.size() <= prefix.size() || lower.compare(0, prefix.size(), prefix) != 0) continue;
    std::string rest = lower.substr(prefix.size());
    // Without a hyphen, short rests are mostly no base: "recog" is no
    // re- + cog, "comint" no co- + mint.
    if (rest[0] == '-') {
      rest.erase(0, 1);
    } else if (name ||
               rest.size() < (prefix == "co" ? kShortestUnhyphenatedCoBase : kShortestUnhyphenatedBase)) {
      continue;
    }
    AddBase(rest, &bases);
  }
  return bases;
}

std::vector<std::string> SuffixBases(std::string_view word) {
  std::string lower = LowerCaseAscii(word);
  std::vector<std::string> bases;
  // A suffix is written as the word is: "hashISt" ends in no -ist.
  if (!IsLowerCase(word) && !IsCapitalized(word) && word != UpperCase(word)) return bases;
  SuffixesAllowed allowed = IsCapitalized(word) ? SuffixesAllowed::kNotPeople : SuffixesAllowed::kAll;
  AddSuffixBases(lower, allowed, &bases);
  for (const Stem& stem : WithoutInflection(lower, allowed)) AddSuffixBases(stem.text, stem.allowed, &bases);
  return bases;
}

std::vector<std::pair<std::string, std::string>> CompoundParts(std::string_view word) {
  std::string lower = LowerCaseAscii(word);
  std::vector<std::pair<std::string, std::string>> parts;
  // Names are no compounds: Silverman, Loosemore.
  if (IsCapitalized(word) && word.find('-') == std::string_view::npos) return parts;
  size_t hyphen = lower.find('-');
  if (hyphen != std::string::npos) {
    if (hyphen > 0 && lower.find('-', hyphen + 1) == std::string::npos && hyphen + 1 < lower.size()) {
      parts.emplace_back(lower.substr(0, hyphen), lower.substr(hyphen + 1));
    }
    return parts;
  }
  for (size_t split = lower.size() >= kShortestBase ? lower.size() - kShortestBase : 0;
       split >= kShortestBase; --split) {
    std::string first = lower.substr(0, split);
    std::string second = lower.substr(split);
    if (IsCompoundPart(first) && IsCompoundPart(second)) parts.emplace_back(first, second);
  }
  return parts;
}

// The letters one text has beyond the other, counted both ways, the larger
// count: no edit changes it by more than one and a swap not at all, so it
// is a lower bound of the distance, found without the table.
size_t BagDistance(std::string_view a, std::string_view b) {
  std::array<int32_t, 256> counts{};
  for (unsigned char c : a) ++counts[c];
  for (unsigned char c : b) --counts[c];
  // Each letter's count is taken once, where it first stands, and cleared.
  size_t surplus = 0;
  size_t lack = 0;
  for (unsigned char c : a) {
    if (counts[c] > 0) surplus += static_cast<size_t>(counts[c]);
    counts[c] = 0;
  }
  for (unsigned char c : b) {
    if (counts[c] < 0) lack += static_cast<size_t>(-counts[c]);
    counts[c] = 0;
  }
  return std::max(surplus, lack);
}

size_t EditDistance(std::string_view a, std::string_view b, size_t bound) {
  size_t longer = std::max(a.size(), b.size());
  size_t shorter = std::min(a.size(), b.size());
  if (longer - shorter > bound || BagDistance(a, b) > bound) return bound + 1;
  // Three rows of the optimal string alignment table.
  std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  size_t previous_best = 0;
  for (size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    size_t row_best = current[0];
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
      row_best = std::min(row_best, current[j]);
    }
    // A swap reaches back two rows: both must be past the bound.
    if (row_best > bound && previous_best > bound) return bound + 1;
    previous_best = row_best;
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return std::min(previous[b.size()], bound + 1);
}

std::vector<std::string> SpellingSuggestions(const DictionaryFile& dictionary, std::string_view word,
                                             size_t limit) {
  std::vector<std::string> words;
  std::string lower = LowerCaseAscii(word);
  if (lower.size() < kShortestSuggestedWord) return words;
  size_t bound = lower.size() <= kLongestOneEditWord ? 1 : 2;
  // A misspelt word keeps its first letter: only the lemma records of words
  // that start with it are read. They stand together, in word order, from
  // the bucket where the letter alone would belong.
  const FormTables& tables = dictionary.formTables();
  BucketRange all;
  BucketRange first_bucket;
  if (!tables.AllLemmaRecords(&all) || !tables.LemmaBucket(lower.substr(0, 1), &first_bucket)) {
    return words;
  }
  std::vector<Suggestion> found;
  const FormLengths near{lower.size() > bound ? lower.size() - bound : 0, lower.size() + bound};
  FormTables::LemmaRecord record;
  for (size_t pos = first_bucket.begin; pos < all.end; pos = record.next) {
    if (!tables.ReadLemmaRecord(pos, all.end, &record)) break;
    if (record.word.empty() || record.word[0] < lower[0]) continue;
    if (record.word[0] > lower[0]) break;
    for (const std::string& form : LemmaRecordForms(dictionary, record, near)) {
      size_t longer = std::max(form.size(), lower.size());
      if (longer - std::min(form.size(), lower.size()) > bound) continue;
      size_t distance = EditDistance(lower, form, bound);
      if (distance == 0 || distance > bound) continue;
      IndexEntry entry;
      if (!dictionary.FindIndexEntry(form.data(), form.size(), &entry)) continue;
      found.push_back({distance, static_cast<uint32_t>(entry.weightWord & kWeightMask), form});
    }
  }
  std::sort(found.begin(), found.end(), [](const Suggestion& a, const Suggestion& b) {
    return std::tie(a.distance, b.weight, a.word) < std::tie(b.distance, a.weight, b.word);
  });
  for (Suggestion& suggestion : found) {
    if (words.size() == limit) break;
    if (std::find(words.begin(), words.end(), suggestion.word) == words.end()) {
      words.push_back(std::move(suggestion.word));
    }
  }
  return words;
}

}  // namespace vordo
