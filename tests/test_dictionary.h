#ifndef VORDO_TESTS_TEST_DICTIONARY_H_
#define VORDO_TESTS_TEST_DICTIONARY_H_

#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/dictionary_writer.h"
#include "dictionary/result_entry.h"

namespace vordo {

// Small buckets and blocks, so that fixtures of a few entries already have
// several of each.
DictionaryWriter::Options SmallOptions();

// A dictionary built in memory by the writer and opened from its bytes.
class TestDictionary {
 public:
  explicit TestDictionary(const DictionaryWriter& writer,
                          const DictionaryWriter::Options& options = SmallOptions());
  explicit TestDictionary(std::string bytes);

  const DictionaryFile& file() const { return *file_; }
  const std::string& bytes() const { return bytes_; }
  bool open() const { return file_->IsOpen(); }

 private:
  std::string bytes_;
  std::unique_ptr<DictionaryFile> file_;
};

// The sample dictionary that the build installs beside vordo.
std::string SampleDictionaryBytes();

// "score head" of each result, for compact expectations.
std::vector<std::string> ScoresAndHeads(const std::vector<ResultEntry>& results);

// Appends a plain entry and a lemma whose only form is the word itself for
// every token of the head.
void AddPlainEntry(DictionaryWriter* writer, const std::string& head,
                   const std::string& translations);

}  // namespace vordo

#endif  // VORDO_TESTS_TEST_DICTIONARY_H_
