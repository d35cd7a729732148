#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/character_references.h"
#include "tests/recording_tokenizer.h"

namespace vordo {
namespace {

using Events = std::vector<std::string>;

Events Tokenize(std::string_view input) { return RecordingTokenizer().Tokenize(input); }

TEST(HtmlTokenizerTest, DecodesReferencesAsBrowsersDo) {
  EXPECT_EQ(Tokenize("a &amp; b"), Events{"text:a & b"});
  // Legacy names need no ';'; others do, and unknown ones stay as written.
  EXPECT_EQ(Tokenize("&amp x &ampx &notit; &hellip &foo; Q&A"),
            Events{"text:& x &x \xACit; &hellip &foo; Q&A"});
  EXPECT_EQ(Tokenize("&Scaron;&scaron;&hellip;&euro;&Zcaron;"), Events{"text:\x8A\x9A\x85\x80\x8E"});
  // Numeric references, decimal and hexadecimal, with or without ';'.
  EXPECT_EQ(Tokenize("&#269;&#x10D;&#X10d&#65x"), Events{"text:\xE8\xE8\xE8" "Ax"});
  // 0x80-0x9F read as Windows-1252; 0, surrogates and huge values are U+FFFD.
  EXPECT_EQ(Tokenize("&#150;&#x80;"), Events{"text:\x96\x80"});
  EXPECT_EQ(Tokenize("&#0;&#xD800;&#99999999999999;"),
            Events{"text:" + std::string(3, static_cast<char>(kForeignByte))});
  // Characters without a Windows-1250 form read as the foreign byte.
  EXPECT_EQ(Tokenize("&pound;&#1055;"), Events{"text:\x7F\x7F"});
  EXPECT_EQ(Tokenize("&#; &#x; &#xZ &"), Events{"text:&#; &#x; &#xZ &"});
}

TEST(HtmlTokenizerTest, ALessThanStartsOnlyWhatBrowsersStart) {
  EXPECT_EQ(Tokenize("a &<b>"), (Events{"text:a &", "tag:b"}));
  EXPECT_EQ(Tokenize("x < y>z <1 <%= t %>"), Events{"text:x < y>z <1 <%= t %>"});
  EXPECT_EQ(Tokenize("<?xml v?>x"), (Events{"raw:<?xml v?>", "text:x"}));
  EXPECT_EQ(Tokenize("a</>b</ c>d"), (Events{"text:a", "text:b", "raw:</ c>", "text:d"}));
  EXPECT_EQ(Tokenize("a<"), Events{"text:a<"});
  EXPECT_EQ(Tokenize("a</"), Events{"text:a</"});
}

TEST(HtmlTokenizerTest, ReadsTagAndAttributeNamesAsBrowsersDo) {
  EXPECT_EQ(Tokenize("<my-el xlink:href=a @click=b v-on:x=\"c\">"),
            Events{"tag:my-el xlink:href=a @click=b v-on:x=c"});
  EXPECT_EQ(Tokenize("<br/></b><input disabled>"), (Events{"tag:br", "tag:/b", "tag:input disabled="}));
  EXPECT_EQ(Tokenize("<p class=x id='a b' title=\"c\nd\">"), Events{"tag:p class=x id=a b title=c\nd"});
  // Only the quote byte that opened a value ends it; a '<' in a tag is no tag.
  EXPECT_EQ(Tokenize("<a title=\"x\x93<img src=y>\">"), Events{"tag:a title=x\x93<img src=y>"});
  EXPECT_EQ(Tokenize("<a b<c>"), Events{"tag:a b<c="});
  EXPECT_EQ(Tokenize("<circle r=4/>"), Events{"tag:circle r=4/"});
}

TEST(HtmlTokenizerTest, CommentsEndWhereBrowsersEndThem) {
  EXPECT_EQ(Tokenize("<!-- a -- b -->x"), (Events{"raw:<!-- a -- b -->", "text:x"}));
  EXPECT_EQ(Tokenize("<!-->a<!--->b<!-- c --!>d<!>e"),
            (Events{"raw:<!-->", "text:a", "raw:<!--->", "text:b", "raw:<!-- c --!>", "text:d",
                    "raw:<!>", "text:e"}));
  EXPECT_EQ(Tokenize("<!DOCTYPE html>"), Events{"raw:<!DOCTYPE html>"});
  EXPECT_EQ(Tokenize("<!-- open"), Events{"raw:<!-- open"});
}

TEST(HtmlTokenizerTest, RawTextElementsEndOnlyAtTheirOwnEndTag) {
  EXPECT_EQ(Tokenize("<SCRIPT>if (a<b) x();</Script >y"),
            (Events{"tag:SCRIPT", "raw:if (a<b) x();", "tag:/Script", "text:y"}));
  EXPECT_EQ(Tokenize("<script>s=\"</scripts>\"; a<</script>b"),
            (Events{"tag:script", "raw:s=\"</scripts>\"; a<", "tag:/script", "text:b"}));
  for (const char* name : {"style", "textarea", "title", "xmp", "iframe", "noembed", "noframes",
                           "noscript"}) {
    std::string element(name);
    EXPECT_EQ(Tokenize("<" + element + "><b>&amp;</" + element + "/>x"),
              (Events{"tag:" + element, "raw:<b>&amp;", "tag:/" + element, "text:x"}));
  }
  EXPECT_EQ(Tokenize("<plaintext>a</plaintext>b"), (Events{"tag:plaintext", "raw:a</plaintext>b"}));
  EXPECT_EQ(Tokenize("<script>never closed"), (Events{"tag:script", "raw:never closed"}));
  // Inside svg a style is an element like any other.
  EXPECT_EQ(Tokenize("<svg><style>a</style></svg>"),
            (Events{"tag:svg", "tag:style", "text:a", "tag:/style", "tag:/svg"}));
}

TEST(HtmlTokenizerTest, WindowsTwelveFiftyBytesStayAsTheyAre) {
  // Bytes that would be a UTF-8 sequence are Czech letters here.
  EXPECT_EQ(Tokenize("\xC5\x99\xE2\x80\x93\xEF\xBB\xBFx"), Events{"text:\xC5\x99\xE2\x80\x93\xEF\xBB\xBFx"});
  EXPECT_EQ(Tokenize("<!--\x91\x93-->"), Events{"raw:<!--\x91\x93-->"});
}

TEST(HtmlTokenizerTest, ReportsProgressEveryHundredBytes) {
  RecordingTokenizer tokenizer;
  tokenizer.Tokenize(std::string(250, 'a'));
  EXPECT_EQ(tokenizer.progress, (std::vector<unsigned>{100, 100, 50}));
  tokenizer.Tokenize("");
  EXPECT_TRUE(tokenizer.progress.empty());
}

TEST(HtmlTokenizerTest, ShouldStopEndsFeedAtOnce) {
  RecordingTokenizer tokenizer;
  tokenizer.stopAfter = 3;
  EXPECT_EQ(tokenizer.Tokenize("abcdef"), Events{"text:abc"});
}

TEST(HtmlTokenizerTest, PiecesGiveTheSameCallbacksAsOneFeed) {
  std::string input =
      "<p a='1'>x &amp; y &#269;&Scaron;koda<!-- c --><script>a</scri</script>z &nb <svg>q</svg>";
  Events whole = Tokenize(input);
  for (size_t size = 1; size <= 4; ++size) {
    std::vector<size_t> pieces(input.size(), size);
    EXPECT_EQ(RecordingTokenizer().Tokenize(input, pieces), whole) << size;
  }
  // Callers that never stop take another path to the same callbacks, with
  // quoted values (holding '>' and the other quote, longer than a run) taken
  // in runs.
  RecordingTokenizer never_stopping(false);
  EXPECT_EQ(never_stopping.Tokenize(input, {5, 9, 2}), whole);
  std::string values = "<a href=\"x>'y" + std::string(150, 'v') + "\" title='q\">z'>w</a><b c=\"\">";
  EXPECT_EQ(never_stopping.Tokenize(values, {12, 100, 3}), Tokenize(values));
  EXPECT_EQ(never_stopping.events[0], "tag:a href=x>'y" + std::string(150, 'v') + " title=q\">z");
  RecordingTokenizer asking;
  std::string long_text(250, 'a');
  asking.Tokenize(long_text + "<b>&amp;" + long_text);
  never_stopping.Tokenize(long_text + "<b>&amp;" + long_text);
  EXPECT_EQ(never_stopping.progress, asking.progress);
}

TEST(HtmlTokenizerTest, WordsAreRunsOfWordBytesOutsideForeignContent) {
  RecordingTokenizer tokenizer;
  tokenizer.Tokenize("ab1&scaron;c <b>d</b>e<svg>f</svg> &notit;<math>g</math>");
  EXPECT_EQ(tokenizer.words, (std::vector<std::pair<size_t, size_t>>{
                                 {0, 2}, {3, 12}, {16, 17}, {21, 22}, {39, 41}}));
}

TEST(CharacterReferencesTest, MatchesTheLongestNameBrowsersKnow) {
  ReferenceMatch match;
  ASSERT_TRUE(MatchNamedReference("notin", true, &match));
  EXPECT_EQ(match.length, 6u);
  EXPECT_EQ(match.first, U'\u2209');
  ASSERT_TRUE(MatchNamedReference("notit", true, &match));
  EXPECT_EQ(match.length, 3u);
  ASSERT_TRUE(MatchNamedReference("NotEqualTilde", true, &match));
  EXPECT_EQ(match.second, U'\u0338');
  EXPECT_FALSE(MatchNamedReference("hellip", false, &match));
  EXPECT_FALSE(MatchNamedReference("xyz", true, &match));
  EXPECT_EQ(MarkupByteOf(U'\u010D'), 0xE8);
  EXPECT_EQ(MarkupByteOf(U'\u041F'), kForeignByte);
  EXPECT_EQ(MarkupByteOf(U'\U0001F600'), kForeignByte);
  EXPECT_EQ(NumericReferenceCharacter(0x9F), U'\u0178');
  EXPECT_EQ(NumericReferenceCharacter(0x81), U'\u0081');
}

}  // namespace
}  // namespace vordo
