#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "dictionary/format.h"
#include "dictionary/lemma_index.h"
#include "engine/word_forms.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Forms = std::vector<std::string>;

// Paradigm 0: walk; paradigm 1: go.
DictionaryWriter WalkAndGo() {
  DictionaryWriter writer;
  writer.AddParadigm({"\t", "\ts", "\ted", "\ting"});
  writer.AddParadigm({"\t", "\tes", "\ting", "\tne"});
  writer.AddLemma("walk", {LemmaItem::Paradigm(0)});
  writer.AddLemma("went", {LemmaItem::StemParadigm(1, "go"), LemmaItem::Self()});
  writer.AddLemma("plain", {LemmaItem::Self()});
  writer.AddLemma("empty", {});
  return writer;
}

TEST(BuildWordFormsTest, RegularFormsComeThroughTheLemmaThatBeginsTheWord) {
  TestDictionary dictionary(WalkAndGo());
  Forms walk{"walk", "walked", "walking", "walks"};
  EXPECT_EQ(BuildWordForms(dictionary.file(), "walked"), walk);
  EXPECT_EQ(BuildWordForms(dictionary.file(), "walk"), walk);
  EXPECT_EQ(BuildWordForms(dictionary.file(), "went"), (Forms{"go", "goes", "going", "gone", "went"}));
  EXPECT_EQ(BuildWordForms(dictionary.file(), "plain"), Forms{"plain"});
  // A beginning whose list lacks the word gives nothing.
  EXPECT_TRUE(BuildWordForms(dictionary.file(), "walker").empty());
  EXPECT_TRUE(BuildWordForms(dictionary.file(), "Walk").empty());
  EXPECT_TRUE(BuildWordForms(dictionary.file(), "empty").empty());
  EXPECT_TRUE(BuildWordForms(dictionary.file(), "").empty());
}

TEST(BuildWordFormsTest, EveryBeginningOfTheWordCountsOnceWhateverItsBucket) {
  // "walk", "walke", "walker" and "walkers" share their first four bytes and
  // so one bucket; "wal" and "w" are shorter than that; homographs stand
  // together, and each of their records counts.
  DictionaryWriter writer;
  writer.AddLemma("w", {LemmaItem::Literal("walkers"), LemmaItem::Literal("w")});
  writer.AddLemma("wal", {LemmaItem::Literal("walkers"), LemmaItem::Literal("wal")});
  writer.AddLemma("walk", {LemmaItem::Literal("walkers"), LemmaItem::Literal("walk")});
  writer.AddLemma("walke", {LemmaItem::Literal("other")});  // lacks the word: not taken
  writer.AddLemma("walker", {LemmaItem::Self(), LemmaItem::Literal("walkers")});
  writer.AddLemma("walker", {LemmaItem::Literal("walkers"), LemmaItem::Literal("ambler")});
  writer.AddLemma("walkers", {LemmaItem::Self()});
  writer.AddLemma("walkersx", {LemmaItem::Literal("walkers"), LemmaItem::Literal("longer")});
  TestDictionary dictionary(writer);
  EXPECT_EQ(BuildWordForms(dictionary.file(), "walkers"),
            (Forms{"ambler", "w", "wal", "walk", "walker", "walkers"}));
}

TEST(BuildWordFormsTest, WordsBeyond127BytesHaveNoForms) {
  DictionaryWriter writer;
  std::string longest(127, 'a');
  writer.AddLemma(longest, {LemmaItem::Self()});
  writer.AddLemma("a", {LemmaItem::Literal(longest + "a")});
  TestDictionary dictionary(writer);
  EXPECT_EQ(BuildWordForms(dictionary.file(), longest), Forms{longest});
  EXPECT_TRUE(BuildWordForms(dictionary.file(), longest + "a").empty());
}

TEST(BuildWordFormsTest, WordsStartingWithUnAreAlsoLookedUpWithoutIt) {
  DictionaryWriter writer;
  writer.AddLemma("happy", {LemmaItem::Self(), LemmaItem::Literal("unhappy")});
  writer.AddLemma("it", {LemmaItem::Literal("units")});     // "units" less "un", length 2
  writer.AddLemma("i", {LemmaItem::Literal("units"), LemmaItem::Literal("i")});
  writer.AddLemma("s", {LemmaItem::Literal("uns")});        // too short for the allowance
  writer.AddLemma("happ", {LemmaItem::Literal("Unhappy")});  // capital U: no allowance
  TestDictionary dictionary(writer);
  EXPECT_EQ(BuildWordForms(dictionary.file(), "unhappy"), (Forms{"happy", "unhappy"}));
  EXPECT_EQ(BuildWordForms(dictionary.file(), "units"), (Forms{"i", "units"}));
  EXPECT_TRUE(BuildWordForms(dictionary.file(), "uns").empty());
  EXPECT_TRUE(BuildWordForms(dictionary.file(), "Unhappy").empty());
}

TEST(BuildWordFormsTest, OnlyTheHomographListsHoldingTheWordCount) {
  DictionaryWriter writer;
  writer.AddParadigm({"\t", "\ts"});
  writer.AddParadigm({"\t", "\ted"});
  writer.AddLemma("lead", {LemmaItem::Paradigm(0)});  // the metal: leads
  writer.AddLemma("lead", {LemmaItem::Paradigm(1), LemmaItem::Literal("led")});
  writer.AddLemma("leader", {LemmaItem::Self()});  // another word inside the bucket
  TestDictionary dictionary(writer);
  EXPECT_EQ(BuildWordForms(dictionary.file(), "leads"), (Forms{"lead", "leads"}));
  EXPECT_EQ(BuildWordForms(dictionary.file(), "leaded"), (Forms{"lead", "leaded", "led"}));
  EXPECT_EQ(BuildWordForms(dictionary.file(), "lead"), (Forms{"lead", "leaded", "leads", "led"}));
}

