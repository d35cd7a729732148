#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"
#include "platform/windows_1250.h"

namespace vordo {

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
  if (data_ != nullptr) munmap(const_cast<uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

bool MappedFile::Open(const std::string& path, std::string* error) {
  Close();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0) {
    *error = std::strerror(errno);
    close(fd);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = "not a regular file";
    close(fd);
    return false;
  }
  if (info.st_size == 0) {
    *error = "the file is empty";
    close(fd);
    return false;
  }
  if (static_cast<unsigned long long>(info.st_size) > SIZE_MAX) {
    *error = "the file is too large to map";
    close(fd);
    return false;
  }
  size_t size = static_cast<size_t>(info.st_size);
  void* view = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
  int map_errno = errno;
  close(fd);  // the mapping keeps the file alive
  if (view == MAP_FAILED) {
    *error = std::strerror(map_errno);
    return false;
  }
  data_ = static_cast<const uint8_t*>(view);
  size_ = size;
  return true;
}

std::string ModuleDirectory() {
  char buffer[4096];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return std::string();
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::u16string NarrowToWide(std::string_view narrow) {
  std::u16string wide;
  wide.reserve(narrow.size());
  for (char c : narrow) wide.push_back(Windows1250ToUnicode(static_cast<uint8_t>(c)));
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
