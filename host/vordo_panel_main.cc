// vordo-panel: shows the dictionary panel without the browser. A resizable
// window plays the browser's bar site and hosts the band from vordo.dll
// beside this program, which reads dic.bin beside itself. Beside the panel
// stands a small test page: a document double (host/dom_doubles.h) that the
// band marks and hooks as it would the browser's page, drawn word by word;
// resting the mouse on a word looks it up. It is no browser: no HTML is
// laid out, the page's words are simply drawn in a row.
//
// Usage: vordo-panel.exe [--query TEXT] [--hover WORD] [--png FILE] [--size WIDTHxHEIGHT]
//   --query  types TEXT into the input field and presses Enter
//   --hover  rests the mouse on WORD of the test page
//   --png    saves the window to FILE once it is drawn, and quits
#include <windows.h>
#include <ocidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "com/com_ref.h"
#include "com/vordo_idl.h"
#include "host/bar_site.h"
#include "host/dom_doubles.h"
#include "host/png_file.h"

namespace vordo {
namespace {

constexpr wchar_t kWindowClass[] = L"VordoPanelHost";
constexpr wchar_t kPageClass[] = L"VordoTestPage";
constexpr int kPanelWidth = 300;
constexpr int kPageMargin = 12;
constexpr wchar_t kTestPage[] =
    L"<h1>A page to hover</h1><p>Rest the mouse on a word of this page for a moment, and the panel "
    L"shows its translations: house, look, dog, water, beautiful, running, children.</p>";
constexpr wchar_t kTitle[] = L"Vordo";
constexpr int kEditId = 1001;
constexpr UINT kSettleMilliseconds = 700;
constexpr UINT_PTR kCaptureTimer = 1;

struct Options {
  std::wstring query;
  std::wstring hover;
  std::wstring png;
  int width = 700;
  int height = 600;
};

struct Host {
  HWND window = nullptr;
  HWND band_window = nullptr;
  HWND page_window = nullptr;
  DomDocument* page = nullptr;
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
    } else if (name == L"--hover") {
      options->hover = value;
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

// Where each word of the test page is drawn: its leaf and its rectangle.
struct PlacedWord {
  DomElement* leaf;
  RECT rect;
};

std::vector<PlacedWord> LayOutPage(HDC dc, int width) {
  std::vector<PlacedWord> words;
  int x = kPageMargin, y = kPageMargin;
  SIZE space;
  GetTextExtentPoint32W(dc, L" ", 1, &space);
  for (int i = 0; DomElement* leaf = DomLeaf(g_host.page, i); ++i) {
    BSTR text = DomElementText(leaf);
    SIZE size;
    GetTextExtentPoint32W(dc, text, static_cast<int>(SysStringLen(text)), &size);
    SysFreeString(text);
    if (x + size.cx > width - kPageMargin && x > kPageMargin) {
      x = kPageMargin;
      y += size.cy + 4;
    }
    words.push_back({leaf, {x, y, x + size.cx, y + size.cy}});
    x += size.cx + space.cx;
  }
  return words;
}

std::vector<PlacedWord> PlacedWords(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  std::vector<PlacedWord> words = LayOutPage(dc, client.right);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return words;
}

void PaintPage(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (const PlacedWord& word : LayOutPage(dc, client.right)) {
    BSTR text = DomElementText(word.leaf);
    TextOutW(dc, word.rect.left, word.rect.top, text, static_cast<int>(SysStringLen(text)));
    SysFreeString(text);
  }
  SelectObject(dc, previous);
  EndPaint(window, &paint);
}

// A mouse move over the page: the document calls the handler of the word
// under the mouse, with the mouse's screen position in the event.
void MoveOverPage(HWND window, POINT point) {
  POINT screen = point;
  ClientToScreen(window, &screen);
  DomElement* under = nullptr;
  for (const PlacedWord& word : PlacedWords(window)) {
    if (PtInRect(&word.rect, point)) under = word.leaf;
  }
  DomMouseMove(g_host.page, under, screen.x, screen.y);
}

LRESULT CALLBACK PageWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      PaintPage(window);
      return 0;
    case WM_MOUSEMOVE:
      MoveOverPage(window, POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

// Rests the real cursor on the word, as a person would.
void HoverWord(const std::wstring& wanted) {
  for (const PlacedWord& word : PlacedWords(g_host.page_window)) {
    BSTR text = DomElementText(word.leaf);
    bool found = wanted == text;
    SysFreeString(text);
    if (!found) continue;
    POINT point = {(word.rect.left + word.rect.right) / 2, (word.rect.top + word.rect.bottom) / 2};
    POINT screen = point;
    ClientToScreen(g_host.page_window, &screen);
    SetCursorPos(screen.x, screen.y);
    MoveOverPage(g_host.page_window, point);
    return;
  }
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE: {
      int width = LOWORD(lparam), height = HIWORD(lparam);
      int panel = width < 2 * kPanelWidth ? width / 2 : kPanelWidth;
      if (g_host.band_window != nullptr) MoveWindow(g_host.band_window, 0, 0, panel, height, TRUE);
      if (g_host.page_window != nullptr) MoveWindow(g_host.page_window, panel, 0, width - panel, height, TRUE);
      return 0;
    }
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
// The band makes its document sinks through COM: the DLL's class object for
// them is registered for this process alone, so nothing is written to the
// registry.
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
  ComRef<IClassFactory> sinks;
  DWORD cookie = 0;
  if (FAILED(get(CLSID_EvtHandler, IID_IClassFactory, sinks.OutVoid())) ||
      FAILED(CoRegisterClassObject(CLSID_EvtHandler, sinks.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                   &cookie))) {
    std::fwprintf(stderr, L"vordo-panel: no automatic search: the sinks' class is not available\n");
  }
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
    std::fwprintf(stderr, L"usage: vordo-panel.exe [--query TEXT] [--hover WORD] [--png FILE] [--size WIDTHxHEIGHT]\n");
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
  WNDCLASSW page_class = {};
  page_class.lpfnWndProc = PageWindowProc;
  page_class.hInstance = instance;
  page_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  page_class.lpszClassName = kPageClass;
  RegisterClassW(&page_class);
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
  g_host.page_window = CreateWindowExW(WS_EX_CLIENTEDGE, kPageClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1,
                                       g_host.window, nullptr, instance, nullptr);
  g_host.page = CreateDomDocument(0);
  DomSetBodyHtml(g_host.page, kTestPage);
  ComRef<IDispatch> document;
  *document.Out() = DomDocumentDispatch(g_host.page);
  BarSiteState state = {};
  state.window = g_host.window;
  state.document = document.get();
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
  SendMessageW(g_host.window, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
  g_host.input->UIActivateIO(TRUE, nullptr);
  if (!g_host.options.query.empty()) TypeQuery(g_host.options.query);
  if (!g_host.options.hover.empty()) HoverWord(g_host.options.hover);
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
  ReleaseDomDocument(g_host.page);
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
