#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/format.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

std::vector<std::string> Heads(const std::vector<EntryRef>& refs) {
  std::vector<std::string> heads;
  for (const EntryRef& ref : refs) heads.push_back(ref.head);
  return heads;
}

std::vector<std::string> FindHeads(const DictionaryFile& file, const std::string& form) {
  std::vector<EntryRef> refs;
  file.FindEntriesForForm(form, &refs);
  return Heads(refs);
}

TEST(WordHashTest, MatchesTheWorkedValues) {
  EXPECT_EQ(WordHash("a", 1), 97);
  EXPECT_EQ(WordHash("abc", 3), 96354);
  EXPECT_EQ(WordHash("look", 4), 3327647);
  EXPECT_EQ(WordHash("\xE9", 1), -23);  // high bytes count as negative
}

TEST(FindEntriesForFormTest, MatchesWholeTokensOnlyAndEachRecordOnce) {
  DictionaryWriter writer;
  writer.AddEntry("walk", "a");
  writer.AddEntry("walked", "b");
  writer.AddEntry("Walk", "c");
  writer.AddEntry("walk the walk", "d");
  writer.AddEntry(" walk  x ", "e");
  writer.AddEntry("sidewalk", "f");
  TestDictionary dictionary(writer);
  EXPECT_EQ(FindHeads(dictionary.file(), "walk"),
            (std::vector<std::string>{"walk", "walk the walk", " walk  x "}));
  EXPECT_TRUE(FindHeads(dictionary.file(), "Wal").empty());
  EXPECT_TRUE(FindHeads(dictionary.file(), "nothing").empty());
}

TEST(FindEntriesForFormTest, TokensOfOneHashInOneBlockAreToldApart) {
  // "Aa" and "BB" hash alike; a block's heads are found by their tokens'
  // hashes, each head once, in the block's order.
  DictionaryWriter writer;
  writer.AddEntry("Aa BB", "a");
  writer.AddEntry("BB", "b");
  writer.AddEntry("Aa", "c");
  writer.AddEntry("x Aa Aa", "d");
  TestDictionary dictionary(writer, DictionaryWriter::Options());
  // The first search scans the block, the later ones read its tokens.
  for (int search = 0; search < 3; ++search) {
    EXPECT_EQ(FindHeads(dictionary.file(), "Aa"), (std::vector<std::string>{"Aa BB", "Aa", "x Aa Aa"}));
    EXPECT_EQ(FindHeads(dictionary.file(), "BB"), (std::vector<std::string>{"Aa BB", "BB"}));
  }
}

TEST(FindEntriesForFormTest, FindsEveryWordAcrossManyBlocksAndBuckets) {
  DictionaryWriter writer;
  std::vector<std::string> words;
  for (int i = 0; i < 300; ++i) {
    words.push_back("w" + std::to_string(i * 7919 % 1000));
    writer.AddEntry(words.back() + " common", "t" + std::to_string(i));
  }
  TestDictionary dictionary(writer);
  for (const std::string& word : words) {
    EXPECT_EQ(FindHeads(dictionary.file(), word), std::vector<std::string>{word + " common"});
  }
  EXPECT_EQ(FindHeads(dictionary.file(), "common").size(), 300u);
}

TEST(FindEntriesForFormTest, EmptyTranslationTextsAndTheLastRecord) {
  DictionaryWriter writer;
  writer.AddEntry("first", "");
  writer.AddEntry("last", "");
  DictionaryWriter::Options options = SmallOptions();
  options.blockSize = 1 << 20;  // one block ending in two NULs
  TestDictionary dictionary(writer, options);
  std::vector<EntryRef> refs;
  dictionary.file().FindEntriesForForm("last", &refs);
  ASSERT_EQ(refs.size(), 1u);
  EXPECT_STREQ(refs[0].translations, "");
  BlockText block = dictionary.file().GetBlock(0);
  ASSERT_NE(block.data, nullptr);
  EXPECT_EQ(std::string(block.data, block.size), std::string("first\0\0last\0\0", 13));
}

