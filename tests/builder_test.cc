#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/lookup.h"
#include "engine/word_forms.h"
#include "tests/test_dictionary.h"
#include "tools/dictionary_builder.h"
#include "tools/english_forms.h"
#include "tools/freedict_source.h"

namespace vordo {
namespace {

using Words = std::vector<std::string>;

TEST(FreedictSourceTest, ParsesPartsOfSpeechNotesAndDomainLabels) {
  SourceEntry entry = ParseArticle("abandon <v>\nvzd\xC3\xA1t se\n   Note: \"\xC4\x8D" "eho\"\n opustit\n\n");
  EXPECT_EQ(entry.head, "abandon");
  EXPECT_EQ(entry.partOfSpeech, "v");
  EXPECT_EQ(entry.translations, (Words{"vzd\xC3\xA1t se (\xC4\x8D" "eho)", "opustit"}));

  entry = ParseArticle("Asia Minor <n, pl>\n [hud] a\nMal\xC3\xA1 Asie ([zem.])\n");
  EXPECT_EQ(entry.head, "Asia Minor");
  EXPECT_EQ(entry.partOfSpeech, "n, pl");
  EXPECT_EQ(entry.translations, (Words{"(hud.) a", "Mal\xC3\xA1 Asie (zem.)"}));

  entry = ParseArticle("a <b> c\nx [unclosed\n");
  EXPECT_EQ(entry.head, "a <b> c");  // only a trailing <...> is a part of speech
  EXPECT_EQ(entry.translations, Words{"x [unclosed"});
}

TEST(FreedictSourceTest, DecodesIndexNumbers) {
  EXPECT_EQ(DecodeDictdNumber("A"), 0);
  EXPECT_EQ(DecodeDictdNumber("B"), 1);
  EXPECT_EQ(DecodeDictdNumber("BA"), 64);
  EXPECT_EQ(DecodeDictdNumber("/"), 63);
  EXPECT_EQ(DecodeDictdNumber("a-b"), -1);
  EXPECT_EQ(DecodeDictdNumber(""), -1);
}

std::string Gzip(const std::string& text) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(text.size())) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

TEST(FreedictSourceTest, ReadsArticlesThroughTheIndexAndRejectsBadOffsets) {
  std::string data = "xx\ndog <n>\npes\n\ncat\nko\xC4\x8Dka\n";
  std::string dir = ::testing::TempDir();
  std::ofstream(dir + "t.dict.dz", std::ios::binary) << Gzip(data);
  // "dog" at offset 3, 13 bytes ("D", "N"); "cat" at 16, 11 bytes ("Q", "L").
  std::ofstream(dir + "t.index") << "00databaseinfo\tA\tC\ndog\tD\tN\ncat\tQ\tL\n";
  std::vector<SourceEntry> entries;
  std::string error;
  ASSERT_TRUE(ReadFreedict(dir + "t.index", dir + "t.dict.dz", &entries, &error)) << error;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].head, "dog");
  EXPECT_EQ(entries[0].translations, Words{"pes"});
  EXPECT_EQ(entries[1].translations, Words{"ko\xC4\x8Dka"});

  // Offsets and lengths as large as decoding allows are refused, not added.
  for (const char* line : {"dog\tD\tZZ\n", "hello\tH//////////\tH//////////\n",
                           "dog\tD\tH//////////\n"}) {
    std::ofstream(dir + "bad.index") << line;
    EXPECT_FALSE(ReadFreedict(dir + "bad.index", dir + "t.dict.dz", &entries, &error)) << line;
    EXPECT_NE(error.find("outside"), std::string::npos) << error;
  }
  std::ofstream(dir + "plain.dz") << data;
  EXPECT_FALSE(ReadFreedict(dir + "t.index", dir + "plain.dz", &entries, &error));
}

// The inflection rules and exceptions, against a word list that holds the
// forms English has.
class EnglishFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* word : {"tries", "tried", "trying", "stops", "stopped", "stopping", "makes",
                             "making", "cities", "goes", "going", "walks", "walked", "walking",
                             "visits", "visited", "visiting", "bigger", "biggest", "boxes",
                             "dies", "died", "dying", "happier", "happiest"}) {
      english_.AddKnownWord(word);
    }
    english_.AddWordClass("try", kVerbClass | kNounClass);
    english_.AddWordClass("stop", kVerbClass | kNounClass);
    english_.AddWordClass("make", kVerbClass);
    english_.AddWordClass("city", kNounClass);
    english_.AddWordClass("go", kVerbClass);
    english_.AddWordClass("visit", kVerbClass);
    english_.AddWordClass("big", kAdjectiveClass);
    english_.AddWordClass("box", kNounClass);
    english_.AddWordClass("die", kVerbClass);
    english_.AddWordClass("happy", kAdjectiveClass);
    english_.AddWordClass("good", kAdjectiveClass);
    for (const auto& irregular : std::vector<std::pair<const char*, const char*>>{
             {"make", "made"}, {"mouse", "mice"}, {"good", "better"}, {"good", "best"},
             {"go", "went"}, {"go", "gone"}}) {
      english_.AddIrregular(irregular.first, irregular.second);
    }
  }
  EnglishForms english_;
};

