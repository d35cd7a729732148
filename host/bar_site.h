// The browser's side of a band, for a program that shows the panel without
// the browser and for the tests: a bar site (IOleWindow, IInputObjectSite,
// IOleCommandTarget, IServiceProvider) and the browser it gives out, whose
// DWebBrowserEvents2 connection point takes one sink.
#ifndef VORDO_HOST_BAR_SITE_H_
#define VORDO_HOST_BAR_SITE_H_

#include <windows.h>
#include <unknwn.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct BarSiteState {
  HWND window;           // the site's window, parent of the band's
  int focusChanges;      // OnFocusChangeIS calls, and the last state given
  BOOL lastFocus;
  IDispatch* eventSink;  // the browser-event sink advised, held until unadvised
  int advises;
  int unadvises;
  int wrongUnadvises;    // Unadvise calls with another site's cookie, or none advised
  int navigations;       // Navigate2 calls, and the last URL given
  WCHAR lastUrl[128];
  int showBrowserBar;    // ShowBrowserBar calls, and what the last was given
  VARTYPE barType;
  WCHAR bar[64];
  VARTYPE showType;
  VARIANT_BOOL show;
  IDispatch* document;   // what get_Document gives, if set (not held)
} BarSiteState;

enum {
  kBarSiteBrowser = 1,    // gives a browser through SID_SWebBrowserApp
  kBarSiteInputSite = 2,  // answers IInputObjectSite
  kBarSiteWindow = 4,     // answers IOleWindow
  kBarSiteEverything = 7,
};

// A site with the parts `parts` names, starting with one reference; the
// state must outlive it. Its browser records Navigate2 and ShowBrowserBar
// and gives the state's document; the rest of IWebBrowser2 is not written.
IUnknown* CreateBarSite(int parts, BarSiteState* state);

// The site's browser, with a reference added.
IUnknown* BarSiteBrowser(IUnknown* site);

#ifdef __cplusplus
}
#endif

#endif  // VORDO_HOST_BAR_SITE_H_
