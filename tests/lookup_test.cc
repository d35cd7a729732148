#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lookup.h"
#include "engine/search.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Lines = std::vector<std::string>;

// "Dog" is a word of its own whose forms include dog and dogs; dog has two
// entries with one head.
DictionaryWriter Capitals() {
  DictionaryWriter writer;
  writer.AddLemma("dog", {LemmaItem::Self(), LemmaItem::Literal("dogs")});
  writer.AddLemma("Dog", {LemmaItem::Self(), LemmaItem::Literal("dog"), LemmaItem::Literal("dogs")});
  writer.AddLemma("cat", {LemmaItem::Self()});
  writer.AddLemma("\xC8" "ech", {LemmaItem::Self()});
  writer.AddEntry("dog", "pes");
  writer.AddEntry("dog", "\xE8okl");
  writer.AddEntry("dogs", "psi");
  writer.AddEntry("cat", "ko\xE8ka");
  writer.AddEntry("\xC8" "ech", "Czech");
  return writer;
}

TEST(LookupTest, ALowerCaseQueryIsOnePassKeptAsFound) {
  TestDictionary dictionary(Capitals());
  EXPECT_EQ(ScoresAndHeads(Lookup(dictionary.file(), "dog")), (Lines{"999 dog", "999 dog", "599 dogs"}));
  std::vector<ResultEntry> czech = Lookup(dictionary.file(), "\xC8" "ech");
  EXPECT_EQ(ScoresAndHeads(czech), Lines{"999 \xC8" "ech"});
}

TEST(LookupTest, CapitalsMergeBothPassesWithoutRepeatingRecords) {
  TestDictionary dictionary(Capitals());
  // "Dog" finds dog and dogs as forms (599 each); "dog" finds them as 999
  // and 599. Equal score and head leave one record; dog stays at both scores.
  EXPECT_EQ(ScoresAndHeads(Lookup(dictionary.file(), "Dog")),
            (Lines{"999 dog", "599 dog", "599 dogs"}));
  EXPECT_EQ(ScoresAndHeads(Lookup(dictionary.file(), "CAT")), Lines{"999 cat"});
  EXPECT_TRUE(Lookup(dictionary.file(), "").empty());
  EXPECT_TRUE(Lookup(dictionary.file(), "Unknown").empty());
}

TEST(LookupTest, MergedListsAreInResultOrder) {
  TestDictionary dictionary(SampleDictionaryBytes());
  std::vector<ResultEntry> results = Lookup(dictionary.file(), "Dog");
  ASSERT_FALSE(results.empty());
  for (size_t i = 1; i < results.size(); ++i) {
    EXPECT_FALSE(ResultBefore(results[i], results[i - 1])) << results[i].head;
  }
  EXPECT_EQ(ScoresAndHeads(results), ScoresAndHeads(Lookup(dictionary.file(), "dog")));
}

TEST(LowerCaseAsciiTest, ChangesOnlyAToZ) {
  EXPECT_EQ(LowerCaseAscii("AZaz@[\xC8\xD8 Q"), "azaz@[\xC8\xD8 q");
}

}  // namespace
}  // namespace vordo
