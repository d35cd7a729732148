#ifndef VORDO_PANEL_RESULT_VIEW_H_
#define VORDO_PANEL_RESULT_VIEW_H_

#include <windows.h>

#include <string>
#include <vector>

namespace vordo {

// What the view tells its owner about the keyboard focus.
enum class ViewFocus {
  kChanged,  // the view gained or lost it
  kLeave,    // Tab or Escape: the user hands it back
};

class ResultViewOwner {
 public:
  virtual void OnViewFocus(ViewFocus event) = 0;

 protected:
  ~ResultViewOwner() = default;
};

// The custom-drawn, vertically scrolling list of the panel: one row per
// display line, head lines (a leading ' ') bold with a small triangle,
// sub-heads (a leading ':') likewise, parenthesised parts grey, every line
// that does not fit cut with "...". It only shows lines and moves a
// selection through them; what the lines say is its owner's business.
class ResultView {
 public:
  explicit ResultView(ResultViewOwner* owner) : owner_(owner) {}
  ~ResultView();
  ResultView(const ResultView&) = delete;
  ResultView& operator=(const ResultView&) = delete;

  // Creates the window (hidden, a child of `parent`) once; returns it, or
  // null. The fonts and the selection brush are made with the first window
  // and kept for the next, should the owner's windows be made again.
  HWND Create(HWND parent);
  // Unregisters the window class, when the module that registered it goes.
  static void UnregisterWindowClass();

  // Shows `lines` from the top with the first row selected.
  void ShowLines(std::vector<std::string> lines, bool set_focus);

  void UpdateScrollRange();
  void ScrollView(int code, int position);
  void EnsureSelectedVisible();
  void InvalidateView();

  HWND window() const { return window_; }
  HFONT normalFont() const { return normal_font_; }
  HFONT boldFont() const { return bold_font_; }
  HBRUSH focusFrameBrush() const { return focus_frame_brush_; }
  int lineHeight() const { return line_height_; }
  int selected() const { return selected_; }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  static LRESULT CALLBACK ResultViewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void CreateDrawingObjects();
  void OnKey(WPARAM key);
  void OnClick(unsigned y);
  void OnWheel(int delta);
  // Paints the client area into `target` row by row through a one-row
  // buffer; also what WM_PRINTCLIENT draws.
  void PaintView(HDC target);
  void DrawLine(HDC dc, const std::string& line, bool is_selected, int width);
  // The text as it fits in `limit` pixels from the text's left edge: whole,
  // or cut with "...". A head with groups is fitted a character at a time,
  // as its groups are drawn in the normal font and the rest in bold.
  std::wstring FitLine(HDC dc, std::wstring text, bool head_with_groups, int limit) const;
  // Draws the text from the left edge, the parts in parentheses and the
  // rest taking turns with the colour and the font.
  void DrawSegments(HDC dc, const std::wstring& text, COLORREF main, COLORREF side, HFONT main_font) const;
  int ClientHeight() const;
  int ScrollPosition() const;

  ResultViewOwner* owner_;
  HWND window_ = nullptr;
  HFONT normal_font_ = nullptr;
  HFONT bold_font_ = nullptr;
  HBRUSH focus_frame_brush_ = nullptr;
  int line_height_ = 14;
  int selected_ = 0;
  std::vector<std::string> lines_;
};

}  // namespace vordo

#endif  // VORDO_PANEL_RESULT_VIEW_H_
