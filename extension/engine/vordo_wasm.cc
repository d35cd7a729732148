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
#include "engine/lookup.h"
#include "engine/result_lines.h"
#include "markup/word_bytes.h"
#include "platform/platform.h"
#include "platform/utf8.h"
#include "platform/windows_1250.h"

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

// Looks up `length` code units of text at `query` in `encoding`, as the
// panel's input field hands text over (cut to 255 characters, trimmed), and
// returns the length of the answer in code units of the same encoding.
// Unknown encodings are read as UTF-16. Nothing is found before vordo_open.
VORDO_EXPORT(vordo_lookup) size_t VordoLookup(int32_t encoding, const void* query, size_t length) {
  std::string results;
  AppendResultLines(LookupFieldText(ProcessDictionary(), NarrowQuery(encoding, query, length)),
                    &results);
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

// The answer of the last vordo_lookup.
VORDO_EXPORT(vordo_answer) const void* VordoAnswer() {
  const Answer& answer = LastAnswer();
  return answer.wide.empty() ? static_cast<const void*>(answer.narrow.data())
                             : static_cast<const void*>(answer.wide.data());
}

// The characters that make up words on a page, as the marker reads them:
// 256 UTF-16 code units, the character of each word byte of Windows-1250,
// and 0 for the bytes that separate words.
VORDO_EXPORT(vordo_word_letters) const char16_t* VordoWordLetters() {
  static char16_t letters[256];
  for (int byte = 0; byte < 256; ++byte) {
    letters[byte] = IsWordByte(static_cast<uint8_t>(byte))
                        ? Windows1250ToUnicode(static_cast<uint8_t>(byte))
                        : char16_t{0};
  }
  return letters;
}
