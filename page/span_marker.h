#ifndef VORDO_PAGE_SPAN_MARKER_H_
#define VORDO_PAGE_SPAN_MARKER_H_

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
  std::string Rewrite(std::string_view html);

 protected:
  void OnText(std::string text) override;
  void OnTag(TagRecord& tag) override;
  void OnRaw(std::string raw) override;
  void OnProgress(unsigned consumed) override;
  bool ShouldStop() override;

 private:
  void AppendEscaped(const char* begin, const char* end);

  std::string output_;
};

}  // namespace vordo

#endif  // VORDO_PAGE_SPAN_MARKER_H_
