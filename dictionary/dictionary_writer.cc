#include "dictionary/dictionary_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "dictionary/format.h"

namespace vordo {
namespace {

void PutU16(std::string* out, uint32_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string* out, uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

void SetU32(std::string* out, size_t pos, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*out)[pos + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

// The first four bytes of a word, NUL-padded: the key that closes the bucket
// before the one that starts with this word.
std::string BoundKey(const std::string& word) {
  std::string key = word.substr(0, kBucketKeySize);
  key.resize(kBucketKeySize, '\0');
  return key;
}

std::vector<std::string> HeadTokens(const std::string& head) {
  std::vector<std::string> tokens;
  size_t pos = 0;
  for (;;) {
    size_t space = head.find(kTokenSeparator, pos);
    std::string token = head.substr(pos, space == std::string::npos ? std::string::npos : space - pos);
    if (!token.empty()) tokens.push_back(token);
    if (space == std::string::npos) break;
    pos = space + 1;
  }
  std::sort(tokens.begin(), tokens.end());
  tokens.erase(std::unique(tokens.begin(), tokens.end()), tokens.end());
  return tokens;
}

// All words whose hash is one value share an index entry.
struct HashGroup {
  uint32_t weight = 0;
  bool common = false;
  std::set<uint16_t> blocks;
};

}  // namespace

LemmaItem LemmaItem::Paradigm(int paradigm) {
  return LemmaItem{static_cast<uint8_t>(paradigm + kFirstParadigmCode), 0, std::string()};
}

LemmaItem LemmaItem::StemParadigm(int paradigm, std::string stem) {
  return LemmaItem{kStemParadigmCode, static_cast<uint8_t>(paradigm + 1), std::move(stem)};
}

LemmaItem LemmaItem::Self() { return LemmaItem{kSelfCode, 0, std::string()}; }

LemmaItem LemmaItem::Literal(std::string text) { return LemmaItem{kLiteralCode, 0, std::move(text)}; }

int DictionaryWriter::AddParadigm(const std::vector<std::string>& templates) {
  paradigms_.push_back(templates);
  return static_cast<int>(paradigms_.size()) - 1;
}

void DictionaryWriter::AddLemma(const std::string& word, const std::vector<LemmaItem>& items) {
  lemmas_.push_back(Lemma{word, items});
}

void DictionaryWriter::AddEntry(const std::string& head, const std::string& translations) {
  entries_.push_back(Entry{head, translations});
}

void DictionaryWriter::MarkCommon(const std::string& word) { common_.insert(word); }

bool DictionaryWriter::Validate(std::string* error) const {
  if (paradigms_.size() > static_cast<size_t>(kMaxParadigms)) {
    *error = "more than 255 paradigms";
    return false;
  }
  size_t slots = 0;
  for (const auto& paradigm : paradigms_) {
    for (const std::string& text : paradigm) {
      if (text.size() > kTemplateSize || HasNul(text) ||
          text.find(kTemplateStemMark) == std::string::npos) {
        *error = "template \"" + text + "\" is not prefix, TAB, suffix in 12 bytes";
        return false;
      }
    }
    slots += paradigm.size();
  }
  if (slots > 0xFFFF) {
    *error = "the paradigms use more than 65535 slots";
    return false;
  }
  for (const Lemma& lemma : lemmas_) {
    if (lemma.word.empty() || HasNul(lemma.word)) {
      *error = "a lemma word is empty or holds a NUL";
      return false;
    }
    for (const LemmaItem& item : lemma.items) {
      bool uses_paradigm = item.code >= kFirstParadigmCode && item.code <= kLastParadigmCode;
      int paradigm = uses_paradigm ? item.code - kFirstParadigmCode : item.paradigm - 1;
      if ((uses_paradigm || item.code == kStemParadigmCode) &&
          (paradigm < 0 || static_cast<size_t>(paradigm) >= paradigms_.size())) {
        *error = "lemma \"" + lemma.word + "\" names a paradigm that does not exist";
        return false;
      }
      if (item.code == 0 || HasNul(item.text) ||
          (item.code == kStemParadigmCode && item.text.size() + kTemplateSize > kMaxFormLength)) {
        *error = "lemma \"" + lemma.word + "\" has a malformed form item";
        return false;
      }
    }
  }
  for (const Entry& entry : entries_) {
    if (HasNul(entry.head) || HasNul(entry.translations)) {
      *error = "an entry holds a NUL byte";
      return false;
    }
  }
  return true;
}

void DictionaryWriter::WriteParadigmSection(std::string* out) const {
  std::vector<std::string> templates;
  std::map<std::string, uint16_t> template_numbers;
  std::vector<uint16_t> slots;
  std::vector<uint16_t> ends;
  for (const auto& paradigm : paradigms_) {
    for (const std::string& text : paradigm) {
      auto found = template_numbers.find(text);
      if (found == template_numbers.end()) {
        found = template_numbers.emplace(text, static_cast<uint16_t>(templates.size())).first;
        templates.push_back(text);
      }
      slots.push_back(found->second);
    }
    ends.push_back(static_cast<uint16_t>(slots.size()));
  }
  size_t slot_array = kParadigmSectionHeadSize + ends.size() * kParadigmEndSize;
  size_t template_array = slot_array + slots.size() * kSlotSize;
  PutU32(out, static_cast<uint32_t>(slot_array));
  PutU32(out, static_cast<uint32_t>(template_array));
  for (uint16_t end : ends) PutU16(out, end);
  for (uint16_t slot : slots) PutU16(out, slot);
  for (const std::string& text : templates) {
    std::string padded = text;
    padded.resize(kTemplateSize, '\0');
    out->append(padded);
  }
}

void DictionaryWriter::WriteLemmaSection(const Options& options, std::string* out) const {
  size_t section = out->size();
  PutU32(out, 0);  // bucket index offset, set below
  size_t records = out->size();
  std::vector<const Lemma*> sorted;
  sorted.reserve(lemmas_.size());
  for (const Lemma& lemma : lemmas_) sorted.push_back(&lemma);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Lemma* a, const Lemma* b) { return a->word < b->word; });

