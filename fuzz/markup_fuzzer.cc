// Feeds arbitrary bytes to the tokenizer in random pieces: the callbacks
// must be those of one Feed of the whole input, and the same on the path
// for callers that never stop. Then marks the input: the
// marked markup must hold the tags of the input and the SPANs added, and no
// other, so that no text turned into markup.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "page/span_marker.h"
#include "tests/recording_tokenizer.h"

namespace {

std::vector<std::string> TagsBesidesSpans(const std::vector<std::string>& events) {
  std::vector<std::string> tags;
  for (const std::string& event : events) {
    if (event.compare(0, 4, "tag:") != 0) continue;
    std::string name = event.substr(4, event.find(' ') == std::string::npos ? std::string::npos : event.find(' ') - 4);
    if (name != "SPAN" && name != "/SPAN") tags.push_back(name);
  }
  return tags;
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
  if (events != pieced.Tokenize(input, pieces)) std::abort();
  if (events != never_stopping.Tokenize(input, pieces)) std::abort();
  never_stopping.Tokenize(input);  // whole, to compare the progress reports too
  if (never_stopping.progress != whole.progress) std::abort();

  vordo::SpanMarker marker;
  std::string marked = marker.Rewrite(input);
  vordo::RecordingTokenizer again;
  if (TagsBesidesSpans(again.Tokenize(marked)) != TagsBesidesSpans(events)) std::abort();
  return 0;
}
