#include "panel/dic_band.h"

#include <exdispid.h>
#include <servprov.h>

#include <new>


namespace vordo {
namespace {

// SID_SWebBrowserApp: the service through which a site gives its browser.
constexpr GUID kWebBrowserAppService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr wchar_t kTitle[] = L"Vordo";
constexpr POINTL kMinimumSize = {10, 10};
constexpr POINTL kMaximumSize = {-1, -1};
constexpr POINTL kSizingStep = {1, 1};
constexpr POINTL kIdealSize = {0, 0};

bool SameObject(IUnknown* a, IUnknown* b) {
  if (a == nullptr || b == nullptr) return false;
  ComRef<IUnknown> first;
  ComRef<IUnknown> second;
  return SUCCEEDED(a->QueryInterface(IID_IUnknown, first.OutVoid())) &&
         SUCCEEDED(b->QueryInterface(IID_IUnknown, second.OutVoid())) && first.get() == second.get();
}

}  // namespace

HRESULT DicBand::Create(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  DicBand* band = new (std::nothrow) DicBand;
  if (band == nullptr) return E_OUTOFMEMORY;
  return HandOut(band, iid, out);
}

DicBand::~DicBand() {
  // Destroying the windows moves the focus out of them, and the site is
  // told of focus changes with this band as the object: a site that takes
  // and drops a reference to it would delete it a second time.
  input_site_.Reset();
  DisconnectEvents();
  if (band_window_ != nullptr && IsWindow(band_window_)) DestroyWindow(band_window_);
  for (HBRUSH brush : {focused_brush_, idle_brush_}) {
    if (brush != nullptr) DeleteObject(brush);
  }
}

HRESULT DicBand::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDicBand) || IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IDicBand*>(this);
  } else if (IsEqualIID(iid, IID_IDeskBand)) {
    *out = static_cast<IDeskBand*>(this);
  } else if (IsEqualIID(iid, IID_IInputObject)) {
    *out = static_cast<IInputObject*>(this);
  } else if (IsEqualIID(iid, IID_IObjectWithSite)) {
    *out = static_cast<IObjectWithSite*>(this);
  } else if (IsEqualIID(iid, IID_IPersistStream)) {
    *out = static_cast<IPersistStream*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG DicBand::Release() {
  ULONG references = count_.Remove();
  if (references == 0) delete this;
  return references;
}

HRESULT DicBand::DocumentComplete(IDispatch* frame, VARIANT*) {
  // Only the top-level document's completion counts, not a frame's.
  if (SameObject(frame, browser_.get())) {
    page_.ForgetPage();
    SetPageIntegration(shown_);
  }
  return S_OK;
}

HRESULT DicBand::DownloadComplete() { return S_OK; }

HRESULT DicBand::BeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                 VARIANT_BOOL*) {
  SetPageIntegration(false);
  page_.ForgetPage();
  return S_OK;
}

HRESULT DicBand::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = band_window_;
  return S_OK;
}

HRESULT DicBand::ShowDW(BOOL show) {
  if (band_window_ == nullptr) return S_OK;
  ShowWindow(band_window_, show ? SW_SHOW : SW_HIDE);
  shown_ = show != FALSE;
  SetPageIntegration(shown_);
  return S_OK;
}

HRESULT DicBand::CloseDW(DWORD) {
  ShowDW(FALSE);
  if (band_window_ != nullptr && IsWindow(band_window_)) DestroyWindow(band_window_);
  band_window_ = nullptr;
  return S_OK;
}

HRESULT DicBand::GetBandInfo(DWORD band_id, DWORD view_mode, DESKBANDINFO* info) {
  if (info == nullptr) return E_INVALIDARG;
  band_id_ = band_id;
  view_mode_ = view_mode;
  if (info->dwMask & DBIM_MINSIZE) info->ptMinSize = kMinimumSize;
  if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = kMaximumSize;
  if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = kSizingStep;
  if (info->dwMask & DBIM_ACTUAL) info->ptActual = kIdealSize;
  if (info->dwMask & DBIM_TITLE) lstrcpynW(info->wszTitle, kTitle, sizeof info->wszTitle / sizeof(WCHAR));
  if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = DBIMF_VARIABLEHEIGHT;
  // No background colour of our own: the site uses its default.
  info->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);
  return S_OK;
}

HRESULT DicBand::UIActivateIO(BOOL activate, MSG*) {
  if (activate && band_window_ != nullptr) SetFocus(band_window_);
  return S_OK;
}

HRESULT DicBand::TranslateAcceleratorIO(MSG* message) {
  if (message == nullptr) return S_OK;
  if (message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN) {
    TranslateMessage(message);
    DispatchMessageA(message);
  } else if (message->message == WM_CHAR) {
    SendMessageW(message->hwnd, WM_CHAR, message->wParam, message->lParam);
  }
  return S_OK;
}

HRESULT DicBand::SetSite(IUnknown* site) {
  if (site == nullptr) {
    DisconnectEvents();
    site_.Reset();
    return S_OK;
  }
  // A new site without SetSite(NULL) first: the old browser's connection
  // is ended with the old browser, before it is replaced.
  DisconnectEvents();
  site_.Assign(site);
  browser_.Reset();
  ComRef<IOleCommandTarget> commands;
  ComRef<IServiceProvider> services;
  if (SUCCEEDED(site->QueryInterface(IID_IOleCommandTarget, commands.OutVoid())) &&
      SUCCEEDED(commands->QueryInterface(IID_IServiceProvider, services.OutVoid()))) {
    services->QueryService(kWebBrowserAppService, IID_IWebBrowser2, browser_.OutVoid());
  }
  if (FAILED(site->QueryInterface(IID_IInputObjectSite, input_site_.OutVoid()))) input_site_.Reset();
  parent_window_ = nullptr;
  ComRef<IOleWindow> window;
  if (SUCCEEDED(site->QueryInterface(IID_IOleWindow, window.OutVoid()))) {
    window->GetWindow(&parent_window_);
  }
  // Windows made for an earlier site move to this one's.
  if (band_window_ != nullptr && parent_window_ != nullptr) SetParent(band_window_, parent_window_);
  if (!browser_ || !input_site_ || !CreatePanelWindows()) return E_FAIL;
  ConnectEvents();
  SetPageIntegration(shown_);
  return S_OK;
}

HRESULT DicBand::GetSite(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!site_) return E_FAIL;
  return site_->QueryInterface(iid, out);
}

HRESULT DicBand::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = CLSID_DicBand;
  return S_OK;
}

void DicBand::ConnectEvents() {
  ComRef<IConnectionPointContainer> container;
  ComRef<IConnectionPoint> point;
  // A browser without the connection leaves the band without events.
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.OutVoid())) &&
      SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Out()))) {
    point->Advise(static_cast<IDicBand*>(this), &advise_cookie_);
  }
}

void DicBand::DisconnectEvents() {
  if (!browser_ || advise_cookie_ == 0) return;
  ComRef<IConnectionPointContainer> container;
  ComRef<IConnectionPoint> point;
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, container.OutVoid())) &&
      SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Out()))) {
    point->Unadvise(advise_cookie_);
  }
  advise_cookie_ = 0;
}

}  // namespace vordo
