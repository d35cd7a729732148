#include "dictionary/dictionary_check.h"

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
#include "dictionary/format_reader.h"
#include "dictionary/labels.h"

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
  Checker(const uint8_t* data, size_t size, const HeadTokenCheck& yields_forms)
      : data_(data), size_(size), yields_forms_(yields_forms) {}

  CheckReport Run() {
    std::string reason;
    if (!ReadFileLayout(data_, size_, &layout_, &reason) || !file_.OpenBytes(data_, size_, &reason)) {
      Problem(reason);
      return report_;
    }
    CheckIndex();
    CheckBlocks();
    CheckLemmas();
    CheckFormsOfHeadTokens();
    return report_;
  }

 private:
  void Problem(const std::string& text) {
    if (report_.problems.size() < CheckReport::kMaxListed) report_.problems.push_back(text);
    ++report_.problemCount;
  }

  bool Inside(uint64_t offset, uint64_t length) const { return offset + length <= size_; }

  // The index directory and its entries.
  void CheckIndex() {
    int64_t previous_bound = INT64_MIN;
    size_t bucket_begin = 0;
    for (size_t entry = layout_.indexDirectory;; entry += kDirectoryEntrySize) {
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
      if (bucket_end < bucket_begin || !Inside(uint64_t{layout_.indexArea} + bucket_end, 0)) {
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
    const uint8_t* area = data_ + layout_.indexArea;
    IndexEntry entry;
    for (size_t pos = begin; pos < end;) {
      if (!ReadIndexEntry(area, pos, end, &entry, &pos)) {
        Problem("an index entry or its block list runs past its bucket's end");
        return;
      }
      if (entry.hash < low || entry.hash >= high) {
        Problem("index entry with hash " + std::to_string(entry.hash) + " lies in the wrong bucket");
      }
      std::set<uint16_t>& blocks = index_[entry.hash];
      if (!blocks.empty()) Problem("two index entries share the hash " + std::to_string(entry.hash));
      for (size_t i = 0; i < entry.blockCount; ++i) {
        uint16_t block_number = ReadU16(entry.blockNumbers + i * kBlockNumberSize) & kBlockNumberMask;
        if (block_number >= kBlockCacheSlots) Problem("a block number is not below 32400");
        blocks.insert(block_number);
        max_block_ = std::max<int64_t>(max_block_, block_number);
      }
      ++report_.indexEntries;
    }
  }

  // Blocks up to the end of the block table, or the last one indexed.
  void CheckBlocks() {
    size_t table_end = size_;
    for (size_t other : {layout_.indexArea, layout_.indexDirectory, layout_.lemmaSection,
                         layout_.paradigmSection, layout_.bucketIndex}) {
      if (other > layout_.blockTable) table_end = std::min(table_end, other);
    }
    size_t count = std::max<size_t>((table_end - layout_.blockTable) / kBlockTableEntrySize,
                                    static_cast<size_t>(max_block_ + 1));
    if (count > kBlockCacheSlots) {
      Problem("the file has " + std::to_string(count) + " blocks, more than 32400");
      count = kBlockCacheSlots;
    }
    for (size_t n = 0; n < count; ++n) {
      BlockExtent extent;
      BlockBytes bytes;
      BlockStatus status = ReadBlock(data_, size_, layout_, n, &extent, &bytes);
      if (status != BlockStatus::kOk) {
        Problem("block " + std::to_string(n) + " " + DescribeBlockStatus(status));
        // Without its extent no later block can be placed either.
        if (status == BlockStatus::kNoTableEntry || status == BlockStatus::kOutsideData) return;
        continue;
      }
      CheckRecords(n, std::string_view(bytes.text, extent.inflated));
    }
    report_.blocks = count;
  }

  void CheckRecords(size_t n, std::string_view block) {
    size_t pos = 0;
    while (pos < block.size()) {
      size_t head_end = block.find('\0', pos);
      size_t translations_end =
          head_end == std::string_view::npos ? head_end : block.find('\0', head_end + 1);
      if (translations_end == std::string_view::npos) {
        Problem("block " + std::to_string(n) + " ends inside a record");
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

  // The bucket index, the lemma records and the paradigms they use.
  void CheckLemmas() {
    std::string previous_key;
    size_t bucket_begin = 0;
    std::string previous_word;
    std::set<std::string> finished_words;
    const FormTables& tables = file_.formTables();
    for (size_t entry = layout_.bucketIndex;; entry += kBucketEntrySize) {
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
      if (bucket_end < bucket_begin || !Inside(uint64_t{layout_.lemmaRecords} + bucket_end, 0)) {
        Problem("a lemma bucket ends outside the file");
        return;
      }
      size_t limit = layout_.lemmaRecords + bucket_end;
      FormTables::LemmaRecord record;
      for (size_t pos = layout_.lemmaRecords + bucket_begin; pos < limit; pos = record.next) {
        if (!tables.ReadLemmaRecord(pos, limit, &record) || record.word.empty()) {
          Problem("a lemma record is empty, damaged or runs past its bucket");
          return;
        }
        std::string_view word = record.word;
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
        CheckFormItems(record);
        ++report_.lemmaRecords;
      }
      if (sentinel) return;
      previous_key = key;
      bucket_begin = bucket_end;
    }
  }

  void CheckFormItems(const FormTables::LemmaRecord& record) {
    std::string name = "lemma \"" + std::string(record.word) + "\"";
    FormTables::FormItem item;
    for (size_t pos = record.items; pos < record.end;) {
      if (!file_.formTables().ReadFormItem(&pos, record.end, &item)) return;
      if (item.code == kStemParadigmCode) {
        if (item.paradigm == 0) Problem(name + " names paradigm byte 0 after code 253");
        CheckParadigm(name, item.paradigm - 1);
      } else if (item.code >= kFirstParadigmCode && item.code <= kLastParadigmCode) {
        CheckParadigm(name, item.code - kFirstParadigmCode);
      }
      if (item.text.size() + kTemplateSize > kMaxFormLength + 1) {
        Problem(name + " may build a form longer than 255 bytes");
      }
    }
  }

  void CheckParadigm(const std::string& name, int paradigm) {
    if (paradigm < 0 || !checked_paradigms_.insert(paradigm).second) return;
    const FormTables& tables = file_.formTables();
    size_t begin, end;
    if (!tables.ParadigmRun(paradigm, &begin, &end)) {
      Problem(name + " uses paradigm " + std::to_string(paradigm) + ", which the file lacks");
      return;
    }
    FormTables::Template parts;
    for (size_t slot = begin; slot < end; ++slot) {
      if (!tables.SlotTemplate(slot, &parts)) {
        Problem("paradigm " + std::to_string(paradigm) +
                " uses a template outside the file or without a TAB");
        return;
      }
    }
  }

  void CheckFormsOfHeadTokens() {
    if (!yields_forms_) return;
    for (const std::string& token : head_tokens_) {
      // Groups and grammar codes are shown as labels and never typed.
      if ((token.front() == '(' && token.back() == ')') || IsHeadLabelCode(token)) continue;
      ++report_.headTokens;
      if (token.size() <= kMaxWordLength && !yields_forms_(file_, token)) {
        Problem("head token \"" + token + "\" has no lemma record that yields it");
      }
    }
  }

  const uint8_t* data_;
  size_t size_;
  const HeadTokenCheck& yields_forms_;
  CheckReport report_;
  FileLayout layout_;
  DictionaryFile file_;  // the reader over the same bytes, for its form tables
  std::unordered_map<int32_t, std::set<uint16_t>> index_;
  int64_t max_block_ = -1;
  std::set<std::string> head_tokens_;
  std::set<int> checked_paradigms_;
};

}  // namespace

CheckReport CheckDictionary(const uint8_t* data, size_t size, const HeadTokenCheck& yields_forms) {
  return Checker(data, size, yields_forms).Run();
}

}  // namespace vordo
