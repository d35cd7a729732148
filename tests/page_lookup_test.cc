#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/page_lookup.h"
#include "engine/page_words.h"
#include "tests/test_dictionary.h"

namespace vordo {
namespace {

using Lines = std::vector<std::string>;

Lines Spellings(std::u16string_view text) {
  Lines spellings;
  for (const PageWord& word : SplitPageWords(text)) spellings.push_back(word.spelling);
  return spellings;
}

TEST(PageWordsTest, WordsKeepApostrophesAndHyphensBetweenLettersOnly) {
  EXPECT_EQ(Spellings(u"don't isn\u2019t we\u00B4ve e-mail state-of-the-art well\u2010known"),
            (Lines{"don't", "isn't", "we've", "e-mail", "state-of-the-art", "well-known"}));
  // At a word's edge they are signs; so are doubled ones.
  EXPECT_EQ(Spellings(u"'quoted' users' -dash- a--b rock'n'roll"),
            (Lines{"quoted", "users", "dash", "a", "b", "rock'n'roll"}));
  // Signs, guillemets and digits-only runs separate; digits inside a word stay.
  EXPECT_EQ(Spellings(u"3\u00D74 \u2039quoted\u203A 12345 MP3 1990s 4th"),
            (Lines{"quoted", "MP3", "1990s", "4th"}));
  // A soft hyphen inside a word is skipped, and ends no word.
  EXPECT_EQ(Spellings(u"extra\u00ADordinary\u00AD next"), (Lines{"extraordinary", "next"}));
}

TEST(PageWordsTest, LettersTheCodePageLacksAreFolded) {
  EXPECT_EQ(Spellings(u"na\u00EFve cr\u00E8me Se\u00F1or \u00D8resund \u00E6ther \uFB01nd \uFB03x"),
            (Lines{"naive", "creme", "Senor", "Oresund", "aether", "find", "ffix"}));
  // Czech letters stay as the code page has them; a combining accent is
  // dropped; a letter beyond the BMP (mathematical bold A) is read whole.
  EXPECT_EQ(Spellings(u"\u017Elu\u0165ou\u010Dk\u00FD cafe\u0301 \U0001D400BC"),
            (Lines{"\x9Elu\x9Dou\xE8k\xFD", "cafe", "ABC"}));
  // Words of other scripts are words, but cannot be spelt for the dictionary.
  std::vector<PageWord> words = SplitPageWords(u"\u041F\u0440\u0438\u0432\u0435\u0442 \u6F22\u5B57 dog");
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].spelling, "");
  EXPECT_EQ(words[1].spelling, "");
  EXPECT_EQ(words[2].spelling, "dog");
  // A lone surrogate is no letter.
  EXPECT_EQ(Spellings(std::u16string(u"ab") + char16_t{0xD800} + u"cd"), (Lines{"ab", "cd"}));
}

TEST(PageWordsTest, OnlyWhiteSpaceJoinsWordsIntoAPhrase) {
  std::vector<PageWord> words =
      SplitPageWords(u"the\u00A0source code, of 3 the\u2029next\nline");
  std::vector<bool> close;
  for (const PageWord& word : words) close.push_back(word.follows_closely);
  EXPECT_EQ(close, (std::vector<bool>{false, true, true, false, false, false, true}));
  EXPECT_EQ(words[1].begin, 4u);
  EXPECT_EQ(words[1].end, 10u);
}

size_t At(std::u16string_view text, std::u16string_view part) { return text.find(part); }

Lines ReadingsAt(std::u16string_view text, std::u16string_view part) {
  size_t at = At(text, part);
  for (const PageWord& word : SplitPageWords(text)) {
    if (word.begin <= at && at < word.end) return WordReadings(text, word, at);
  }
  return {};
}

