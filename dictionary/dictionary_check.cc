#include "dictionary/dictionary_check.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dictionary/dictionary_file.h"
#include "dictionary/format.h"
#include "dictionary/labels.h"
#include "engine/word_forms.h"

namespace vordo {
namespace {

// strncmp(a, b, 4) on 4-byte keys padded with NULs.
int CompareKeys(const std::string& a, const std::string& b) {
  for (size_t i = 0; i < kBucketKeySize; ++i) {
    uint8_t x = static_cast<uint8_t>(a[i]);
    uint8_t y = static_cast<uint8_t>(b[i]);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
  return 0;
}

bool IsHeadLabelCode(std::string_view token) {
  for (const Label* label = kHeadLabels; !label->code.empty(); ++label) {
    if (label->code == token) return true;
  }
  return false;
}

std::string KeyOf(std::string_view word) {
  std::string key(word.substr(0, kBucketKeySize));
  key.resize(kBucketKeySize, '\0');
  return key;
}

class Checker {
 public:
  Checker(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  CheckReport Run() {
    if (ReadHeader()) {
      CheckIndex();
      CheckBlocks();
      CheckLemmas();
      CheckFormsOfHeadTokens();
    }
    return report_;
  }

 private:
  void Problem(const std::string& text) {
    if (report_.problems.size() < CheckReport::kMaxListed) report_.problems.push_back(text);
    ++report_.problemCount;
  }

  bool Inside(uint64_t offset, uint64_t length) const { return offset + length <= size_; }

  // The u32 at `pos` plus `base`, if that lies inside the file.
  bool Offset(size_t pos, size_t base, size_t* out, const char* what) {
    if (!Inside(pos, 4) || !Inside(uint64_t{base} + ReadU32(data_ + pos), 0)) {
      Problem(std::string(what) + " lies outside the file");
      return false;
    }
    *out = base + ReadU32(data_ + pos);
    return true;
  }

  bool ReadHeader() {
    if (size_ < kFileHeaderSize) {
      Problem("the file is shorter than its 12-byte header");
      return false;
    }
    size_t p, l, e;
    bool ok = Offset(0, 0, &p, "the paradigm section") && Offset(4, 0, &l, "the lemma section") &&
              Offset(8, 0, &e, "the entry section");
    if (!ok) return false;
    if (!Inside(p, kParadigmSectionHeadSize) || !Inside(l, kLemmaSectionHeadSize) ||
        !Inside(e, kEntrySectionHeadSize)) {
      Problem("a section head runs past the end of the file");
      return false;
    }
    paradigm_ends_ = p + kParadigmSectionHeadSize;
    lemma_records_ = l + kLemmaSectionHeadSize;
    block_data_ = e + kEntrySectionHeadSize;
    return Offset(p, p, &slots_, "the slot array") &&
           Offset(p + 4, p, &templates_, "the template array") &&
           Offset(l, l, &bucket_index_, "the bucket index") &&
           Offset(e, e, &block_table_, "the block table") &&
           Offset(e + 4, e, &index_area_, "the index entry area") &&
           Offset(e + 8, e, &directory_, "the index directory");
  }

  // The index directory and its entries.
  void CheckIndex() {
    int64_t previous_bound = INT64_MIN;
    size_t bucket_begin = 0;
    for (size_t entry = directory_;; entry += kDirectoryEntrySize) {
      if (!Inside(entry, kDirectoryEntrySize)) {
        Problem("the index directory has no sentinel (bound 0)");
        return;
      }
      int32_t bound = ReadI32(data_ + entry);
      size_t bucket_end = ReadU32(data_ + entry + 4);
      bool sentinel = bound == 0;
      if (!sentinel && bound <= previous_bound) {
        Problem("index directory bounds do not ascend at bound " + std::to_string(bound));
      }
      if (bucket_end < bucket_begin || !Inside(uint64_t{index_area_} + bucket_end, 0)) {
        Problem("an index bucket ends outside the index entry area");
        return;
      }
      CheckIndexBucket(bucket_begin, bucket_end, previous_bound, sentinel ? INT64_MAX : bound);
      if (sentinel) return;
      previous_bound = bound;
      bucket_begin = bucket_end;
    }
  }

  void CheckIndexBucket(size_t begin, size_t end, int64_t low, int64_t high) {
    size_t pos = begin;
    while (pos < end) {
      size_t at = index_area_ + pos;
      if (pos + kIndexEntryHeadSize + kBlockNumberSize > end) {
        Problem("an index entry runs past its bucket's end");
        return;
      }
      int32_t hash = ReadI32(data_ + at);
      if (hash < low || hash >= high) {
        Problem("index entry with hash " + std::to_string(hash) + " lies in the wrong bucket");
      }
      std::set<uint16_t>& blocks = index_[hash];
      if (!blocks.empty()) Problem("two index entries share the hash " + std::to_string(hash));
      size_t number = pos + kIndexEntryHeadSize;
      for (;;) {
        if (number + kBlockNumberSize > end) {
          Problem("the block list of hash " + std::to_string(hash) + " has no last block");
          return;
        }
        uint16_t block = ReadU16(data_ + index_area_ + number);
        number += kBlockNumberSize;
        uint16_t block_number = block & kBlockNumberMask;
        if (block_number >= kBlockCacheSlots) Problem("a block number is not below 32400");
        blocks.insert(block_number);
        max_block_ = std::max<int64_t>(max_block_, block_number);
        if (block & kLastBlockBit) break;
      }
      ++report_.indexEntries;
      pos = number;
    }
  }

  // Blocks up to the end of the block table, or the last one indexed.
  void CheckBlocks() {
    size_t table_end = size_;
    for (size_t other : {index_area_, directory_, lemma_records_ - kLemmaSectionHeadSize,
                         paradigm_ends_ - kParadigmSectionHeadSize, bucket_index_}) {
      if (other > block_table_) table_end = std::min(table_end, other);
    }
    size_t count = std::max<size_t>((table_end - block_table_) / kBlockTableEntrySize,
                                    static_cast<size_t>(max_block_ + 1));
    if (count > kBlockCacheSlots) {
      Problem("the file has " + std::to_string(count) + " blocks, more than 32400");
      count = kBlockCacheSlots;
    }
    size_t previous_end = 0;
    for (size_t n = 0; n < count; ++n) {
      size_t entry = block_table_ + n * kBlockTableEntrySize;
      if (!Inside(entry, kBlockTableEntrySize)) {
        Problem("block " + std::to_string(n) + " has no entry in the block table");
        return;
      }
      size_t end = ReadU32(data_ + entry);
      size_t inflated = ReadU32(data_ + entry + 4);
      if (end < previous_end || !Inside(uint64_t{block_data_} + end, 0)) {
        Problem("block " + std::to_string(n) + " lies outside the block data");
        return;
      }
      CheckBlock(n, previous_end, end, inflated);
      previous_end = end;
    }
    report_.blocks = count;
  }

  void CheckBlock(size_t n, size_t begin, size_t end, size_t inflated) {
    std::string name = "block " + std::to_string(n);
    if (inflated == 0) {
      Problem(name + " is empty");
      return;
    }
    std::unique_ptr<char[]> text(new char[inflated]);
    uLongf length = static_cast<uLongf>(inflated);
    if (uncompress(reinterpret_cast<Bytef*>(text.get()), &length, data_ + block_data_ + begin,
                   static_cast<uLong>(end - begin)) != Z_OK ||
        length != inflated) {
      Problem(name + " does not inflate to exactly its " + std::to_string(inflated) + " bytes");
      return;
    }
    std::string_view block(text.get(), inflated);
    size_t pos = 0;
    while (pos < block.size()) {
      size_t head_end = block.find('\0', pos);
      size_t translations_end =
          head_end == std::string_view::npos ? head_end : block.find('\0', head_end + 1);
      if (translations_end == std::string_view::npos) {
        Problem(name + " ends inside a record");
        return;
      }
      CheckHeadTokens(n, block.substr(pos, head_end - pos));
      ++report_.entries;
      pos = translations_end + 1;
    }
  }

  void CheckHeadTokens(size_t block, std::string_view head) {
    size_t pos = 0;
    for (;;) {
      size_t space = head.find(' ', pos);
      std::string_view token = head.substr(pos, space == std::string_view::npos ? space : space - pos);
      if (!token.empty()) {
        head_tokens_.insert(std::string(token));
        auto entry = index_.find(WordHash(token.data(), token.size()));
        if (entry == index_.end() || entry->second.count(static_cast<uint16_t>(block)) == 0) {
          Problem("head token \"" + std::string(token) + "\" of block " + std::to_string(block) +
                  " is not indexed with that block");
        }
      }
      if (space == std::string_view::npos) return;
      pos = space + 1;
    }
  }

  bool ReadString(size_t pos, size_t limit, std::string_view* text) {
    if (pos >= limit) return false;
    const void* nul = std::memchr(data_ + pos, 0, limit - pos);
    if (nul == nullptr) return false;
    *text = std::string_view(reinterpret_cast<const char*>(data_ + pos),
                             static_cast<size_t>(static_cast<const uint8_t*>(nul) - (data_ + pos)));
    return true;
  }

  // The bucket index, the lemma records and the paradigms they use.
  void CheckLemmas() {
    std::string previous_key;
    size_t bucket_begin = 0;
    std::string previous_word;
    std::set<std::string> finished_words;
    for (size_t entry = bucket_index_;; entry += kBucketEntrySize) {
      if (!Inside(entry, kBucketEntrySize)) {
        Problem("the bucket index has no sentinel");
        return;
      }
      std::string key(reinterpret_cast<const char*>(data_ + entry), kBucketKeySize);
      bool sentinel = key == std::string(kBucketKeySize, '\0');
      size_t bucket_end = ReadU32(data_ + entry + 4);
      if (!sentinel && !previous_key.empty() && CompareKeys(key, previous_key) <= 0) {
        Problem("bucket keys do not ascend");
      }
      if (bucket_end < bucket_begin || !Inside(uint64_t{lemma_records_} + bucket_end, 0)) {
        Problem("a lemma bucket ends outside the file");
        return;
      }
      size_t pos = lemma_records_ + bucket_begin;
      size_t limit = lemma_records_ + bucket_end;
      while (pos < limit) {
        std::string_view word;
        if (!ReadString(pos, limit, &word) || word.empty()) {
          Problem("a lemma record's word is empty or runs past its bucket");
          return;
        }
        std::string word_key = KeyOf(word);
        if ((!sentinel && CompareKeys(key, word_key) <= 0) ||
            (!previous_key.empty() && CompareKeys(previous_key, word_key) > 0)) {
          Problem("lemma \"" + std::string(word) + "\" lies in the wrong bucket");
        }
        if (word != previous_word) {
          if (finished_words.count(std::string(word)) > 0) {
            Problem("the records of \"" + std::string(word) + "\" do not stand together");
          }
          finished_words.insert(previous_word);
          previous_word = std::string(word);
        }
        pos += word.size() + 1;
        if (!CheckFormItems(word, &pos, limit)) return;
        ++report_.lemmaRecords;
      }
      if (sentinel) return;
      previous_key = key;
      bucket_begin = bucket_end;
    }
  }

  bool CheckFormItems(std::string_view word, size_t* pos, size_t limit) {
    std::string name = "lemma \"" + std::string(word) + "\"";
    for (;;) {
      if (*pos >= limit) {
        Problem(name + " runs past its bucket");
        return false;
      }
      uint8_t code = data_[(*pos)++];
      if (code == 0) return true;
      std::string_view text;
      if (code == kStemParadigmCode || code == kLiteralCode) {
        uint8_t paradigm = code == kStemParadigmCode && *pos < limit ? data_[(*pos)++] : 1;
        if (!ReadString(*pos, limit, &text)) {
          Problem(name + " has an unterminated string");
          return false;
        }
        *pos += text.size() + 1;
        if (code == kStemParadigmCode) {
          if (paradigm == 0) Problem(name + " names paradigm byte 0 after code 253");
          CheckParadigm(name, paradigm - 1);
        }
        if (text.size() + kTemplateSize > kMaxFormLength + 1) {
          Problem(name + " may build a form longer than 255 bytes");
        }
      } else if (code != kSelfCode) {
        CheckParadigm(name, code - kFirstParadigmCode);
      }
    }
  }

  void CheckParadigm(const std::string& name, int paradigm) {
    if (paradigm < 0 || !checked_paradigms_.insert(paradigm).second) return;
    size_t entry = paradigm_ends_ + static_cast<size_t>(paradigm) * kParadigmEndSize;
    if (!Inside(entry, kParadigmEndSize)) {
      Problem(name + " uses paradigm " + std::to_string(paradigm) + ", which the file lacks");
      return;
    }
    size_t end = ReadU16(data_ + entry);
    size_t begin = paradigm == 0 ? 0 : ReadU16(data_ + entry - kParadigmEndSize);
    for (size_t slot = begin; slot < end; ++slot) {
      size_t slot_at = slots_ + slot * kSlotSize;
      size_t at = Inside(slot_at, kSlotSize) ? templates_ + ReadU16(data_ + slot_at) * kTemplateSize : size_;
      if (!Inside(at, kTemplateSize)) {
        Problem("paradigm " + std::to_string(paradigm) + " names a template outside the file");
        return;
      }
      if (std::memchr(data_ + at, kTemplateStemMark, kTemplateSize) == nullptr) {
        Problem("paradigm " + std::to_string(paradigm) + " uses a template without a TAB");
      }
    }
  }

  void CheckFormsOfHeadTokens() {
    DictionaryFile file;
    if (!file.OpenBytes(data_, size_)) return;
    for (const std::string& token : head_tokens_) {
      // Groups and grammar codes are shown as labels and never typed.
      if ((token.front() == '(' && token.back() == ')') || IsHeadLabelCode(token)) continue;
      ++report_.headTokens;
      if (token.size() <= kMaxWordLength && BuildWordForms(file, token).empty()) {
        Problem("head token \"" + token + "\" has no lemma record that yields it");
      }
    }
  }

  const uint8_t* data_;
  size_t size_;
  CheckReport report_;
  size_t paradigm_ends_ = 0, slots_ = 0, templates_ = 0;
  size_t lemma_records_ = 0, bucket_index_ = 0;
  size_t block_table_ = 0, index_area_ = 0, directory_ = 0, block_data_ = 0;
  std::unordered_map<int32_t, std::set<uint16_t>> index_;
  int64_t max_block_ = -1;
  std::set<std::string> head_tokens_;
  std::set<int> checked_paradigms_;
};

}  // namespace

CheckReport CheckDictionary(const uint8_t* data, size_t size) { return Checker(data, size).Run(); }

}  // namespace vordo
