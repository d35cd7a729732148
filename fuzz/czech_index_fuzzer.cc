// Reads arbitrary bytes as a Czech index (dic-cs.bin) and looks Czech words
// up through it in the sample dictionary: a damaged index finds less, never
// reads outside itself or the dictionary's blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dictionary/czech_index.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/dictionary_writer.h"
#include "engine/czech_lookup.h"
#include "tools/sample_dictionary.h"

namespace {

const vordo::DictionaryFile& SampleDictionary() {
  static const std::string bytes = [] {
    vordo::DictionaryWriter writer;
    vordo::AddSampleDictionary(&writer);
    std::string built, error;
    if (!writer.Build(vordo::DictionaryWriter::Options(), &built, &error)) std::abort();
    return built;
  }();
  static vordo::DictionaryFile file;
  if (!file.IsOpen() &&
      !file.OpenBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
    std::abort();
  }
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vordo::CzechIndex index;
  if (!index.OpenBytes(data, size)) return 0;
  for (const char* word : {"pes", "ko\xE8ka", "dum", "a", "zzzz"}) {
    for (const vordo::ResultEntry& result : vordo::CzechLookup(SampleDictionary(), index, word)) {
      if (result.head.empty() || result.translations.empty()) std::abort();
    }
  }
  return 0;
}
