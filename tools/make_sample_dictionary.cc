// Writes the sample dictionary to the path given, and its Czech index
// beside it, for the build and tests.
#include <cstdio>
#include <string>

#include "dictionary/dictionary_writer.h"
#include "tools/command_line.h"
#include "tools/sample_dictionary.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_dictionary OUTPUT\n");
    return 2;
  }
  vordo::DictionaryWriter writer;
  vordo::AddSampleDictionary(&writer);
  vordo::DictionaryWriter::Options options;
  options.blockSize = 256;  // several blocks even for this small sample
  options.lemmaBucketSize = 4;
  options.indexBucketSize = 4;
  std::string error;
  size_t czech_size = 0;
  if (!writer.WriteFile(argv[1], options, &error) ||
      !vordo::WriteCzechIndex(argv[1], vordo::CzechIndexPathFor(argv[1]), &czech_size, &error)) {
    std::fprintf(stderr, "make_sample_dictionary: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
