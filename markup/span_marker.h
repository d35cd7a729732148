#ifndef VORDO_MARKUP_SPAN_MARKER_H_
#define VORDO_MARKUP_SPAN_MARKER_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "markup/html_tokenizer.h"

namespace vordo {

// Puts every word of a page body's text in a <SPAN> of its own, for the
// hover lookup. Marking only inserts: the output is the input with "<SPAN>"
// and "</SPAN>" around each word and not one character changed, so that
// deleting them gives the input back. Tags, references, comments and raw
// element content are never touched, and no SPAN goes inside them.
//
// The tokenizer reads one byte per character. Narrow markup is read as it
// is; UTF-8 and the browser's UTF-16 are read through MarkupByteOf, one byte
// per character or code unit (ASCII, most of any page, passes as it is), and
// the SPANs go into the original text, so that no character of the page is
// ever converted.
//
// The words are found first and the output written at its exact size
// afterwards, so that marking never holds more than the output and the
// words' offsets. Markup of 4 GiB or more is returned unmarked.
class SpanMarker final : public HtmlTokenizer {
 public:
  // Marking never stops early, and needs the words alone.
  SpanMarker() : HtmlTokenizer(false, false) {}

  // Windows-1250 markup.
  std::string Rewrite(std::string_view html);
  // UTF-8 markup: each character is read as one byte; a byte that starts no
  // valid sequence is a character of its own.
  std::string RewriteUtf8(std::string_view html);
  // The browser's UTF-16 markup: each code unit is read as one byte, so a
  // surrogate pair is two bytes that belong to no word.
  std::u16string RewriteUtf16(std::u16string_view html);

 protected:
  void OnText(std::string text) override;
  void OnTag(TagRecord& tag) override;
  void OnRaw(std::string raw) override;
  void OnProgress(unsigned consumed) override;
  bool ShouldStop() override;
  void OnWord(size_t begin, size_t end) override;

 private:
  // Finds the words with `feed_all`, which feeds the whole of `html`, and
  // writes `html` again with their SPANs.
  template <typename Char, typename FeedAll>
  std::basic_string<Char> Mark(std::basic_string_view<Char> html, FeedAll feed_all);
  // Each character or code unit as one byte; ASCII as it is.
  void FeedUtf16(std::u16string_view html);
  // ASCII as it is, each other character as one byte widened to its
  // sequence's length, so that offsets stay those of the source.
  void FeedUtf8(std::string_view html);

  // Input offsets of the words, in order; a deque, so that it grows
  // without copying.
  struct WordRange {
    uint32_t begin;
    uint32_t end;
  };
  std::deque<WordRange> words_;
};

}  // namespace vordo

#endif  // VORDO_MARKUP_SPAN_MARKER_H_