TEST(IndexEntryTest, SingleBlockEntryIsEightBytesAndCollidingWordsShareOne) {
  // "Aa" and "BB" hash alike (65*31+97 == 66*31+66).
  ASSERT_EQ(WordHash("Aa", 2), WordHash("BB", 2));
  DictionaryWriter writer;
  writer.AddEntry("Aa", "x");
  std::string filler;
  for (int i = 0; i < 10; ++i) filler += "filler ";
  writer.AddEntry(filler, "y");  // too long to share a block
  writer.AddEntry("BB", "z");
  TestDictionary dictionary(writer);
  IndexEntry entry;
  ASSERT_TRUE(dictionary.file().FindIndexEntry("Aa", 2, &entry));
  EXPECT_EQ(entry.blockCount, 2u);
  EXPECT_EQ(entry.weightWord & kWeightMask, 2);
  EXPECT_EQ(FindHeads(dictionary.file(), "Aa"), std::vector<std::string>{"Aa"});
  EXPECT_EQ(FindHeads(dictionary.file(), "BB"), std::vector<std::string>{"BB"});
  ASSERT_TRUE(dictionary.file().FindIndexEntry("filler", 6, &entry));
  EXPECT_EQ(entry.blockCount, 1u);
  EXPECT_NE(ReadU16(entry.blockNumbers) & kLastBlockBit, 0);
}

// Builds an entry section by hand, to place hashes exactly on the bounds.
std::string HandMadeIndex(const std::vector<int32_t>& bounds, const std::vector<std::string>& words) {
  auto u16 = [](std::string* out, uint32_t v) {
    out->push_back(static_cast<char>(v & 0xFF));
    out->push_back(static_cast<char>(v >> 8));
  };
  auto u32 = [&](std::string* out, uint32_t v) {
    u16(out, v & 0xFFFF);
    u16(out, v >> 16);
  };
  // One bucket per word, in the order given; each entry names block 0.
  std::string area, directory;
  for (size_t i = 0; i < words.size(); ++i) {
    u32(&area, static_cast<uint32_t>(WordHash(words[i].data(), words[i].size())));
    u16(&area, static_cast<uint32_t>(i + 1));
    u16(&area, kLastBlockBit);
    u32(&directory, static_cast<uint32_t>(i < bounds.size() ? bounds[i] : 0));
    u32(&directory, static_cast<uint32_t>(area.size()));
  }
  std::string file;
  u32(&file, 12);
  u32(&file, 20);
  u32(&file, 32);
  u32(&file, 8);  // paradigm section: empty tables
  u32(&file, 8);
  u32(&file, 4);  // lemma section: only the sentinel
  u32(&file, 0);
  u32(&file, 0);
  u32(&file, 12);  // entry section at 32: no blocks
  u32(&file, 12);
  u32(&file, static_cast<uint32_t>(12 + area.size()));
  file += area + directory;
  return file;
}

TEST(IndexDirectoryTest, BoundsAreExclusiveAndTheSentinelTakesTheRest) {
  // Three buckets: hashes below 97 ("a"), below 98 ("b"), and the rest.
  std::string bytes = HandMadeIndex({WordHash("a", 1), WordHash("b", 1)}, {"A", "a", "zz"});
  TestDictionary dictionary(bytes);
  ASSERT_TRUE(dictionary.open());
  IndexEntry entry;
  ASSERT_TRUE(dictionary.file().FindIndexEntry("a", 1, &entry));  // equal to a bound: next bucket
  EXPECT_EQ(entry.weightWord, 2);
  ASSERT_TRUE(dictionary.file().FindIndexEntry("zz", 2, &entry));  // above the last bound
  EXPECT_EQ(entry.weightWord, 3);
  ASSERT_TRUE(dictionary.file().FindIndexEntry("A", 1, &entry));
  EXPECT_EQ(entry.weightWord, 1);
  // "b" is not in the bucket its hash belongs to.
  EXPECT_FALSE(dictionary.file().FindIndexEntry("b", 1, &entry));
}

