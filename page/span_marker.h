#ifndef VORDO_PAGE_SPAN_MARKER_H_
#define VORDO_PAGE_SPAN_MARKER_H_

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "page/html_tokenizer.h"

namespace vordo {

// Rewrites a page body's markup so that every word of its text stands in a
// <SPAN> of its own, for the hover lookup. Text stays text: the bytes '&',
// '<' and '>' of a text run, whether written so or decoded from a reference,
// are written back as references, so a page's text can never turn into
// markup. Tags are written again in a normal form; comments, declarations
// and scripts are copied.
class SpanMarker final : public HtmlTokenizer {
 public:
  // Marking never stops early.
  SpanMarker() : HtmlTokenizer(false) {}

  std::string Rewrite(std::string_view html);

 protected:
  void OnText(std::string text) override;
  void OnTag(TagRecord& tag) override;
  void OnRaw(std::string raw) override;
  void OnProgress(unsigned consumed) override;
  bool ShouldStop() override;

 private:
  // The output is written through a small chunk, so that most writes are
  // plain stores and the string grows once per chunk.
  static constexpr size_t kChunkSize = 4096;
  static constexpr size_t kExpectedGrowth = 3;

  void Room(size_t bytes) {
    if (used_ + bytes > kChunkSize) Flush();
  }
  void Put(char byte) { chunk_[used_++] = byte; }
  void Put(std::string_view bytes) {
    if (bytes.size() > kChunkSize) {
      PutLong(bytes);
      return;
    }
    Room(bytes.size());
    std::memcpy(chunk_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void PutLong(std::string_view bytes);
  void Flush();

  std::string output_;
  char chunk_[kChunkSize];
  size_t used_ = 0;
};

}  // namespace vordo

#endif  // VORDO_PAGE_SPAN_MARKER_H_
