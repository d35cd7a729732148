#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/search.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Lines = std::vector<std::string>;

// dog with its plural, and the heads of the worked ranking values.
DictionaryWriter Dogs() {
  DictionaryWriter writer;
  writer.AddParadigm({"\t", "\ts"});
  writer.AddLemma("dog", {LemmaItem::Paradigm(0)});
  writer.AddLemma("cat", {LemmaItem::Paradigm(0)});
  for (const char* word : {"hot", "in", "the", "manger", "go", "zool.", "coll.", "and"}) {
    writer.AddLemma(word, {LemmaItem::Self()});
  }
  writer.AddEntry("dog in the manger", "pes na sen\xEC");
  writer.AddEntry("hot dogs", "p\xE1rky");
  writer.AddEntry("dog (zool.)", "pes");
  writer.AddEntry("dogs", "psi");
  writer.AddEntry("hot dog", "p\xE1rek");
  writer.AddEntry("dog", "pes\t\tps\xED\t");
  writer.AddEntry("dog (coll.)", "\xE8okl");
  writer.AddEntry("cat and dog", "ko\xE8ka a pes");
  writer.AddEntry("cat", "ko\xE8ka");
  writer.AddEntry("go ti", "chystat se");
  writer.AddEntry("dogs dog", "x");  // reached through two forms
  writer.AddEntry("hot", "");
  return writer;
}

TEST(ScoreHeadTextTest, GivesTheWorkedValues) {
  std::vector<std::string_view> words = {"dog"};
  FormSet forms = {"dog", "dogs"};
  EXPECT_EQ(ScoreHeadText(words, forms, "dog"), 999);
  EXPECT_EQ(ScoreHeadText(words, forms, "dog (zool.)"), 998);
  EXPECT_EQ(ScoreHeadText(words, forms, "dogs"), 599);
  EXPECT_EQ(ScoreHeadText(words, forms, "hot dog"), 498);
  EXPECT_EQ(ScoreHeadText(words, forms, "hot dogs"), 298);
  EXPECT_EQ(ScoreHeadText(words, forms, "dog in the manger"), 246);
  // A query word that is no form scores as the word; a token that shares
  // only its first byte with a form scores nothing.
  std::vector<std::string_view> capitalised = {"Dog"};
  EXPECT_EQ(ScoreHeadText(capitalised, forms, "Dog dog"), 798);
  EXPECT_EQ(ScoreHeadText(capitalised, forms, "Dot dot"), -2);
}

TEST(ScoreHeadTextTest, CountsGroupsAndEmptyTokensAndSurvivesHeadsWithoutTokens) {
  std::vector<std::string_view> words = {"go"};
  FormSet forms = {"go"};
  EXPECT_EQ(ScoreHeadText(words, forms, "go (+to inf)"), 998);
  EXPECT_EQ(ScoreHeadText(words, forms, "(a)(b)go"), 997);    // groups end at ')' and do not nest
  EXPECT_EQ(ScoreHeadText(words, forms, "go  "), 498);        // the trailing empty token counts
  EXPECT_EQ(ScoreHeadText(words, forms, "(oneself) (sb/st)"), -2);
  EXPECT_EQ(ScoreHeadText(words, forms, ""), 0);
  EXPECT_EQ(ScoreHeadText(words, forms, "(unclosed go"), -1);
}

TEST(SplitQueryWordsTest, FollowsTheSpacingRules) {
  using Words = std::vector<std::string_view>;
  EXPECT_EQ(SplitQueryWords(""), Words{});
  EXPECT_EQ(SplitQueryWords("a  b"), (Words{"a", "", "b"}));
  EXPECT_EQ(SplitQueryWords("a "), Words{"a"});
  EXPECT_EQ(SplitQueryWords("a  "), (Words{"a", ""}));
  EXPECT_EQ(SplitQueryWords(" a"), (Words{"", "a"}));
  EXPECT_EQ(SplitQueryWords(" "), Words{""});
}

TEST(SearchQueryTest, RanksOneWordResultsInResultOrder) {
  TestDictionary dictionary(Dogs());
  EXPECT_EQ(ScoresAndHeads(SearchQuery(dictionary.file(), "dog")),
            (Lines{"999 dog", "998 dog (coll.)", "998 dog (zool.)", "798 dogs dog", "599 dogs",
                   "498 hot dog", "330 cat and dog", "298 hot dogs", "246 dog in the manger"}));
  EXPECT_EQ(ScoresAndHeads(SearchQuery(dictionary.file(), "dog ")),
            ScoresAndHeads(SearchQuery(dictionary.file(), "dog")));
}

TEST(SearchQueryTest, SeveralWordsFindHeadsHoldingAllOfThemInAnyOrder) {
  TestDictionary dictionary(Dogs());
  EXPECT_EQ(ScoresAndHeads(SearchQuery(dictionary.file(), "dogs hot")),
            (Lines{"998 hot dogs", "798 hot dog"}));
  EXPECT_EQ(ScoresAndHeads(SearchQuery(dictionary.file(), "dog cat")), (Lines{"663 cat and dog"}));
  EXPECT_TRUE(SearchQuery(dictionary.file(), "dog  cat").empty());
  EXPECT_TRUE(SearchQuery(dictionary.file(), "dog unknown").empty());
  EXPECT_TRUE(SearchQuery(dictionary.file(), "").empty());
}

TEST(SearchQueryTest, ExpandsCodesAndSplitsTranslations) {
  TestDictionary dictionary(Dogs());
  std::vector<ResultEntry> go = SearchQuery(dictionary.file(), "go");
  ASSERT_EQ(go.size(), 1u);
  EXPECT_EQ(go[0].head, "go (+to inf)");
  EXPECT_EQ(go[0].score, 998);
  std::vector<ResultEntry> dog = SearchQuery(dictionary.file(), "dog");
  ASSERT_EQ(dog[0].head, "dog");
  EXPECT_EQ(dog[0].translations, (std::vector<std::string>{"pes", "", "ps\xED"}));
  std::vector<ResultEntry> hot = SearchQuery(dictionary.file(), "hot");
  ASSERT_EQ(hot[0].head, "hot");
  EXPECT_TRUE(hot[0].translations.empty());
}

}  // namespace
}  // namespace vordo
