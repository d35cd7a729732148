#ifndef VORDO_DICTIONARY_DICTIONARY_CHECK_H_
#define VORDO_DICTIONARY_DICTIONARY_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary_file.h"

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

// Tells whether some lemma record of the file yields a head token. Building
// word forms is the engine's work, so the caller supplies it.
using HeadTokenCheck = std::function<bool(const DictionaryFile& file, std::string_view token)>;

// Verifies every invariant of the dic.bin format that the reader relies on
// (see format.h), reading the file with the reader's own parsers: offsets
// and lengths inside the file, buckets and their order, directory bounds, a
// TAB in every template used, blocks inflating to exactly their size, every
// head token indexed with the blocks that hold it, and, when `yields_forms`
// is given, every head token found by a lemma record that yields it (groups
// and head label codes are display labels and need none).
CheckReport CheckDictionary(const uint8_t* data, size_t size,
                            const HeadTokenCheck& yields_forms = HeadTokenCheck());

}  // namespace vordo

#endif  // VORDO_DICTIONARY_DICTIONARY_CHECK_H_
