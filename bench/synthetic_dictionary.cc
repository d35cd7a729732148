#include "bench/synthetic_dictionary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <set>

namespace vordo {
namespace {

constexpr size_t kHeadsPerScale = 80000;
constexpr size_t kLemmasPerScale = 75000;
constexpr const char* kFunctionWords[] = {"the", "of", "to", "a", "in", "and", "on", "for",
                                          "with", "at", "by", "up", "out", "off", "one", "be"};

enum Paradigm { kNoun, kVerb, kAdjective, kUninflected };

class Generator {
 public:
  explicit Generator(int scale) : random_(20261208u + static_cast<unsigned>(scale)) {}

  std::string Syllables(int count, const char* const* syllables, size_t size) {
    std::uniform_int_distribution<size_t> pick(0, size - 1);
    std::string word;
    for (int i = 0; i < count; ++i) word += syllables[pick(random_)];
    return word;
  }

  std::string EnglishLike() {
    static const char* const kSyllables[] = {
        "ab", "ac", "al", "an", "ar", "ba", "be", "bi", "bo", "ca", "ce", "ch", "co", "cu", "da",
        "de", "di", "do", "el", "en", "er", "es", "fa", "fe", "fi", "fo", "ga", "ge", "gi", "go",
        "ha", "he", "hi", "ho", "in", "is", "it", "ja", "ka", "la", "le", "li", "lo", "lu", "ma",
        "me", "mi", "mo", "na", "ne", "ni", "no", "or", "pa", "pe", "pi", "po", "qu", "ra", "re",
        "ri", "ro", "sa", "se", "sh", "si", "so", "st", "ta", "te", "th", "ti", "to", "tr", "un",
        "va", "ve", "vi", "wa", "we", "wi", "xe", "ya", "yo", "za", "zo", "ght", "ck", "ng"};
    std::uniform_int_distribution<int> length(2, 5);
    return Syllables(length(random_), kSyllables, sizeof kSyllables / sizeof *kSyllables);
  }

  std::string CzechLike() {
    static const char* const kSyllables[] = {
        "pa", "ko", "\xE8" "e", "\x9E" "i", "n\xEC", "ro", "st", "vy", "d\xE1", "\xF8" "e",
        "ml", "\xFA" "s", "to", "ka", "lo", "v\xFD", "sk", "\x9A" "t", "ho", "ji", "te", "ny"};
    std::uniform_int_distribution<int> length(2, 4);
    std::uniform_int_distribution<int> words(1, 3);
    std::string text = Syllables(length(random_), kSyllables, sizeof kSyllables / sizeof *kSyllables);
    for (int i = words(random_); i > 1; --i) {
      text += " " + Syllables(length(random_), kSyllables, sizeof kSyllables / sizeof *kSyllables);
    }
    return text;
  }

  // Zipf-like rank in [0, size): small ranks are far more frequent.
  size_t ZipfRank(size_t size) {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    double value = std::pow(static_cast<double>(size), uniform(random_)) - 1.0;
    return std::min(size - 1, static_cast<size_t>(value));
  }

  std::mt19937& random() { return random_; }

