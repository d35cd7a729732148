// Opens arbitrary bytes as dic.bin and looks up in them. The first byte
// chooses how many of the following bytes form a query; the rest is the
// file. Fixed queries reach the common paths even when the query is junk,
// and enough of them to make the lemma index.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dictionary/dictionary_file.h"
#include "dictionary/entry_search.h"
#include "engine/lookup.h"
#include "engine/word_forms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t query_length = data[0] % 32;
  if (query_length > size - 1) query_length = size - 1;
  std::string query(reinterpret_cast<const char*>(data + 1), query_length);
  const uint8_t* file_bytes = data + 1 + query_length;
  size_t file_size = size - 1 - query_length;

  vordo::DictionaryFile dictionary;
  if (!dictionary.OpenBytes(file_bytes, file_size)) return 0;
  // Twice: the second round finds word forms through the lemma index,
  // which the words of the first make.
  for (int round = 0; round < 2; ++round) {
    for (const char* fixed : {"dog", "Hot dogs", "walked", "unhappy", "a b", "the", "went", "mice"}) {
      vordo::Lookup(dictionary, fixed);
    }
  }
  vordo::Lookup(dictionary, query);
  vordo::BuildWordForms(dictionary, query);
  for (size_t block = 0; block < 4; ++block) dictionary.GetBlock(block);
  return 0;
}
