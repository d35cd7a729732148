// Feeds arbitrary bytes to the tokenizer in random pieces: the callbacks,
// words included, must be those of one Feed of the whole input, and the same
// on the path for callers that never stop. Then marks the input as
// Windows-1250, which must give exactly the input with a SPAN around each
// word, and as UTF-8 and as UTF-16: deleting the SPANs must give the input
// back, and each SPAN must hold word characters only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "markup/span_marker.h"
#include "markup/word_bytes.h"
#include "tests/recording_tokenizer.h"

namespace {

constexpr std::string_view kOpen = "<SPAN>";
constexpr std::string_view kClose = "</SPAN>";

// The input again, if `marked` is the input with balanced SPANs inserted.
template <typename Char, typename IsWordChar>
std::basic_string<Char> Unmarked(const std::basic_string<Char>& marked, IsWordChar is_word_char) {
  const std::basic_string<Char> open(kOpen.begin(), kOpen.end());
  const std::basic_string<Char> close(kClose.begin(), kClose.end());
  std::basic_string<Char> input;
  size_t pos = 0;
  for (;;) {
    size_t at = marked.find(open, pos);
    input.append(marked, pos, at == std::string::npos ? std::string::npos : at - pos);
    if (at == std::string::npos) return input;
    size_t word = at + open.size();
    size_t end = marked.find(close, word);
    if (end == std::string::npos || end == word) std::abort();
    for (size_t i = word; i < end; ++i) {
      if (!is_word_char(marked, i)) std::abort();
    }
    input.append(marked, word, end - word);
    pos = end + close.size();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint32_t seed = data[0];  // chooses the piece sizes
  std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<size_t> pieces;
  for (size_t covered = 0; covered < input.size();) {
    seed = seed * 1103515245u + 12345u;
    size_t piece = 1 + (seed >> 16) % 7;
    pieces.push_back(piece);
    covered += piece;
  }
  vordo::RecordingTokenizer whole;
  vordo::RecordingTokenizer pieced;
  vordo::RecordingTokenizer never_stopping(false);
  std::vector<std::string> events = whole.Tokenize(input);
  if (events != pieced.Tokenize(input, pieces) || whole.words != pieced.words) std::abort();
  if (events != never_stopping.Tokenize(input, pieces) || whole.words != never_stopping.words) {
    std::abort();
  }
  never_stopping.Tokenize(input);  // whole, to compare the progress reports too
  if (never_stopping.progress != whole.progress) std::abort();

  vordo::SpanMarker marker;
  std::string text(input);
  // A SPAN holds word bytes, and references that a browser decodes.
  auto narrow_word = [](const std::string& s, size_t i) {
    uint8_t c = static_cast<uint8_t>(s[i]);
    return vordo::IsWordByte(c) || c == '&' || c == ';' || c == '#' || (c >= '0' && c <= '9');
  };
  // Windows-1250: exactly the input with a SPAN around each word reported.
  std::string expected;
  size_t copied = 0;
  for (const auto& [begin, end] : whole.words) {
    if (begin < copied || end <= begin || end > text.size()) std::abort();
    for (size_t i = begin; i < end; ++i) {
      if (!narrow_word(text, i)) std::abort();
    }
    expected.append(text, copied, begin - copied).append(kOpen).append(text, begin, end - begin).append(kClose);
    copied = end;
  }
  expected.append(text, copied);
  if (marker.Rewrite(input) != expected) std::abort();
  // Text that holds SPAN tags of its own cannot be told from the inserted ones.
  if (input.find("SPAN>") != std::string_view::npos) return 0;
  auto utf8_word = [&](const std::string& s, size_t i) {
    return narrow_word(s, i) || static_cast<uint8_t>(s[i]) >= 0x80;
  };
  if (Unmarked(marker.RewriteUtf8(input), utf8_word) != text) std::abort();
  std::u16string wide;
  for (size_t i = 0; i + 1 < input.size(); i += 2) {
    wide.push_back(static_cast<char16_t>(static_cast<uint8_t>(input[i]) |
                                         (static_cast<uint8_t>(input[i + 1]) << 8)));
  }
  auto wide_word = [&](const std::u16string& s, size_t i) {
    char16_t c = s[i];
    return c >= 0x80 || narrow_word(std::string(1, static_cast<char>(c)), 0);
  };
  if (Unmarked(marker.RewriteUtf16(wide), wide_word) != wide) std::abort();
  return 0;
}
