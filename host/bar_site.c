// Written in C, so that the browser's long vtable can be filled in one
// stroke: every slot of IWebBrowser2 but those of IUnknown, Navigate2,
// ShowBrowserBar and get_Document ends the process (see double_support.h).
//
// The site is as demanding as a real one: it holds the event sink that it
// is given until it is unadvised with the right cookie, it takes and drops
// a reference to the object that reports a focus change, and when a window
// that holds the focus is destroyed the focus moves to its parent, as
// Windows moves it (Wine 8 clears it without a word to the window).
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
#include "host/double_support.h"

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
  DWORD cookie;  // of this site's event connection; no two sites share one
  HHOOK focusHook;
  BarSiteState* state;
} BarSite;

#define SITE_OF(pointer, member) ((BarSite*)((char*)(pointer)-offsetof(BarSite, member)))

static const GUID kWebBrowserAppService = {
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
static LONG g_last_cookie = 0;

static ULONG AddSiteReference(BarSite* site) { return (ULONG)InterlockedIncrement(&site->references); }

static ULONG ReleaseSite(BarSite* site) {
  LONG left = InterlockedDecrement(&site->references);
  if (left == 0) {
    IDispatch* sink = site->state->eventSink;
    site->state->eventSink = NULL;
    if (sink != NULL) IDispatch_Release(sink);
    UnhookWindowsHookEx(site->focusHook);
    free(site);
  }
  return (ULONG)left;
}

static LRESULT CALLBACK FocusFollowsDestruction(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_DESTROYWND) {
    HWND dying = (HWND)wparam;
    HWND focus = GetFocus();
    if (focus != NULL && (focus == dying || IsChild(dying, focus))) {
      HWND parent = GetAncestor(dying, GA_PARENT);
      if (parent != NULL && parent != GetDesktopWindow()) SetFocus(parent);
    }
  }
  return CallNextHookEx(NULL, code, wparam, lparam);
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
  IUnknown* identity = NULL;
  if (object != NULL && SUCCEEDED(IUnknown_QueryInterface(object, &IID_IUnknown, (void**)&identity))) {
    IUnknown_Release(identity);
  }
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

// One sink at a time, held as the browser holds it, until Unadvise.
static HRESULT STDMETHODCALLTYPE Advise(IConnectionPoint* self, IUnknown* sink, DWORD* cookie) {
  BarSite* site = SITE_OF(self, point);
  IDispatch* dispatch = NULL;
  if (site->state->eventSink != NULL) return CONNECT_E_ADVISELIMIT;
  if (FAILED(IUnknown_QueryInterface(sink, &IID_IDispatch, (void**)&dispatch))) return E_NOINTERFACE;
  site->state->eventSink = dispatch;
  site->state->advises++;
  *cookie = site->cookie;
  return S_OK;
}

static HRESULT STDMETHODCALLTYPE Unadvise(IConnectionPoint* self, DWORD cookie) {
  BarSite* site = SITE_OF(self, point);
  IDispatch* sink = site->state->eventSink;
  if (cookie != site->cookie || sink == NULL) {
    site->state->wrongUnadvises++;
    return CONNECT_E_NOCONNECTION;
  }
  site->state->eventSink = NULL;
  site->state->unadvises++;
  IDispatch_Release(sink);
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

static IOleWindowVtbl g_window_vtable;
static IInputObjectSiteVtbl g_input_site_vtable;
static IOleCommandTargetVtbl g_commands_vtable;
static IServiceProviderVtbl g_services_vtable;
static IConnectionPointContainerVtbl g_container_vtable;
static IConnectionPointVtbl g_point_vtable;
static IWebBrowser2Vtbl g_browser_vtable;

static void FillVtables(void) {
  START_VTABLE(g_window_vtable, window);
  g_window_vtable.GetWindow = GetSiteWindow;
  START_VTABLE(g_input_site_vtable, inputSite);
  g_input_site_vtable.OnFocusChangeIS = OnFocusChangeIS;
  START_VTABLE(g_commands_vtable, commands);
  START_VTABLE(g_services_vtable, services);
  g_services_vtable.QueryService = QueryService;
  START_VTABLE(g_container_vtable, container);
  g_container_vtable.FindConnectionPoint = FindConnectionPoint;
  START_VTABLE(g_point_vtable, point);
  g_point_vtable.Advise = Advise;
  g_point_vtable.Unadvise = Unadvise;
  START_VTABLE(g_browser_vtable, browser);
  g_browser_vtable.Navigate2 = Navigate2;
  g_browser_vtable.ShowBrowserBar = ShowBrowserBar;
  g_browser_vtable.get_Document = GetDocument;
}

IUnknown* CreateBarSite(int parts, BarSiteState* state) {
  FillVtables();
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
  site->cookie = (DWORD)InterlockedIncrement(&g_last_cookie);
  site->focusHook = SetWindowsHookExW(WH_CBT, FocusFollowsDestruction, NULL, GetCurrentThreadId());
  site->state = state;
  return (IUnknown*)&site->window;
}

IUnknown* BarSiteBrowser(IUnknown* unknown) {
  BarSite* site = SITE_OF(unknown, window);
  AddSiteReference(site);
  return (IUnknown*)&site->browser;
}
