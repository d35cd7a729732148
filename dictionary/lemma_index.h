// An exact-match table over the lemma section: a word, and where the first
// lemma record of that word starts. The section keeps its records in word
// order, cut into buckets that a search reads record by record; a process
// that asks the forms of many words makes this table once and then finds a
// word's records at once. 4-byte slots, at most three in five taken
// (512 KB for the built dictionary's 66,814 words).
#ifndef VORDO_DICTIONARY_LEMMA_INDEX_H_
#define VORDO_DICTIONARY_LEMMA_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "dictionary/bucket_table.h"
#include "dictionary/form_tables.h"

namespace vordo {

class LemmaIndex {
 public:
  // Reads every record of `tables`, which must outlive the index. A damaged
  // record ends the reading: the words after it are not in the table.
  explicit LemmaIndex(const FormTables& tables);

  // The records of `word`: `run->begin` is where the first starts, and
  // `run->end` the limit to read them up to; false when no record has it.
  bool Find(std::string_view word, BucketRange* run) const;

  size_t memoryBytes() const { return slots_.capacity() * sizeof(uint32_t); }

 private:
  size_t SlotOf(std::string_view word) const;

  const FormTables& tables_;
  BucketRange records_;
  std::vector<uint32_t> slots_;  // 0, or 1 + a record's offset from records_.begin
  int shift_ = 0;
};

}  // namespace vordo

#endif  // VORDO_DICTIONARY_LEMMA_INDEX_H_
