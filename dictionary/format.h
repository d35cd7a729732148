// The bytes of dic.bin, read in place by DictionaryFile and written by
// DictionaryWriter.
//
// All integers are little-endian and packed without padding; text is
// Windows-1250, NUL-terminated, compared as unsigned bytes. There is no magic
// number, version, length or checksum: sections are found only through the
// 12-byte file header, which holds three u32 offsets from the file start:
// the paradigm section P, the lemma section L and the entry section E.
//
// Paradigm section
//   P+0  u32  offset from P of the slot array (u16 template numbers)
//   P+4  u32  offset from P of the template array (12-byte templates)
//   P+8  u16[] paradigm end table: entry k is the exclusive end of paradigm
//        k's run in the slot array, which starts at entry k-1 (0 for k = 0).
//   A template is prefix bytes, one TAB, suffix bytes, NUL padding to 12
//   bytes (a suffix may run to the 12th byte). It turns a stem into
//   prefix + stem + suffix.
//
// Lemma section
//   L+0  u32  offset from L of the bucket index
//   L+4  lemma records, back to back: word NUL, form items, 0 byte. Items:
//        1..252         forms of paradigm (code-1) with the record's word
//        253 m stem NUL forms of paradigm (m-1) with that stem
//        254            the record's word itself
//        255 text NUL   that text
//   Bucket index: 8-byte entries {4-byte bound key, u32 end offset from L+4},
//   closed by a sentinel whose key is four NULs. A word belongs to the
//   bucket of the first entry whose key compares greater (strncmp, 4 bytes),
//   else to the sentinel's. Records of equal words stand together.
//
// Entry section
//   E+0  u32  offset from E of the block table (8-byte entries: u32 end of
//             the block's zlib stream from E+12, u32 inflated size)
//   E+4  u32  offset from E of the index entry area
//   E+8  u32  offset from E of the index directory (8-byte entries: i32
//             exclusive upper bound of the bucket's hashes, u32 end offset in
//             the index entry area; a final sentinel with bound 0)
//   E+12 block data: complete zlib streams back to back. An inflated block is
//        records {head text NUL, translation text NUL} filling it exactly;
//        translations are separated by TAB.
//   Index entry: i32 WordHash, u16 weight word (bits 0-14 weight, bit 15
//   common-word mark), u16 block numbers (bits 0-14) of which only the last
//   has bit 15 set. Words whose hashes coincide share one entry.
#ifndef VORDO_DICTIONARY_FORMAT_H_
#define VORDO_DICTIONARY_FORMAT_H_

#include <cstddef>
#include <cstdint>

namespace vordo {

constexpr size_t kFileHeaderSize = 12;
constexpr size_t kParadigmSectionHeadSize = 8;
constexpr size_t kLemmaSectionHeadSize = 4;
constexpr size_t kEntrySectionHeadSize = 12;

constexpr size_t kTemplateSize = 12;
constexpr size_t kSlotSize = 2;
constexpr size_t kParadigmEndSize = 2;
constexpr size_t kBucketKeySize = 4;
constexpr size_t kBucketEntrySize = 8;
constexpr size_t kBlockTableEntrySize = 8;
constexpr size_t kDirectoryEntrySize = 8;
constexpr size_t kIndexEntryHeadSize = 6;
constexpr size_t kBlockNumberSize = 2;

constexpr int kMaxParadigms = 255;
constexpr uint8_t kFirstParadigmCode = 1;
constexpr uint8_t kLastParadigmCode = 252;
constexpr uint8_t kStemParadigmCode = 253;
constexpr uint8_t kSelfCode = 254;
constexpr uint8_t kLiteralCode = 255;

constexpr size_t kBlockCacheSlots = 32400;
// Words whose forms are read from the lemma buckets before the exact-match
// table of the lemma records is made: a lookup or two in a short process
// costs less than the table.
constexpr uint32_t kWordsBeforeLemmaIndex = 16;
constexpr uint16_t kLastBlockBit = 0x8000;
constexpr uint16_t kBlockNumberMask = 0x7FFF;
constexpr uint16_t kCommonWordBit = 0x8000;
constexpr uint16_t kWeightMask = 0x7FFF;

constexpr char kTemplateStemMark = '\t';
constexpr char kTranslationSeparator = '\t';
constexpr char kTokenSeparator = ' ';

// Longest query word that has word forms, and longest form a paradigm may
// build (both without the terminating NUL).
constexpr size_t kMaxWordLength = 127;
constexpr size_t kMaxFormLength = 255;

inline uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }

// The index hash: h = h * 31 + b over the bytes taken as signed, modulo 2^32.
inline int32_t WordHash(const char* bytes, size_t length) {
  uint32_t h = 0;
  for (size_t i = 0; i < length; ++i) {
    h = h * 31u + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(bytes[i])));
  }
  return static_cast<int32_t>(h);
}

}  // namespace vordo

#endif  // VORDO_DICTIONARY_FORMAT_H_
