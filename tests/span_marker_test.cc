#include <gtest/gtest.h>

#include <string>

#include "page/span_marker.h"

namespace vordo {
namespace {

std::string Marked(std::string_view html) { return SpanMarker().Rewrite(html); }

TEST(SpanMarkerTest, WrapsEveryRunOfWordBytes) {
  EXPECT_EQ(Marked("Hello, world 42"), "<SPAN>Hello</SPAN>, <SPAN>world</SPAN> 42");
  EXPECT_EQ(Marked("\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"),
            "<SPAN>\x9Elu\x9Dou\xE8k\xFD</SPAN> <SPAN>k\xF9\xF2</SPAN>");
  EXPECT_EQ(Marked("ab1cd"), "<SPAN>ab</SPAN>1<SPAN>cd</SPAN>");
  EXPECT_EQ(Marked("\xA3\xF3" "d\x9F"), "\xA3<SPAN>\xF3" "d\x9F</SPAN>");
  EXPECT_EQ(Marked(" ,. 1 "), " ,. 1 ");
  EXPECT_EQ(Marked(""), "");
  EXPECT_EQ(Marked("a&nbsp;b"), "<SPAN>a</SPAN>\xA0<SPAN>b</SPAN>");
}

TEST(SpanMarkerTest, TextNeverBecomesMarkup) {
  EXPECT_EQ(Marked("&lt;img src=x onerror=alert(1)&gt;"),
            "&lt;<SPAN>img</SPAN> <SPAN>src</SPAN>=<SPAN>x</SPAN> <SPAN>onerror</SPAN>="
            "<SPAN>alert</SPAN>(1)&gt;");
  EXPECT_EQ(Marked("a &amp; b > c"), "<SPAN>a</SPAN> &amp; <SPAN>b</SPAN> &gt; <SPAN>c</SPAN>");
  EXPECT_EQ(Marked("&#60;script&#62;"), "&lt;<SPAN>script</SPAN>&gt;");
  // Text still pending at the end is text too.
  EXPECT_EQ(Marked("&lt;script&gt;x &amp"), "&lt;<SPAN>script</SPAN>&gt;<SPAN>x</SPAN> ");
  EXPECT_EQ(Marked("&lt;b&gt;<"), "&lt;<SPAN>b</SPAN>&gt;");
  EXPECT_EQ(Marked("x < img src=x onerror=alert(1)>"),
            "<SPAN>x</SPAN> &lt; <SPAN>img</SPAN> <SPAN>src</SPAN>=<SPAN>x</SPAN> "
            "<SPAN>onerror</SPAN>=<SPAN>alert</SPAN>(1)&gt;");
}

TEST(SpanMarkerTest, ANulByteEndsWhatATextRunWrites) {
  EXPECT_EQ(Marked(std::string("ab\0cd<p>e", 9)), "<SPAN>ab</SPAN><p><SPAN>e</SPAN>");
}

TEST(SpanMarkerTest, WritesTagsAgainInANormalForm) {
  EXPECT_EQ(Marked("<p class=x>"), "<p class=\"x\">");
  EXPECT_EQ(Marked("<input disabled><br/>"), "<input disabled=\"\"><br>");
  EXPECT_EQ(Marked("<a title='say \"hi\"'>"), "<a title='say \"hi\"'>");
  EXPECT_EQ(Marked("<a title=\"it's\">"), "<a title=\"it's\">");
  EXPECT_EQ(Marked("<a title='it\"s' x=\"y\">"), "<a title='it\"s' x=\"y\">");
  EXPECT_EQ(Marked("<a title=\"a\x93<img src=x onerror=alert(1)>\">"),
            "<a title='a\"<img src=x onerror=alert(1)>'>");
  // Both kinds of quote: double quotes, the inner ones as references.
  EXPECT_EQ(Marked("<a title=x'\"onclick=y>"), "<a title=\"x'&quot;onclick=y\">");
}

TEST(SpanMarkerTest, CopiesCommentsScriptsAndMarksStyleText) {
  EXPECT_EQ(Marked("<!-- a b --><script>a<b</script>"), "<!-- a b --><script>a<b</script>");
  EXPECT_EQ(Marked("<style>p{}</style>"), "<style><SPAN>p</SPAN>{}</style>");
}

TEST(SpanMarkerTest, MarkingTwiceWrapsAgain) {
  EXPECT_EQ(Marked(Marked("word")), "<SPAN><SPAN>word</SPAN></SPAN>");
}

}  // namespace
}  // namespace vordo
