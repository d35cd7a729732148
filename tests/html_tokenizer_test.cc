#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page/character_references.h"
#include "tests/recording_tokenizer.h"

namespace vordo {
namespace {

using Events = std::vector<std::string>;

Events Tokenize(std::string_view input) { return RecordingTokenizer().Tokenize(input); }

TEST(HtmlTokenizerTest, DecodesNamedReferencesInText) {
  EXPECT_EQ(Tokenize("a &amp; b"), Events{"text:a & b"});
  EXPECT_EQ(Tokenize("&amp x"), Events{"text:& x"});
  EXPECT_EQ(Tokenize("&foo; &foo x"), Events{"text:&foo; &foo; x"});
  EXPECT_EQ(Tokenize("&NBSP;&Nbsp;"), Events{"text:\xA0\xA0"});
  EXPECT_EQ(Tokenize("&Agrave;&agrave;&AGRAVE;"), Events{"text:\xC0\xE0&AGRAVE;"});
  EXPECT_EQ(Tokenize("&abcdefghijk;&yuml;&scaron;&ndash;"), Events{"text:&abcdefghijk;\xFF\x9A-"});
  EXPECT_EQ(Tokenize("&lt;b&gt;"), Events{"text:<b>"});
}

TEST(HtmlTokenizerTest, DecodesDecimalReferencesByTheirTrueValue) {
  EXPECT_EQ(Tokenize("&#269;&#8220;&#x41;"), Events{"text:\xE8&#8220;&#x41;"});
  EXPECT_EQ(Tokenize("&#200;&#0;&#65"), Events{"text:\xC8&#0;"});  // the last one is cut off
  EXPECT_EQ(Tokenize("&#00000269;&#8217;"), Events{"text:\xE8'"});
  EXPECT_EQ(Tokenize("&#4294967565;&#99999999999999999999269;"),
            Events{"text:&#4294967565;&#99999999999999999999269;"});
}

TEST(HtmlTokenizerTest, ALessThanEndsTheReferenceOrDropsItsStart) {
  EXPECT_EQ(Tokenize("a &<b>"), (Events{"text:a ", "tag:b"}));
  EXPECT_EQ(Tokenize("a &#<b>"), (Events{"text:a ", "tag:b"}));
  EXPECT_EQ(Tokenize("&amp<b>"), (Events{"text:&", "tag:b"}));
  // A '<' that starts no tag stays text, so text never becomes a tag.
  EXPECT_EQ(Tokenize("x < y>z"), Events{"text:x < y>z"});
  EXPECT_EQ(Tokenize("a <%= t %> <<b>"), (Events{"text:a <%= t %> <", "tag:b"}));
  EXPECT_EQ(Tokenize("<?xml v?>x"), (Events{"raw:<?xml v?>", "text:x"}));
  EXPECT_EQ(Tokenize("if (a <= b) x"), Events{"text:if (a <= b) x"});
}

TEST(HtmlTokenizerTest, ReadsTagsAndAttributes) {
  EXPECT_EQ(Tokenize("<br/></b><input disabled>"), (Events{"tag:br", "tag:/b", "tag:input disabled="}));
  EXPECT_EQ(Tokenize("<p class=x id='a b' title=\"c\nd\">"), Events{"tag:p class=x id=a b title=cd"});
  EXPECT_EQ(Tokenize("<a href=x\ny>"), Events{"tag:a href=x y="});
  // A curly quote is made straight but does not end a value.
  EXPECT_EQ(Tokenize("<a title=\"x\x93<img src=y>\">"), Events{"tag:a title=x\"<img src=y>"});
  EXPECT_EQ(Tokenize("<a t='\xE2\x80\x99x' u=\x93v\x94>"), Events{"tag:a t='x u=\"v\""});
  EXPECT_EQ(Tokenize("<a t='x' u=\x93v w\x94>"), Events{"tag:a t=x u=\"v w="});
  EXPECT_EQ(Tokenize("<a b<c>"), Events{"tag:a b= c="});
  EXPECT_EQ(Tokenize("<a b <c>"), (Events{"tag:a b=", "tag:c"}));
}

TEST(HtmlTokenizerTest, CommentsDeclarationsAndScriptsGoOutRaw) {
  EXPECT_EQ(Tokenize("<!-- a -- b -->x"), (Events{"raw:<!-- a -- b -->", "text:x"}));
  EXPECT_EQ(Tokenize("<!DOCTYPE html>"), Events{"raw:<!DOCTYPE html>"});
  EXPECT_EQ(Tokenize("<SCRIPT>if (a<b) x();</Script >y"),
            (Events{"tag:SCRIPT", "raw:if (a<b) x();</Script >", "text:y"}));
  EXPECT_EQ(Tokenize("<script>&amp;</scripts>"), (Events{"tag:script", "raw:&amp;</scripts>"}));
  EXPECT_EQ(Tokenize("<script>never closed"), (Events{"tag:script", "raw:never closed"}));
  EXPECT_EQ(Tokenize("<style>a &amp; b</style>"), (Events{"tag:style", "text:a & b", "tag:/style"}));
  // A '<' that ends a script tag begins its body, as a browser reads the
  // tag once it is written back closed.
  EXPECT_EQ(Tokenize("<script x <p>y</script>z"), (Events{"tag:script x=", "raw:<p>y</script>", "text:z"}));
}

TEST(HtmlTokenizerTest, PendingTextAtTheEndIsText) {
  EXPECT_EQ(Tokenize("abc &amp"), Events{"text:abc "});
  EXPECT_EQ(Tokenize("abc <"), Events{"text:abc "});  // the '<' is lost
  EXPECT_EQ(Tokenize("<!-- open"), Events{"raw:<!-- open"});
  EXPECT_EQ(Tokenize(""), Events{});
}

TEST(HtmlTokenizerTest, NormalisesUtf8AndCurlyQuotesEverywhere) {
  EXPECT_EQ(Tokenize("\xC5\x99\xE2\x80\x93\xE2\x80\x9C\xC2\xA0\xC3\xA9\xC4\x80"),
            Events{"text:\xF8.\"\xA0\xE9?"});
  EXPECT_EQ(Tokenize("\xEF\xBB\xBFx"), Events{"text:x"});
  EXPECT_EQ(Tokenize("\xC5x\xE2\x80"), Events{"text:\xC5x\xE2\x80"});  // incomplete: bytes as they are
  EXPECT_EQ(Tokenize("<!--\x91\xE2\x82\xAC-->"), Events{"raw:<!--'\x80-->"});
}

TEST(HtmlTokenizerTest, ReportsProgressEveryHundredBytes) {
  RecordingTokenizer tokenizer;
  tokenizer.Tokenize(std::string(250, 'a'));
  EXPECT_EQ(tokenizer.progress, (std::vector<unsigned>{100, 100, 50}));
  tokenizer.Tokenize(std::string(98, 'a') + "\xEF\xBB\xBF" + "\xC5\x99" + "b");
  EXPECT_EQ(tokenizer.progress, (std::vector<unsigned>{103, 1}));
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
      "<p a='1'>x &amp; y &#269;\xC5\x99\xE2\x80\x93\xEF\xBB\xBF<!-- c --><script>a</script>z &nb";
  Events whole = Tokenize(input);
  for (size_t size = 1; size <= 4; ++size) {
    std::vector<size_t> pieces(input.size(), size);
    EXPECT_EQ(RecordingTokenizer().Tokenize(input, pieces), whole) << size;
  }
  // Callers that never stop take another path to the same callbacks.
  RecordingTokenizer never_stopping(false);
  EXPECT_EQ(never_stopping.Tokenize(input, {5, 9, 2}), whole);
  RecordingTokenizer asking;
  std::string long_text(250, 'a');
  asking.Tokenize(long_text + "<b>&amp;" + long_text);
  never_stopping.Tokenize(long_text + "<b>&amp;" + long_text);
  EXPECT_EQ(never_stopping.progress, asking.progress);
  // A sequence cut after its lead, then after one more byte.
  EXPECT_EQ(RecordingTokenizer().Tokenize("a\xE2\x80\x93z", {2, 1}), Tokenize("a\xE2\x80\x93z"));
  EXPECT_EQ(RecordingTokenizer().Tokenize("a\xE2\x80", {2}), Tokenize("a\xE2\x80"));
}

TEST(CharacterReferencesTest, TablesGiveTheirBytes) {
  EXPECT_EQ(DecodeUtf8Pair(0xC5, 0xBE), 0x9E);
  EXPECT_EQ(DecodeUtf8Pair(0xC4, 0xBD), 0xBC);
  EXPECT_EQ(DecodeUtf8Pair(0xD0, 0x96), '?');
  EXPECT_EQ(DecodeUtf8Triple(0xE2, 0x82, 0xAC), 0x80);
  EXPECT_EQ(DecodeUtf8Triple(0xE2, 0x80, 0x9E), 0x84);
  EXPECT_EQ(DecodeUtf8Triple(0xE2, 0x82, 0xA4), 0xA3);
  EXPECT_EQ(DecodeUtf8Triple(0xE2, 0x80, 0x96), '?');
  EXPECT_EQ(DecodeUtf8Triple(0xE3, 0x81, 0x82), '?');
  EXPECT_EQ(Named("iexcl"), "\xA1");
  EXPECT_EQ(Named("thorn"), "\xFE");
  EXPECT_EQ(Named("bull"), "\x95");
  EXPECT_EQ(Numeric("368"), "\xD3");
  EXPECT_EQ(Numeric("255"), "\xFF");
  EXPECT_EQ(Numeric("256"), "&#256;");
}

}  // namespace
}  // namespace vordo
