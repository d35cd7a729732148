#include "dictionary/format_reader.h"

#include <zlib.h>

#include <initializer_list>
#include <new>

#include "dictionary/format.h"

namespace vordo {
namespace {

// Deflate cannot expand data by more than this factor, so a block that
// claims a larger inflated size is damaged.
constexpr uint64_t kMaxInflateRatio = 1032;
constexpr uint64_t kInflateSlack = 64;

// Reads the u32 at `pos` as an offset from `base`; the result, plus `room`
// bytes, must lie inside the file.
bool ReadOffset(const uint8_t* data, size_t size, size_t pos, size_t base, size_t room,
                size_t* out) {
  if (uint64_t{pos} + 4 > size) return false;
  uint64_t offset = uint64_t{base} + ReadU32(data + pos);
  if (offset + room > size) return false;
  *out = static_cast<size_t>(offset);
  return true;
}

// Where the `inflated` bytes stand in `stream` when it is a zlib stream of
// one stored deflate block that holds exactly them, with the right
// checksum: the checks zlib makes of such a stream, in the same order of
// bytes. Null when it is any other stream, which is then left to zlib.
const uint8_t* StoredBytes(const uint8_t* stream, size_t size, size_t inflated) {
  // zlib header: method 8 (deflate), a window of at most 2^15, the check
  // bits, no preset dictionary. Then the first block's three bits: final,
  // stored; the rest of that byte is padding. Then LEN and its complement.
  constexpr size_t kZlibHeaderSize = 2;
  constexpr size_t kStoredHeaderSize = 5;
  constexpr size_t kChecksumSize = 4;
  constexpr uint8_t kDeflate = 8;
  constexpr int kLargestWindowCode = 7;
  constexpr uint8_t kPresetDictionary = 0x20;
  constexpr uint8_t kFinalStoredBlock = 0x01;
  if (size < kZlibHeaderSize + kStoredHeaderSize + kChecksumSize) return nullptr;
  if ((stream[0] & 0x0F) != kDeflate || (stream[0] >> 4) > kLargestWindowCode ||
      ((stream[0] << 8) | stream[1]) % 31 != 0 || (stream[1] & kPresetDictionary) != 0 ||
      (stream[2] & 0x07) != kFinalStoredBlock) {
    return nullptr;
  }
  const uint32_t length = ReadU16(stream + 3);
  const uint32_t complement = ReadU16(stream + 5);
  const uint8_t* stored = stream + kZlibHeaderSize + kStoredHeaderSize;
  if (length != inflated || (length ^ 0xFFFF) != complement ||
      size - kZlibHeaderSize - kStoredHeaderSize - kChecksumSize < length) {
    return nullptr;
  }
  const uint8_t* checksum = stored + length;
  uint32_t expected = uint32_t{checksum[0]} << 24 | uint32_t{checksum[1]} << 16 |
                      uint32_t{checksum[2]} << 8 | checksum[3];
  if (adler32(adler32(0, nullptr, 0), stored, length) != expected) return nullptr;
  return stored;
}

}  // namespace

bool ReadFileLayout(const uint8_t* data, size_t size, FileLayout* layout, std::string* reason) {
  if (size < kFileHeaderSize) {
    *reason = "the file is shorter than its 12-byte header";
    return false;
  }
  struct Offset {
    size_t pos;
    size_t base;
    size_t room;
    size_t* out;
    const char* name;
  };
  auto read = [&](std::initializer_list<Offset> offsets) {
    for (const Offset& offset : offsets) {
      if (!ReadOffset(data, size, offset.pos, offset.base, offset.room, offset.out)) {
        *reason = std::string(offset.name) + " lies outside the file";
        return false;
      }
    }
    return true;
  };
  FileLayout& l = *layout;
  if (!read({{0, 0, kParadigmSectionHeadSize, &l.paradigmSection, "the paradigm section"},
             {4, 0, kLemmaSectionHeadSize, &l.lemmaSection, "the lemma section"},
             {8, 0, kEntrySectionHeadSize, &l.entrySection, "the entry section"}})) {
    return false;
  }
  // The table offsets are read only once every section head is known to be inside.
  if (!read({{l.paradigmSection, l.paradigmSection, 0, &l.slotArray, "the slot array"},
             {l.paradigmSection + 4, l.paradigmSection, 0, &l.templateArray, "the template array"},
             {l.lemmaSection, l.lemmaSection, 0, &l.bucketIndex, "the bucket index"},
             {l.entrySection, l.entrySection, 0, &l.blockTable, "the block table"},
             {l.entrySection + 4, l.entrySection, 0, &l.indexArea, "the index entry area"},
             {l.entrySection + 8, l.entrySection, 0, &l.indexDirectory, "the index directory"}})) {
    return false;
  }
  l.paradigmEndTable = l.paradigmSection + kParadigmSectionHeadSize;
  l.lemmaRecords = l.lemmaSection + kLemmaSectionHeadSize;
  l.blockData = l.entrySection + kEntrySectionHeadSize;
  return true;
}

const char* DescribeBlockStatus(BlockStatus status) {
  switch (status) {
    case BlockStatus::kOk: return "is sound";
    case BlockStatus::kNoTableEntry: return "has no entry in the block table";
    case BlockStatus::kOutsideData: return "lies outside the block data";
    case BlockStatus::kEmpty: return "is empty";
    case BlockStatus::kImpossibleSize: return "claims more inflated bytes than deflate can give";
    case BlockStatus::kBadStream: return "does not inflate to exactly its stated size";
    case BlockStatus::kNoMemory: return "cannot be inflated: out of memory";
  }
  return "is damaged";
}

BlockStatus ReadBlockExtent(const uint8_t* data, size_t size, const FileLayout& layout, size_t n,
                            BlockExtent* extent) {
  uint64_t entry = uint64_t{layout.blockTable} + uint64_t{n} * kBlockTableEntrySize;
  if (entry + kBlockTableEntrySize > size) return BlockStatus::kNoTableEntry;
  const uint8_t* p = data + entry;
  extent->end = ReadU32(p);
  extent->inflated = ReadU32(p + 4);
  extent->begin = n == 0 ? 0 : ReadU32(p - kBlockTableEntrySize);
  if (extent->begin > extent->end || uint64_t{layout.blockData} + extent->end > size) {
    return BlockStatus::kOutsideData;
  }
  if (extent->inflated == 0) return BlockStatus::kEmpty;
  uint64_t compressed = extent->end - extent->begin;
  if (uint64_t{extent->inflated} > compressed * kMaxInflateRatio + kInflateSlack) {
    return BlockStatus::kImpossibleSize;
  }
  return BlockStatus::kOk;
}

BlockStatus ReadBlock(const uint8_t* data, size_t size, const FileLayout& layout, size_t n,
                      BlockExtent* extent, BlockBytes* bytes) {
  BlockStatus status = ReadBlockExtent(data, size, layout, n, extent);
  if (status != BlockStatus::kOk) return status;
  const uint8_t* stream = data + layout.blockData + extent->begin;
  const size_t stream_size = extent->end - extent->begin;
  if (const uint8_t* stored = StoredBytes(stream, stream_size, extent->inflated)) {
    bytes->text = reinterpret_cast<const char*>(stored);
    return BlockStatus::kOk;
  }
  bytes->owned.reset(new (std::nothrow) char[extent->inflated]);
  if (bytes->owned == nullptr) return BlockStatus::kNoMemory;
  uLongf length = static_cast<uLongf>(extent->inflated);
  int result = uncompress(reinterpret_cast<Bytef*>(bytes->owned.get()), &length, stream,
                          static_cast<uLong>(stream_size));
  if (result == Z_MEM_ERROR) return BlockStatus::kNoMemory;
  if (result != Z_OK || length != extent->inflated) return BlockStatus::kBadStream;
  bytes->text = bytes->owned.get();
  return BlockStatus::kOk;
}

bool ReadIndexEntry(const uint8_t* area, size_t pos, size_t end, IndexEntry* entry, size_t* next) {
  if (pos + kIndexEntryHeadSize + kBlockNumberSize > end) return false;
  size_t blocks = pos + kIndexEntryHeadSize;
  size_t count = 0;
  for (;;) {
    size_t at = blocks + count * kBlockNumberSize;
    if (at + kBlockNumberSize > end) return false;  // the list is never closed
    ++count;
    if ((ReadU16(area + at) & kLastBlockBit) != 0) break;
  }
  entry->hash = ReadI32(area + pos);
  entry->weightWord = ReadU16(area + pos + 4);
  entry->blockNumbers = area + blocks;
  entry->blockCount = count;
  *next = blocks + count * kBlockNumberSize;
  return true;
}

}  // namespace vordo
