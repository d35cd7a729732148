// The sample dictionary, built in memory once, for fuzzers that look text
// up rather than read a damaged dictionary.
#ifndef VORDO_FUZZ_SAMPLE_DICTIONARY_H_
#define VORDO_FUZZ_SAMPLE_DICTIONARY_H_

#include <cstdint>
#include <cstdlib>
#include <string>

#include "dictionary/dictionary_file.h"
#include "dictionary/dictionary_writer.h"
#include "tools/sample_dictionary.h"

namespace vordo {

inline const DictionaryFile& SampleDictionaryForFuzzing() {
  static const std::string bytes = [] {
    DictionaryWriter writer;
    AddSampleDictionary(&writer);
    std::string built, error;
    if (!writer.Build(DictionaryWriter::Options(), &built, &error)) std::abort();
    return built;
  }();
  static DictionaryFile file;
  if (!file.IsOpen() && !file.OpenBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
    std::abort();
  }
  return file;
}

}  // namespace vordo

#endif  // VORDO_FUZZ_SAMPLE_DICTIONARY_H_
