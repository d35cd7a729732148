#ifndef VORDO_TESTS_WINDOWS_FAKE_BROWSER_H_
#define VORDO_TESTS_WINDOWS_FAKE_BROWSER_H_

#include <windows.h>
#include <unknwn.h>

#ifdef __cplusplus
extern "C" {
#endif

// What the fake browser's ShowBrowserBar was last called with.
typedef struct FakeBrowserCalls {
  int showBrowserBar;
  VARTYPE barType;
  WCHAR bar[64];
  VARTYPE showType;
  VARIANT_BOOL show;
} FakeBrowserCalls;

// A site whose IServiceProvider hands out, as the web browser service, a
// browser that answers only ShowBrowserBar; `withServices` 0 makes a site
// without IServiceProvider. The site starts with one reference.
IUnknown* CreateFakeSite(int withServices, FakeBrowserCalls* calls);

#ifdef __cplusplus
}
#endif

#endif  // VORDO_TESTS_WINDOWS_FAKE_BROWSER_H_
