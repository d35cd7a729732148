#ifndef VORDO_DICTIONARY_FORM_TABLES_H_
#define VORDO_DICTIONARY_FORM_TABLES_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dictionary/bucket_table.h"

namespace vordo {

// The paradigm and lemma sections of an open dictionary, read in place.
// Every read is checked against the end of the file; damaged data reads as
// absent, so that it contributes no forms.
class FormTables {
 public:
  struct Template {
    std::string_view prefix;
    std::string_view suffix;
  };

  struct FormItem {
    uint8_t code = 0;
    uint8_t paradigm = 0;   // the byte after code 253
    std::string_view text;  // the stem after 253, the string after 255
  };

  // One lemma record: its word, and the byte range of its form items.
  struct LemmaRecord {
    std::string_view word;
    size_t items = 0;
    size_t end = 0;   // offset of the record's closing 0 byte
    size_t next = 0;  // offset of the following record
  };

  void Attach(const uint8_t* file, size_t size, size_t slot_array, size_t template_array,
              size_t paradigm_end_table, size_t bucket_index, size_t lemma_records);

  // Slot positions [begin, end) of paradigm p; false when the table does not
  // reach p.
  bool ParadigmRun(int paradigm, size_t* begin, size_t* end) const;

  // The template named by slot position `slot`; false when it lies outside
  // the file or has no TAB.
  bool SlotTemplate(size_t slot, Template* out) const;

  // File offsets [begin, end) of the lemma records in the bucket of `text`.
  bool LemmaBucket(std::string_view text, BucketRange* bucket) const;

  // File offsets [begin, end) of all lemma records, in word order.
  bool AllLemmaRecords(BucketRange* range) const;

  // Reads the record at `pos`, which must end before `limit`.
  bool ReadLemmaRecord(size_t pos, size_t limit, LemmaRecord* record) const;

  // Reads only the word of the record at `pos`.
  bool ReadLemmaWord(size_t pos, size_t limit, std::string_view* word) const {
    return ReadString(pos, limit, word);
  }

  // Reads the form item at *pos (before `end`) and advances *pos past it.
  bool ReadFormItem(size_t* pos, size_t end, FormItem* item) const;

 private:
  // The NUL-terminated string at `pos`, which must end before `limit`.
  bool ReadString(size_t pos, size_t limit, std::string_view* text) const;

  const uint8_t* file_ = nullptr;
  size_t size_ = 0;
  size_t slot_array_ = 0;
  size_t template_array_ = 0;
  size_t paradigm_end_table_ = 0;
  size_t lemma_records_ = 0;
  BucketTable buckets_;
};

}  // namespace vordo

#endif  // VORDO_DICTIONARY_FORM_TABLES_H_
