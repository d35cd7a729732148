// WebAssembly has no files of its own: the extension fetches dic.bin and
// hands its bytes to DictionaryFile::OpenBytes.
#include "platform/platform.h"

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
