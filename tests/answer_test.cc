#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/answer.h"
#include "engine/derived_words.h"
#include "engine/lookup.h"
#include "engine/word_forms.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Words = std::vector<std::string>;

bool Holds(const Words& words, const std::string& word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// Where `earlier` comes before `later` in `words` (both present).
bool Before(const Words& words, const std::string& earlier, const std::string& later) {
  auto first = std::find(words.begin(), words.end(), earlier);
  return first != words.end() && std::find(first, words.end(), later) != words.end();
}

TEST(DerivedWordsTest, BasesFollowEnglishSpelling) {
  EXPECT_EQ(PrefixBases("relicensing"), Words{"licensing"});
  EXPECT_TRUE(Holds(PrefixBases("sublicenses"), "licenses"));
  EXPECT_TRUE(Holds(PrefixBases("co-author"), "author"));
  EXPECT_TRUE(Holds(SuffixBases("happily"), "happy"));
  EXPECT_TRUE(Holds(SuffixBases("possibly"), "possible"));
  EXPECT_FALSE(Holds(SuffixBases("freely"), "freele"));  // -le only after a consonant
  EXPECT_TRUE(Holds(SuffixBases("happiness"), "happy"));
  EXPECT_TRUE(Holds(SuffixBases("reliable"), "rely"));
  EXPECT_TRUE(Holds(SuffixBases("forgettable"), "forget"));
  EXPECT_TRUE(Holds(SuffixBases("spinner"), "spin"));
  EXPECT_TRUE(Holds(SuffixBases("maker"), "make"));
  EXPECT_TRUE(Holds(SuffixBases("verification"), "verify"));
  EXPECT_TRUE(Before(SuffixBases("validation"), "validate", "valid"));
  EXPECT_TRUE(Holds(SuffixBases("modernizes"), "modern"));
  EXPECT_TRUE(Holds(SuffixBases("pitiless"), "pity"));
  // Nothing shorter than three letters.
  for (const std::string& base : SuffixBases("unit")) EXPECT_GE(base.size(), 3u) << base;
}

TEST(DerivedWordsTest, SpellingRulesKeepToTheirWords) {
  EXPECT_TRUE(Holds(SuffixBases("basically"), "basic"));
  EXPECT_FALSE(Holds(SuffixBases("amorally"), "amor"));  // -ally is -ic + -ally
  EXPECT_TRUE(Holds(SuffixBases("creator"), "create"));
  EXPECT_FALSE(Holds(SuffixBases("savor"), "save"));
  // Bases of three letters and plurals before -ize are no derivations.
  EXPECT_FALSE(Holds(SuffixBases("herror"), "her"));
  EXPECT_FALSE(Holds(SuffixBases("runner"), "run"));
  EXPECT_FALSE(Holds(SuffixBases("bytesize"), "bytes"));
  EXPECT_TRUE(SuffixBases("lation").empty());
  // Names and identifiers: no people-making suffix, no prefix without a
  // hyphen, no compound; no suffix in mixed case.
  EXPECT_FALSE(Holds(SuffixBases("Pinter"), "pint"));
  EXPECT_TRUE(Holds(SuffixBases("Happily"), "happy"));
  EXPECT_TRUE(PrefixBases("Coverity").empty());
  EXPECT_EQ(PrefixBases("Co-author"), Words{"author"});
  EXPECT_TRUE(CompoundParts("Silverman").empty());
  EXPECT_TRUE(SuffixBases("hashISt").empty());
  EXPECT_TRUE(Holds(SuffixBases("HAPPILY"), "happy"));
}

TEST(DerivedWordsTest, CompoundsSplitAtAHyphenOrBetweenWordsOfFourLettersOrCommonShortOnes) {
  using Parts = std::vector<std::pair<std::string, std::string>>;
  auto parts = CompoundParts("newline");
  EXPECT_NE(std::find(parts.begin(), parts.end(), std::make_pair(std::string("new"), std::string("line"))),
            parts.end());
  for (const auto& [first, second] : parts) EXPECT_NE(second.size(), 3u) << first << " " << second;
  EXPECT_TRUE(CompoundParts("confab").empty());
  EXPECT_EQ(CompoundParts("freeze-dried"), (Parts{{"freeze", "dried"}}));
  EXPECT_TRUE(CompoundParts("state-of-the-art").empty());
  EXPECT_TRUE(CompoundParts("abcde").empty());
}

TEST(DerivedWordsTest, EditDistanceCountsASwapAsOneEdit) {
  EXPECT_EQ(EditDistance("recieve", "receive", 2), 1u);
  EXPECT_EQ(EditDistance("seperate", "separate", 2), 1u);
  EXPECT_EQ(EditDistance("definately", "definitely", 2), 1u);
  EXPECT_EQ(EditDistance("abcd", "badc", 2), 2u);
  EXPECT_EQ(EditDistance("ca", "abc", 5), 3u);  // a swapped pair is not edited again
  EXPECT_EQ(EditDistance("kitten", "sitting", 2), 3u);  // past the bound
  EXPECT_EQ(EditDistance("a", "abcd", 2), 3u);
  EXPECT_EQ(EditDistance("", "", 2), 0u);
  // Same letters, other order: only the table tells.
  EXPECT_EQ(EditDistance("listen", "silent", 5), 4u);
  EXPECT_EQ(EditDistance("stop", "tops", 2), 2u);
  // Same length, letters apart: past the bound without the table.
  EXPECT_EQ(EditDistance("abcdef", "abcxyz", 2), 3u);
  EXPECT_EQ(EditDistance("\xE8\xE8x", "\xE8xx", 1), 1u);
}

// Forms outside a length window are not built; those inside are as ever.
TEST(DerivedWordsTest, FormsOfALengthWindowAreTheFormsOfThatLength) {
  TestDictionary dictionary(SampleDictionaryBytes());
  const FormTables& tables = dictionary.file().formTables();
  BucketRange all;
  ASSERT_TRUE(tables.AllLemmaRecords(&all));
  FormTables::LemmaRecord record;
  size_t records = 0;
  for (size_t pos = all.begin; pos < all.end; pos = record.next, ++records) {
    ASSERT_TRUE(tables.ReadLemmaRecord(pos, all.end, &record));
    FormList every = LemmaRecordForms(dictionary.file(), record);
    FormList windowed = LemmaRecordForms(dictionary.file(), record, FormLengths{4, 5});
    every.erase(std::remove_if(every.begin(), every.end(),
                               [](const std::string& form) { return form.size() < 4 || form.size() > 5; }),
                every.end());
    EXPECT_EQ(windowed, every) << record.word;
  }
  EXPECT_GT(records, 20u);
}

DictionaryWriter SpellingDictionary() {
  DictionaryWriter writer;
  for (const char* head : {"licensing", "happy", "new", "line", "dog", "relieve", "recede", "reckon", "the"}) {
    AddPlainEntry(&writer, head, std::string("cz ") + head);
  }
  // Bases stand in three entries or more, halves of compounds in five.
  for (const char* phrase : {"new moon", "new year", "new wave", "new town", "line up", "front line",
                             "line out", "line feed", "licensing fee", "licensing body", "happy end",
                             "happy hour", "dog days", "hot dog"}) {
    AddPlainEntry(&writer, phrase, "cz");
  }
  writer.AddLemma("receiv", {LemmaItem::Literal("receive"), LemmaItem::Literal("received")});
  writer.AddEntry("receive", "p\xF8ijmout");
  writer.AddEntry("receive a letter", "dostat dopis");
  writer.AddEntry("received", "p\xF8ijat\xFD");
  return writer;
}

class AnswerTest : public ::testing::Test {
 protected:
  QueryAnswer Answer(const std::string& query) { return AnswerFieldText(dictionary_.file(), query); }
  TestDictionary dictionary_{SpellingDictionary()};
};

TEST_F(AnswerTest, AQueryThatFindsSomethingIsAnsweredAsLookupAnswersIt) {
  QueryAnswer answer = Answer(" :dog (n.)");
  EXPECT_EQ(answer.kind, QueryAnswer::Kind::kFound);
  EXPECT_EQ(ScoresAndHeads(answer.results), ScoresAndHeads(Lookup(dictionary_.file(), "dog")));
  EXPECT_TRUE(answer.base.empty());
}

TEST_F(AnswerTest, AWordWithoutEntriesIsLookedUpThroughWhatItIsMadeOf) {
  QueryAnswer signs = Answer("dog!");
  EXPECT_EQ(signs.kind, QueryAnswer::Kind::kDerived);
  EXPECT_EQ(signs.base, "dog");
  QueryAnswer derived = Answer("relicensing");
  EXPECT_EQ(Answer("RELICENSING").base, "licensing");
  EXPECT_EQ(derived.kind, QueryAnswer::Kind::kDerived);
  EXPECT_EQ(derived.base, "licensing");
  ASSERT_FALSE(derived.results.empty());
  EXPECT_EQ(derived.results[0].head, "licensing");
  EXPECT_EQ(Answer("happily").base, "happy");
  QueryAnswer compound = Answer("newline");
  EXPECT_EQ(compound.base, "new line");
  // The first half's results, then the second's.
  EXPECT_EQ(ScoresAndHeads(compound.results),
            (Words{"999 new", "498 new moon", "498 new town", "498 new wave", "498 new year", "999 line",
                   "498 front line", "498 line feed", "498 line out", "498 line up"}));
  // "theline": "the" is no half of a compound.
  EXPECT_NE(Answer("theline").kind, QueryAnswer::Kind::kDerived);
}

TEST_F(AnswerTest, AMisspeltWordGetsHeadWordsSpeltLikeIt) {
  QueryAnswer answer = Answer("recieve");
  EXPECT_EQ(answer.kind, QueryAnswer::Kind::kSuggested);
  EXPECT_TRUE(answer.results.empty());
  // One edit before two; of equal edits, the word in more entries first.
  ASSERT_GE(answer.suggestions.size(), 3u);
  EXPECT_EQ(answer.suggestions[0], "receive");
  EXPECT_EQ(answer.suggestions[1], "relieve");
  EXPECT_TRUE(Before(answer.suggestions, "relieve", "received"));
  EXPECT_TRUE(Before(answer.suggestions, "relieve", "recede"));
  EXPECT_FALSE(Holds(answer.suggestions, "reckon"));  // four edits
  // Short words get one edit; two letters get nothing.
  EXPECT_EQ(Answer("dgo").suggestions, Words{"dog"});
  EXPECT_EQ(Answer("dxx").kind, QueryAnswer::Kind::kNothing);
  EXPECT_EQ(Answer("dg").kind, QueryAnswer::Kind::kNothing);
  // A word with digits is no other word: "dog4" gets nothing, "dog!" its dog.
  EXPECT_EQ(Answer("dog4").kind, QueryAnswer::Kind::kNothing);
  EXPECT_EQ(Answer("4dog").kind, QueryAnswer::Kind::kNothing);
  // Phrases and signs only get nothing more.
  EXPECT_EQ(Answer("recieve letter").kind, QueryAnswer::Kind::kNothing);
  EXPECT_EQ(Answer("?!").kind, QueryAnswer::Kind::kNothing);
  EXPECT_EQ(Answer("").kind, QueryAnswer::Kind::kNothing);
}

}  // namespace
}  // namespace vordo
