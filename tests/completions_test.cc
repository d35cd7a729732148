#include "engine/completions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Words = std::vector<std::string>;

class CompletionsTest : public ::testing::Test {
 protected:
  Words Complete(const std::string& prefix, size_t limit = 10) {
    return Completions(dictionary_.file(), prefix, limit);
  }
  bool Offers(const std::string& prefix, const std::string& word) {
    Words words = Complete(prefix);
    return std::find(words.begin(), words.end(), word) != words.end();
  }

  TestDictionary dictionary_{SampleDictionaryBytes()};
};

TEST_F(CompletionsTest, AWordPrefixOffersHeadWordsAndForms) {
  EXPECT_TRUE(Offers("lo", "look"));
  // "love" is stored under its stem "lov", shorter than the prefix.
  EXPECT_TRUE(Offers("love", "love"));
  EXPECT_TRUE(Offers("Ho", "house"));
  EXPECT_TRUE(Offers("ho", "hot"));
  EXPECT_FALSE(Offers("ho", "dog"));
  // A word that heads nothing is no completion.
  EXPECT_FALSE(Offers("wal", "walked"));
  // The word typed whole comes first.
  EXPECT_EQ(Complete("dog").front(), "dog");
  EXPECT_EQ(Complete("dog", 1).size(), 1u);
}

TEST_F(CompletionsTest, APrefixWithASpaceOffersPhrasesOfItsWholeWords) {
  EXPECT_EQ(Complete("hot d"), (Words{"hot dog", "hot dogs"}));
  EXPECT_TRUE(Offers("Rain c", "rain cats and dogs"));
  EXPECT_TRUE(Offers("look ", "look after"));
  EXPECT_FALSE(Offers("look a", "look forward to"));
}

TEST(CompletionsSignsTest, AFormWithASignIsNoCompletion) {
  DictionaryWriter writer;
  AddPlainEntry(&writer, "costs, charges", "n\xE1klady");
  AddPlainEntry(&writer, "costs", "n\xE1klady");
  TestDictionary dictionary(writer);
  EXPECT_EQ(Completions(dictionary.file(), "co", 10), (Words{"costs"}));
}

TEST_F(CompletionsTest, NothingForTooLittleOrUnknownText) {
  EXPECT_TRUE(Complete("").empty());
  EXPECT_TRUE(Complete("d").empty());
  EXPECT_TRUE(Complete("   ").empty());
  EXPECT_TRUE(Complete("qqq").empty());
  EXPECT_TRUE(Complete("zz top").empty());
  EXPECT_TRUE(Complete(std::string(400, 'a')).empty());
  EXPECT_TRUE(Complete("dog", 0).empty());
}

TEST(BareHeadTest, ParenthesisedGroupsAndTheirBlanksGo) {
  EXPECT_EQ(BareHead("look up (v.)"), "look up");
  EXPECT_EQ(BareHead("(id.) take (sth) off"), "take off");
  EXPECT_EQ(BareHead("dog"), "dog");
  EXPECT_EQ(BareHead("(a (b) c)"), "");
}

}  // namespace
}  // namespace vordo
