#ifndef VORDO_PANEL_RESULT_VIEW_H_
#define VORDO_PANEL_RESULT_VIEW_H_

#include <windows.h>

#include <string>
#include <vector>

#include "dictionary/result_entry.h"

namespace vordo {

class DicBand;

// The custom-drawn, vertically scrolling list of the panel: one row per
// display line, head lines bold with a small triangle, parenthesised parts
// grey, every line that does not fit cut with "...". It holds the result
// list of the last lookup, and Translate, which fills it.
class ResultView {
 public:
  explicit ResultView(DicBand* owner) : owner_(owner) {}
  ~ResultView();
  ResultView(const ResultView&) = delete;
  ResultView& operator=(const ResultView&) = delete;

  // Creates the window (hidden, a child of the owner's band window), the
  // fonts and the selection brush once; returns the window, or null.
  HWND Create();

  // Looks the query up (trimming it in place) and, when `display`, shows
  // the results; see the panel's description in dic_band.h.
  void Translate(std::string* query, bool set_focus, bool display);

  void UpdateScrollRange();
  void ScrollView(int code, int position);
  void EnsureSelectedVisible();
  void InvalidateView();

  HWND window() const { return window_; }
  HFONT normalFont() const { return normal_font_; }
  int lineHeight() const { return line_height_; }
  int selected() const { return selected_; }
  const std::vector<std::string>& lines() const { return lines_; }
  const std::vector<ResultEntry>& results() const { return results_; }

 private:
  static LRESULT CALLBACK ResultViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnKey(WPARAM key);
  void OnClick(unsigned y);
  void OnWheel(int delta);
  // Paints the client area into `target` row by row through a one-row
  // buffer; also what WM_PRINTCLIENT draws.
  void PaintView(HDC target);
  void DrawLine(HDC dc, const std::string& line, bool is_selected, int width);
  int ClientHeight() const;
  int ScrollPosition() const;

  DicBand* owner_;
  HWND window_ = nullptr;
  HFONT normal_font_ = nullptr;
  HFONT bold_font_ = nullptr;
  HBRUSH focus_frame_brush_ = nullptr;
  int line_height_ = 14;
  int selected_ = 0;
  std::vector<std::string> lines_;
  std::vector<ResultEntry> results_;
};

}  // namespace vordo

#endif  // VORDO_PANEL_RESULT_VIEW_H_
