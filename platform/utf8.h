#ifndef VORDO_PLATFORM_UTF8_H_
#define VORDO_PLATFORM_UTF8_H_

#include <string>
#include <string_view>

namespace vordo {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::u16string_view wide);

// UTF-8 and Windows-1250 through UTF-16, as the browser boundary converts.
std::string Utf8ToNarrow(std::string_view utf8);
std::string NarrowToUtf8(std::string_view narrow);

}  // namespace vordo

#endif  // VORDO_PLATFORM_UTF8_H_
