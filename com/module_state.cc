#include "com/module_state.h"

namespace vordo {
namespace {

HINSTANCE g_instance = nullptr;
volatile LONG g_locks = 0;

}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

HINSTANCE ModuleInstance() { return g_instance; }

void LockModule() { InterlockedIncrement(&g_locks); }

void UnlockModule() { InterlockedDecrement(&g_locks); }

LONG ModuleLockCount() { return InterlockedCompareExchange(&g_locks, 0, 0); }

std::wstring ModulePathW() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(g_instance, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ModulePathA() {
  std::wstring wide = ModulePathW();
  if (wide.empty()) return std::string();
  int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0,
                                   nullptr, nullptr);
  std::string path(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &path[0], length, nullptr,
                      nullptr);
  return path;
}

}  // namespace vordo
