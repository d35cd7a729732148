// dic-cs.bin: which entries of a dic.bin hold a Czech word in their
// translations, so that a Czech query finds its English heads. The builder
// writes it beside dic.bin from the finished dictionary; dic.bin itself is
// not changed, so its reader and its checker know nothing of this file.
//
// All integers are little-endian u32. Words are folded: Windows-1250
// letters in lower case without accents (příliš and prilis are one key).
//   0     u32  K, the number of keys
//   4     K key entries of 8 bytes: u32 offset of the key's NUL-terminated
//         text, u32 offset of its posting list (both from the file start),
//         in ascending byte order of the keys
//   ...   key texts and posting lists: u32 N, then N postings of 4 bytes,
//         u16 block number and u16 record number (the entry's place among
//         the records of its inflated block), in block and record order
// Every read is checked against the end of the file: a damaged file finds
// fewer entries, never reads outside itself.
#ifndef VORDO_DICTIONARY_CZECH_INDEX_H_
#define VORDO_DICTIONARY_CZECH_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"

namespace vordo {

// The folded form of Windows-1250 text: letters in lower case, accents
// dropped; every other byte becomes a space.
std::string FoldCzech(std::string_view text);

// The folded words of text, in order.
std::vector<std::string> FoldedWords(std::string_view text);

struct CzechPosting {
  uint16_t block = 0;
  uint16_t record = 0;
};

// The bytes of dic-cs.bin for an open dictionary: every word of every
// translation of every entry, block by block until the first block that
// cannot be read.
std::string BuildCzechIndex(const DictionaryFile& dictionary);

// A dic-cs.bin read in place, from bytes the caller keeps alive.
class CzechIndex {
 public:
  // False, with a reason, when the bytes cannot hold the key table.
  bool OpenBytes(const uint8_t* data, size_t size, std::string* reason = nullptr);
  bool IsOpen() const { return data_ != nullptr; }

  // The postings of one folded word; empty when it is no key.
  std::vector<CzechPosting> Postings(std::string_view folded_word) const;

 private:
  bool KeyAt(size_t index, std::string_view* key, size_t* postings) const;

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t keys_ = 0;
};

// The record `record` of an inflated block: its head and translation texts.
bool RecordOfBlock(BlockText block, size_t record, EntryRef* entry);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_CZECH_INDEX_H_
