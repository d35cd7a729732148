#include "dictionary/czech_index.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "dictionary/format.h"

namespace vordo {
namespace {

constexpr size_t kCountSize = 4;
constexpr size_t kKeyEntrySize = 8;
constexpr size_t kPostingSize = 4;

// The folded letter of each byte from 0x80 on, or a space.
constexpr char kFoldedHigh[] =
    "          s stzz          s stzz"
    "   l a    s    z   l     as l lz"
    "raaaalccceeeeiiddnnoooo ruuuuyts"
    "raaaalccceeeeiiddnnoooo ruuuuyt ";

char FoldByte(uint8_t byte) {
  if (byte >= 'A' && byte <= 'Z') return static_cast<char>(byte + ('a' - 'A'));
  if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')) return static_cast<char>(byte);
  return byte >= 0x80 ? kFoldedHigh[byte - 0x80] : ' ';
}

void PutU32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutU16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

}  // namespace

std::string FoldCzech(std::string_view text) {
  std::string folded(text.size(), ' ');
  for (size_t i = 0; i < text.size(); ++i) folded[i] = FoldByte(static_cast<uint8_t>(text[i]));
  return folded;
}

std::vector<std::string> FoldedWords(std::string_view text) {
  std::vector<std::string> words;
  std::string folded = FoldCzech(text);
  size_t pos = 0;
  while ((pos = folded.find_first_not_of(' ', pos)) != std::string::npos) {
    size_t end = std::min(folded.find(' ', pos), folded.size());
    words.push_back(folded.substr(pos, end - pos));
    pos = end;
  }
  return words;
}

bool RecordOfBlock(BlockText block, size_t record, EntryRef* entry) {
  const char* pos = block.data;
  const char* end = block.data + block.size;
  for (size_t i = 0; pos < end; ++i) {
    const char* head_end = static_cast<const char*>(std::memchr(pos, 0, static_cast<size_t>(end - pos)));
    if (head_end == nullptr) return false;
    const char* translations = head_end + 1;
    const char* translations_end =
        static_cast<const char*>(std::memchr(translations, 0, static_cast<size_t>(end - translations)));
    if (translations_end == nullptr) return false;
    if (i == record) {
      entry->head = pos;
      entry->translations = translations;
      return true;
    }
    pos = translations_end + 1;
  }
  return false;
}

std::string BuildCzechIndex(const DictionaryFile& dictionary) {
  std::map<std::string, std::vector<CzechPosting>> postings;
  for (size_t block_number = 0; block_number <= kBlockNumberMask; ++block_number) {
    BlockText block = dictionary.GetBlock(block_number);
    if (block.size == 0) break;
    EntryRef entry;
    for (uint16_t record = 0; RecordOfBlock(block, record, &entry) && record < UINT16_MAX; ++record) {
      std::vector<std::string> words = FoldedWords(entry.translations);
      std::sort(words.begin(), words.end());
      words.erase(std::unique(words.begin(), words.end()), words.end());
      for (std::string& word : words) {
        postings[std::move(word)].push_back({static_cast<uint16_t>(block_number), record});
      }
    }
  }
  std::string table;
  std::string texts;
  size_t texts_start = kCountSize + postings.size() * kKeyEntrySize;
  PutU32(&table, static_cast<uint32_t>(postings.size()));
  for (const auto& [word, list] : postings) {
    PutU32(&table, static_cast<uint32_t>(texts_start + texts.size()));
    texts.append(word).push_back('\0');
    PutU32(&table, static_cast<uint32_t>(texts_start + texts.size()));
    PutU32(&texts, static_cast<uint32_t>(list.size()));
    for (const CzechPosting& posting : list) {
      PutU16(&texts, posting.block);
      PutU16(&texts, posting.record);
    }
  }
  return table + texts;
}

bool CzechIndex::OpenBytes(const uint8_t* data, size_t size, std::string* reason) {
  if (size < kCountSize || (size - kCountSize) / kKeyEntrySize < ReadU32(data)) {
    if (reason != nullptr) *reason = "the Czech index is too short for its key table";
    return false;
  }
  data_ = data;
  size_ = size;
  keys_ = ReadU32(data);
  return true;
}

bool CzechIndex::KeyAt(size_t index, std::string_view* key, size_t* postings) const {
  const uint8_t* entry = data_ + kCountSize + index * kKeyEntrySize;
  size_t text = ReadU32(entry);
  *postings = ReadU32(entry + 4);
  if (text >= size_ || *postings > size_) return false;
  const void* nul = std::memchr(data_ + text, 0, size_ - text);
  if (nul == nullptr) return false;
  *key = std::string_view(reinterpret_cast<const char*>(data_ + text),
                          static_cast<size_t>(static_cast<const uint8_t*>(nul) - (data_ + text)));
  return true;
}

std::vector<CzechPosting> CzechIndex::Postings(std::string_view folded_word) const {
  std::vector<CzechPosting> list;
  if (!IsOpen()) return list;
  size_t low = 0;
  size_t high = keys_;
  std::string_view key;
  size_t postings = 0;
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    if (!KeyAt(middle, &key, &postings)) return list;
    if (key < folded_word) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == keys_ || !KeyAt(low, &key, &postings) || key != folded_word) return list;
  if (size_ - postings < kCountSize) return list;
  size_t count = ReadU32(data_ + postings);
  if ((size_ - postings - kCountSize) / kPostingSize < count) return list;
  const uint8_t* posting = data_ + postings + kCountSize;
  for (size_t i = 0; i < count; ++i, posting += kPostingSize) {
    list.push_back({ReadU16(posting), ReadU16(posting + 2)});
  }
  return list;
}

}  // namespace vordo
