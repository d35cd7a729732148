#include "panel/result_view.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "panel/panel_instance.h"
#include "platform/windows_1250.h"

namespace vordo {
namespace {

constexpr wchar_t kClassName[] = L"ETSubWndClass";
constexpr COLORREF kFocusedBackground = RGB(255, 255, 255);
constexpr COLORREF kIdleBackground = RGB(255, 255, 225);
constexpr COLORREF kPatternColor = RGB(255, 255, 255);
constexpr COLORREF kHeadColor = RGB(0, 32, 80);
constexpr COLORREF kSubHeadColor = RGB(80, 24, 24);
constexpr COLORREF kTranslationColor = RGB(0, 0, 0);
constexpr COLORREF kGroupColor = RGB(128, 128, 128);
constexpr COLORREF kSelectedTextColor = RGB(255, 255, 255);
constexpr int kTextLeft = 3;
constexpr int kRightMargin = 5;
constexpr int kWheelDelta = 120;
constexpr int kRowsPerNotch = 2;
// The longest part of a line that is drawn; longer lines are cut to it and
// then fitted, so they end with "..." like any line too wide.
constexpr size_t kMaxDrawnBytes = 259;

// The triangle in front of a head line: a run of pixels {x, y, count}.
struct MarkerRun {
  int x, y, count;
};
constexpr MarkerRun kMarker[] = {{2, 4, 1}, {2, 5, 2}, {2, 6, 3}, {2, 7, 3}, {2, 8, 2}, {2, 9, 1}};

int TextWidth(HDC dc, const std::wstring& text, size_t length) {
  SIZE size = {0, 0};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(length), &size);
  return size.cx;
}

std::wstring FromWindows1250(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    wide[i] = static_cast<wchar_t>(Windows1250ToUnicode(static_cast<uint8_t>(text[i])));
  }
  return wide;
}

}  // namespace

ResultView::~ResultView() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(normal_font_), static_cast<HGDIOBJ>(bold_font_),
                         static_cast<HGDIOBJ>(focus_frame_brush_)}) {
    if (object != nullptr) DeleteObject(object);
  }
}

HWND ResultView::Create(HWND parent) {
  if (window_ != nullptr) return window_;
  HINSTANCE instance = PanelInstance();
  WNDCLASSW existing;
  if (!GetClassInfoW(instance, kClassName, &existing)) {
    WNDCLASSW window_class = {};
    window_class.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    window_class.lpfnWndProc = ResultViewProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // A stock brush: solid white like a new one, and nothing to release.
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    window_class.lpszClassName = kClassName;
    RegisterClassW(&window_class);
  }
  window_ = CreateWindowExW(WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VSCROLL, 0, 0, 1, 1, parent,
                            nullptr, instance, this);
  if (window_ == nullptr) return nullptr;
  if (normal_font_ == nullptr) CreateDrawingObjects();
  HDC dc = GetDC(window_);
  HGDIOBJ previous = SelectObject(dc, normal_font_);
  SIZE dot = {0, 0};
  GetTextExtentPoint32W(dc, L".", 1, &dot);
  line_height_ = dot.cy + 1;
  SelectObject(dc, previous);
  ReleaseDC(window_, dc);
  return window_;
}

void ResultView::UnregisterWindowClass() { UnregisterClassW(kClassName, PanelInstance()); }

void ResultView::CreateDrawingObjects() {
  LOGFONTW description;
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
  normal_font_ = CreateFontIndirectW(&description);
  description.lfWeight = FW_BOLD;
  bold_font_ = CreateFontIndirectW(&description);
  // The selection frame's dotted pattern: black on one diagonal.
  HDC dc = GetDC(window_);
  HBITMAP pattern = CreateCompatibleBitmap(dc, 2, 2);
  HDC pattern_dc = CreateCompatibleDC(dc);
  HGDIOBJ previous_bitmap = SelectObject(pattern_dc, pattern);
  SetPixel(pattern_dc, 0, 0, RGB(0, 0, 0));
  SetPixel(pattern_dc, 1, 1, RGB(0, 0, 0));
  SetPixel(pattern_dc, 1, 0, kPatternColor);
  SetPixel(pattern_dc, 0, 1, kPatternColor);
  SelectObject(pattern_dc, previous_bitmap);
  focus_frame_brush_ = CreatePatternBrush(pattern);
  DeleteDC(pattern_dc);
  DeleteObject(pattern);
  ReleaseDC(window_, dc);
}

