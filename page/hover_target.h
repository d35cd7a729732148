#ifndef VORDO_PAGE_HOVER_TARGET_H_
#define VORDO_PAGE_HOVER_TARGET_H_

#include <windows.h>

#include <string>

namespace vordo {

// What a hover lookup needs of the panel: the window that owns the hover
// timers, the input field that shows the word, whether the panel is shown,
// and the lookup itself. The band is one; the page code knows it only so.
class HoverTarget {
 public:
  virtual HWND HoverWindow() const = 0;
  virtual HWND InputField() const = 0;
  virtual bool PanelShown() const = 0;
  // Looks the word up without taking the focus from the page, and shows the
  // result when the panel is shown.
  virtual void LookUpHovered(const std::string& word) = 0;

 protected:
  ~HoverTarget() = default;
};

}  // namespace vordo

#endif  // VORDO_PAGE_HOVER_TARGET_H_
