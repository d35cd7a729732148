// The one place where the core meets the operating system: mapping a file
// read-only, finding the directory of the running module, and converting
// between narrow Windows-1250 text and UTF-16. Each function has a POSIX and
// a Win32 implementation (WebAssembly has a file-less one); everything else
// is portable.
#ifndef VORDO_PLATFORM_PLATFORM_H_
#define VORDO_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vordo {

// A whole file mapped read-only into memory. Owns the OS handles; the
// mapping lives until the object is destroyed.
class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the file at `path`. On failure returns false, leaves the object
  // unmapped and describes the reason in `error` (English, for people).
  bool Open(const std::string& path, std::string* error);

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  void Close();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  // The OS handles behind the view: the file and the mapping on Win32; on
  // POSIX the view alone keeps the file mapped.
  struct Handles {
    std::uintptr_t file = 0;
    std::uintptr_t mapping = 0;
  };
  Handles handles_;
};

// Directory of the running module (the DLL, or the executable), ending with
// its path separator; empty when the system cannot tell.
std::string ModuleDirectory();

// Narrow text is Windows-1250. Characters that have no Windows-1250 form
// become '?'.
std::u16string NarrowToWide(std::string_view narrow);
std::string WideToNarrow(std::u16string_view wide);

}  // namespace vordo

#endif  // VORDO_PLATFORM_PLATFORM_H_