LRESULT CALLBACK ResultView::ResultViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wparam, lparam);
  }
  auto* view = reinterpret_cast<ResultView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (view == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_SIZE:
      view->UpdateScrollRange();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      view->owner_->OnViewFocus(ViewFocus::kChanged);
      view->InvalidateView();
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      view->PaintView(dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      view->PaintView(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
      view->OnKey(wparam);
      return 0;
    case WM_VSCROLL:
      view->ScrollView(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_LBUTTONDOWN:
      view->OnClick(HIWORD(lparam));
      return 0;
    case WM_MOUSEWHEEL:
      view->OnWheel(GET_WHEEL_DELTA_WPARAM(wparam));
      return 0;
    case WM_NCDESTROY:
      view->window_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void ResultView::ShowLines(std::vector<std::string> lines, bool set_focus) {
  lines_ = std::move(lines);
  selected_ = 0;
  UpdateScrollRange();
  ScrollView(SB_TOP, 0);
  if (set_focus) SetFocus(window_);
  InvalidateView();
}

int ResultView::ClientHeight() const {
  RECT client;
  GetClientRect(window_, &client);
  return client.bottom;
}

int ResultView::ScrollPosition() const { return GetScrollPos(window_, SB_VERT); }

void ResultView::UpdateScrollRange() {
  if (window_ == nullptr) return;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = static_cast<int>(lines_.size()) * line_height_;
  info.nPage = static_cast<UINT>(ClientHeight());
  SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void ResultView::ScrollView(int code, int position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window_, SB_VERT, &info);
  int next = info.nPos;
  switch (code) {
    case SB_LINEUP: next -= line_height_; break;
    case SB_LINEDOWN: next += line_height_; break;
    case SB_PAGEUP: next -= ClientHeight(); break;
    case SB_PAGEDOWN: next += ClientHeight(); break;
    case SB_THUMBTRACK: next = position; break;
    case SB_TOP: next = info.nMin; break;
    case SB_BOTTOM: next = info.nMax; break;
    default: return;
  }
  next = std::clamp(next, info.nMin, info.nMax);
  SetScrollPos(window_, SB_VERT, next, TRUE);
  InvalidateRect(window_, nullptr, FALSE);
}

void ResultView::EnsureSelectedVisible() {
  if (selected_ < 0 || selected_ >= static_cast<int>(lines_.size())) return;
  int need = (selected_ + 1) * line_height_ - ClientHeight();
  if (ScrollPosition() <= need) SetScrollPos(window_, SB_VERT, need + 1, TRUE);
  if (ScrollPosition() > selected_ * line_height_) {
    SetScrollPos(window_, SB_VERT, selected_ * line_height_, TRUE);
  }
}

void ResultView::InvalidateView() {
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

void ResultView::OnKey(WPARAM key) {
  int count = static_cast<int>(lines_.size());
  int page = line_height_ > 0 ? ClientHeight() / line_height_ : 0;
  auto limit_down = [&] {
    if (count == 0 || selected_ >= count) selected_ = count - 1;
  };
  switch (key) {
    case VK_TAB:
    case VK_ESCAPE:
      owner_->OnViewFocus(ViewFocus::kLeave);
      return;
    case VK_PRIOR:
      selected_ = std::max(selected_ - page, 0);
      break;
    case VK_NEXT:
      selected_ += page;
      limit_down();
      break;
    case VK_END:
      selected_ = count - 1;
      ScrollView(SB_BOTTOM, 0);
      return;
    case VK_HOME:
      selected_ = 0;
      ScrollView(SB_TOP, 0);
      return;
    case VK_UP:
      selected_ = std::max(selected_ - 1, 0);
      break;
    case VK_DOWN:
      selected_ += 1;
      limit_down();
      break;
    default:
      return;
  }
  EnsureSelectedVisible();
  InvalidateView();
}

void ResultView::OnClick(unsigned y) {
  SetFocus(window_);
  unsigned row = (static_cast<unsigned>(ScrollPosition()) + y) / static_cast<unsigned>(line_height_);
  if (static_cast<int>(row) == selected_) return;
  selected_ = static_cast<int>(row);
  EnsureSelectedVisible();
  InvalidateView();
}

void ResultView::OnWheel(int delta) {
  ScrollView(SB_THUMBTRACK, ScrollPosition() - (delta * line_height_ * kRowsPerNotch) / kWheelDelta);
}

void ResultView::PaintView(HDC target) {
  RECT client;
  GetClientRect(window_, &client);
  int width = client.right;
  int height = client.bottom;
  int y = -ScrollPosition();
  HDC row = CreateCompatibleDC(target);
  HBITMAP row_bitmap = CreateCompatibleBitmap(target, std::max(width, 1), line_height_);
  HGDIOBJ previous_bitmap = SelectObject(row, row_bitmap);
  SetBkMode(row, TRANSPARENT);
  HBRUSH background = CreateSolidBrush(GetFocus() == window_ ? kFocusedBackground : kIdleBackground);
  for (size_t i = 0; i < lines_.size(); ++i, y += line_height_) {
    if (y <= -line_height_) continue;
    if (y >= height) break;
    bool is_selected = static_cast<int>(i) == selected_;
    RECT row_rect = {0, 0, width, line_height_};
    FillRect(row, &row_rect, is_selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : background);
    if (!lines_[i].empty()) DrawLine(row, lines_[i], is_selected, width);
    if (is_selected) {
      HGDIOBJ previous_brush = SelectObject(row, focus_frame_brush_);
      PatBlt(row, 0, 0, width, line_height_, PATINVERT);
      PatBlt(row, 1, 1, width - 2, line_height_ - 2, PATINVERT);
      SelectObject(row, previous_brush);
    }
    BitBlt(target, 0, y, width, line_height_, row, 0, 0, SRCCOPY);
  }
  if (y < height) {
    RECT rest = {0, std::max(y, 0), width, height};
    FillRect(target, &rest, background);
  }
  DeleteObject(background);
  SelectObject(row, previous_bitmap);
  DeleteObject(row_bitmap);
  DeleteDC(row);
}

void ResultView::DrawLine(HDC dc, const std::string& line, bool is_selected, int width) {
  std::wstring text = FromWindows1250(line.substr(0, kMaxDrawnBytes));
  bool head = text[0] == L' ' || text[0] == L':';
  bool has_group = text.find(L'(') != std::wstring::npos;
  COLORREF main = text[0] == L' ' ? kHeadColor : text[0] == L':' ? kSubHeadColor : kTranslationColor;
  if (is_selected) main = kSelectedTextColor;
  COLORREF side = is_selected ? kSelectedTextColor : kGroupColor;
  HFONT font = normal_font_;
  if (head) {
    for (const MarkerRun& run : kMarker) {
      for (int x = run.x; x < run.x + run.count; ++x) SetPixel(dc, x, run.y, main);
    }
    text[0] = L' ';  // a leading ':' is never shown
    font = bold_font_;
  }
  HGDIOBJ previous_font = SelectObject(dc, font);
  text = FitLine(dc, std::move(text), head && has_group, width - kRightMargin);
  SetTextColor(dc, main);
  if (has_group) {
    DrawSegments(dc, text, main, side, font);
  } else {
    ExtTextOutW(dc, kTextLeft, 0, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
  }
  SelectObject(dc, previous_font);
}

std::wstring ResultView::FitLine(HDC dc, std::wstring text, bool head_with_groups, int limit) const {
  int dots = TextWidth(dc, L"...", 3);
  if (head_with_groups) {
    int x = 0;
    size_t cut = 0;
    size_t i = 0;
    while (i < text.size() && x <= limit) {
      if (text[i] == L'(') {
        SelectObject(dc, normal_font_);
      } else if (i > 0 && text[i - 1] == L')') {
        SelectObject(dc, bold_font_);
      }
      x += TextWidth(dc, text.substr(i, 1), 1);
      ++i;
      if (x + dots <= limit) cut = i;
    }
    SelectObject(dc, bold_font_);
    if (i < text.size() || x > limit) text = text.substr(0, cut) + L"...";
    return text;
  }
  if (TextWidth(dc, text, text.size()) <= limit) return text;
  size_t length = text.size();
  while (length > 0 && TextWidth(dc, text, length) + dots > limit) --length;
  return text.substr(0, length) + L"...";
}

void ResultView::DrawSegments(HDC dc, const std::wstring& text, COLORREF main, COLORREF side,
                              HFONT main_font) const {
  COLORREF colour = main, other_colour = side;
  HFONT font = main_font, other_font = normal_font_;
  bool inside = false;
  int x = kTextLeft;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = inside ? text.find(L')', pos) : text.find(L'(', pos);
    end = end == std::wstring::npos ? text.size() : (inside ? end + 1 : end);
    SelectObject(dc, font);
    SetTextColor(dc, colour);
    ExtTextOutW(dc, x, 0, 0, nullptr, text.data() + pos, static_cast<UINT>(end - pos), nullptr);
    x += TextWidth(dc, text.substr(pos, end - pos), end - pos);
    std::swap(colour, other_colour);
    std::swap(font, other_font);
    inside = !inside;
    pos = end;
  }
}

}  // namespace vordo
