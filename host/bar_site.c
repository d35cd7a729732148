// Written in C, so that the browser's long vtable can be filled in one
// stroke: every slot of IWebBrowser2 answers E_NOTIMPL but those of
// IUnknown, Navigate2, ShowBrowserBar and get_Document. (On x86_64 the caller clears the stack, so one stub serves every
// signature; this file is built for x86_64 only.)
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>
#include <servprov.h>
#include <shlobj.h>
#include <stddef.h>
#include <stdlib.h>

#include "host/bar_site.h"

typedef struct BarSite {
  IOleWindow window;  // first, so that the site is its own IUnknown
  IInputObjectSite inputSite;
  IOleCommandTarget commands;
  IServiceProvider services;
  IWebBrowser2 browser;
  IConnectionPointContainer container;
  IConnectionPoint point;
  LONG references;
  int parts;
  BarSiteState* state;
} BarSite;

#define SITE_OF(pointer, member) ((BarSite*)((char*)(pointer)-offsetof(BarSite, member)))

static const GUID kWebBrowserAppService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static const DWORD kCookie = 1;

static HRESULT STDMETHODCALLTYPE NotImplemented(void) { return E_NOTIMPL; }

static ULONG AddSiteReference(BarSite* site) { return (ULONG)InterlockedIncrement(&site->references); }

static ULONG ReleaseSite(BarSite* site) {
  LONG left = InterlockedDecrement(&site->references);
  if (left == 0) free(site);
  return (ULONG)left;
}

// The site's interfaces: one object, one identity.
static HRESULT SiteQuery(BarSite* site, REFIID iid, void** out) {
  *out = NULL;
  if (IsEqualIID(iid, &IID_IUnknown)) *out = &site->window;
  if (IsEqualIID(iid, &IID_IOleWindow) && (site->parts & kBarSiteWindow)) *out = &site->window;
  if (IsEqualIID(iid, &IID_IInputObjectSite) && (site->parts & kBarSiteInputSite)) *out = &site->inputSite;
  if (IsEqualIID(iid, &IID_IOleCommandTarget)) *out = &site->commands;
  if (IsEqualIID(iid, &IID_IServiceProvider)) *out = &site->services;
  if (*out == NULL) return E_NOINTERFACE;
  AddSiteReference(site);
  return S_OK;
}

// The browser's interfaces: another identity, in the same allocation.
static HRESULT BrowserQuery(BarSite* site, REFIID iid, void** out) {
  *out = NULL;
  if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) ||
      IsEqualIID(iid, &IID_IWebBrowser2) || IsEqualIID(iid, &IID_IWebBrowserApp) ||
      IsEqualIID(iid, &IID_IWebBrowser)) {
    *out = &site->browser;
  }
  if (IsEqualIID(iid, &IID_IConnectionPointContainer)) *out = &site->container;
  if (*out == NULL) return E_NOINTERFACE;
  AddSiteReference(site);
  return S_OK;
}

#define FORWARDING_UNKNOWN(Interface, member, query)                                              \
  static HRESULT STDMETHODCALLTYPE member##QueryInterface(Interface* self, REFIID iid, void** out) { \
    return query(SITE_OF(self, member), iid, out);                                                \
  }                                                                                               \
  static ULONG STDMETHODCALLTYPE member##AddRef(Interface* self) {                                 \
    return AddSiteReference(SITE_OF(self, member));                                               \
  }                                                                                               \
  static ULONG STDMETHODCALLTYPE member##Release(Interface* self) { return ReleaseSite(SITE_OF(self, member)); }

FORWARDING_UNKNOWN(IOleWindow, window, SiteQuery)
FORWARDING_UNKNOWN(IInputObjectSite, inputSite, SiteQuery)
FORWARDING_UNKNOWN(IOleCommandTarget, commands, SiteQuery)
FORWARDING_UNKNOWN(IServiceProvider, services, SiteQuery)
FORWARDING_UNKNOWN(IWebBrowser2, browser, BrowserQuery)
FORWARDING_UNKNOWN(IConnectionPointContainer, container, BrowserQuery)
FORWARDING_UNKNOWN(IConnectionPoint, point, BrowserQuery)

