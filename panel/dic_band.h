#ifndef VORDO_PANEL_DIC_BAND_H_
#define VORDO_PANEL_DIC_BAND_H_

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "com/com_object.h"
#include "com/com_ref.h"
#include "com/type_info_dispatch.h"
#include "com/vordo_idl.h"
#include "dictionary/result_entry.h"
#include "page/hover_target.h"
#include "page/page_integration.h"
#include "panel/result_view.h"

namespace vordo {

// The dictionary panel as the browser's vertical bar: a band object in the
// bar site. It gives the site its window, shows and hides it, takes part in
// focus and keyboard handling, and receives the browser's navigation events
// through IDicBand.
//
// Its window (DicBandWndClass) holds, from top to bottom, the input combo
// box, the middle area (the results view, or before the first lookup the
// help pane) and the banner pane. Typing a word and Enter looks it up; while
// the band is shown, so does resting the mouse on a word of the page.
class DicBand final : public TypeInfoDispatch<IDicBand>,
                      public IDeskBand,
                      public IInputObject,
                      public IObjectWithSite,
                      public IPersistStream,
                      public HoverTarget,
                      private ResultViewOwner {
 public:
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return count_.Add(); }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDicBand: the browser's events.
  HRESULT STDMETHODCALLTYPE DocumentComplete(IDispatch* frame, VARIANT* url) override;
  HRESULT STDMETHODCALLTYPE DownloadComplete() override;
  HRESULT STDMETHODCALLTYPE BeforeNavigate2(IDispatch* frame, VARIANT* url, VARIANT* flags,
                                            VARIANT* target_frame, VARIANT* post_data,
                                            VARIANT* headers, VARIANT_BOOL* cancel) override;

  // IOleWindow, IDockingWindow, IDeskBand
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowDW(BOOL show) override;
  HRESULT STDMETHODCALLTYPE CloseDW(DWORD reserved) override;
  HRESULT STDMETHODCALLTYPE ResizeBorderDW(LPCRECT, IUnknown*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBandInfo(DWORD band_id, DWORD view_mode, DESKBANDINFO* info) override;

  // IInputObject
  HRESULT STDMETHODCALLTYPE UIActivateIO(BOOL activate, MSG* message) override;
  HRESULT STDMETHODCALLTYPE HasFocusIO() override { return has_focus_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorIO(MSG* message) override;

  // IObjectWithSite
  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) override;

  // IPersist, IPersistStream: nothing is stored.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(IStream*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

  // The panel (panel_window.cc).
  bool CreatePanelWindows();
  void UpdateFocusState();
  void ShowHelp(bool show);
  // The one way a lookup reaches the engine and the screen: trims the
  // query, looks it up in dic.bin beside the module (a message box when it
  // cannot be opened) and keeps the results; when `display`, shows them in
  // the results view in place of the help, taking the focus if `set_focus`.
  void Translate(std::string query, bool set_focus, bool display);
  // Unregisters the panel's window classes, when the module that
  // registered them is unloaded: a class left behind would point at code
  // that is gone.
  static void UnregisterWindowClasses();

  // HoverTarget: what the document sinks of automatic search use.
  HWND HoverWindow() const override { return band_window_; }
  HWND InputField() const override { return edit_; }
  bool PanelShown() const override { return shown_; }
  void LookUpHovered(const std::string& word) override { Translate(word, false, shown_); }

  HWND bandWindow() const { return band_window_; }
  HWND combo() const { return combo_; }
  HWND edit() const { return edit_; }
  HWND helpPane() const { return help_pane_; }
  HWND bannerPane() const { return banner_pane_; }
  bool shown() const { return shown_; }
  bool pageMarked() const { return page_.pageMarked(); }
  const ResultView& resultView() const { return result_view_; }
  const std::vector<ResultEntry>& results() const { return results_; }
  HBRUSH focusedBrush() const { return focused_brush_; }
  HBRUSH idleBrush() const { return idle_brush_; }

 private:
  DicBand() : result_view_(this), page_(this) {}
  ~DicBand() override;

  static LRESULT CALLBACK BandWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Layout(int width, int height);
  LRESULT ColourEdit(HDC dc, HWND control);
  void OnEnter();
  // The band window is gone, and its children with it.
  void OnWindowsDestroyed();
  // ResultViewOwner
  void OnViewFocus(ViewFocus event) override;
  void ConnectEvents();
  void DisconnectEvents();
  void SetPageIntegration(bool enable) { page_.SetPageIntegration(browser_.get(), enable); }

  ComObjectCount count_;
  ComRef<IUnknown> site_;
  ComRef<IWebBrowser2> browser_;
  ComRef<IInputObjectSite> input_site_;
  ResultView result_view_;
  std::vector<ResultEntry> results_;
  PageIntegration page_;
  HWND parent_window_ = nullptr;
  HWND band_window_ = nullptr;
  HWND combo_ = nullptr;
  HWND edit_ = nullptr;
  WNDPROC edit_proc_ = nullptr;
  HWND result_window_ = nullptr;
  HWND help_pane_ = nullptr;
  HWND banner_pane_ = nullptr;
  HBRUSH focused_brush_ = nullptr;
  HBRUSH idle_brush_ = nullptr;
  DWORD advise_cookie_ = 0;
  bool shown_ = false;
  bool has_focus_ = false;
  DWORD view_mode_ = 0;
  DWORD band_id_ = 0;
};

}  // namespace vordo

#endif  // VORDO_PANEL_DIC_BAND_H_
