#ifndef VORDO_BENCH_SYNTHETIC_DICTIONARY_H_
#define VORDO_BENCH_SYNTHETIC_DICTIONARY_H_

#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"

namespace vordo {

// A generated dictionary of realistic shape: at scale 1 about 80,000 head
// texts (single words and phrases of Zipf-distributed words, with English
// function words the most frequent), 150,000 translations and 250,000 word
// forms from noun, verb and adjective paradigms. Deterministic.
struct SyntheticDictionary {
  std::string path;
  DictionaryWriter::Summary summary;
  size_t wordForms = 0;
  std::vector<std::string> headTokens;  // every distinct token of every head
  std::string rareWord;                 // a word of exactly one head
  std::string frequentWord;             // the word of the most heads
  std::string phrase;                   // a three-word head
  std::string unWord;                   // a long word beginning with "un"
};

// Writes the dictionary of the given scale into the temporary directory,
// once per process and scale.
const SyntheticDictionary& GetSyntheticDictionary(int scale);

}  // namespace vordo

#endif  // VORDO_BENCH_SYNTHETIC_DICTIONARY_H_