 private:
  std::mt19937 random_;
};

std::vector<std::string> Inflect(const std::string& word, Paradigm paradigm) {
  switch (paradigm) {
    case kNoun: return {word, word + "s"};
    case kVerb: return {word, word + "s", word + "ed", word + "ing"};
    case kAdjective: return {word, word + "er", word + "est"};
    case kUninflected: break;
  }
  return {word};
}

SyntheticDictionary Make(int scale) {
  Generator generator(scale);
  size_t lemma_count = kLemmasPerScale * static_cast<size_t>(scale);
  size_t head_count = kHeadsPerScale * static_cast<size_t>(scale);

  // The vocabulary in order of frequency: function words first.
  std::vector<std::string> vocabulary(std::begin(kFunctionWords), std::end(kFunctionWords));
  std::set<std::string> seen(vocabulary.begin(), vocabulary.end());
  while (vocabulary.size() < lemma_count) {
    std::string word = generator.EnglishLike();
    if (seen.insert(word).second) vocabulary.push_back(word);
  }

  DictionaryWriter writer;
  writer.AddParadigm({"\t", "\ts"});
  writer.AddParadigm({"\t", "\ts", "\ted", "\ting"});
  writer.AddParadigm({"\t", "\ter", "\test"});
  SyntheticDictionary result;
  std::vector<Paradigm> paradigms(vocabulary.size());
  std::uniform_int_distribution<int> percent(0, 99);
  for (size_t i = 0; i < vocabulary.size(); ++i) {
    int roll = percent(generator.random());
    if (i < std::size(kFunctionWords)) {
      writer.AddLemma(vocabulary[i], {LemmaItem::Self()});
      result.wordForms += 1;
      paradigms[i] = kUninflected;
      continue;
    }
    paradigms[i] = roll < 30 ? kNoun : roll < 90 ? kVerb : kAdjective;
    writer.AddLemma(vocabulary[i], {LemmaItem::Paradigm(paradigms[i])});
    result.wordForms += Inflect(vocabulary[i], paradigms[i]).size();
  }

  // Heads: 45 % single words, the rest phrases of two to four words.
  std::vector<std::pair<std::string, std::string>> entries;
  std::uniform_int_distribution<int> phrase_length(2, 4);
  std::uniform_int_distribution<int> translations(1, 3);
  for (size_t i = 0; i < head_count; ++i) {
    std::string head;
    if (percent(generator.random()) < 45) {
      head = vocabulary[std::uniform_int_distribution<size_t>(0, vocabulary.size() - 1)(generator.random())];
    } else {
      for (int n = phrase_length(generator.random()); n > 0; --n) {
        size_t rank = generator.ZipfRank(vocabulary.size());
        std::vector<std::string> forms = Inflect(vocabulary[rank], paradigms[rank]);
        std::string word = forms[static_cast<size_t>(percent(generator.random())) % forms.size()];
        head += head.empty() ? word : " " + word;
      }
    }
    std::string text;
    for (int t = translations(generator.random()); t > 0; --t) {
      text += text.empty() ? generator.CzechLike() : "\t" + generator.CzechLike();
    }
    entries.emplace_back(head, text);
  }
  std::sort(entries.begin(), entries.end());
  std::map<std::string, size_t> token_heads;
  for (const auto& entry : entries) {
    writer.AddEntry(entry.first, entry.second);
    std::set<std::string> tokens;
    size_t pos = 0;
    for (;;) {
      size_t space = entry.first.find(' ', pos);
      tokens.insert(entry.first.substr(pos, space == std::string::npos ? std::string::npos : space - pos));
      if (space == std::string::npos) break;
      pos = space + 1;
    }
    for (const std::string& token : tokens) ++token_heads[token];
    if (result.phrase.empty() && std::count(entry.first.begin(), entry.first.end(), ' ') == 2) {
      result.phrase = entry.first;
    }
  }
  for (const char* word : kFunctionWords) writer.MarkCommon(word);

  size_t most = 0;
  for (const auto& token : token_heads) {
    result.headTokens.push_back(token.first);
    if (token.second > most) {
      most = token.second;
      result.frequentWord = token.first;
    }
    if (token.second == 1 && result.rareWord.empty() && token.first.size() >= 6) {
      result.rareWord = token.first;
    }
    if (token.first.size() > result.unWord.size() && token.first.compare(0, 2, "un") == 0) {
      result.unWord = token.first;
    }
  }

  const char* directory = std::getenv("TMPDIR");
  result.path = std::string(directory != nullptr ? directory : "/tmp") + "/vordo-bench-" +
                std::to_string(scale) + ".bin";
  DictionaryWriter::Options options;
  options.blockSize = 8192;
  std::string error;
  if (!writer.WriteFile(result.path, options, &error, &result.summary)) {
    std::fprintf(stderr, "synthetic dictionary: %s\n", error.c_str());
    std::abort();
  }
  return result;
}

}  // namespace

const SyntheticDictionary& GetSyntheticDictionary(int scale) {
  static std::map<int, std::unique_ptr<SyntheticDictionary>> made;
  std::unique_ptr<SyntheticDictionary>& slot = made[scale];
  if (slot == nullptr) slot.reset(new SyntheticDictionary(Make(scale)));
  return *slot;
}

}  // namespace vordo