TEST(PageWordsTest, ReadingsFallBackFromTheWholeWord) {
  EXPECT_EQ(ReadingsAt(u"isn't", u"i"), (Lines{"isn't", "is"}));
  EXPECT_EQ(ReadingsAt(u"Don't", u"D"), (Lines{"Don't", "Do"}));
  EXPECT_EQ(ReadingsAt(u"can't won't", u"c"), (Lines{"can't", "can"}));
  EXPECT_EQ(ReadingsAt(u"can't won't", u"w"), (Lines{"won't", "will"}));
  EXPECT_EQ(ReadingsAt(u"we've you're I'll she'd I'm", u"y"), (Lines{"you're", "you"}));
  EXPECT_EQ(ReadingsAt(u"the user's", u"s"), (Lines{"user's", "user"}));
  EXPECT_EQ(ReadingsAt(u"children\u2019s", u"c"), (Lines{"children's", "children"}));
  EXPECT_EQ(ReadingsAt(u"well-known", u"k"), (Lines{"well-known", "known"}));
  EXPECT_EQ(ReadingsAt(u"well-known", u"w"), (Lines{"well-known", "well"}));
  EXPECT_EQ(ReadingsAt(u"state-of-the-art", u"art"), (Lines{"state-of-the-art", "art"}));
  EXPECT_EQ(ReadingsAt(u"O'Brien", u"B"), (Lines{"O'Brien"}));
  EXPECT_EQ(ReadingsAt(u"\u041F\u0440\u0438", u"\u0440"), Lines{});
}

// Words whose entries tell the readings and phrases apart.
DictionaryWriter Reader() {
  DictionaryWriter writer;
  for (const char* head : {"isn't", "is", "do", "user", "known", "naive", "source", "code",
                           "source code", "spite", "in spite of", "work", "in", "you", "may",
                           "you may", "free", "free software", "software", "the", "of", "up"}) {
    AddPlainEntry(&writer, head, std::string("cz ") + head);
  }
  AddPlainEntry(&writer, "don't ask!", "neptej se");
  AddPlainEntry(&writer, "known fact", "zn\xE1m\xFD fakt");
  AddPlainEntry(&writer, "known issue", "zn\xE1m\xE1 chyba");
  AddPlainEntry(&writer, "state-of-the-art", "nejmodern\xECj\x9A\xED");
  AddPlainEntry(&writer, "work in (v.)", "p\xF8im\xED" "chat");
  writer.AddLemma("look", {LemmaItem::Self(), LemmaItem::Literal("looked"), LemmaItem::Literal("looks")});
  writer.AddEntry("look", "d\xEDvat se");
  writer.AddEntry("look up", "vyhledat");
  // As in the built dictionary, "offer" is among the forms of "off".
  writer.AddLemma("off", {LemmaItem::Self(), LemmaItem::Literal("offer")});
  AddPlainEntry(&writer, "written off", "odepsan\xFD");
  writer.AddEntry("offer", "nab\xED" "dka");
  return writer;
}

class PageLookupTest : public ::testing::Test {
 protected:
  PageLookup Rest(std::u16string_view text, std::u16string_view on) {
    return LookupPageWord(dictionary_.file(), text, At(text, on));
  }
  std::string FirstHead(std::u16string_view text, std::u16string_view on) {
    PageLookup lookup = Rest(text, on);
    return lookup.answer.results.empty() ? std::string() : lookup.answer.results[0].head;
  }

  TestDictionary dictionary_{Reader()};
};

