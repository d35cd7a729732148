#include "dictionary/form_tables.h"

#include <cstring>

#include "dictionary/format.h"

namespace vordo {
namespace {

// strncmp(bound, text, 4) > 0, with `text` read as if NUL-terminated.
bool BoundKeyGreater(const uint8_t* bound, std::string_view text) {
  for (size_t i = 0; i < kBucketKeySize; ++i) {
    uint8_t key_byte = bound[i];
    uint8_t text_byte = i < text.size() ? static_cast<uint8_t>(text[i]) : 0;
    if (key_byte != text_byte) return key_byte > text_byte;
    if (key_byte == 0) return false;
  }
  return false;
}

}  // namespace

void FormTables::Attach(const uint8_t* file, size_t size, size_t slot_array,
                        size_t template_array, size_t paradigm_end_table, size_t bucket_index,
                        size_t lemma_records) {
  file_ = file;
  size_ = size;
  slot_array_ = slot_array;
  template_array_ = template_array;
  paradigm_end_table_ = paradigm_end_table;
  lemma_records_ = lemma_records;
  buckets_.Attach(file, bucket_index, lemma_records, size);
}

bool FormTables::ParadigmRun(int paradigm, size_t* begin, size_t* end) const {
  if (paradigm < 0 || paradigm >= kMaxParadigms) return false;
  size_t entry = paradigm_end_table_ + static_cast<size_t>(paradigm) * kParadigmEndSize;
  if (entry + kParadigmEndSize > size_) return false;
  *end = ReadU16(file_ + entry);
  *begin = paradigm == 0 ? 0 : ReadU16(file_ + entry - kParadigmEndSize);
  return true;
}

bool FormTables::SlotTemplate(size_t slot, Template* out) const {
  size_t slot_offset = slot_array_ + slot * kSlotSize;
  if (slot_offset + kSlotSize > size_) return false;
  size_t offset = template_array_ + size_t{ReadU16(file_ + slot_offset)} * kTemplateSize;
  if (offset + kTemplateSize > size_) return false;
  const char* bytes = reinterpret_cast<const char*>(file_ + offset);
  const void* mark = std::memchr(bytes, kTemplateStemMark, kTemplateSize);
  if (mark == nullptr) return false;
  size_t prefix_length = static_cast<size_t>(static_cast<const char*>(mark) - bytes);
  const char* suffix = bytes + prefix_length + 1;
  size_t room = kTemplateSize - prefix_length - 1;
  const void* nul = std::memchr(suffix, 0, room);
  size_t suffix_length = nul == nullptr ? room : static_cast<size_t>(static_cast<const char*>(nul) - suffix);
  out->prefix = std::string_view(bytes, prefix_length);
  out->suffix = std::string_view(suffix, suffix_length);
  return true;
}

bool FormTables::LemmaBucket(std::string_view text, BucketRange* bucket) const {
  BucketRange relative;
  if (!buckets_.Choose([text](const uint8_t* bound) { return BoundKeyGreater(bound, text); },
                       &relative)) {
    return false;
  }
  bucket->begin = lemma_records_ + relative.begin;
  bucket->end = lemma_records_ + relative.end;
  return true;
}

bool FormTables::AllLemmaRecords(BucketRange* range) const {
  // The sentinel's bucket is the last: it ends where the records end.
  BucketRange last;
  if (!buckets_.Choose([](const uint8_t*) { return false; }, &last)) return false;
  range->begin = lemma_records_;
  range->end = lemma_records_ + last.end;
  return true;
}

bool FormTables::ReadString(size_t pos, size_t limit, std::string_view* text) const {
  if (pos >= limit) return false;
  const char* start = reinterpret_cast<const char*>(file_ + pos);
  const void* nul = std::memchr(start, 0, limit - pos);
  if (nul == nullptr) return false;
  *text = std::string_view(start, static_cast<size_t>(static_cast<const char*>(nul) - start));
  return true;
}

bool FormTables::ReadLemmaRecord(size_t pos, size_t limit, LemmaRecord* record) const {
  if (!ReadString(pos, limit, &record->word)) return false;
  record->items = pos + record->word.size() + 1;
  size_t cursor = record->items;
  FormItem item;
  for (;;) {
    if (cursor >= limit) return false;
    if (file_[cursor] == 0) break;
    if (!ReadFormItem(&cursor, limit, &item)) return false;
  }
  record->end = cursor;
  record->next = cursor + 1;
  return true;
}

bool FormTables::ReadFormItem(size_t* pos, size_t end, FormItem* item) const {
  if (*pos >= end) return false;
  item->code = file_[*pos];
  size_t cursor = *pos + 1;
  item->paradigm = 0;
  item->text = std::string_view();
  if (item->code == kStemParadigmCode) {
    if (cursor >= end) return false;
    item->paradigm = file_[cursor++];
    if (!ReadString(cursor, end, &item->text)) return false;
    cursor += item->text.size() + 1;
  } else if (item->code == kLiteralCode) {
    if (!ReadString(cursor, end, &item->text)) return false;
    cursor += item->text.size() + 1;
  }
  *pos = cursor;
  return true;
}

}  // namespace vordo
