#include "page/span_marker.h"

#include <cstring>

#include "page/word_bytes.h"

namespace vordo {

std::string SpanMarker::Rewrite(std::string_view html) {
  output_.clear();
  output_.reserve(html.size() * 2);
  Reset();
  Feed(html.data(), html.size());
  Finish();
  return output_;
}

void SpanMarker::AppendEscaped(const char* begin, const char* end) {
  while (begin < end) {
    const char* p = begin;
    while (p < end && *p != '&' && *p != '<' && *p != '>') ++p;
    output_.append(begin, static_cast<size_t>(p - begin));
    if (p == end) return;
    output_.append(*p == '&' ? "&amp;" : *p == '<' ? "&lt;" : "&gt;");
    begin = p + 1;
  }
}

void SpanMarker::OnText(std::string text) {
  // The run ends at its first NUL, as a zero-terminated string would.
  const char* s = text.c_str();
  const char* end = s + std::strlen(s);
  while (s < end) {
    const char* q = s;
    while (q < end && !IsWordByte(static_cast<uint8_t>(*q))) ++q;
    AppendEscaped(s, q);
    if (q == end) return;
    const char* word = q;
    while (q < end && IsWordByte(static_cast<uint8_t>(*q))) ++q;
    output_.append("<SPAN>").append(word, static_cast<size_t>(q - word)).append("</SPAN>");
    s = q;
  }
}

void SpanMarker::OnTag(TagRecord& tag) {
  output_.push_back('<');
  output_.append(tag.name);
  for (size_t i = 0; i < tag.attributeNames.size(); ++i) {
    const std::string& value = tag.attributeValues[i];
    bool has_double = value.find('"') != std::string::npos;
    bool has_single = value.find('\'') != std::string::npos;
    output_.push_back(' ');
    output_.append(tag.attributeNames[i]).push_back('=');
    if (has_double && !has_single) {
      output_.append("'").append(value).append("'");
      continue;
    }
    // Double quotes; a value holding both kinds of quote has its double
    // quotes written as references, so that it cannot end early.
    output_.push_back('"');
    for (char c : value) {
      if (c == '"') {
        output_.append("&quot;");
      } else {
        output_.push_back(c);
      }
    }
    output_.push_back('"');
  }
  output_.push_back('>');
}

void SpanMarker::OnRaw(std::string raw) { output_.append(raw); }

void SpanMarker::OnProgress(unsigned) {}

bool SpanMarker::ShouldStop() { return false; }

}  // namespace vordo
