#ifndef VORDO_DICTIONARY_DICTIONARY_CHECK_H_
#define VORDO_DICTIONARY_DICTIONARY_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vordo {

struct CheckReport {
  static constexpr size_t kMaxListed = 20;

  std::vector<std::string> problems;  // the first kMaxListed found
  size_t problemCount = 0;
  size_t blocks = 0;
  size_t entries = 0;
  size_t indexEntries = 0;
  size_t lemmaRecords = 0;
  size_t headTokens = 0;

  bool ok() const { return problemCount == 0; }
};

// Verifies every invariant of the dic.bin format that the reader relies on
// (see format.h): offsets and lengths inside the file, buckets and their
// order, directory bounds, a TAB in every template used, blocks inflating
// to exactly their size, every head token indexed with the blocks that hold
// it, and every head token found by a lemma record that yields it (groups
// and head label codes are display labels and need none).
CheckReport CheckDictionary(const uint8_t* data, size_t size);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_DICTIONARY_CHECK_H_
