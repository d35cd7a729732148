// Feeds arbitrary UTF-16 text to the reading of page text: the words must
// lie in order inside the text, and a rest anywhere (also beyond the text)
// must look up safely, with a word only where a word of the text lies.
// The first two bytes choose the rest; the others are the code units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/page_lookup.h"
#include "engine/page_words.h"
#include "fuzz/sample_dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  size_t at = data[0] | (size_t{data[1]} << 8);
  std::u16string text;
  for (size_t i = 2; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));

  std::vector<vordo::PageWord> words = vordo::SplitPageWords(text);
  size_t previous_end = 0;
  bool inside_a_word = false;
  for (const vordo::PageWord& word : words) {
    if (word.begin < previous_end || word.end <= word.begin || word.end > text.size()) std::abort();
    previous_end = word.end;
    inside_a_word = inside_a_word || (word.begin <= at && at < word.end);
  }
  vordo::PageLookup lookup = vordo::LookupPageWord(vordo::SampleDictionaryForFuzzing(), text, at);
  if (!inside_a_word && !lookup.word.empty()) std::abort();
  if (lookup.word.size() > 255 || (lookup.word.empty() && !lookup.answer.results.empty())) std::abort();
  return 0;
}
