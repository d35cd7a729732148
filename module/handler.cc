#include "module/handler.h"

#include <new>

#include <servprov.h>

namespace vordo {
namespace {

// SID_SWebBrowserApp: the service through which a site gives its browser.
constexpr GUID kWebBrowserAppService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DWORD kSupportedAndEnabled = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
constexpr int kGuidStringLength = 39;  // braces and terminator included

}  // namespace

HRESULT Handler::Create(IUnknown* outer, REFIID iid, void** out) {
  Handler* handler = new (std::nothrow) Handler(outer);
  if (handler == nullptr) return E_OUTOFMEMORY;
  return HandOut(&handler->inner_, iid, out);
}

HRESULT Handler::QueryOwnInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHandler)) {
    *out = static_cast<IHandler*>(this);
  } else if (IsEqualIID(iid, IID_IObjectWithSite)) {
    *out = static_cast<IObjectWithSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleCommandTarget)) {
    *out = static_cast<IOleCommandTarget*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Through the interface, which counts on the controlling unknown.
  static_cast<IUnknown*>(*out)->AddRef();
  return S_OK;
}

ULONG Handler::RemoveReference() {
  ULONG references = count_.Remove();
  if (references == 0) delete this;
  return references;
}

HRESULT Handler::SetSite(IUnknown* site) {
  site_.Assign(site);
  // A new site without a browser must not leave the old site's in use.
  browser_.Reset();
  if (site == nullptr) return S_OK;
  ComRef<IServiceProvider> services;
  if (SUCCEEDED(site->QueryInterface(IID_IServiceProvider, services.OutVoid()))) {
    services->QueryService(kWebBrowserAppService, IID_IWebBrowser2, browser_.OutVoid());
  }
  return S_OK;
}

HRESULT Handler::GetSite(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!site_) return E_FAIL;
  return site_->QueryInterface(iid, out);
}

HRESULT Handler::QueryStatus(const GUID*, ULONG count, OLECMD* commands, OLECMDTEXT*) {
  if (count > 0 && commands == nullptr) return E_POINTER;
  for (ULONG i = 0; i < count; ++i) commands[i].cmdf = kSupportedAndEnabled;
  return S_OK;
}

HRESULT Handler::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) {
  wchar_t band[kGuidStringLength];
  StringFromGUID2(CLSID_DicBand, band, kGuidStringLength);
  VARIANT bar;
  VariantInit(&bar);
  bar.vt = VT_BSTR;
  bar.bstrVal = SysAllocString(band);
  VARIANT show;
  VariantInit(&show);
  show.vt = VT_BOOL;
  show.boolVal = VARIANT_TRUE;
  if (browser_ && bar.bstrVal != nullptr) browser_->ShowBrowserBar(&bar, &show, nullptr);
  VariantClear(&bar);
  return S_OK;
}

}  // namespace vordo
