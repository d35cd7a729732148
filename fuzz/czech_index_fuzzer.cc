// Reads arbitrary bytes as a Czech index (dic-cs.bin) and looks Czech words
// up through it in the sample dictionary: a damaged index finds less, never
// reads outside itself or the dictionary's blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dictionary/czech_index.h"
#include "engine/czech_lookup.h"
#include "fuzz/sample_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vordo::CzechIndex index;
  if (!index.OpenBytes(data, size)) return 0;
  for (const char* word : {"pes", "ko\xE8ka", "dum", "a", "zzzz"}) {
    for (const vordo::ResultEntry& result : vordo::CzechLookup(vordo::SampleDictionaryForFuzzing(), index, word)) {
      if (result.head.empty() || result.translations.empty()) std::abort();
    }
  }
  return 0;
}
