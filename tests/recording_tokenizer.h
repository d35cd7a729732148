#ifndef VORDO_TESTS_RECORDING_TOKENIZER_H_
#define VORDO_TESTS_RECORDING_TOKENIZER_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/html_tokenizer.h"

namespace vordo {

// Writes down every callback: "text:...", "tag:name a=v ...", "raw:...",
// and the progress counts and words apart.
class RecordingTokenizer : public HtmlTokenizer {
 public:
  // `asks_to_stop` false takes the tokenizer's path for callers that never
  // stop; the callbacks must be the same.
  explicit RecordingTokenizer(bool asks_to_stop = true) : HtmlTokenizer(asks_to_stop) {}

  std::vector<std::string> events;
  std::vector<unsigned> progress;
  std::vector<std::pair<size_t, size_t>> words;
  size_t stopAfter = static_cast<size_t>(-1);  // ShouldStop answers true after this many calls
  size_t stopCalls = 0;

  // Runs a whole document given in pieces of the sizes given (the rest in
  // one last piece).
  std::vector<std::string> Tokenize(std::string_view input, const std::vector<size_t>& pieces = {}) {
    events.clear();
    progress.clear();
    words.clear();
    Reset();
    size_t pos = 0;
    for (size_t piece : pieces) {
      size_t length = piece < input.size() - pos ? piece : input.size() - pos;
      Feed(input.data() + pos, length);
      pos += length;
    }
    Feed(input.data() + pos, input.size() - pos);
    Finish();
    return events;
  }

 protected:
  void OnText(std::string text) override { events.push_back("text:" + text); }
  void OnTag(TagRecord& tag) override {
    std::string event = "tag:" + tag.name;
    for (size_t i = 0; i < tag.attributeNames.size(); ++i) {
      event += " " + tag.attributeNames[i] + "=" + tag.attributeValues[i];
    }
    events.push_back(event);
  }
  void OnRaw(std::string raw) override { events.push_back("raw:" + raw); }
  void OnProgress(unsigned consumed) override { progress.push_back(consumed); }
  bool ShouldStop() override { return ++stopCalls > stopAfter; }
  void OnWord(size_t begin, size_t end) override { words.emplace_back(begin, end); }
};

}  // namespace vordo

#endif  // VORDO_TESTS_RECORDING_TOKENIZER_H_
