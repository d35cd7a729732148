#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/answer.h"
#include "engine/derived_words.h"
#include "engine/lookup.h"
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
  EXPECT_EQ(DerivationBases("Relicensing").front(), "licensing");
  EXPECT_TRUE(Holds(DerivationBases("sublicenses"), "licenses"));
  EXPECT_TRUE(Holds(DerivationBases("co-author"), "author"));
  EXPECT_TRUE(Holds(DerivationBases("happily"), "happy"));
  EXPECT_TRUE(Holds(DerivationBases("possibly"), "possible"));
  EXPECT_FALSE(Holds(DerivationBases("freely"), "freele"));  // -le only after a consonant
  EXPECT_TRUE(Holds(DerivationBases("happiness"), "happy"));
  EXPECT_TRUE(Holds(DerivationBases("reliable"), "rely"));
  EXPECT_TRUE(Holds(DerivationBases("forgettable"), "forget"));
  EXPECT_TRUE(Holds(DerivationBases("runner"), "run"));
  EXPECT_TRUE(Holds(DerivationBases("maker"), "make"));
  EXPECT_TRUE(Holds(DerivationBases("verification"), "verify"));
  EXPECT_TRUE(Before(DerivationBases("validation"), "validate", "valid"));
  EXPECT_TRUE(Holds(DerivationBases("modernizes"), "modern"));
  EXPECT_TRUE(Holds(DerivationBases("pitiless"), "pity"));
  // Nothing shorter than three letters.
  for (const std::string& base : DerivationBases("unit")) EXPECT_GE(base.size(), 3u) << base;
}

TEST(DerivedWordsTest, CompoundsSplitAtAHyphenOrAnywhereBetweenWordsOfThreeLetters) {
  auto parts = CompoundParts("Newline");
  EXPECT_NE(std::find(parts.begin(), parts.end(), std::make_pair(std::string("new"), std::string("line"))),
            parts.end());
  EXPECT_EQ(parts.front(), std::make_pair(std::string("newl"), std::string("ine")));
  EXPECT_EQ(CompoundParts("freeze-dried"),
            (std::vector<std::pair<std::string, std::string>>{{"freeze", "dried"}}));
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
}

DictionaryWriter SpellingDictionary() {
  DictionaryWriter writer;
  for (const char* head : {"licensing", "happy", "new", "line", "dog", "relieve", "recede", "reckon", "the"}) {
    AddPlainEntry(&writer, head, std::string("cz ") + head);
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
  EXPECT_EQ(derived.kind, QueryAnswer::Kind::kDerived);
  EXPECT_EQ(derived.base, "licensing");
  ASSERT_FALSE(derived.results.empty());
  EXPECT_EQ(derived.results[0].head, "licensing");
  EXPECT_EQ(Answer("happily").base, "happy");
  QueryAnswer compound = Answer("newline");
  EXPECT_EQ(compound.base, "new line");
  EXPECT_EQ(ScoresAndHeads(compound.results).size(), 2u);
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
  // Phrases and signs only get nothing more.
  EXPECT_EQ(Answer("recieve letter").kind, QueryAnswer::Kind::kNothing);
  EXPECT_EQ(Answer("?!").kind, QueryAnswer::Kind::kNothing);
  EXPECT_EQ(Answer("").kind, QueryAnswer::Kind::kNothing);
}

}  // namespace
}  // namespace vordo
