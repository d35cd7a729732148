#include "dictionary/lemma_index.h"

#include <limits>

#include "dictionary/format.h"

namespace vordo {
namespace {

// Multiplying by the golden ratio spreads the index hash over the high
// bits, which choose the slot.
constexpr uint32_t kSpread = 0x9E3779B1u;

}  // namespace

LemmaIndex::LemmaIndex(const FormTables& tables) : tables_(tables) {
  if (!tables.AllLemmaRecords(&records_) ||
      records_.end - records_.begin >= std::numeric_limits<uint32_t>::max()) {
    return;
  }
  std::vector<size_t> starts;  // the first record of each word
  std::string_view previous;
  FormTables::LemmaRecord record;
  for (size_t pos = records_.begin; pos < records_.end; pos = record.next) {
    if (!tables.ReadLemmaRecord(pos, records_.end, &record)) break;
    if (!starts.empty() && record.word == previous) continue;
    starts.push_back(pos);
    previous = record.word;
  }
  // At most three slots in five are taken, so that a probe ends soon.
  int bits = 1;
  while ((size_t{1} << bits) * 3 < starts.size() * 5) ++bits;
  shift_ = 32 - bits;
  slots_.assign(size_t{1} << bits, 0);
  for (size_t start : starts) {
    std::string_view word;
    if (!tables.ReadLemmaWord(start, records_.end, &word)) continue;
    size_t slot = SlotOf(word);
    BucketRange found;
    // Equal words stand together in a sound file; in a damaged one, the
    // first run of a word is the one kept, as a bucket's reading finds it.
    if (Find(word, &found)) continue;
    while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
    slots_[slot] = static_cast<uint32_t>(start - records_.begin + 1);
  }
}

size_t LemmaIndex::SlotOf(std::string_view word) const {
  uint32_t hash = static_cast<uint32_t>(WordHash(word.data(), word.size()));
  return (hash * kSpread) >> shift_;
}

bool LemmaIndex::Find(std::string_view word, BucketRange* run) const {
  if (slots_.empty()) return false;
  for (size_t slot = SlotOf(word); slots_[slot] != 0; slot = (slot + 1) & (slots_.size() - 1)) {
    size_t start = records_.begin + slots_[slot] - 1;
    std::string_view stored;
    if (tables_.ReadLemmaWord(start, records_.end, &stored) && stored == word) {
      run->begin = start;
      run->end = records_.end;
      return true;
    }
  }
  return false;
}

}  // namespace vordo
