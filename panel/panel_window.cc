// The band's window: creation, layout, its window procedure, the input
// field's subclass, focus tracking, and Translate, through which the input
// field's Enter and the hover lookup reach the engine and the screen.
#include <algorithm>

#include "com/resource_ids.h"
#include "dictionary/dictionary_file.h"
#include "engine/lookup.h"
#include "engine/query.h"
#include "panel/dic_band.h"
#include "panel/panel_instance.h"
#include "panel/panes.h"
#include "platform/platform.h"

namespace vordo {
namespace {

constexpr wchar_t kBandClassName[] = L"DicBandWndClass";
constexpr wchar_t kHostClassName[] = L"AtlAxWin";
constexpr int kEditId = 1001;
constexpr int kComboHeight = 21;
constexpr int kComboListHeight = 150;
constexpr int kBannerHeight = 158;
// The middle area ends this far above the bottom: the banner and a strip.
constexpr int kBelowMiddle = 160;
constexpr int kBannerExtraWidth = 18;
constexpr int kBannerMinimumWidth = 128;
constexpr int kHelpPaneX = 10, kHelpPaneY = 10, kHelpPaneWidth = 500, kHelpPaneHeight = 300;
// The input field takes this many characters.
constexpr int kInputCapacity = 256;
constexpr COLORREF kFocusedBackground = RGB(255, 255, 255);
constexpr COLORREF kIdleBackground = RGB(255, 255, 225);
constexpr char kDictionaryFile[] = "dic.bin";

DicBand* BandOf(HWND window) {
  return reinterpret_cast<DicBand*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// What the results view shows of the results: each head behind a space,
// then its translations, one a line.
std::vector<std::string> DisplayLines(const std::vector<ResultEntry>& results) {
  std::vector<std::string> lines;
  for (const ResultEntry& result : results) {
    lines.push_back(" " + result.head);
    lines.insert(lines.end(), result.translations.begin(), result.translations.end());
  }
  return lines;
}

}  // namespace

bool DicBand::CreatePanelWindows() {
  if (band_window_ != nullptr) return true;
  if (parent_window_ == nullptr) return false;
  HINSTANCE instance = PanelInstance();
  WNDCLASSW existing;
  if (!GetClassInfoW(instance, kBandClassName, &existing)) {
    WNDCLASSW window_class = {};
    window_class.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
    window_class.lpfnWndProc = BandWindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = kBandClassName;
    RegisterClassW(&window_class);
  }
  band_window_ = CreateWindowExW(0, kBandClassName, L"", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 0, 0, 1, 1, parent_window_, nullptr, instance, this);
  if (band_window_ == nullptr) return false;
  result_window_ = result_view_.Create(band_window_);

  combo_ = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 0, 0,
                           1, kComboListHeight, band_window_, nullptr, instance, nullptr);
  if (combo_ != nullptr) {
    SendMessageW(combo_, CB_SETEXTENDEDUI, TRUE, 0);
    edit_ = GetDlgItem(combo_, kEditId);
    SendMessageW(combo_, WM_SETFONT, reinterpret_cast<WPARAM>(result_view_.normalFont()), FALSE);
  }
  if (edit_ != nullptr) {
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    edit_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditSubclassProc)));
  }
  if (EnsureAxHostRegistered()) {
    help_pane_ = CreateWindowExW(0, kHostClassName, ResourceUrl(VORDO_HELP_PAGE).c_str(),
                                 WS_CHILD | WS_VISIBLE, kHelpPaneX, kHelpPaneY, kHelpPaneWidth,
                                 kHelpPaneHeight, band_window_, nullptr, instance, nullptr);
    banner_pane_ = CreateWindowExW(0, kHostClassName, ResourceUrl(VORDO_BANNER_PAGE).c_str(), WS_CHILD,
                                   kHelpPaneX, kHelpPaneY, kHelpPaneWidth, kHelpPaneHeight,
                                   band_window_, nullptr, instance, nullptr);
    if (banner_pane_ != nullptr) ShowWindow(banner_pane_, SW_SHOW);
  }
  // Made once: after CloseDW a new site makes the windows again, not these.
  if (focused_brush_ == nullptr) focused_brush_ = CreateSolidBrush(kFocusedBackground);
  if (idle_brush_ == nullptr) idle_brush_ = CreateSolidBrush(kIdleBackground);
  return true;
}

void DicBand::UnregisterWindowClasses() {
  UnregisterClassW(kBandClassName, PanelInstance());
  ResultView::UnregisterWindowClass();
}

