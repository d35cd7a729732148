// Feeds arbitrary UTF-16 text to the reading of page text: the words must
// lie in order inside the text, and a rest anywhere (also beyond the text)
// must look up safely, with a word only where a word of the text lies.
// The first two bytes choose the rest; the others are the code units.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/dictionary_writer.h"
#include "engine/page_lookup.h"
#include "engine/page_words.h"
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
  vordo::PageLookup lookup = vordo::LookupPageWord(SampleDictionary(), text, at);
  if (!inside_a_word && !lookup.word.empty()) std::abort();
  if (lookup.word.size() > 255 || (lookup.word.empty() && !lookup.answer.results.empty())) std::abort();
  return 0;
}
