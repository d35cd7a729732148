#include "markup/span_marker.h"

#include <algorithm>
#include <cstring>

#include "markup/character_references.h"
#include "platform/find_byte.h"

namespace vordo {
namespace {

// UTF-16 code units narrowed for the tokenizer at a time.
constexpr size_t kReadChunk = 4096;
// ASCII, most of any page, is one byte a character in UTF-8 and the same
// byte in Windows-1250: it goes to the tokenizer as it is.
constexpr unsigned kFirstNonAscii = 0x80;

// The length of the UTF-8 character at text[pos] and what it is; a byte
// that starts no valid sequence is one character of its own, U+FFFD.
size_t Utf8Character(std::string_view text, size_t pos, char32_t* character) {
  uint8_t lead = static_cast<uint8_t>(text[pos]);
  if (lead < 0x80) {
    *character = lead;
    return 1;
  }
  size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                  : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  char32_t value = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
  bool valid = length != 0 && pos + length <= text.size();
  for (size_t i = 1; valid && i < length; ++i) {
    uint8_t next = static_cast<uint8_t>(text[pos + i]);
    valid = (next & 0xC0) == 0x80;
    value = (value << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (!valid || value < kSmallest[length] || (value >= 0xD800 && value <= 0xDFFF) ||
      value > 0x10FFFF) {
    *character = 0xFFFD;
    return 1;
  }
  *character = value;
  return length;
}

template <typename Char>
constexpr Char kOpenSpan[] = {'<', 'S', 'P', 'A', 'N', '>'};
template <typename Char>
constexpr Char kCloseSpan[] = {'<', '/', 'S', 'P', 'A', 'N', '>'};

// Copies the source into an output of the exact size with a SPAN around
// each word, given by source offsets in order.
template <typename Char>
class SpanInserter {
 public:
  SpanInserter(std::basic_string_view<Char> source, Char* output)
      : source_(source), output_(output) {}

  void Word(size_t begin, size_t end) {
    Put(source_.data() + copied_, begin - copied_);
    Put(kOpenSpan<Char>, std::size(kOpenSpan<Char>));
    Put(source_.data() + begin, end - begin);
    Put(kCloseSpan<Char>, std::size(kCloseSpan<Char>));
    copied_ = end;
  }

  void Finish() { Put(source_.data() + copied_, source_.size() - copied_); }

 private:
  // Most pieces are a word or the few bytes between two words: those are
  // copied inline, two overlapping loads and stores, not by a call.
  void Put(const Char* data, size_t length) {
    size_t bytes = length * sizeof(Char);
    char* to = reinterpret_cast<char*>(output_);
    const char* from = reinterpret_cast<const char*>(data);
    if (bytes > 16) {
      std::memcpy(to, from, bytes);
    } else if (bytes >= 8) {
      CopyOverlapping<uint64_t>(to, from, bytes);
    } else if (bytes >= 4) {
      CopyOverlapping<uint32_t>(to, from, bytes);
    } else if (bytes > 0) {
      to[0] = from[0];
      to[bytes / 2] = from[bytes / 2];
      to[bytes - 1] = from[bytes - 1];
    }
    output_ += length;
  }

  // Copies 1 to 2 words' worth: the first and the last word, which overlap.
  template <typename Word>
  static void CopyOverlapping(char* to, const char* from, size_t bytes) {
    Word first;
    Word last;
    std::memcpy(&first, from, sizeof(Word));
    std::memcpy(&last, from + bytes - sizeof(Word), sizeof(Word));
    std::memcpy(to, &first, sizeof(Word));
    std::memcpy(to + bytes - sizeof(Word), &last, sizeof(Word));
  }

  std::basic_string_view<Char> source_;
  Char* output_;
  size_t copied_ = 0;
};

}  // namespace

template <typename Char, typename FeedAll>
std::basic_string<Char> SpanMarker::Mark(std::basic_string_view<Char> html, FeedAll feed_all) {
  if (html.size() > UINT32_MAX) return std::basic_string<Char>(html);
  words_.clear();
  Reset();
  feed_all();
  Finish();
  std::basic_string<Char> output(
      html.size() + words_.size() * (std::size(kOpenSpan<Char>) + std::size(kCloseSpan<Char>)),
      Char{});
  SpanInserter<Char> inserter(html, output.data());
  for (const WordRange& word : words_) inserter.Word(word.begin, word.end);
  inserter.Finish();
  std::deque<WordRange>().swap(words_);
  return output;
}

std::string SpanMarker::Rewrite(std::string_view html) {
  return Mark<char>(html, [&] { Feed(html.data(), html.size()); });
}

std::u16string SpanMarker::RewriteUtf16(std::u16string_view html) {
  return Mark<char16_t>(html, [&] { FeedUtf16(html); });
}

std::string SpanMarker::RewriteUtf8(std::string_view html) {
  return Mark<char>(html, [&] { FeedUtf8(html); });
}

void SpanMarker::FeedUtf16(std::u16string_view html) {
  char bytes[kReadChunk];
  for (size_t pos = 0; pos < html.size();) {
    size_t count = std::min(kReadChunk, html.size() - pos);
    const char16_t* units = html.data() + pos;
    // Mostly ASCII: a loop the compiler narrows many units at a time, and
    // the few others looked up afterwards.
    unsigned above_ascii = 0;
    for (size_t i = 0; i < count; ++i) {
      bytes[i] = static_cast<char>(units[i]);
      above_ascii |= units[i] & ~(kFirstNonAscii - 1);
    }
    if (above_ascii != 0) {
      for (size_t i = 0; i < count; ++i) {
        if (units[i] >= kFirstNonAscii) bytes[i] = static_cast<char>(MarkupByteOf(units[i]));
      }
    }
    Feed(bytes, count);
    pos += count;
  }
}

void SpanMarker::FeedUtf8(std::string_view html) {
  const char* end = html.data() + html.size();
  for (const char* pos = html.data(); pos < end;) {
    const char* ascii_end = FindNonAscii(pos, end);
    if (ascii_end > pos) Feed(pos, static_cast<size_t>(ascii_end - pos));
    if (ascii_end == end) return;
    char32_t character;
    size_t length = Utf8Character(html, static_cast<size_t>(ascii_end - html.data()), &character);
    char byte = static_cast<char>(MarkupByteOf(character));
    Feed(&byte, 1);
    if (length > 1) WidenLastCharacter(length - 1);
    pos = ascii_end + length;
  }
}

void SpanMarker::OnText(std::string) {}

void SpanMarker::OnTag(TagRecord&) {}

void SpanMarker::OnRaw(std::string) {}

void SpanMarker::OnProgress(unsigned) {}

bool SpanMarker::ShouldStop() { return false; }

void SpanMarker::OnWord(size_t begin, size_t end) {
  words_.push_back(WordRange{static_cast<uint32_t>(begin), static_cast<uint32_t>(end)});
}

}  // namespace vordo
