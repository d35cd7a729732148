// Helpers that the Windows tests share.
#ifndef VORDO_TESTS_WINDOWS_TEST_SUPPORT_H_
#define VORDO_TESTS_WINDOWS_TEST_SUPPORT_H_

#include <windows.h>
#include <oleauto.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace vordo {

// The panel reads dic.bin beside the program it is linked into.
inline std::wstring DictionaryBesideProgram() {
  wchar_t path[MAX_PATH * 4];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring program(path, length);
  return program.substr(0, program.find_last_of(L"\\/") + 1) + L"dic.bin";
}

// Puts the sample dictionary that scripts/wine_tests.sh names there, unless
// a dictionary is there already (once opened, it stays mapped).
inline bool PutSampleDictionary() {
  const char* sample = std::getenv("VORDO_SAMPLE_DICTIONARY");
  if (sample == nullptr) return false;
  std::u16string path = NarrowToWide(sample);
  return CopyFileW(reinterpret_cast<const wchar_t*>(path.c_str()), DictionaryBesideProgram().c_str(), TRUE) ||
         GetLastError() == ERROR_FILE_EXISTS;
}

// A band address as a dispatch argument: the pointer's width, as the type
// library's LONG_PTR is on each architecture.
inline VARIANT AddressVariant(LONG_PTR address) {
  VARIANT value;
  VariantInit(&value);
  if (sizeof address == 8) {
    value.vt = VT_I8;
    value.llVal = address;
  } else {
    value.vt = VT_I4;
    value.lVal = static_cast<LONG>(address);
  }
  return value;
}

// Loads a copy of the DLL that VORDO_DLL names, from a folder of its own
// with the sample dictionary beside it as dic.bin, as the browser loads
// the module with its dictionary. Null if either cannot be put there.
inline HMODULE LoadModuleBesideSampleDictionary() {
  const char* dll = std::getenv("VORDO_DLL");
  const char* sample = std::getenv("VORDO_SAMPLE_DICTIONARY");
  if (dll == nullptr || sample == nullptr) return nullptr;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"vordo-module\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  std::u16string dll_path = NarrowToWide(dll);
  std::u16string sample_path = NarrowToWide(sample);
  if (!CopyFileW(reinterpret_cast<const wchar_t*>(dll_path.c_str()), (folder + L"vordo.dll").c_str(), FALSE) ||
      !CopyFileW(reinterpret_cast<const wchar_t*>(sample_path.c_str()), (folder + L"dic.bin").c_str(), FALSE)) {
    return nullptr;
  }
  return LoadLibraryW((folder + L"vordo.dll").c_str());
}

// Delivers the waiting messages for `milliseconds`, timers included.
inline void PumpFor(UINT milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    LONG left = static_cast<LONG>(end - GetTickCount());
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
  }
}

}  // namespace vordo

#endif  // VORDO_TESTS_WINDOWS_TEST_SUPPORT_H_