  std::string bucket_index;
  size_t in_bucket = 0;
  for (size_t i = 0; i < sorted.size(); ++i) {
    const Lemma& lemma = *sorted[i];
    out->append(lemma.word).push_back('\0');
    for (const LemmaItem& item : lemma.items) {
      out->push_back(static_cast<char>(item.code));
      if (item.code == kStemParadigmCode) out->push_back(static_cast<char>(item.paradigm));
      if (item.code == kStemParadigmCode || item.code == kLiteralCode) {
        out->append(item.text).push_back('\0');
      }
    }
    out->push_back('\0');
    ++in_bucket;
    bool last = i + 1 == sorted.size();
    if (!last && in_bucket >= options.lemmaBucketSize &&
        BoundKey(sorted[i + 1]->word) != BoundKey(lemma.word)) {
      bucket_index.append(BoundKey(sorted[i + 1]->word));
      PutU32(&bucket_index, static_cast<uint32_t>(out->size() - records));
      in_bucket = 0;
    }
  }
  bucket_index.append(kBucketKeySize, '\0');
  PutU32(&bucket_index, static_cast<uint32_t>(out->size() - records));
  SetU32(out, section, static_cast<uint32_t>(out->size() - section));
  out->append(bucket_index);
}

bool DictionaryWriter::WriteEntrySection(const Options& options, std::string* out,
                                         std::string* error, Summary* summary) const {
  size_t section = out->size();
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, 0);
  size_t block_data = out->size();

  // Cut the entries into blocks and note which blocks hold which words.
  std::vector<std::string> blocks(1);
  std::unordered_map<std::string, HashGroup> words;
  for (const Entry& entry : entries_) {
    size_t record = entry.head.size() + entry.translations.size() + 2;
    if (!blocks.back().empty() && blocks.back().size() + record > options.blockSize) {
      blocks.emplace_back();
    }
    blocks.back().append(entry.head).push_back('\0');
    blocks.back().append(entry.translations).push_back('\0');
    uint16_t block = static_cast<uint16_t>(std::min(blocks.size() - 1, size_t{0xFFFF}));
    for (const std::string& token : HeadTokens(entry.head)) {
      HashGroup& word = words[token];
      ++word.weight;
      word.blocks.insert(block);
    }
    summary->translations +=
        entry.translations.empty()
            ? 0
            : static_cast<size_t>(std::count(entry.translations.begin(), entry.translations.end(),
                                             kTranslationSeparator)) + 1;
  }
  if (blocks.back().empty()) blocks.pop_back();
  if (blocks.size() > kBlockCacheSlots) {
    *error = "the entries need " + std::to_string(blocks.size()) +
             " blocks, more than 32400: choose a larger block size";
    return false;
  }

