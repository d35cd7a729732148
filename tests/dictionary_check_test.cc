#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dictionary/dictionary_check.h"
#include "dictionary/format.h"
#include "engine/word_forms.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

std::string Problems(const std::string& bytes) {
  CheckReport report =
      CheckDictionary(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), YieldsWordForms);
  std::string text;
  for (const std::string& problem : report.problems) text += problem + "\n";
  return report.ok() ? "" : text;
}

uint32_t U32(const std::string& bytes, size_t pos) {
  return ReadU32(reinterpret_cast<const uint8_t*>(bytes.data()) + pos);
}

void SetU32(std::string* bytes, size_t pos, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[pos + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// Where the tables of a file lie.
struct Layout {
  size_t templates, bucket_index, block_table, index_area, directory, block_data;
  explicit Layout(const std::string& b) {
    size_t p = U32(b, 0), l = U32(b, 4), e = U32(b, 8);
    templates = p + U32(b, p + 4);
    bucket_index = l + U32(b, l);
    block_table = e + U32(b, e);
    index_area = e + U32(b, e + 4);
    directory = e + U32(b, e + 8);
    block_data = e + 12;
  }
};

class DictionaryCheckTest : public ::testing::Test {
 protected:
  std::string sample_ = SampleDictionaryBytes();

  // Damages a copy of the sample and returns what the check says.
  std::string Damaged(const std::function<void(std::string*, const Layout&)>& damage) {
    std::string bytes = sample_;
    damage(&bytes, Layout(sample_));
    return Problems(bytes);
  }
};

TEST_F(DictionaryCheckTest, AWrittenFileIsSound) { EXPECT_EQ(Problems(sample_), ""); }

TEST_F(DictionaryCheckTest, FindsEachKindOfDamage) {
  EXPECT_NE(Problems(sample_.substr(0, 8)).find("shorter than its 12-byte header"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout&) { SetU32(b, 8, 0xFFFFFF); })
                .find("entry section lies outside"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) { (*b)[l.block_data + 5] ^= 0x40; })
                .find("does not inflate to exactly"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) {
              SetU32(b, l.block_table + 4, U32(*b, l.block_table + 4) + 1);
            }).find("does not inflate to exactly"), std::string::npos);
  // A size that deflate cannot reach is refused before anything is allocated.
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) { SetU32(b, l.block_table + 4, 0xFFFFFFFF); })
                .find("block 0 claims more inflated bytes than deflate can give"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) {
              SetU32(b, l.directory + 8, U32(*b, l.directory) - 1);  // second bound below the first
            }).find("bounds do not ascend"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) {
              SetU32(b, l.index_area, U32(*b, l.index_area) + 1);  // a hash that no word has
            }).find("is not indexed with that block"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) { (*b)[l.templates] = 'x'; })
                .find("without a TAB"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) {
              (*b)[l.bucket_index + 8] = (*b)[l.bucket_index];  // the second key equals the first
              (*b)[l.bucket_index + 9] = (*b)[l.bucket_index + 1];
              (*b)[l.bucket_index + 10] = (*b)[l.bucket_index + 2];
              (*b)[l.bucket_index + 11] = (*b)[l.bucket_index + 3];
            }).find("bucket keys do not ascend"), std::string::npos);
  EXPECT_NE(Damaged([](std::string* b, const Layout& l) {
              b->resize(l.directory + 4);  // the directory loses its sentinel
            }).find("no sentinel"), std::string::npos);
}

TEST_F(DictionaryCheckTest, FindsHeadTokensWithoutLemmaRecords) {
  DictionaryWriter writer;
  writer.AddEntry("stray word", "x");
  writer.AddLemma("word", {LemmaItem::Self()});
  writer.AddEntry("dog (n.)", "pes");  // groups need no record
  writer.AddLemma("dog", {LemmaItem::Self()});
  std::string bytes;
  std::string error;
  ASSERT_TRUE(writer.Build(SmallOptions(), &bytes, &error));
  std::string problems = Problems(bytes);
  EXPECT_NE(problems.find("\"stray\" has no lemma record"), std::string::npos) << problems;
  EXPECT_EQ(problems.find("\"word\""), std::string::npos) << problems;
  EXPECT_EQ(problems.find("(n.)"), std::string::npos) << problems;
}

}  // namespace
}  // namespace vordo