TEST(IndexDirectoryTest, ASentinelAloneMakesOneBucket) {
  TestDictionary dictionary(HandMadeIndex({}, {"x"}));
  IndexEntry entry;
  EXPECT_TRUE(dictionary.file().FindIndexEntry("x", 1, &entry));
}

class OpenDictionaryTest : public ::testing::Test {
 protected:
  std::string WriteFile(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
};

TEST_F(OpenDictionaryTest, FailuresSayWhyAndLeaveTheFileClosed) {
  DictionaryFile file;
  std::string reason;
  EXPECT_FALSE(file.Open(::testing::TempDir() + "no-such-dic.bin", &reason));
  EXPECT_NE(reason.find("No such file"), std::string::npos) << reason;
  EXPECT_FALSE(file.Open(WriteFile("empty.bin", ""), &reason));
  EXPECT_NE(reason.find("empty"), std::string::npos) << reason;
  EXPECT_FALSE(file.Open(WriteFile("short.bin", std::string(11, '\0')), &reason));
  std::string outside = SampleDictionaryBytes();
  outside[8] = '\xFF';  // entry section far beyond the end
  EXPECT_FALSE(file.Open(WriteFile("outside.bin", outside), &reason));
  EXPECT_FALSE(file.IsOpen());
  // Once a good file is there, the next open succeeds.
  EXPECT_TRUE(file.Open(WriteFile("good.bin", SampleDictionaryBytes()), &reason)) << reason;
  EXPECT_TRUE(file.IsOpen());
}

TEST_F(OpenDictionaryTest, TheFirstFileOpenedStaysInUse) {
  DictionaryWriter other;
  other.AddEntry("other", "jiny");
  std::string other_bytes;
  std::string error;
  ASSERT_TRUE(other.Build(SmallOptions(), &other_bytes, &error));
  DictionaryFile file;
  ASSERT_TRUE(file.Open(WriteFile("first.bin", SampleDictionaryBytes())));
  EXPECT_TRUE(file.Open(WriteFile("second.bin", other_bytes)));
  EXPECT_FALSE(FindHeads(file, "dog").empty());
  EXPECT_TRUE(FindHeads(file, "other").empty());
}

TEST(GetBlockTest, ADamagedBlockIsSkippedAndTheOthersStillScanned) {
  DictionaryWriter writer;
  writer.AddEntry("word one", "1");
  writer.AddEntry(std::string(70, 'x'), "2");  // forces a second block
  writer.AddEntry("word two", "3");
  std::string bytes;
  std::string error;
  ASSERT_TRUE(writer.Build(SmallOptions(), &bytes, &error));
  {
    TestDictionary intact(bytes);
    EXPECT_EQ(FindHeads(intact.file(), "word").size(), 2u);
  }
  // Flip a byte inside block 0's deflate data (block data starts at E+12).
  size_t entries = ReadU32(reinterpret_cast<const uint8_t*>(bytes.data()) + 8);
  bytes[entries + 12 + 4] ^= 0x55;
  DictionaryFile damaged;
  ASSERT_TRUE(damaged.OpenBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_EQ(damaged.GetBlock(0).data, nullptr);
  EXPECT_EQ(FindHeads(damaged, "word"), std::vector<std::string>{"word two"});
  // The failure is remembered: with the byte mended behind the reader's back,
  // the block is still not inflated again.
  bytes[entries + 12 + 4] ^= 0x55;
  EXPECT_EQ(damaged.GetBlock(0).data, nullptr);
  EXPECT_EQ(FindHeads(damaged, "word"), std::vector<std::string>{"word two"});
}

TEST(GetBlockTest, ABlockOfAnotherSizeThanStatedIsUnreadable) {
  DictionaryWriter writer;
  writer.AddEntry("alpha", "beta");
  std::string bytes;
  std::string error;
  ASSERT_TRUE(writer.Build(SmallOptions(), &bytes, &error));
  const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t entries = ReadU32(data + 8);
  size_t table = entries + ReadU32(data + entries);
  for (int delta : {-1, +1}) {
    std::string resized = bytes;
    resized[table + 4] = static_cast<char>(resized[table + 4] + delta);
    TestDictionary dictionary(resized);
    EXPECT_EQ(dictionary.file().GetBlock(0).data, nullptr) << delta;
    EXPECT_TRUE(FindHeads(dictionary.file(), "alpha").empty());
  }
  TestDictionary intact(bytes);
  EXPECT_NE(intact.file().GetBlock(0).data, nullptr);
  EXPECT_EQ(intact.file().GetBlock(1).data, nullptr);  // beyond the table
  EXPECT_EQ(intact.file().GetBlock(kBlockCacheSlots).data, nullptr);
}

// A stored block's text is read where it stands in the file; a block
// written compressed is inflated to the same text. Whatever makes zlib
// refuse the stored stream makes the block unreadable, and what zlib
// ignores (the padding bits after the block's type) is ignored too.
TEST(GetBlockTest, AStoredBlockIsReadInPlaceAndChecked) {
  DictionaryWriter writer;
  writer.AddEntry("alpha", "beta");
  std::string stored;
  std::string compressed;
  std::string error;
  DictionaryWriter::Options options = SmallOptions();
  ASSERT_TRUE(writer.Build(options, &stored, &error));
  options.compressionLevel = 9;
  ASSERT_TRUE(writer.Build(options, &compressed, &error));
  auto in_buffer = [](const std::string& bytes, const char* at) {
    return at >= bytes.data() && at < bytes.data() + bytes.size();
  };
  TestDictionary intact(stored);
  TestDictionary inflated(compressed);
  BlockText in_place = intact.file().GetBlock(0);
  BlockText copy = inflated.file().GetBlock(0);
  ASSERT_NE(in_place.data, nullptr);
  ASSERT_NE(copy.data, nullptr);
  EXPECT_TRUE(in_buffer(intact.bytes(), in_place.data));
  EXPECT_FALSE(in_buffer(inflated.bytes(), copy.data));
  EXPECT_EQ(std::string(in_place.data, in_place.size), std::string(copy.data, copy.size));

  // Block 0's stream: zlib header (2), block type (1), LEN and NLEN (4),
  // the text, the checksum (4).
  const size_t entries = ReadU32(reinterpret_cast<const uint8_t*>(stored.data()) + 8);
  const size_t stream = entries + 12;
  const size_t text = stream + 7;
  struct Damage {
    const char* what;
    size_t at;
    uint8_t mask;
    bool readable;
  };
  for (const Damage& damage : {
           Damage{"a byte of the text", text + 2, 0x20, false},
           Damage{"the checksum", text + in_place.size + 3, 0x01, false},
           Damage{"NLEN", stream + 5, 0x01, false},
           Damage{"the final bit (the stream goes on)", stream + 2, 0x01, false},
           Damage{"the block type (fixed Huffman)", stream + 2, 0x02, false},
           Damage{"the padding after the block type", stream + 2, 0xF8, true},
           Damage{"the compression method", stream, 0x01, false},
       }) {
    std::string bytes = stored;
    bytes[damage.at] = static_cast<char>(bytes[damage.at] ^ damage.mask);
    TestDictionary damaged(bytes);
    BlockText block = damaged.file().GetBlock(0);
    EXPECT_EQ(block.data != nullptr, damage.readable) << damage.what;
    EXPECT_EQ(FindHeads(damaged.file(), "alpha").size(), damage.readable ? 1u : 0u) << damage.what;
  }
}

}  // namespace
}  // namespace vordo
