// Windows-1250 text conversion for the systems that have no code page of
// their own for it: POSIX and WebAssembly.
#include "platform/platform.h"
#include "platform/windows_1250.h"

namespace vordo {

std::u16string NarrowToWide(std::string_view narrow) {
  // One unit a byte: sized once, then filled, without a check a byte.
  std::u16string wide(narrow.size(), u'\0');
  for (size_t i = 0; i < narrow.size(); ++i) {
    wide[i] = Windows1250ToUnicode(static_cast<uint8_t>(narrow[i]));
  }
  return wide;
}

std::string WideToNarrow(std::u16string_view wide) {
  std::string narrow;
  narrow.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char16_t unit = wide[i];
    // A surrogate pair is one character, and none has a Windows-1250 form.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      ++i;
      narrow.push_back('?');
      continue;
    }
    int byte = UnicodeToWindows1250(unit);
    narrow.push_back(byte < 0 ? '?' : static_cast<char>(byte));
  }
  return narrow;
}

}  // namespace vordo
