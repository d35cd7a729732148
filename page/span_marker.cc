#include "page/span_marker.h"

#include <cstring>
#include <utility>

#include "page/word_bytes.h"

namespace vordo {
namespace {

constexpr std::string_view kOpenSpan = "<SPAN>";
constexpr std::string_view kCloseSpan = "</SPAN>";

}  // namespace

std::string SpanMarker::Rewrite(std::string_view html) {
  // Marked pages are two to three times their markup; room that is never
  // written costs no memory, while growing would copy the whole output.
  output_.clear();
  output_.reserve(html.size() * kExpectedGrowth);
  used_ = 0;
  Reset();
  Feed(html.data(), html.size());
  Finish();
  Flush();
  return std::move(output_);
}

void SpanMarker::PutLong(std::string_view bytes) {
  Flush();
  output_.append(bytes);
}

void SpanMarker::Flush() {
  output_.append(chunk_, used_);
  used_ = 0;
}

void SpanMarker::OnText(std::string text) {
  // The run ends at its first NUL, as a zero-terminated string would; NUL
  // is not a word byte, so every scan below stops there.
  const char* p = text.c_str();
  while (*p != '\0') {
    const char* start = p;
    if (IsWordByte(static_cast<uint8_t>(*p))) {
      while (IsWordByte(static_cast<uint8_t>(*p))) ++p;
      Put(kOpenSpan);
      Put(std::string_view(start, static_cast<size_t>(p - start)));
      Put(kCloseSpan);
      continue;
    }
    while (*p != '\0' && !IsWordByte(static_cast<uint8_t>(*p)) && *p != '&' && *p != '<' && *p != '>') ++p;
    Put(std::string_view(start, static_cast<size_t>(p - start)));
    switch (*p) {
      case '&': Put("&amp;"); ++p; break;
      case '<': Put("&lt;"); ++p; break;
      case '>': Put("&gt;"); ++p; break;
      default: break;
    }
  }
}

void SpanMarker::OnTag(TagRecord& tag) {
  Put("<");
  Put(tag.name);
  for (size_t i = 0; i < tag.attributeNames.size(); ++i) {
    const std::string& value = tag.attributeValues[i];
    bool has_double = value.find('"') != std::string::npos;
    bool has_single = value.find('\'') != std::string::npos;
    Put(" ");
    Put(tag.attributeNames[i]);
    if (has_double && !has_single) {
      Put("='");
      Put(value);
      Put("'");
      continue;
    }
    // Double quotes; a value holding both kinds of quote has its double
    // quotes written as references, so that it cannot end early.
    Put("=\"");
    for (char c : value) {
      if (c == '"') {
        Put("&quot;");
      } else {
        Room(1);
        Put(c);
      }
    }
    Put("\"");
  }
  Put(">");
}

void SpanMarker::OnRaw(std::string raw) { Put(raw); }

void SpanMarker::OnProgress(unsigned) {}

bool SpanMarker::ShouldStop() { return false; }

}  // namespace vordo
