#include <windows.h>

#include <string>

#include "platform/platform.h"

namespace vordo {
namespace {

constexpr UINT kNarrowCodePage = 1250;

std::string LastErrorText() {
  DWORD code = GetLastError();
  char* message = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<char*>(&message),
      0, nullptr);
  std::string text = length > 0 ? std::string(message, length) : "error " + std::to_string(code);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

MappedFile::~MappedFile() { Close(); }

void MappedFile::Close() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  if (handles_.mapping != 0) CloseHandle(reinterpret_cast<HANDLE>(handles_.mapping));
  if (handles_.file != 0) CloseHandle(reinterpret_cast<HANDLE>(handles_.file));
  data_ = nullptr;
  size_ = 0;
  handles_.mapping = 0;
  handles_.file = 0;
}

bool MappedFile::Open(const std::string& path, std::string* error) {
  Close();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = LastErrorText();
    return false;
  }
  handles_.file = reinterpret_cast<std::uintptr_t>(file);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    *error = LastErrorText();
    Close();
    return false;
  }
  if (size.QuadPart == 0) {
    *error = "the file is empty";
    Close();
    return false;
  }
  if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX) {
    *error = "the file is too large to map";
    Close();
    return false;
  }
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (mapping == nullptr) {
    *error = LastErrorText();
    Close();
    return false;
  }
  handles_.mapping = reinterpret_cast<std::uintptr_t>(mapping);
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) {
    *error = LastErrorText();
    Close();
    return false;
  }
  data_ = static_cast<const uint8_t*>(view);
  size_ = static_cast<size_t>(size.QuadPart);
  return true;
}

std::string ModuleDirectory() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCSTR>(&ModuleDirectory), &module)) {
    return std::string();
  }
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(module, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
  size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::u16string NarrowToWide(std::string_view narrow) {
  if (narrow.empty()) return std::u16string();
  int length = MultiByteToWideChar(kNarrowCodePage, 0, narrow.data(),
                                   static_cast<int>(narrow.size()), nullptr, 0);
  std::u16string wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(kNarrowCodePage, 0, narrow.data(), static_cast<int>(narrow.size()),
                      reinterpret_cast<wchar_t*>(&wide[0]), length);
  return wide;
}

std::string WideToNarrow(std::u16string_view wide) {
  if (wide.empty()) return std::string();
  const wchar_t* source = reinterpret_cast<const wchar_t*>(wide.data());
  int source_length = static_cast<int>(wide.size());
  int length = WideCharToMultiByte(kNarrowCodePage, WC_NO_BEST_FIT_CHARS, source, source_length,
                                   nullptr, 0, "?", nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kNarrowCodePage, WC_NO_BEST_FIT_CHARS, source, source_length, &narrow[0],
                      length, "?", nullptr);
  return narrow;
}

}  // namespace vordo