TEST_F(PageLookupTest, TheFirstReadingWithAnEntryOfItsOwnAnswers) {
  EXPECT_EQ(Rest(u"it isn\u2019t", u"sn").word, "isn't");
  // "don't" stands only in a phrase: its own word is "do".
  EXPECT_EQ(Rest(u"I don't know", u"on").word, "do");
  EXPECT_EQ(Rest(u"the user's guide", u"'s").word, "user");
  EXPECT_EQ(Rest(u"a well-known fact", u"known").word, "known");
  EXPECT_EQ(Rest(u"state-of-the-art", u"art").word, "state-of-the-art");
  // What the page shows as the word is the whole word under the mouse,
  // whichever reading answered.
  PageLookup possessive = Rest(u"the user\u2019s guide", u"\u2019s");
  EXPECT_EQ(possessive.word_begin, 4u);
  EXPECT_EQ(possessive.word_end, 10u);
  EXPECT_EQ(Rest(u"a na\u00EFve idea", u"\u00EF").word, "naive");
  // Found nothing: the word itself, with no results.
  PageLookup unknown = Rest(u"multithreaded code", u"multi");
  EXPECT_EQ(unknown.word, "multithreaded");
  EXPECT_TRUE(unknown.answer.results.empty());
  // A word without entries is answered as a typed query of it would be.
  PageLookup derived = Rest(u"an unknown word", u"unknown");
  EXPECT_EQ(derived.word, "unknown");
  EXPECT_EQ(derived.answer.kind, QueryAnswer::Kind::kDerived);
  EXPECT_EQ(derived.answer.base, "known");
  EXPECT_EQ(Rest(u"the isn't", u"isn").answer.kind, QueryAnswer::Kind::kFound);
  // No word at the rest: nothing to look up.
  for (std::u16string_view sign : {u"3\u00D74", u"12345", u"a - b", u"\u041F\u0440\u0438"}) {
    PageLookup nothing = Rest(sign, sign.substr(1, 1));
    EXPECT_EQ(nothing.word, "");
    EXPECT_TRUE(nothing.answer.results.empty());
  }
  EXPECT_EQ(LookupPageWord(dictionary_.file(), u"dog", 3).word, "");
  EXPECT_EQ(LookupPageWord(dictionary_.file(), u"", 0).word, "");
}

TEST_F(PageLookupTest, ThePhraseAroundTheWordComesFirst) {
  PageLookup code = Rest(u"read the source code of it", u"source");
  EXPECT_EQ(code.word, "source");
  EXPECT_EQ(code.phrase, "source code");
  ASSERT_GE(code.answer.results.size(), 2u);
  EXPECT_EQ(code.answer.results[0].head, "source code");
  EXPECT_EQ(code.answer.results[1].head, "source");
  // Each entry once.
  size_t phrase_entries = 0;
  for (const ResultEntry& result : code.answer.results) phrase_entries += result.head == "source code";
  EXPECT_EQ(phrase_entries, 1u);

  // Forms match as in a typed lookup; the phrase may start before the rest.
  EXPECT_EQ(FirstHead(u"We looked up the word.", u"up"), "look up");
  EXPECT_EQ(Rest(u"We looked up the word.", u"up").word, "up");
  EXPECT_EQ(FirstHead(u"in spite of it", u"of"), "in spite of");
  EXPECT_EQ(FirstHead(u"Free software, for all", u"Free"), "free software");
  // A contraction's phrase is found through the whole word.
  EXPECT_EQ(FirstHead(u"Don't ask!", u"on"), "don't ask!");
}

TEST_F(PageLookupTest, APhraseNeedsItsWordsSideBySideAndMeaningful) {
  // Signs, line and block ends, and other words part them.
  for (std::u16string_view text :
       {u"the source, code", u"the source\u2029code", u"source of code", u"looked it up"}) {
    EXPECT_EQ(Rest(text, text.substr(text.find(u"o"), 1)).phrase, "")
        << std::string(text.begin(), text.end());
  }
  // Grammar words alone make no phrase worth putting first.
  EXPECT_EQ(FirstHead(u"you may copy", u"may"), "may");
  // A verb's phrase does not fit a noun after a determiner; a passive is
  // still the verb.
  EXPECT_EQ(FirstHead(u"the work in progress", u"work"), "work");
  EXPECT_EQ(FirstHead(u"to work in the flour", u"work"), "work in (v.)");
  EXPECT_EQ(FirstHead(u"We looked up the word.", u"looked"), "look up");
  EXPECT_EQ(Rest(u"It was not looked up.", u"looked").phrase, "look up");
  // Particles match only as written.
  EXPECT_EQ(Rest(u"a written offer", u"written").phrase, "");
  EXPECT_EQ(Rest(u"written off", u"written").phrase, "written off");
}

}  // namespace
}  // namespace vordo