static HRESULT STDMETHODCALLTYPE GetSiteWindow(IOleWindow* self, HWND* window) {
  *window = SITE_OF(self, window)->state->window;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE OnFocusChangeIS(IInputObjectSite* self, IUnknown* object, BOOL focus) {
  BarSiteState* state = SITE_OF(self, inputSite)->state;
  (void)object;
  state->focusChanges++;
  state->lastFocus = focus;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE QueryService(IServiceProvider* self, REFGUID service, REFIID iid,
                                              void** out) {
  BarSite* site = SITE_OF(self, services);
  *out = NULL;
  if (!(site->parts & kBarSiteBrowser) || !IsEqualGUID(service, &kWebBrowserAppService)) return E_NOINTERFACE;
  return BrowserQuery(site, iid, out);
}

static HRESULT STDMETHODCALLTYPE FindConnectionPoint(IConnectionPointContainer* self, REFIID iid,
                                                     IConnectionPoint** point) {
  BarSite* site = SITE_OF(self, container);
  *point = NULL;
  if (!IsEqualIID(iid, &DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
  *point = &site->point;
  AddSiteReference(site);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE Advise(IConnectionPoint* self, IUnknown* sink, DWORD* cookie) {
  BarSiteState* state = SITE_OF(self, point)->state;
  IDispatch* dispatch = NULL;
  if (FAILED(IUnknown_QueryInterface(sink, &IID_IDispatch, (void**)&dispatch))) return E_NOINTERFACE;
  // Not held: the band unadvises before it goes, and a held sink would keep
  // the band and the site alive in a cycle in a program that forgets to.
  IDispatch_Release(dispatch);
  state->eventSink = dispatch;
  state->advises++;
  *cookie = kCookie;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE Unadvise(IConnectionPoint* self, DWORD cookie) {
  BarSiteState* state = SITE_OF(self, point)->state;
  if (cookie != kCookie || state->eventSink == NULL) return CONNECT_E_NOCONNECTION;
  state->eventSink = NULL;
  state->unadvises++;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE Navigate2(IWebBrowser2* self, VARIANT* url, VARIANT* flags,
                                           VARIANT* target, VARIANT* post_data, VARIANT* headers) {
  BarSiteState* state = SITE_OF(self, browser)->state;
  (void)flags;
  (void)target;
  (void)post_data;
  (void)headers;
  state->navigations++;
  if (V_VT(url) == VT_BSTR) lstrcpynW(state->lastUrl, V_BSTR(url), 128);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE ShowBrowserBar(IWebBrowser2* self, VARIANT* bar, VARIANT* show,
                                                VARIANT* size) {
  BarSiteState* state = SITE_OF(self, browser)->state;
  (void)size;
  state->showBrowserBar++;
  state->barType = V_VT(bar);
  if (V_VT(bar) == VT_BSTR) lstrcpynW(state->bar, V_BSTR(bar), 64);
  state->showType = V_VT(show);
  state->show = V_BOOL(show);
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE GetDocument(IWebBrowser2* self, IDispatch** document) {
  BarSiteState* state = SITE_OF(self, browser)->state;
  *document = state->document;
  if (*document != NULL) IDispatch_AddRef(*document);
  return *document != NULL ? S_OK : E_FAIL;
}

static IOleWindowVtbl g_window_vtable = {windowQueryInterface, windowAddRef, windowRelease, GetSiteWindow,
                                         (void*)NotImplemented};
static IInputObjectSiteVtbl g_input_site_vtable = {inputSiteQueryInterface, inputSiteAddRef,
                                                   inputSiteRelease, OnFocusChangeIS};
static IOleCommandTargetVtbl g_commands_vtable = {commandsQueryInterface, commandsAddRef, commandsRelease,
                                                  (void*)NotImplemented, (void*)NotImplemented};
static IServiceProviderVtbl g_services_vtable = {servicesQueryInterface, servicesAddRef, servicesRelease,
                                                 QueryService};
static IConnectionPointContainerVtbl g_container_vtable = {
    containerQueryInterface, containerAddRef, containerRelease, (void*)NotImplemented, FindConnectionPoint};
static IConnectionPointVtbl g_point_vtable = {pointQueryInterface, pointAddRef, pointRelease,
                                              (void*)NotImplemented, (void*)NotImplemented,
                                              Advise, Unadvise, (void*)NotImplemented};
static IWebBrowser2Vtbl g_browser_vtable;

IUnknown* CreateBarSite(int parts, BarSiteState* state) {
  void** slots = (void**)&g_browser_vtable;
  for (size_t i = 0; i < sizeof g_browser_vtable / sizeof(void*); ++i) slots[i] = (void*)NotImplemented;
  g_browser_vtable.QueryInterface = browserQueryInterface;
  g_browser_vtable.AddRef = browserAddRef;
  g_browser_vtable.Release = browserRelease;
  g_browser_vtable.Navigate2 = Navigate2;
  g_browser_vtable.ShowBrowserBar = ShowBrowserBar;
  g_browser_vtable.get_Document = GetDocument;
  BarSite* site = (BarSite*)calloc(1, sizeof(BarSite));
  if (site == NULL) return NULL;
  site->window.lpVtbl = &g_window_vtable;
  site->inputSite.lpVtbl = &g_input_site_vtable;
  site->commands.lpVtbl = &g_commands_vtable;
  site->services.lpVtbl = &g_services_vtable;
  site->browser.lpVtbl = &g_browser_vtable;
  site->container.lpVtbl = &g_container_vtable;
  site->point.lpVtbl = &g_point_vtable;
  site->references = 1;
  site->parts = parts;
  site->state = state;
  return (IUnknown*)&site->window;
}

IUnknown* BarSiteBrowser(IUnknown* unknown) {
  BarSite* site = SITE_OF(unknown, window);
  AddSiteReference(site);
  return (IUnknown*)&site->browser;
}
