#include "dictionary/dictionary_file.h"

#include <zlib.h>

#include <cstring>
#include <new>

#include "dictionary/format.h"

namespace vordo {
namespace {

// Deflate cannot expand data by more than this factor, so a block that
// claims a larger inflated size is damaged; refusing it keeps a bad size
// from allocating gigabytes.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 64;

// Reads the u32 at `pos` as an offset from `base` and checks that the
// result, plus `room` bytes, lies inside the file.
bool ReadOffset(const uint8_t* data, size_t size, size_t pos, size_t base, size_t room,
                size_t* out) {
  if (pos + 4 > size) return false;
  uint64_t offset = uint64_t{base} + ReadU32(data + pos);
  if (offset + room > size) return false;
  *out = static_cast<size_t>(offset);
  return true;
}

bool HeadHasToken(const char* head, size_t head_length, std::string_view form) {
  const char* end = head + head_length;
  const char* token = head;
  for (;;) {
    const char* space =
        static_cast<const char*>(std::memchr(token, kTokenSeparator, static_cast<size_t>(end - token)));
    const char* token_end = space == nullptr ? end : space;
    if (static_cast<size_t>(token_end - token) == form.size() &&
        std::memcmp(token, form.data(), form.size()) == 0) {
      return true;
    }
    if (space == nullptr) return false;
    token = space + 1;
  }
}

}  // namespace

DictionaryFile::DictionaryFile() = default;

DictionaryFile::~DictionaryFile() {
  if (cache_ == nullptr) return;
  for (size_t i = 0; i < kBlockCacheSlots; ++i) delete cache_[i].load(std::memory_order_relaxed);
}

bool DictionaryFile::Open(const std::string& path, std::string* reason) {
  if (IsOpen()) return true;
  std::lock_guard<std::mutex> lock(open_mutex_);
  if (IsOpen()) return true;
  std::string why;
  if (!mapping_.Open(path, &why) || !Attach(mapping_.data(), mapping_.size(), &why)) {
    if (reason != nullptr) *reason = why;
    return false;
  }
  return true;
}

bool DictionaryFile::OpenBytes(const uint8_t* data, size_t size, std::string* reason) {
  if (IsOpen()) return true;
  std::lock_guard<std::mutex> lock(open_mutex_);
  if (IsOpen()) return true;
  std::string why;
  if (!Attach(data, size, &why)) {
    if (reason != nullptr) *reason = why;
    return false;
  }
  return true;
}

bool DictionaryFile::Attach(const uint8_t* data, size_t size, std::string* reason) {
  size_t paradigms, lemmas, entries;
  if (size < kFileHeaderSize ||
      !ReadOffset(data, size, 0, 0, kParadigmSectionHeadSize, &paradigms) ||
      !ReadOffset(data, size, 4, 0, kLemmaSectionHeadSize, &lemmas) ||
      !ReadOffset(data, size, 8, 0, kEntrySectionHeadSize, &entries)) {
    *reason = "the file header does not point to three sections inside the file";
    return false;
  }
  size_t slots, templates, bucket_index, directory;
  if (!ReadOffset(data, size, paradigms, paradigms, 0, &slots) ||
      !ReadOffset(data, size, paradigms + 4, paradigms, 0, &templates) ||
      !ReadOffset(data, size, lemmas, lemmas, 0, &bucket_index) ||
      !ReadOffset(data, size, entries, entries, 0, &block_table_) ||
      !ReadOffset(data, size, entries + 4, entries, 0, &index_area_) ||
      !ReadOffset(data, size, entries + 8, entries, 0, &directory)) {
    *reason = "a section points to tables outside the file";
    return false;
  }
  view_ = data;
  size_ = size;
  block_data_ = entries + kEntrySectionHeadSize;
  directory_.Attach(data, directory, index_area_, size);
  forms_.Attach(data, size, slots, templates, paradigms + kParadigmSectionHeadSize, bucket_index,
                lemmas + kLemmaSectionHeadSize);
  cache_.reset(new std::atomic<CachedBlock*>[kBlockCacheSlots]);
  for (size_t i = 0; i < kBlockCacheSlots; ++i) cache_[i].store(nullptr, std::memory_order_relaxed);
  open_.store(true, std::memory_order_release);
  return true;
}

bool DictionaryFile::ReadBlockExtent(size_t n, size_t* begin, size_t* end,
                                     size_t* inflated) const {
  uint64_t entry = uint64_t{block_table_} + uint64_t{n} * kBlockTableEntrySize;
  if (entry + kBlockTableEntrySize > size_) return false;
  const uint8_t* p = view_ + entry;
  *end = ReadU32(p);
  *inflated = ReadU32(p + 4);
  *begin = n == 0 ? 0 : ReadU32(p - kBlockTableEntrySize);
  return *begin <= *end && uint64_t{block_data_} + *end <= size_ && *inflated > 0;
}

BlockText DictionaryFile::GetBlock(size_t n) const {
  const CachedBlock* block = CachedBlockAt(n);
  return block == nullptr ? BlockText() : BlockText{block->text.get(), block->size};
}

const DictionaryFile::CachedBlock* DictionaryFile::CachedBlockAt(size_t n) const {
  if (!IsOpen() || n >= kBlockCacheSlots) return nullptr;
  const CachedBlock* cached = cache_[n].load(std::memory_order_acquire);
  return cached != nullptr ? cached : InflateBlock(n);
}

const DictionaryFile::CachedBlock* DictionaryFile::InflateBlock(size_t n) const {
  size_t begin, end, inflated;
  if (!ReadBlockExtent(n, &begin, &end, &inflated)) return nullptr;
  size_t compressed = end - begin;
  if (uint64_t{inflated} > uint64_t{compressed} * kMaxInflateRatio + kInflateSlack) return nullptr;
  std::unique_ptr<CachedBlock> block(new (std::nothrow) CachedBlock);
  if (block == nullptr) return nullptr;
  block->text.reset(new (std::nothrow) char[inflated]);
  if (block->text == nullptr) return nullptr;
  char* text = block->text.get();
  uLongf length = static_cast<uLongf>(inflated);
  int status = uncompress(reinterpret_cast<Bytef*>(text), &length, view_ + block_data_ + begin,
                          static_cast<uLong>(compressed));
  // The scan relies on the block ending with the NUL of its last record.
  if (status != Z_OK || length != inflated || text[inflated - 1] != '\0') return nullptr;
  block->size = inflated;
  const char* block_end = text + inflated;
  for (const char* pos = text; pos < block_end;) {
    // The block ends with a NUL, so both searches stop inside it.
    const char* translations =
        static_cast<const char*>(std::memchr(pos, 0, static_cast<size_t>(block_end - pos))) + 1;
    if (translations >= block_end) break;  // a head text without its translation text
    block->records.push_back(static_cast<uint32_t>(pos - text));
    block->records.push_back(static_cast<uint32_t>(translations - text));
    pos = static_cast<const char*>(
              std::memchr(translations, 0, static_cast<size_t>(block_end - translations))) + 1;
  }
  CachedBlock* expected = nullptr;
  if (cache_[n].compare_exchange_strong(expected, block.get(), std::memory_order_acq_rel)) {
    return block.release();
  }
  return expected;  // another thread cached the same block first
}

bool DictionaryFile::FindIndexEntry(const char* word, size_t length, IndexEntry* entry) const {
  if (!IsOpen() || length == 0) return false;
  int32_t hash = WordHash(word, length);
  BucketRange bucket;
  if (!directory_.Choose([hash](const uint8_t* bound) { return ReadI32(bound) > hash; },
                         &bucket)) {
    return false;
  }
  const uint8_t* area = view_ + index_area_;
  size_t pos = bucket.begin;
  while (pos + kIndexEntryHeadSize + kBlockNumberSize <= bucket.end) {
    size_t blocks = pos + kIndexEntryHeadSize;
    size_t count = 0;
    bool closed = false;
    while (blocks + (count + 1) * kBlockNumberSize <= bucket.end) {
      uint16_t number = ReadU16(area + blocks + count * kBlockNumberSize);
      ++count;
      if ((number & kLastBlockBit) != 0) {
        closed = true;
        break;
      }
    }
    if (!closed) return false;  // a block list that runs out of its bucket
    if (ReadI32(area + pos) == hash) {
      entry->weightWord = ReadU16(area + pos + 4);
      entry->blockNumbers = area + blocks;
      entry->blockCount = count;
      return true;
    }
    pos = blocks + count * kBlockNumberSize;
  }
  return false;
}

void DictionaryFile::FindEntriesForForm(std::string_view form, std::vector<EntryRef>* list) const {
  IndexEntry entry;
  if (form.empty() || !FindIndexEntry(form.data(), form.size(), &entry)) return;
  for (size_t i = 0; i < entry.blockCount; ++i) {
    uint16_t number = ReadU16(entry.blockNumbers + i * kBlockNumberSize) & kBlockNumberMask;
    const CachedBlock* block = CachedBlockAt(number);
    if (block == nullptr) continue;
    const char* text = block->text.get();
    for (size_t r = 0; r < block->records.size(); r += 2) {
      const char* head = text + block->records[r];
      const char* translations = text + block->records[r + 1];
      size_t head_length = static_cast<size_t>(translations - head) - 1;
      if (head_length >= form.size() && HeadHasToken(head, head_length, form)) {
        list->push_back(EntryRef{head, translations});
      }
    }
  }
}

DictionaryFile& ProcessDictionary() {
  static DictionaryFile dictionary;
  return dictionary;
}

bool OpenDictionary(const std::string& path, std::string* reason) {
  return ProcessDictionary().Open(path, reason);
}

}  // namespace vordo