void DicBand::Layout(int width, int height) {
  // Below 181 pixels the middle area has no room: it gets none, rather than
  // a negative height.
  int middle = std::max(height - kComboHeight - kBelowMiddle, 0);
  if (combo_ != nullptr) MoveWindow(combo_, 0, 0, width, kComboHeight, TRUE);
  if (result_window_ != nullptr) MoveWindow(result_window_, 0, kComboHeight, width, middle, TRUE);
  if (help_pane_ != nullptr) MoveWindow(help_pane_, 0, kComboHeight, width, middle, TRUE);
  if (banner_pane_ != nullptr) {
    MoveWindow(banner_pane_, 0, std::max(height, kComboHeight + kBannerHeight) - kBannerHeight,
               std::max(width, kBannerMinimumWidth) + kBannerExtraWidth, kBannerHeight, TRUE);
  }
}

LRESULT CALLBACK DicBand::BandWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wparam, lparam);
  }
  DicBand* band = BandOf(window);
  if (band == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_SIZE:
      band->Layout(LOWORD(lparam), HIWORD(lparam));
      break;
    case WM_SETFOCUS:
      if (band->edit_ != nullptr) SetFocus(band->edit_);
      return 0;
    case WM_KILLFOCUS:
      band->UpdateFocusState();
      return 0;
    case WM_CTLCOLOREDIT:
      return band->ColourEdit(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_NCDESTROY:
      band->OnWindowsDestroyed();
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT DicBand::ColourEdit(HDC dc, HWND control) {
  bool focused = control == GetFocus();
  SetBkColor(dc, focused ? kFocusedBackground : kIdleBackground);
  return reinterpret_cast<LRESULT>(focused ? focused_brush_ : idle_brush_);
}

LRESULT CALLBACK DicBand::EditSubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DicBand* band = BandOf(window);
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      band->UpdateFocusState();
      break;
    case WM_CHAR:
      if (wparam == VK_RETURN) {
        band->OnEnter();
        return 0;
      }
      if (wparam == VK_ESCAPE || wparam == VK_TAB) {
        SetFocus(band->result_window_);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcW(band->edit_proc_, window, message, wparam, lparam);
}

void DicBand::OnEnter() {
  wchar_t text[kInputCapacity] = {};
  GetWindowTextW(edit_, text, kInputCapacity);
  SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  // The page's text is Windows-1250 whatever the system's code page.
  std::string query = WideToNarrow(reinterpret_cast<const char16_t*>(text));
  Translate(query, true, true);
}

void DicBand::Translate(std::string query, bool set_focus, bool display) {
  NavigateBannerOnce(banner_pane_);
  TrimQuery(&query);
  results_.clear();
  std::string directory = ModuleDirectory();
  if (directory.empty() || !OpenDictionary(directory + kDictionaryFile)) {
    ShowCannotOpenDictionary();
    return;
  }
  results_ = Lookup(ProcessDictionary(), query);
  if (!display) return;
  result_view_.ShowLines(DisplayLines(results_), set_focus);
  ShowHelp(false);
}

void DicBand::OnWindowsDestroyed() {
  // The site's window may take the band's with it before CloseDW: the band
  // is no longer shown, and its sinks, whose timers ran on this window,
  // must not start new ones on none.
  shown_ = false;
  page_.Unbind();
  band_window_ = combo_ = edit_ = result_window_ = nullptr;
  help_pane_ = banner_pane_ = nullptr;
}

void DicBand::OnViewFocus(ViewFocus event) {
  if (event == ViewFocus::kLeave) {
    SetFocus(edit_);
  } else {
    UpdateFocusState();
  }
}

void DicBand::UpdateFocusState() {
  HWND focus = GetFocus();
  has_focus_ = focus != nullptr &&
               (focus == band_window_ || focus == result_window_ || focus == edit_ || focus == combo_);
  result_view_.InvalidateView();
  if (edit_ != nullptr) InvalidateRect(edit_, nullptr, TRUE);
  if (input_site_) input_site_->OnFocusChangeIS(static_cast<IDeskBand*>(this), has_focus_);
}

void DicBand::ShowHelp(bool show) {
  if (help_pane_ != nullptr) ShowWindow(help_pane_, show ? SW_SHOW : SW_HIDE);
  if (result_window_ != nullptr) ShowWindow(result_window_, show ? SW_HIDE : SW_SHOW);
}

}  // namespace vordo
