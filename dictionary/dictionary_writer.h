#ifndef VORDO_DICTIONARY_DICTIONARY_WRITER_H_
#define VORDO_DICTIONARY_DICTIONARY_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vordo {

// One form item of a lemma record (see format.h).
struct LemmaItem {
  uint8_t code = 0;
  uint8_t paradigm = 0;  // the stored paradigm byte after code 253 (number + 1)
  std::string text;

  static LemmaItem Paradigm(int paradigm);
  static LemmaItem StemParadigm(int paradigm, std::string stem);
  static LemmaItem Self();
  static LemmaItem Literal(std::string text);
};

// Builds dic.bin from paradigms, lemma records and entries, keeping every
// invariant that DictionaryFile relies on: ascending lemma records with
// buckets cut between different four-byte beginnings, ascending index
// bounds, colliding hashes sharing one index entry, block numbers below the
// cache size, and complete zlib streams of the exact inflated size.
class DictionaryWriter {
 public:
  struct Options {
    size_t blockSize = 16384;      // inflated bytes a block aims at
    size_t lemmaBucketSize = 16;   // lemma records a bucket holds at least
    size_t indexBucketSize = 16;   // index entries a directory bucket holds at least
    // Blocks are stored, not compressed: still complete zlib streams, so
    // any zlib reads them, but the reader takes a stored block's text in
    // place, checksum checked, without a copy. A first lookup of "the"
    // reads 193 blocks: 3.7 ms to inflate at level 9, 0.25 ms stored.
    // The file grows by two thirds, yet zip and LZMA packages shrink, as
    // they compress the whole text better than 4 KB blocks one by one.
    int compressionLevel = 0;
  };

  struct Summary {
    size_t headTexts = 0;
    size_t translations = 0;
    size_t lemmaRecords = 0;
    size_t indexEntries = 0;
    size_t blocks = 0;
    size_t inflatedBytes = 0;
    size_t fileSize = 0;
  };

  // Adds a paradigm of templates ("prefix\tsuffix", at most 12 bytes) and
  // returns its number.
  int AddParadigm(const std::vector<std::string>& templates);
  void AddLemma(const std::string& word, const std::vector<LemmaItem>& items);
  // `translations` are separated by TAB. Entries are stored in this order.
  void AddEntry(const std::string& head, const std::string& translations);
  // Sets the common-word mark on the word's index entry.
  void MarkCommon(const std::string& word);

  // Writes the file's bytes into `out`. False, with `error`, when the input
  // cannot form a valid file.
  bool Build(const Options& options, std::string* out, std::string* error,
             Summary* summary = nullptr) const;
  bool WriteFile(const std::string& path, const Options& options, std::string* error,
                 Summary* summary = nullptr) const;

 private:
  struct Lemma {
    std::string word;
    std::vector<LemmaItem> items;
  };
  struct Entry {
    std::string head;
    std::string translations;
  };

  bool Validate(std::string* error) const;
  void WriteParadigmSection(std::string* out) const;
  void WriteLemmaSection(const Options& options, std::string* out) const;
  bool WriteEntrySection(const Options& options, std::string* out, std::string* error,
                         Summary* summary) const;

  std::vector<std::vector<std::string>> paradigms_;
  std::vector<Lemma> lemmas_;
  std::vector<Entry> entries_;
  std::set<std::string> common_;
};

}  // namespace vordo

#endif  // VORDO_DICTIONARY_DICTIONARY_WRITER_H_
