// Helpers that the Windows tests share.
#ifndef VORDO_TESTS_WINDOWS_TEST_SUPPORT_H_
#define VORDO_TESTS_WINDOWS_TEST_SUPPORT_H_

#include <windows.h>

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
