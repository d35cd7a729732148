// The engine's exports to JavaScript. The host copies dic.bin into memory
// from vordo_alloc, opens it once with vordo_open, and then looks queries up;
// the answer of the last lookup stays at vordo_answer until the next one.
//
// Text comes and goes in one of three encodings: Windows-1250 bytes (the
// engine's own), UTF-8 bytes, or UTF-16 code units. An answer holds a line
// per result: the score, a TAB and the head, then a TAB and each
// translation, and a line feed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "dictionary/dictionary_file.h"
#include "engine/answer.h"
#include "engine/completions.h"
#include "engine/czech_lookup.h"
#include "engine/lookup.h"
#include "engine/page_lookup.h"
#include "engine/result_lines.h"
#include "platform/platform.h"
#include "platform/utf8.h"

#define VORDO_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace vordo {
namespace {

enum Encoding : int32_t { kWindows1250 = 0, kUtf8 = 1, kUtf16 = 2 };

struct Answer {
  std::string narrow;  // Windows-1250 and UTF-8 answers
  std::u16string wide;
};

Answer& LastAnswer() {
  static Answer answer;
  return answer;
}

std::string& OpenError() {
  static std::string error;
  return error;
}

std::string NarrowQuery(int32_t encoding, const void* text, size_t length) {
  switch (encoding) {
    case kWindows1250:
      return std::string(static_cast<const char*>(text), length);
    case kUtf8:
      return Utf8ToNarrow(std::string_view(static_cast<const char*>(text), length));
    default:
      return WideToNarrow(std::u16string_view(static_cast<const char16_t*>(text), length));
  }
}

// Makes `results` the last answer, in `encoding`, and returns its length in
// code units of that encoding.
size_t SetAnswer(int32_t encoding, std::string results) {
  Answer& answer = LastAnswer();
  answer.wide.clear();
  answer.narrow.clear();
  switch (encoding) {
    case kWindows1250:
      answer.narrow = std::move(results);
      return answer.narrow.size();
    case kUtf8:
      answer.narrow = NarrowToUtf8(results);
      return answer.narrow.size();
    default:
      answer.wide = NarrowToWide(results);
      return answer.wide.size();
  }
}

}  // namespace
}  // namespace vordo

using namespace vordo;

VORDO_EXPORT(vordo_alloc) void* VordoAlloc(size_t size) { return std::malloc(size); }

VORDO_EXPORT(vordo_free) void VordoFree(void* block) { std::free(block); }

// Opens the dictionary in `size` bytes at `data`, which stay there for good.
// Returns 1 when it opened (or was open already), 0 when not: then
// vordo_open_error gives the reason, in English UTF-8, NUL-terminated.
VORDO_EXPORT(vordo_open) int32_t VordoOpen(const uint8_t* data, size_t size) {
  return ProcessDictionary().OpenBytes(data, size, &OpenError()) ? 1 : 0;
}

VORDO_EXPORT(vordo_open_error) const char* VordoOpenError() { return OpenError().c_str(); }

// Opens the Czech index (dic-cs.bin) in `size` bytes at `data`, which stay
// there for good. Returns 1 when it opened; without it, Czech queries find
// nothing.
VORDO_EXPORT(vordo_open_czech) int32_t VordoOpenCzech(const uint8_t* data, size_t size) {
  return ProcessCzechIndex().OpenBytes(data, size) ? 1 : 0;
}

// Looks up `length` code units of text at `query` in `encoding`, as the
// panel's input field hands text over (cut to 255 characters, trimmed), and
// returns the length of the answer in code units of the same encoding.
// Unknown encodings are read as UTF-16. Nothing is found before vordo_open.
VORDO_EXPORT(vordo_lookup) size_t VordoLookup(int32_t encoding, const void* query, size_t length) {
  std::string results;
  AppendResultLines(LookupFieldText(ProcessDictionary(), NarrowQuery(encoding, query, length)),
                    &results);
  return SetAnswer(encoding, std::move(results));
}

// Answers `length` code units of text at `query` in `encoding` as the
// extension's panel shows it: the results as vordo_lookup gives them, or,
// when the query finds nothing, a line on what was looked up instead ("~",
// TAB, the word), on reading it as Czech ("=", TAB, the query) or on words
// spelt like it ("?", then TAB and a word each) before the results.
// Returns the answer's length.
VORDO_EXPORT(vordo_answer_query) size_t VordoAnswerQuery(int32_t encoding, const void* query, size_t length) {
  std::string lines;
  AppendAnswerLines(
      AnswerFieldText(ProcessDictionary(), NarrowQuery(encoding, query, length), &ProcessCzechIndex()),
      &lines);
  return SetAnswer(encoding, std::move(lines));
}

// Looks up the word at code unit `at` of `length` code units of a page's
// text at `text` (UTF-16), as a rest of the mouse there. The answer, in
// UTF-16, starts with a line of the word looked up, the phrase whose
// entries come first (or nothing), and the code units where the word starts
// and ends in the text, TAB-separated; the lines of vordo_answer_query
// follow. Its length is returned.
VORDO_EXPORT(vordo_lookup_at) size_t VordoLookupAt(const char16_t* text, size_t length, size_t at) {
  PageLookup lookup =
      LookupPageWord(ProcessDictionary(), std::u16string_view(text, length), at, &ProcessCzechIndex());
  std::string answer = lookup.word + '\t' + lookup.phrase + '\t' + std::to_string(lookup.word_begin) +
                       '\t' + std::to_string(lookup.word_end) + '\n';
  AppendAnswerLines(lookup.answer, &answer);
  return SetAnswer(kUtf16, std::move(answer));
}

// Up to `limit` heads that start with `length` code units of text at
// `prefix` in `encoding`, a line each, for the field to offer while the
// reader types. Returns the answer's length.
VORDO_EXPORT(vordo_complete) size_t VordoComplete(int32_t encoding, const void* prefix, size_t length,
                                                  size_t limit) {
  std::string lines;
  for (const std::string& head : Completions(ProcessDictionary(), NarrowQuery(encoding, prefix, length), limit)) {
    lines += head;
    lines += '\n';
  }
  return SetAnswer(encoding, std::move(lines));
}

// The answer of the last vordo_lookup, vordo_answer_query, vordo_lookup_at or
// vordo_complete.
VORDO_EXPORT(vordo_answer) const void* VordoAnswer() {
  const Answer& answer = LastAnswer();
  return answer.wide.empty() ? static_cast<const void*>(answer.narrow.data())
                             : static_cast<const void*>(answer.wide.data());
}
