// WebAssembly has no files of its own: the extension fetches dic.bin and
// hands its bytes to DictionaryFile::OpenBytes.
#include "platform/platform.h"

#include <cstddef>

#include "platform/find_byte.h"

namespace vordo {

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
  data_ = nullptr;
  size_ = 0;
}

bool MappedFile::Open(const std::string&, std::string* error) {
  *error = "WebAssembly maps no files; the dictionary is opened from its bytes";
  return false;
}

std::string ModuleDirectory() { return std::string(); }

}  // namespace vordo

// WASI's C library searches a byte at a time; the whole module, libc++'s
// string searches included, takes the sixteen-byte search instead.
extern "C" void* memchr(const void* data, int byte, size_t length) {
  const char* begin = static_cast<const char*>(data);
  return const_cast<char*>(vordo::FindByte(begin, begin + length, static_cast<char>(byte)));
}