TEST_F(EnglishFormsTest, RegularRulesAndExceptions) {
  EXPECT_EQ(english_.FormsOf("try"), (Words{"tried", "tries", "try", "trying"}));
  EXPECT_EQ(english_.FormsOf("stop"), (Words{"stop", "stopped", "stopping", "stops"}));
  EXPECT_EQ(english_.FormsOf("visit"), (Words{"visit", "visited", "visiting", "visits"}));
  EXPECT_EQ(english_.FormsOf("make"), (Words{"made", "make", "makes", "making"}));
  EXPECT_EQ(english_.FormsOf("mouse"), (Words{"mice", "mouse"}));
  EXPECT_EQ(english_.FormsOf("good"), (Words{"best", "better", "good"}));  // no "gooder"
  EXPECT_EQ(english_.FormsOf("city"), (Words{"cities", "city"}));
  EXPECT_EQ(english_.FormsOf("go"), (Words{"go", "goes", "going", "gone", "went"}));
  EXPECT_EQ(english_.FormsOf("big"), (Words{"big", "bigger", "biggest"}));
  EXPECT_EQ(english_.FormsOf("box"), (Words{"box", "boxes"}));
  EXPECT_EQ(english_.FormsOf("die"), (Words{"die", "died", "dies", "dying"}));
  EXPECT_EQ(english_.FormsOf("happy"), (Words{"happier", "happiest", "happy"}));
}

TEST_F(EnglishFormsTest, UnknownFormsNeedATagFromTheDictionary) {
  EXPECT_EQ(english_.FormsOf("formatter"), Words{"formatter"});
  EXPECT_EQ(english_.FormsOf("formatter", kNounClass), (Words{"formatter", "formatters"}));
  EXPECT_EQ(english_.FormsOf("blog", kVerbClass), (Words{"blog", "blogs"}));  // doubling unsure
  EXPECT_EQ(english_.FormsOf("zorp", kAdjectiveClass), Words{"zorp"});
  EXPECT_EQ(english_.FormsOf("\xE8" "aj", kNounClass), Words{"\xE8" "aj"});
}

TEST_F(EnglishFormsTest, BuiltDictionaryFindsWordsAsTheyStandInText) {
  english_.AddKnownWord("unhappy");
  english_.AddKnownWord("unhappier");
  std::vector<SourceEntry> source = {
      {"try", "v", {"zkusit"}},           {"try", "v", {"zkusit", "snažit se"}},
      {"go", "v", {"jít"}},               {"mouse", "n", {"myš"}},
      {"good", "adj", {"dobrý"}},         {"happy", "adj", {"šťastný"}},
      {"look after sb", "", {"starat se o"}}, {"WWW", "", {"web"}},
      {"city", "n", {"město"}},           {"stop", "", {"zastavit"}},
  };
  DictionaryWriter writer;
  DictionaryBuilder::Summary summary;
  DictionaryBuilder(english_).Add(source, &writer, &summary);
  EXPECT_EQ(summary.headTexts, 9u);      // both "try <v>" articles make one entry
  EXPECT_EQ(summary.translations, 10u);  // with the repeated "zkusit" once
  TestDictionary dictionary(writer);
  auto heads = [&](const std::string& query) {
    std::vector<std::string> found;
    for (const ResultEntry& result : Lookup(dictionary.file(), query)) found.push_back(result.head);
    return found;
  };
  EXPECT_EQ(heads("tried"), Words{"try (v.)"});
  EXPECT_EQ(heads("Trying"), Words{"try (v.)"});
  EXPECT_EQ(heads("went"), Words{"go (v.)"});
  EXPECT_EQ(heads("mice"), Words{"mouse (n.)"});
  EXPECT_EQ(heads("better"), Words{"good (adj.)"});
  EXPECT_EQ(heads("cities"), Words{"city (n.)"});
  EXPECT_EQ(heads("stopped"), Words{"stop"});
  EXPECT_EQ(heads("unhappier"), Words{"happy (adj.)"});
  EXPECT_EQ(heads("www"), Words{"WWW"});
  EXPECT_EQ(heads("look after sb"), Words{"look after sb"});
  ASSERT_EQ(Lookup(dictionary.file(), "try").size(), 1u);
  EXPECT_EQ(Lookup(dictionary.file(), "try")[0].translations,
            (Words{"zkusit", "sna\x9Eit se"}));
  // Every head token but the part-of-speech groups has forms.
  for (const char* token : {"try", "go", "look", "after", "sb", "WWW", "city", "stop"}) {
    EXPECT_FALSE(BuildWordForms(dictionary.file(), token).empty()) << token;
  }
}

TEST(PartOfSpeechGroupTest, IsOneToken) {
  EXPECT_EQ(DictionaryBuilder::PartOfSpeechGroup("n"), "(n.)");
  EXPECT_EQ(DictionaryBuilder::PartOfSpeechGroup("adj"), "(adj.)");
  EXPECT_EQ(DictionaryBuilder::PartOfSpeechGroup("n, pl"), "(pl.)");
}

}  // namespace
}  // namespace vordo
