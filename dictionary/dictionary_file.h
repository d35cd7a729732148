#ifndef VORDO_DICTIONARY_DICTIONARY_FILE_H_
#define VORDO_DICTIONARY_DICTIONARY_FILE_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/bucket_table.h"
#include "dictionary/form_tables.h"
#include "dictionary/format_reader.h"
#include "dictionary/lemma_index.h"
#include "platform/lock.h"
#include "platform/platform.h"

namespace vordo {

// One entry record inside a cached inflated block. Owns nothing; valid for as
// long as its DictionaryFile.
struct EntryRef {
  const char* head;
  const char* translations;
};

// The inflated text of one block: NUL-terminated records, `size` bytes.
struct BlockText {
  const char* data = nullptr;
  size_t size = 0;
};

// An opened dic.bin: the mapping, the section offsets and the block cache.
//
// Opening maps the file and checks only that the header and the section
// heads point inside it; nothing is parsed. Every later read is bounds
// checked, so a damaged file yields fewer entries, never a read outside the
// mapping. The object may be shared by threads: Open runs once under a lock,
// and a cache slot is filled by whichever thread inflates the block first,
// while lookups of cached blocks take no lock.
class DictionaryFile {
 public:
  DictionaryFile();
  ~DictionaryFile();
  DictionaryFile(const DictionaryFile&) = delete;
  DictionaryFile& operator=(const DictionaryFile&) = delete;

  // Maps `path`. Once open, later calls return true at once and keep the
  // first file. On failure `reason` (optional) says why, in English.
  bool Open(const std::string& path, std::string* reason = nullptr);

  // Reads a dictionary from bytes that the caller keeps alive and unchanged
  // for the life of this object.
  bool OpenBytes(const uint8_t* data, size_t size, std::string* reason = nullptr);

  bool IsOpen() const { return open_.load(std::memory_order_acquire); }

  // The inflated text of block n, inflating and caching it on first use;
  // empty when the block is missing, damaged or not of its stated size. A
  // damaged block is remembered as such and not inflated again.
  BlockText GetBlock(size_t n) const;

  bool FindIndexEntry(const char* word, size_t length, IndexEntry* entry) const;

  // Appends every record of the form's blocks whose head text holds the form
  // as a whole space-separated token, once per block visit.
  void FindEntriesForForm(std::string_view form, std::vector<EntryRef>* list) const;

  const FormTables& formTables() const { return forms_; }

  // The exact-match table of the lemma records, made when the forms of
  // kWordsBeforeLemmaIndex words have been asked (by whichever thread asks
  // then); null before, so that a short process only reads buckets. Each
  // call counts as one word's asking.
  const LemmaIndex* LemmaIndexForWord() const;

 private:
  // A token of a head: its WordHash, and the record (a pair's index in
  // `records`) whose head holds it.
  struct HeadToken {
    uint32_t hash;
    uint32_t record;
    bool operator<(const HeadToken& other) const {
      return hash != other.hash ? hash < other.hash : record < other.record;
    }
    bool operator==(const HeadToken& other) const { return hash == other.hash && record == other.record; }
  };
  using HeadTokens = std::vector<HeadToken>;  // sorted; a record once per distinct hash
  // An inflated block as the cache keeps it: the text, and where each of
  // its records' head and translation texts start, so that a scan reads
  // only the heads. From its second search on, also its heads' tokens by
  // hash, so that a search reads only the heads that may hold the form; a
  // block searched once (a cold lookup, a short process) is only scanned.
  struct CachedBlock {
    BlockBytes bytes;  // in the file when stored, else inflated
    const char* text = nullptr;
    size_t size = 0;
    std::vector<uint32_t> records;  // head and translation offsets, in pairs
    std::atomic<uint32_t> searches{0};
    std::atomic<const HeadTokens*> tokens{nullptr};
    ~CachedBlock() { delete tokens.load(std::memory_order_relaxed); }
  };

  bool Attach(const uint8_t* data, size_t size, std::string* reason);
  const CachedBlock* CachedBlockAt(size_t n) const;
  const CachedBlock* ReadBlock(size_t n) const;
  static void IndexRecords(CachedBlock* block, size_t size);
  // The block's head tokens, made on its second search (by whichever thread
  // gets there first); null before.
  static const HeadTokens* TokensForSearch(const CachedBlock* block);

  Mutex open_mutex_;
  std::atomic<bool> open_{false};
  MappedFile mapping_;
  const uint8_t* view_ = nullptr;
  size_t size_ = 0;

  FileLayout layout_;
  BucketTable directory_;
  FormTables forms_;

  mutable std::atomic<uint32_t> words_asked_{0};
  mutable std::atomic<const LemmaIndex*> lemma_index_{nullptr};

  // A slot holds null until its block is first read, then the block, or
  // &damaged_ when it cannot be read, so that it is not tried again.
  std::unique_ptr<std::atomic<CachedBlock*>[]> cache_;
  CachedBlock damaged_;
};

// The process-wide dictionary that the panel and the tool use.
DictionaryFile& ProcessDictionary();
bool OpenDictionary(const std::string& path, std::string* reason = nullptr);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_DICTIONARY_FILE_H_
