#include "panel/panes.h"

#include <wininet.h>

#include <algorithm>
#include <vector>

#include "com/com_ref.h"
#include "com/module_state.h"
#include "platform/lock.h"
#include "platform/platform.h"

namespace vordo {
namespace {

// "Nelze otevřít soubor se slovníkem." in Windows-1250.
constexpr char kCannotOpenMessage[] = "Nelze otev\xF8\xEDt soubor se slovn\xEDkem.";
constexpr char kGetControlMessage[] = "WM_ATLGETCONTROL";

MessageBoxFunction g_message_box = nullptr;
ConnectedStateFunction g_connected_state = nullptr;
// Process-wide, as every band of the process shares it; the user
// interface threads of two browser windows only ever set it to true.
volatile LONG g_ad_navigated = 0;

// The threads that show the message now. A lookup from a timer that fires
// inside the box's modal loop runs on the box's own thread and adds no
// second box there; a browser window on another thread gets its own box.
struct ThreadsShowingMessage {
  Mutex lock;
  std::vector<DWORD> threads;

  bool Enter(DWORD thread) {
    MutexLock hold(lock);
    if (std::find(threads.begin(), threads.end(), thread) != threads.end()) return false;
    threads.push_back(thread);
    return true;
  }
  void Leave(DWORD thread) {
    MutexLock hold(lock);
    threads.erase(std::find(threads.begin(), threads.end(), thread));
  }
};
ThreadsShowingMessage g_showing_message;

}  // namespace

const char kAdvertisementUrl[] = VORDO_AD_URL;

bool EnsureAxHostRegistered() {
  // Once per process: a second AtlAxWinInit fails, the class being there.
  static const bool registered = [] {
    using AxWinInit = BOOL(WINAPI*)();
    HMODULE atl = LoadLibraryW(L"atl.dll");
    auto init = atl == nullptr ? nullptr
                               : reinterpret_cast<AxWinInit>(
                                     reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    return init != nullptr && init() != FALSE;
  }();
  return registered;
}

std::wstring ResourceUrl(int resource) {
  return L"res://" + ModulePathW() + L"/" + std::to_wstring(resource);
}

bool AdNavigated() { return g_ad_navigated != 0; }

void NavigateBannerOnce(HWND banner_pane) {
  if (AdNavigated() || banner_pane == nullptr) return;
  static const UINT get_control = RegisterWindowMessageA(kGetControlMessage);
  ComRef<IUnknown> control;
  *control.Out() = reinterpret_cast<IUnknown*>(SendMessageW(banner_pane, get_control, 0, 0));
  if (!control) return;
  ComRef<IWebBrowser2> browser;
  if (FAILED(control->QueryInterface(IID_IWebBrowser2, browser.OutVoid()))) return;
  if (NavigateIfOnline(browser.get(), kAdvertisementUrl)) InterlockedExchange(&g_ad_navigated, 1);
}

bool NavigateIfOnline(IWebBrowser2* browser, const std::string& url) {
  DWORD flags = 0;
  ConnectedStateFunction connected = g_connected_state != nullptr ? g_connected_state
                                                                  : InternetGetConnectedState;
  if (!connected(&flags, 0)) return false;
  INTERNET_CONNECTED_INFO online = {INTERNET_STATE_CONNECTED, 0};
  InternetSetOptionA(nullptr, INTERNET_OPTION_CONNECTED_STATE, &online, sizeof online);
  std::u16string wide_url = NarrowToWide(url);
  VARIANT target;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = SysAllocString(reinterpret_cast<const OLECHAR*>(wide_url.c_str()));
  VARIANT empty;
  VariantInit(&empty);
  if (target.bstrVal != nullptr) browser->Navigate2(&target, &empty, &empty, &empty, &empty);
  VariantClear(&target);
  VariantClear(&empty);
  return true;
}

void ShowCannotOpenDictionary() {
  DWORD thread = GetCurrentThreadId();
  if (!g_showing_message.Enter(thread)) return;
  std::u16string text = NarrowToWide(kCannotOpenMessage);
  MessageBoxFunction show = g_message_box != nullptr ? g_message_box : MessageBoxW;
  show(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), nullptr, MB_OK);
  g_showing_message.Leave(thread);
}

void SetMessageBoxFunction(MessageBoxFunction function) { g_message_box = function; }

void SetConnectedStateFunction(ConnectedStateFunction function) { g_connected_state = function; }

}  // namespace vordo
