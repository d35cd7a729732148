#ifndef VORDO_HOST_PNG_FILE_H_
#define VORDO_HOST_PNG_FILE_H_

#include <windows.h>

#include <string>

namespace vordo {

// Writes what `window` shows (client area, children included) to a PNG
// file, read with BitBlt from the window's device context.
bool SaveWindowPng(HWND window, const std::wstring& path);

}  // namespace vordo

#endif  // VORDO_HOST_PNG_FILE_H_
