// vordo-panel: shows the dictionary panel without the browser. A resizable
// window plays the browser's bar site and hosts the band from vordo.dll
// beside this program, which reads dic.bin beside itself.
//
// Usage: vordo-panel.exe [--query TEXT] [--png FILE] [--size WIDTHxHEIGHT]
//   --query  types TEXT into the input field and presses Enter
//   --png    saves the window to FILE once it is drawn, and quits
#include <windows.h>
#include <ocidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "com/com_ref.h"
#include "com/vordo_idl.h"
#include "host/bar_site.h"
#include "host/png_file.h"

namespace vordo {
namespace {

constexpr wchar_t kWindowClass[] = L"VordoPanelHost";
constexpr wchar_t kTitle[] = L"Vordo";
constexpr int kEditId = 1001;
constexpr UINT kSettleMilliseconds = 700;
constexpr UINT_PTR kCaptureTimer = 1;

struct Options {
  std::wstring query;
  std::wstring png;
  int width = 300;
  int height = 600;
};

struct Host {
  HWND window = nullptr;
  HWND band_window = nullptr;
  Options options;
  ComRef<IInputObject> input;
};

Host g_host;

bool ParseOptions(int argc, wchar_t** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::wstring name = argv[i];
    if (i + 1 >= argc) return false;
    std::wstring value = argv[++i];
    if (name == L"--query") {
      options->query = value;
    } else if (name == L"--png") {
      options->png = value;
    } else if (name == L"--size") {
      if (std::swscanf(value.c_str(), L"%dx%d", &options->width, &options->height) != 2) return false;
    } else {
      return false;
    }
  }
  return true;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (g_host.band_window != nullptr) {
        MoveWindow(g_host.band_window, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      }
      return 0;
    case WM_TIMER:
      KillTimer(window, kCaptureTimer);
      if (!SaveWindowPng(window, g_host.options.png)) std::fwprintf(stderr, L"vordo-panel: cannot write the PNG\n");
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// The band from vordo.dll beside this program, through its class object.
HRESULT CreateBand(IUnknown** band) {
  wchar_t path[MAX_PATH * 4];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return E_FAIL;
  std::wstring dll(path, length);
  dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"vordo.dll";
  HMODULE module = LoadLibraryW(dll.c_str());
  if (module == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  if (get == nullptr) return E_FAIL;
  ComRef<IClassFactory> factory;
  HRESULT result = get(CLSID_DicBand, IID_IClassFactory, factory.OutVoid());
  if (FAILED(result)) return result;
  return factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(band));
}

void TypeQuery(const std::wstring& query) {
  HWND combo = FindWindowExW(g_host.band_window, nullptr, L"ComboBox", nullptr);
  HWND edit = combo == nullptr ? nullptr : GetDlgItem(combo, kEditId);
  if (edit == nullptr) return;
  SetWindowTextW(edit, query.c_str());
  SendMessageW(edit, WM_CHAR, VK_RETURN, 0);
}

int Run(int argc, wchar_t** argv) {
  if (!ParseOptions(argc, argv, &g_host.options)) {
    std::fwprintf(stderr, L"usage: vordo-panel.exe [--query TEXT] [--png FILE] [--size WIDTHxHEIGHT]\n");
    return 2;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = HostWindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = kWindowClass;
  RegisterClassW(&window_class);
  RECT frame = {0, 0, g_host.options.width, g_host.options.height};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  g_host.window = CreateWindowExW(0, kWindowClass, kTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  instance, nullptr);
  ComRef<IUnknown> band;
  HRESULT result = CreateBand(band.Out());
  if (FAILED(result)) {
    std::fwprintf(stderr, L"vordo-panel: cannot create the panel from vordo.dll (0x%08lX)\n",
                  static_cast<unsigned long>(result));
    return 1;
  }
  BarSiteState state = {};
  state.window = g_host.window;
  ComRef<IUnknown> site;
  *site.Out() = CreateBarSite(kBarSiteEverything, &state);
  ComRef<IObjectWithSite> with_site;
  ComRef<IDeskBand> desk_band;
  band->QueryInterface(IID_IObjectWithSite, with_site.OutVoid());
  band->QueryInterface(IID_IDeskBand, desk_band.OutVoid());
  band->QueryInterface(IID_IInputObject, g_host.input.OutVoid());
  if (!with_site || !desk_band || !g_host.input || FAILED(with_site->SetSite(site.get()))) {
    std::fwprintf(stderr, L"vordo-panel: the panel refused its site\n");
    return 1;
  }
  desk_band->GetWindow(&g_host.band_window);
  desk_band->ShowDW(TRUE);
  ShowWindow(g_host.window, SW_SHOW);
  RECT client;
  GetClientRect(g_host.window, &client);
  MoveWindow(g_host.band_window, 0, 0, client.right, client.bottom, TRUE);
  g_host.input->UIActivateIO(TRUE, nullptr);
  if (!g_host.options.query.empty()) TypeQuery(g_host.options.query);
  if (!g_host.options.png.empty()) SetTimer(g_host.window, kCaptureTimer, kSettleMilliseconds, nullptr);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Keys go to the panel as the browser hands them to a band with focus.
    bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (key && g_host.input->HasFocusIO() == S_OK) {
      g_host.input->TranslateAcceleratorIO(&message);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  desk_band->CloseDW(0);
  with_site->SetSite(nullptr);
  return 0;
}

}  // namespace
}  // namespace vordo

int wmain(int argc, wchar_t** argv) {
  OleInitialize(nullptr);
  int status = vordo::Run(argc, argv);
  OleUninitialize();
  return status;
}