  std::string block_table;
  for (const std::string& block : blocks) {
    uLongf length = compressBound(static_cast<uLong>(block.size()));
    std::unique_ptr<Bytef[]> compressed(new Bytef[length]);
    if (compress2(compressed.get(), &length, reinterpret_cast<const Bytef*>(block.data()),
                  static_cast<uLong>(block.size()), options.compressionLevel) != Z_OK) {
      *error = "zlib could not compress a block";
      return false;
    }
    out->append(reinterpret_cast<const char*>(compressed.get()), length);
    PutU32(&block_table, static_cast<uint32_t>(out->size() - block_data));
    PutU32(&block_table, static_cast<uint32_t>(block.size()));
    summary->inflatedBytes += block.size();
  }

  std::map<int32_t, HashGroup> groups;
  for (const auto& word : words) {
    HashGroup& group = groups[WordHash(word.first.data(), word.first.size())];
    group.weight += word.second.weight;
    group.common = group.common || common_.count(word.first) > 0;
    group.blocks.insert(word.second.blocks.begin(), word.second.blocks.end());
  }

  std::string index_area;
  std::string directory;
  size_t in_bucket = 0;
  for (auto group = groups.begin(); group != groups.end(); ++group) {
    PutU32(&index_area, static_cast<uint32_t>(group->first));
    uint16_t weight = static_cast<uint16_t>(std::min<uint32_t>(group->second.weight, kWeightMask));
    PutU16(&index_area, weight | (group->second.common ? kCommonWordBit : 0));
    size_t remaining = group->second.blocks.size();
    for (uint16_t block : group->second.blocks) {
      PutU16(&index_area, block | (--remaining == 0 ? kLastBlockBit : 0));
    }
    ++in_bucket;
    auto next = std::next(group);
    // A bound of 0 would end the directory early, so never cut before hash 0.
    if (next != groups.end() && in_bucket >= options.indexBucketSize && next->first != 0) {
      PutU32(&directory, static_cast<uint32_t>(next->first));
      PutU32(&directory, static_cast<uint32_t>(index_area.size()));
      in_bucket = 0;
    }
  }
  PutU32(&directory, 0);
  PutU32(&directory, static_cast<uint32_t>(index_area.size()));

  SetU32(out, section, static_cast<uint32_t>(out->size() - section));
  out->append(block_table);
  SetU32(out, section + 4, static_cast<uint32_t>(out->size() - section));
  out->append(index_area);
  SetU32(out, section + 8, static_cast<uint32_t>(out->size() - section));
  out->append(directory);

  summary->blocks = blocks.size();
  summary->indexEntries = groups.size();
  return true;
}

bool DictionaryWriter::Build(const Options& options, std::string* out, std::string* error,
                             Summary* summary) const {
  Summary local;
  if (summary == nullptr) summary = &local;
  *summary = Summary();
  if (!Validate(error)) return false;
  out->assign(kFileHeaderSize, '\0');
  SetU32(out, 0, static_cast<uint32_t>(out->size()));
  WriteParadigmSection(out);
  SetU32(out, 4, static_cast<uint32_t>(out->size()));
  WriteLemmaSection(options, out);
  SetU32(out, 8, static_cast<uint32_t>(out->size()));
  if (!WriteEntrySection(options, out, error, summary)) return false;
  if (out->size() > UINT32_MAX) {
    *error = "the dictionary would exceed 4 GiB";
    return false;
  }
  summary->headTexts = entries_.size();
  summary->lemmaRecords = lemmas_.size();
  summary->fileSize = out->size();
  return true;
}

bool DictionaryWriter::WriteFile(const std::string& path, const Options& options,
                                 std::string* error, Summary* summary) const {
  std::string bytes;
  if (!Build(options, &bytes, error, summary)) return false;
  std::string temporary = path + ".tmp";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    *error = "cannot create " + temporary + ": " + std::strerror(errno);
    return false;
  }
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    *error = "cannot write " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace vordo
