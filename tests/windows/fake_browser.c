// Written in C, so that the browser's long vtable can be filled in one
// stroke: every slot answers E_NOTIMPL but the three of IUnknown and
// ShowBrowserBar. (On x86_64 the caller clears the stack, so one stub
// serves every signature.)
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>

#include "fake_browser.h"

typedef struct FakeSite {
  IServiceProvider services;  // first, so that the site is its own IUnknown
  IWebBrowser2 browser;
  LONG references;
  int withServices;
  FakeBrowserCalls* calls;
} FakeSite;

static const GUID kWebBrowserAppService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

static FakeSite* SiteOfBrowser(IWebBrowser2* browser) {
  return (FakeSite*)((char*)browser - offsetof(FakeSite, browser));
}

static HRESULT STDMETHODCALLTYPE NotImplemented(void) { return E_NOTIMPL; }

static ULONG STDMETHODCALLTYPE SiteAddRef(IServiceProvider* self) {
  return (ULONG)InterlockedIncrement(&((FakeSite*)self)->references);
}

static ULONG STDMETHODCALLTYPE SiteRelease(IServiceProvider* self) {
  LONG left = InterlockedDecrement(&((FakeSite*)self)->references);
  if (left == 0) free(self);
  return (ULONG)left;
}

static HRESULT STDMETHODCALLTYPE SiteQueryInterface(IServiceProvider* self, REFIID iid, void** out) {
  FakeSite* site = (FakeSite*)self;
  if (IsEqualIID(iid, &IID_IUnknown) || (site->withServices && IsEqualIID(iid, &IID_IServiceProvider))) {
    *out = self;
    SiteAddRef(self);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE QueryService(IServiceProvider* self, REFGUID service, REFIID iid,
                                              void** out) {
  FakeSite* site = (FakeSite*)self;
  if (IsEqualGUID(service, &kWebBrowserAppService) && IsEqualIID(iid, &IID_IWebBrowser2)) {
    *out = &site->browser;
    SiteAddRef(self);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static HRESULT STDMETHODCALLTYPE BrowserQueryInterface(IWebBrowser2* self, REFIID iid, void** out) {
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IWebBrowser2)) {
    *out = self;
    SiteAddRef(&SiteOfBrowser(self)->services);
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE BrowserAddRef(IWebBrowser2* self) {
  return SiteAddRef(&SiteOfBrowser(self)->services);
}

static ULONG STDMETHODCALLTYPE BrowserRelease(IWebBrowser2* self) {
  return SiteRelease(&SiteOfBrowser(self)->services);
}

static HRESULT STDMETHODCALLTYPE ShowBrowserBar(IWebBrowser2* self, VARIANT* bar, VARIANT* show,
                                                VARIANT* size) {
  FakeBrowserCalls* calls = SiteOfBrowser(self)->calls;
  (void)size;
  calls->showBrowserBar++;
  calls->barType = V_VT(bar);
  if (V_VT(bar) == VT_BSTR) lstrcpynW(calls->bar, V_BSTR(bar), 64);
  calls->showType = V_VT(show);
  calls->show = V_BOOL(show);
  return S_OK;
}

static IServiceProviderVtbl g_site_vtable = {SiteQueryInterface, SiteAddRef, SiteRelease, QueryService};
static IWebBrowser2Vtbl g_browser_vtable;

IUnknown* CreateFakeSite(int withServices, FakeBrowserCalls* calls) {
  void** slots = (void**)&g_browser_vtable;
  for (size_t i = 0; i < sizeof g_browser_vtable / sizeof(void*); ++i) slots[i] = (void*)NotImplemented;
  g_browser_vtable.QueryInterface = BrowserQueryInterface;
  g_browser_vtable.AddRef = BrowserAddRef;
  g_browser_vtable.Release = BrowserRelease;
  g_browser_vtable.ShowBrowserBar = ShowBrowserBar;
  FakeSite* site = (FakeSite*)calloc(1, sizeof(FakeSite));
  site->services.lpVtbl = &g_site_vtable;
  site->browser.lpVtbl = &g_browser_vtable;
  site->references = 1;
  site->withServices = withServices;
  site->calls = calls;
  return (IUnknown*)&site->services;
}
