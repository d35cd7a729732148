#ifndef VORDO_DICTIONARY_BUCKET_TABLE_H_
#define VORDO_DICTIONARY_BUCKET_TABLE_H_

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "dictionary/format.h"

namespace vordo {

// Byte offsets [begin, end) of one bucket, relative to the area it cuts.
struct BucketRange {
  size_t begin = 0;
  size_t end = 0;
};

// The lemma section's bucket index and the entry section's index directory
// share one shape: 8-byte entries {4-byte bound, u32 end offset}, bounds
// ascending, closed by a sentinel whose bound is four zero bytes. A key
// belongs to the first entry whose bound is greater, or to the sentinel.
//
// Bounds ascend in every valid file, so the first greater bound is found by
// binary search rather than by walking from the first entry; the answer is
// the same. Where the sentinel stands is learnt on first use and kept.
class BucketTable {
 public:
  BucketTable() = default;
  BucketTable(const BucketTable&) = delete;
  BucketTable& operator=(const BucketTable&) = delete;

  // `table` is the file offset of the first entry; `area` the file offset
  // that end offsets count from; `limit` the end of the readable bytes.
  void Attach(const uint8_t* file, size_t table, size_t area, size_t limit);

  // Chooses the bucket of a key. `bound_greater(bound)` tells whether a
  // 4-byte bound is greater than the key. Returns false when the table is
  // damaged: no sentinel, or a bucket outside the file.
  template <typename BoundGreater>
  bool Choose(BoundGreater bound_greater, BucketRange* bucket) const {
    size_t count = 0;
    if (!CountEntries(&count)) return false;
    size_t low = 0;
    size_t high = count;  // entries [0, count) precede the sentinel
    while (low < high) {
      size_t middle = low + (high - low) / 2;
      if (bound_greater(Entry(middle))) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return BucketAt(low, bucket);
  }

 private:
  const uint8_t* Entry(size_t index) const { return file_ + table_ + index * kBucketEntrySize; }
  bool CountEntries(size_t* count) const;
  bool BucketAt(size_t index, BucketRange* bucket) const;

  const uint8_t* file_ = nullptr;
  size_t table_ = 0;
  size_t area_ = 0;
  size_t limit_ = 0;
  // Index of the sentinel; kUnknown until first counted, kMissing when the
  // table runs to the end of the file without one.
  static constexpr int64_t kUnknown = -1;
  static constexpr int64_t kMissing = -2;
  mutable std::atomic<int64_t> sentinel_{kUnknown};
};

}  // namespace vordo

#endif  // VORDO_DICTIONARY_BUCKET_TABLE_H_
