// Parsing of dic.bin's fixed parts (see format.h), shared by the reader and
// the checker so that both read the file the same way: the section layout,
// the block table and block inflation, and index entries. Every function
// checks its reads against the end of the data.
#ifndef VORDO_DICTIONARY_FORMAT_READER_H_
#define VORDO_DICTIONARY_FORMAT_READER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vordo {

// File offsets of the sections and of the tables their heads point to.
struct FileLayout {
  size_t paradigmSection = 0;
  size_t lemmaSection = 0;
  size_t entrySection = 0;
  size_t slotArray = 0;
  size_t templateArray = 0;
  size_t paradigmEndTable = 0;
  size_t bucketIndex = 0;
  size_t lemmaRecords = 0;
  size_t blockTable = 0;
  size_t indexArea = 0;
  size_t indexDirectory = 0;
  size_t blockData = 0;
};

// Reads the header and the three section heads. False, with `reason` naming
// the part, when any of them points outside the file.
bool ReadFileLayout(const uint8_t* data, size_t size, FileLayout* layout, std::string* reason);

// Block n's zlib stream [begin, end), as offsets from the block data, and
// the size it claims to inflate to.
struct BlockExtent {
  size_t begin = 0;
  size_t end = 0;
  size_t inflated = 0;
};

enum class BlockStatus {
  kOk,
  kNoTableEntry,    // the block table ends before block n
  kOutsideData,     // the stream runs backwards or past the end of the file
  kEmpty,           // an inflated size of 0
  kImpossibleSize,  // more than deflate can expand the stream to
  kBadStream,       // does not inflate to exactly the stated size
  kNoMemory,
};

// A short English description of a failed status, for people.
const char* DescribeBlockStatus(BlockStatus status);

BlockStatus ReadBlockExtent(const uint8_t* data, size_t size, const FileLayout& layout, size_t n,
                            BlockExtent* extent);

// The inflated bytes of a block: in the file itself when the stream holds
// them stored, else inflated into `owned`.
struct BlockBytes {
  const char* text = nullptr;  // extent.inflated bytes
  std::unique_ptr<char[]> owned;
};

// Reads block n (exactly extent.inflated bytes). A stream that is one
// stored deflate block, as dic.bin's blocks are written, is read in place
// once its lengths and checksum are right: no copy, and no memory of its
// own. Any other stream is inflated; sizes that deflate cannot reach are
// refused before anything is allocated, so a damaged table cannot make the
// reader or the checker allocate gigabytes.
BlockStatus ReadBlock(const uint8_t* data, size_t size, const FileLayout& layout, size_t n,
                      BlockExtent* extent, BlockBytes* bytes);

// One entry of the index entry area: its hash, weight word and block list.
struct IndexEntry {
  int32_t hash = 0;
  uint16_t weightWord = 0;
  const uint8_t* blockNumbers = nullptr;  // blockCount little-endian u16
  size_t blockCount = 0;
};

// Reads the index entry at offset `pos` of the area at `area`, which must
// end, with its closed block list, before `end`; *next is where the
// following entry starts. False when the entry or its list runs past `end`.
bool ReadIndexEntry(const uint8_t* area, size_t pos, size_t end, IndexEntry* entry, size_t* next);

}  // namespace vordo

#endif  // VORDO_DICTIONARY_FORMAT_READER_H_
