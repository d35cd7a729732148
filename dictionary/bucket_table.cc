#include "dictionary/bucket_table.h"

namespace vordo {

void BucketTable::Attach(const uint8_t* file, size_t table, size_t area, size_t limit) {
  file_ = file;
  table_ = table;
  area_ = area;
  limit_ = limit;
  sentinel_.store(kUnknown, std::memory_order_relaxed);
}

bool BucketTable::CountEntries(size_t* count) const {
  int64_t sentinel = sentinel_.load(std::memory_order_relaxed);
  if (sentinel == kUnknown) {
    // Every thread that races here computes the same value.
    sentinel = kMissing;
    for (size_t i = 0; table_ + (i + 1) * kBucketEntrySize <= limit_; ++i) {
      const uint8_t* bound = Entry(i);
      if (bound[0] == 0 && bound[1] == 0 && bound[2] == 0 && bound[3] == 0) {
        sentinel = static_cast<int64_t>(i);
        break;
      }
    }
    sentinel_.store(sentinel, std::memory_order_relaxed);
  }
  if (sentinel == kMissing) return false;
  *count = static_cast<size_t>(sentinel);
  return true;
}

bool BucketTable::BucketAt(size_t index, BucketRange* bucket) const {
  size_t begin = index == 0 ? 0 : ReadU32(Entry(index - 1) + kBucketKeySize);
  size_t end = ReadU32(Entry(index) + kBucketKeySize);
  if (begin > end || end > limit_ - area_) return false;
  bucket->begin = begin;
  bucket->end = end;
  return true;
}

}  // namespace vordo
