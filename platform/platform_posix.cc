#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform.h"

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

}  // namespace vordo
