#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/czech_index.h"
#include "engine/answer.h"
#include "engine/czech_lookup.h"
#include "engine/page_lookup.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Words = std::vector<std::string>;

TEST(CzechIndexTest, WordsAreFoldedToSmallLettersWithoutAccents) {
  EXPECT_EQ(FoldedWords("P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2, 20 let!"),
            (Words{"prilis", "zlutoucky", "kun", "20", "let"}));
  EXPECT_EQ(FoldCzech("\x8A\xC8\xD8\x8E"), "scrz");
  EXPECT_TRUE(FoldedWords(" .;\t").empty());
}

// English heads with Czech translations that tell the rankings apart.
DictionaryWriter Translations() {
  DictionaryWriter writer;
  AddPlainEntry(&writer, "dog", "pes\tps\xED");
  AddPlainEntry(&writer, "hound", "loveck\xFD pes");
  AddPlainEntry(&writer, "hot dog", "p\xE1rek v rohl\xED" "ku");
  AddPlainEntry(&writer, "horse", "k\xF9\xF2");
  AddPlainEntry(&writer, "nice", "hezk\xFD");
  AddPlainEntry(&writer, "nicely", "hezky");
  AddPlainEntry(&writer, "too", "p\xF8\xEDli\x9A\ttak\xE9");
  return writer;
}

class CzechLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = BuildCzechIndex(dictionary_.file());
    ASSERT_TRUE(index_.OpenBytes(reinterpret_cast<const uint8_t*>(bytes_.data()), bytes_.size()));
  }
  Words Lines(const std::string& query) {
    Words lines;
    for (const ResultEntry& result : CzechLookup(dictionary_.file(), index_, query)) {
      std::string line = std::to_string(result.score) + " " + result.head + ":";
      for (const std::string& head : result.translations) line += " " + head;
      lines.push_back(line);
    }
    return lines;
  }

  TestDictionary dictionary_{Translations()};
  std::string bytes_;
  CzechIndex index_;
};

TEST_F(CzechLookupTest, TheWholeTranslationComesFirstAccentsOrNot) {
  EXPECT_EQ(Lines("pes"), (Words{"1000 pes: dog", "989 loveck\xFD pes: hound"}));
  EXPECT_EQ(Lines("PES"), Lines("pes"));
  EXPECT_EQ(Lines("k\xF9\xF2"), Words{"1000 k\xF9\xF2: horse"});
  EXPECT_EQ(Lines("kun"), Words{"999 k\xF9\xF2: horse"});
  EXPECT_EQ(Lines("hezk\xFD"), (Words{"1000 hezk\xFD: nice", "999 hezky: nicely"}));
  EXPECT_EQ(Lines("lovecky pes"), Words{"999 loveck\xFD pes: hound"});
  EXPECT_TRUE(Lines("kocka").empty());
  EXPECT_TRUE(Lines("").empty());
}

TEST_F(CzechLookupTest, TheAnswerReadsAQueryAsCzechOnlyWhenEnglishFindsNothing) {
  QueryAnswer czech = AnswerFieldText(dictionary_.file(), "p\xF8\xEDli\x9A", &index_);
  EXPECT_EQ(czech.kind, QueryAnswer::Kind::kCzech);
  EXPECT_EQ(czech.base, "p\xF8\xEDli\x9A");
  ASSERT_EQ(czech.results.size(), 1u);
  EXPECT_EQ(czech.results[0].translations, Words{"too"});
  EXPECT_EQ(AnswerFieldText(dictionary_.file(), "prilis", &index_).kind, QueryAnswer::Kind::kCzech);
  EXPECT_EQ(AnswerFieldText(dictionary_.file(), "dog", &index_).kind, QueryAnswer::Kind::kFound);
  EXPECT_EQ(AnswerFieldText(dictionary_.file(), "p\xF8\xEDli\x9A").kind, QueryAnswer::Kind::kNothing);
}

TEST_F(CzechLookupTest, ARestOnACzechWordOfAPageShowsItsEnglishHeads) {
  std::u16string page = u"P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148";
  PageLookup rest = LookupPageWord(dictionary_.file(), page, page.find(u"k\u016F"), &index_);
  EXPECT_EQ(rest.word, "k\xF9\xF2");
  EXPECT_EQ(rest.answer.kind, QueryAnswer::Kind::kCzech);
  ASSERT_FALSE(rest.answer.results.empty());
  EXPECT_EQ(rest.answer.results[0].translations, Words{"horse"});
}

TEST_F(CzechLookupTest, ADamagedIndexFindsLessAndReadsNothingOutsideItself) {
  for (size_t size = 0; size < bytes_.size(); ++size) {
    std::string cut = bytes_.substr(0, size);
    CzechIndex damaged;
    if (!damaged.OpenBytes(reinterpret_cast<const uint8_t*>(cut.data()), cut.size())) continue;
    for (const char* word : {"pes", "kun", "zzz", "a"}) damaged.Postings(word);
  }
  std::string wild = bytes_;
  for (size_t i = 4; i + 4 <= wild.size(); i += 7) wild[i] = '\xFF';
  CzechIndex damaged;
  if (damaged.OpenBytes(reinterpret_cast<const uint8_t*>(wild.data()), wild.size())) {
    EXPECT_LE(CzechLookup(dictionary_.file(), damaged, "pes").size(), 2u);
  }
  CzechIndex empty;
  EXPECT_FALSE(empty.OpenBytes(nullptr, 0));
  EXPECT_TRUE(CzechLookup(dictionary_.file(), empty, "pes").empty());
}

}  // namespace
}  // namespace vordo