TEST(ApplyParadigmTest, TemplatesMayFillAllTwelveBytesAndParadigmZeroStartsAtSlotZero) {
  DictionaryWriter writer;
  writer.AddParadigm({"re\t", "\tabcdefghijk"});  // the second has no NUL
  writer.AddParadigm({"\t"});
  TestDictionary dictionary(writer);
  FormList forms;
  ApplyParadigm(dictionary.file(), "do", 0, &forms);
  EXPECT_EQ(forms, (FormList{"redo", "doabcdefghijk"}));
  forms.clear();
  ApplyParadigm(dictionary.file(), "do", 1, &forms);
  EXPECT_EQ(forms, FormList{"do"});
}

TEST(FindParadigmSetsTest, WordsSharingFourBytesShareABucketAndAllRecordsAreFound) {
  DictionaryWriter writer;
  std::vector<std::string> words = {"walk", "walked", "walking", "walks", "wal", "wa", "w",
                                    "x",    "xy",     "zzzz",    "zzzzz", "\xE9t\xE9"};
  for (const std::string& word : words) writer.AddLemma(word, {LemmaItem::Self()});
  writer.AddLemma("walk", {LemmaItem::Literal("second")});
  TestDictionary dictionary(writer);
  for (const std::string& word : words) {
    std::vector<FormList> lists = FindParadigmSets(dictionary.file(), word);
    ASSERT_FALSE(lists.empty()) << word;
    EXPECT_EQ(lists[0], FormList{word});
  }
  EXPECT_EQ(FindParadigmSets(dictionary.file(), "walk").size(), 2u);
  EXPECT_TRUE(FindParadigmSets(dictionary.file(), "walke").empty());
  EXPECT_TRUE(FindParadigmSets(dictionary.file(), "zzz").empty());
}

TEST(LemmaIndexTest, FindsTheFirstRecordOfEveryWordAndNothingElse) {
  DictionaryWriter writer;
  std::vector<std::string> words = {"walk", "walked", "w", "x", "zzzzz", "\xE9t\xE9"};
  for (int i = 0; i < 300; ++i) words.push_back("word" + std::to_string(i));
  for (const std::string& word : words) writer.AddLemma(word, {LemmaItem::Self()});
  writer.AddLemma("walk", {LemmaItem::Literal("second")});
  TestDictionary dictionary(writer);
  LemmaIndex index(dictionary.file().formTables());
  for (const std::string& word : words) {
    BucketRange run;
    ASSERT_TRUE(index.Find(word, &run)) << word;
    FormTables::LemmaRecord record;
    ASSERT_TRUE(dictionary.file().formTables().ReadLemmaRecord(run.begin, run.end, &record));
    EXPECT_EQ(record.word, word);
  }
  BucketRange run;
  for (const char* absent : {"", "wal", "walke", "zzzz", "word300"}) EXPECT_FALSE(index.Find(absent, &run)) << absent;
  EXPECT_GT(index.memoryBytes(), 0u);
}

// From the kWordsBeforeLemmaIndex-th word on, forms come through the lemma
// index: each word's forms are the same as from the buckets of a fresh file.
TEST(LemmaIndexTest, FormsThroughTheIndexAreTheFormsFromTheBuckets) {
  std::string bytes = SampleDictionaryBytes();
  TestDictionary warm(bytes);
  std::vector<std::string> words = {"dog", "dogs", "walking", "walked", "loves", "tried", "cities", "went",
                                    "unhappy", "unhappier", "mice", "stopping", "colder", "took", "children",
                                    "better", "house", "Czech", "hotter", "the", "x", "un", "unwalked"};
  for (uint32_t i = 0; i < kWordsBeforeLemmaIndex; ++i) BuildWordForms(warm.file(), "warm");
  ASSERT_NE(warm.file().LemmaIndexForWord(), nullptr);
  for (const std::string& word : words) {
    TestDictionary fresh(bytes);
    EXPECT_EQ(BuildWordForms(warm.file(), word), BuildWordForms(fresh.file(), word)) << word;
  }
}

TEST(LemmaIndexTest, ADamagedLemmaSectionGivesFewerWordsAndNoReadOutside) {
  DictionaryWriter writer;
  for (const char* word : {"alpha", "beta", "gamma"}) writer.AddLemma(word, {LemmaItem::Self()});
  std::string bytes = TestDictionary(writer).bytes();
  // Every byte of the lemma records overwritten in turn: the index reads
  // what it can, and a search stays inside the file.
  for (size_t at = 12; at < bytes.size(); ++at) {
    std::string damaged = bytes;
    damaged[at] = static_cast<char>(0xFF);
    TestDictionary dictionary(damaged);
    if (!dictionary.open()) continue;
    LemmaIndex index(dictionary.file().formTables());
    BucketRange run;
    for (const char* word : {"alpha", "beta", "gamma", ""}) {
      if (!index.Find(word, &run)) continue;
      EXPECT_LT(run.begin, run.end);
      EXPECT_LE(run.end, damaged.size());
    }
  }
}

}  // namespace
}  // namespace vordo
