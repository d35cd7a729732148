// The help and banner panes: hosted browser controls of the system's
// "AtlAxWin" class, the advertisement navigation that the first lookup of
// the process makes when the system is online, and the panel's one message.
#ifndef VORDO_PANEL_PANES_H_
#define VORDO_PANEL_PANES_H_

#include <windows.h>
#include <exdisp.h>

#include <string>

namespace vordo {

// Where the first online lookup sends the banner pane.
extern const char kAdvertisementUrl[];

// Registers "AtlAxWin" through the system's atl.dll, loaded once and kept
// for the life of the process (the class belongs to it). False when the
// library or its AtlAxWinInit is missing; the panes are then not created.
bool EnsureAxHostRegistered();

// "res://" + the module's full path + "/" + resource number, in full
// whatever the path's length.
std::wstring ResourceUrl(int resource);

// Sends the banner pane to the advertisement page, once per process, if the
// system is online; a pane without a browser control is skipped and tried
// again at the next lookup.
void NavigateBannerOnce(HWND banner_pane);
bool AdNavigated();

// Navigates `browser` to `url` when the system has a connection, after
// putting the internet layer into online mode; false when offline.
bool NavigateIfOnline(IWebBrowser2* browser, const std::string& url);

// Shows "Nelze otevřít soubor se slovníkem." unless this thread shows it
// already: a lookup from a timer that fires inside the box's modal loop
// adds no second box, while another browser window's thread shows its own.
void ShowCannotOpenDictionary();

// Seams in front of the system, for the tests: the message box and the
// connection check. Null restores the system's own.
using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
using ConnectedStateFunction = BOOL(WINAPI*)(LPDWORD flags, DWORD reserved);
void SetMessageBoxFunction(MessageBoxFunction function);
void SetConnectedStateFunction(ConnectedStateFunction function);

}  // namespace vordo

#endif  // VORDO_PANEL_PANES_H_
