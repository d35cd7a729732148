#include <gtest/gtest.h>

#include <string>

#include "markup/character_references.h"
#include "markup/span_marker.h"

namespace vordo {
namespace {

std::string Marked(std::string_view html) { return SpanMarker().Rewrite(html); }
std::string MarkedUtf8(std::string_view html) { return SpanMarker().RewriteUtf8(html); }

// The input again, from a marked output: what marking may not change.
template <typename Text>
Text WithoutSpans(Text marked) {
  for (const char* tag : {"<SPAN>", "</SPAN>"}) {
    Text pattern(tag, tag + std::char_traits<char>::length(tag));
    for (size_t at = marked.find(pattern); at != Text::npos; at = marked.find(pattern, at)) {
      marked.erase(at, pattern.size());
    }
  }
  return marked;
}

TEST(SpanMarkerTest, WrapsEveryRunOfWordBytes) {
  EXPECT_EQ(Marked("Hello, world 42"), "<SPAN>Hello</SPAN>, <SPAN>world</SPAN> 42");
  EXPECT_EQ(Marked("\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"),
            "<SPAN>\x9Elu\x9Dou\xE8k\xFD</SPAN> <SPAN>k\xF9\xF2</SPAN>");
  EXPECT_EQ(Marked("ab1cd"), "<SPAN>ab</SPAN>1<SPAN>cd</SPAN>");
  EXPECT_EQ(Marked(" ,. 1 "), " ,. 1 ");
  EXPECT_EQ(Marked(""), "");
}

TEST(SpanMarkerTest, SignsAmongTheCodePagesLettersEndAWord) {
  // Single guillemets, the double acute, multiplication and division signs,
  // as bytes, as references and in UTF-8 and UTF-16.
  EXPECT_EQ(Marked("\x8Bx\x9B 3\xD7" "4 a\xF7" "b \xBD\xE8"),
            "\x8B<SPAN>x</SPAN>\x9B 3\xD7" "4 <SPAN>a</SPAN>\xF7<SPAN>b</SPAN> \xBD<SPAN>\xE8</SPAN>");
  EXPECT_EQ(Marked("&lsaquo;x&rsaquo; 3&times;4"), "&lsaquo;<SPAN>x</SPAN>&rsaquo; 3&times;4");
  EXPECT_EQ(MarkedUtf8("\xE2\x80\xB9x\xE2\x80\xBA a\xC3\x97" "b"),
            "\xE2\x80\xB9<SPAN>x</SPAN>\xE2\x80\xBA <SPAN>a</SPAN>\xC3\x97<SPAN>b</SPAN>");
  EXPECT_EQ(SpanMarker().RewriteUtf16(u"a\u00F7b"), u"<SPAN>a</SPAN>\u00F7<SPAN>b</SPAN>");
  // The letters around them stay letters: Ľ 0xBC, ž 0x9E, ť 0x9D, ý 0xFD.
  EXPECT_EQ(Marked("\xBC\x9E\x9D\xFD"), "<SPAN>\xBC\x9E\x9D\xFD</SPAN>");
}

TEST(SpanMarkerTest, OnlyInsertsAroundTheSourceBytesOfEachWord) {
  // A reference that stands for a letter is part of its word, as written.
  EXPECT_EQ(Marked("&Scaron;koda a&nbsp;b"),
            "<SPAN>&Scaron;koda</SPAN> <SPAN>a</SPAN>&nbsp;<SPAN>b</SPAN>");
  EXPECT_EQ(Marked("&hellip; Q&A AT&T &pound;5"),
            "&hellip; <SPAN>Q</SPAN>&<SPAN>A</SPAN> <SPAN>AT</SPAN>&<SPAN>T</SPAN> &pound;5");
  // A legacy reference without ';' is never cut: "&amp" of "&ampx" stays whole.
  EXPECT_EQ(Marked("&ampx &notit;"), "&amp<SPAN>x</SPAN> &not<SPAN>it</SPAN>;");
  EXPECT_EQ(Marked("&lt;img src=x&gt; x < y"),
            "&lt;<SPAN>img</SPAN> <SPAN>src</SPAN>=<SPAN>x</SPAN>&gt; <SPAN>x</SPAN> < <SPAN>y</SPAN>");
  EXPECT_EQ(Marked(std::string("ab\0cd", 5)), std::string("<SPAN>ab</SPAN>\0<SPAN>cd</SPAN>", 31));
  // Text at the very end, and a reference cut off there.
  EXPECT_EQ(Marked("AT&T"), "<SPAN>AT</SPAN>&<SPAN>T</SPAN>");
  EXPECT_EQ(Marked("x &amp"), "<SPAN>x</SPAN> &amp");
  EXPECT_EQ(Marked("a<"), "<SPAN>a</SPAN><");
}

TEST(SpanMarkerTest, TagsCommentsAndRawContentAreCopiedUnmarked) {
  for (const char* html :
       {"<p class=x title='a b' data-x=\"c d\">", "<input disabled><br/>",
        "<a title=\"a\x93<img src=x onerror=alert(1)>\">", "<my-el xlink:href=a @click=b>",
        "<!-- a b --><!DOCTYPE html>", "<style>p { color: red }</style>",
        "<script>var s=\"</scripts>\"; a<b</script>", "<textarea>a <b>c</b></textarea>",
        "<title>t</title><noscript>n</noscript><xmp>x</xmp><iframe>i</iframe>",
        "<svg><circle r=4/><text>hi</text></svg>", "<math><mi>x</mi></math>",
        "<plaintext>all of it"}) {
    EXPECT_EQ(Marked(html), html);
  }
  EXPECT_EQ(Marked("<script>a<</script>b"), "<script>a<</script><SPAN>b</SPAN>");
  EXPECT_EQ(Marked("<svg/>a<svg><svg></svg>b</svg>c"),
            "<svg/><SPAN>a</SPAN><svg><svg></svg>b</svg><SPAN>c</SPAN>");
  // A '/' before '>' closes the element only outside a value: "1/" is the
  // unquoted value of width, so the svg stays open.
  EXPECT_EQ(Marked("<svg width=1/>a</svg>b<svg a />c<svg a=\"/\"/>d"),
            "<svg width=1/>a</svg><SPAN>b</SPAN><svg a /><SPAN>c</SPAN><svg a=\"/\"/><SPAN>d</SPAN>");
  // Quotes open a value only after '='; elsewhere they are part of a name.
  EXPECT_EQ(Marked("<p a\"b=\">\" c='>'>x"), "<p a\"b=\">\" c='>'><SPAN>x</SPAN>");
  EXPECT_EQ(Marked("<p a = = \">x"), "<p a = = \"><SPAN>x</SPAN>");
}

TEST(SpanMarkerTest, TextThatBrowsersMoveOutOfATableIsNotMarked) {
  // A SPAN would take the word out in front of the table and leave the
  // spaces between the words behind.
  EXPECT_EQ(Marked("<table><tr>stray words<td>cell words</td>more</tr></table>after"),
            "<table><tr>stray words<td><SPAN>cell</SPAN> <SPAN>words</SPAN></td>more</tr></table>"
            "<SPAN>after</SPAN>");
  // Rows, sections and cells that a browser adds or closes.
  EXPECT_EQ(Marked("<table>a<td>b<tr>c<td>d</table>e"),
            "<table>a<td><SPAN>b</SPAN><tr>c<td><SPAN>d</SPAN></table><SPAN>e</SPAN>");
  EXPECT_EQ(Marked("<table><caption>c</caption>x<tbody><tr><th>h</th></tr></tbody></table>"),
            "<table><caption><SPAN>c</SPAN></caption>x<tbody><tr><th><SPAN>h</SPAN></th></tr></tbody></table>");
  EXPECT_EQ(Marked("<table><td><table>x<td>y</table>z</table>"),
            "<table><td><table>x<td><SPAN>y</SPAN></table><SPAN>z</SPAN></table>");
  // Table tags inside svg are no table.
  EXPECT_EQ(Marked("<svg><table></svg>x"), "<svg><table></svg><SPAN>x</SPAN>");
}

TEST(SpanMarkerTest, UnicodeTextIsNeverConverted) {
  EXPECT_EQ(MarkedUtf8("t\xC4\x9B\xC5\xBE\xC5\xA1\xC3\xAD m\xC4\x9B\xC5\xA1\xC5\xA5" "an"),
            "<SPAN>t\xC4\x9B\xC5\xBE\xC5\xA1\xC3\xAD</SPAN> <SPAN>m\xC4\x9B\xC5\xA1\xC5\xA5" "an</SPAN>");
  // Cyrillic and emoji belong to no word and stay as they are, in links too.
  std::string link = "<a href=\"/wiki/\xD0\x9F\xD1\x80\xD0\xB0\xD0\xB3\xD0\xB0\">\xF0\x9F\x98\x80x</a>";
  EXPECT_EQ(MarkedUtf8(link),
            "<a href=\"/wiki/\xD0\x9F\xD1\x80\xD0\xB0\xD0\xB3\xD0\xB0\">\xF0\x9F\x98\x80<SPAN>x</SPAN></a>");
  // Malformed UTF-8 is copied byte for byte.
  EXPECT_EQ(MarkedUtf8("a\xC3(b\xFF"), "<SPAN>a</SPAN>\xC3(<SPAN>b</SPAN>\xFF");
  std::u16string wide = u"P\u0159\u00EDklad \U0001F600 \u041F\u0440\u0430\u0433\u0430 &scaron;";
  EXPECT_EQ(SpanMarker().RewriteUtf16(wide),
            u"<SPAN>P\u0159\u00EDklad</SPAN> \U0001F600 \u041F\u0440\u0430\u0433\u0430 <SPAN>&scaron;</SPAN>");
}

TEST(SpanMarkerTest, AsciiIsReadAlikeInEveryEncoding) {
  // UTF-8 and UTF-16 hand ASCII to the tokenizer as it is, as the code page
  // has it.
  for (char32_t c = 0; c < 0x80; ++c) ASSERT_EQ(MarkupByteOf(c), c);
  std::string ascii;
  for (int c = 1; c < 0x80; ++c) ascii += static_cast<char>(c);
  for (const std::string& page : {ascii, "x " + ascii + " word &amp; <b>bold</b>" + ascii}) {
    std::string narrow = Marked(page);
    EXPECT_EQ(MarkedUtf8(page), narrow);
    std::u16string wide(page.begin(), page.end());
    std::u16string marked = SpanMarker().RewriteUtf16(wide);
    EXPECT_EQ(std::string(marked.begin(), marked.end()), narrow);
  }
  // A letter beyond ASCII among ASCII letters: one word, its bytes kept.
  EXPECT_EQ(MarkedUtf8("a\xC3\xA9" "b <i>c</i>"), "<SPAN>a\xC3\xA9" "b</SPAN> <i><SPAN>c</SPAN></i>");
}

TEST(SpanMarkerTest, WordsEndWithTheWholeSequenceOfTheirLastLetter) {
  // Before markup, a reference, white space and the end of the input.
  EXPECT_EQ(MarkedUtf8("m\xC4\x9B<b>t\xC4\x9B&amp;x k\xC5\xAF\xC5\x88"),
            "<SPAN>m\xC4\x9B</SPAN><b><SPAN>t\xC4\x9B</SPAN>&amp;<SPAN>x</SPAN> "
            "<SPAN>k\xC5\xAF\xC5\x88</SPAN>");
  EXPECT_EQ(MarkedUtf8("&scaron;\xC5\xAF &lt;\xC4\x9B"),
            "<SPAN>&scaron;\xC5\xAF</SPAN> &lt;<SPAN>\xC4\x9B</SPAN>");
  // Letters at every alignment after ASCII runs longer than a machine word.
  for (size_t ascii = 0; ascii < 20; ++ascii) {
    std::string run(ascii, 'a');
    std::string page = "<i>" + run + "\xC5\xBE" + run + "</i> " + run + "\xE2\x80\x94" + run;
    std::string word = run + "\xC5\xBE" + run;
    std::string expected = "<i><SPAN>" + word + "</SPAN></i> ";
    expected += ascii == 0 ? "\xE2\x80\x94"
                           : "<SPAN>" + run + "</SPAN>\xE2\x80\x94<SPAN>" + run + "</SPAN>";
    EXPECT_EQ(MarkedUtf8(page), expected) << ascii;
  }
}

TEST(SpanMarkerTest, UnitsFedInChunksMakeTheSameWords) {
  // A word across the chunks the UTF-16 units are narrowed in, with a
  // letter beyond ASCII on either side of the cut.
  for (size_t before : {4090u, 4095u, 4096u}) {
    std::u16string page = std::u16string(before, u' ') + u"\u0159eka" + u"\u017E" + u" x";
    std::u16string marked = SpanMarker().RewriteUtf16(page);
    EXPECT_EQ(marked, std::u16string(before, u' ') + u"<SPAN>\u0159eka\u017E</SPAN> <SPAN>x</SPAN>");
  }
}

TEST(SpanMarkerTest, DeletingTheSpansGivesTheInputBack) {
  std::string page =
      "<p>P&#345;&iacute;klad &amp; <b class=x>bold</b>&hellip;</p><!-- c --><script>x</script>"
      "<svg><text>s</text></svg>\xC5\x99\xE2\x80\x93<a title=\"\xE2\x80\x9Cq\">AT&T</a>";
  EXPECT_EQ(WithoutSpans(MarkedUtf8(page)), page);
  EXPECT_EQ(WithoutSpans(Marked(page)), page);
  std::u16string wide(page.begin(), page.end());
  EXPECT_EQ(WithoutSpans(SpanMarker().RewriteUtf16(wide)), wide);
}

TEST(SpanMarkerTest, MarkingTwiceWrapsAgain) {
  EXPECT_EQ(Marked(Marked("word")), "<SPAN><SPAN>word</SPAN></SPAN>");
}

}  // namespace
}  // namespace vordo
