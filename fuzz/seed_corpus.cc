// Writes seed inputs for dictionary_fuzzer: valid dictionaries (the sample
// with several layouts) behind a query, so that mutations start from files
// that reach every table.
#include <cstdio>
#include <string>

#include "dictionary/dictionary_writer.h"
#include "tools/sample_dictionary.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_corpus DIRECTORY\n");
    return 2;
  }
  vordo::DictionaryWriter writer;
  vordo::AddSampleDictionary(&writer);
  int written = 0;
  for (size_t block : {64, 256, 4096}) {
    for (size_t bucket : {1, 4}) {
      vordo::DictionaryWriter::Options options;
      options.blockSize = block;
      options.lemmaBucketSize = bucket;
      options.indexBucketSize = bucket;
      std::string bytes, error;
      if (!writer.Build(options, &bytes, &error)) {
        std::fprintf(stderr, "seed_corpus: %s\n", error.c_str());
        return 1;
      }
      std::string input = std::string(1, '\x03') + "dog" + bytes;
      std::string path = std::string(argv[1]) + "/seed-" + std::to_string(written++);
      FILE* file = std::fopen(path.c_str(), "wb");
      if (file == nullptr) return 1;
      std::fwrite(input.data(), 1, input.size(), file);
      std::fclose(file);
    }
  }
  return 0;
}
