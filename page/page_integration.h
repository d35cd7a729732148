#ifndef VORDO_PAGE_PAGE_INTEGRATION_H_
#define VORDO_PAGE_PAGE_INTEGRATION_H_

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include "com/com_ref.h"
#include "com/vordo_idl.h"
#include "page/hover_target.h"

namespace vordo {

// Automatic search on the page the browser shows: while the panel is shown,
// the body of the page and of each frame (16 documents at most) gets every
// word in a SPAN, once per page load, and one EvtHandler per document is
// the mouse-move handler of its leaf SPANs and bound to it. The markup goes
// through the marker in the browser's own UTF-16, so that no character of
// the page is converted.
class PageIntegration {
 public:
  static constexpr unsigned kMaxDocuments = 16;

  explicit PageIntegration(HoverTarget* band) : band_(band) {}
  // Unbinds the sinks and gives them up: the page's elements may hold them
  // after the band.
  ~PageIntegration();
  PageIntegration(const PageIntegration&) = delete;
  PageIntegration& operator=(const PageIntegration&) = delete;

  // Marks the browser's page (once per load) and binds the sinks when
  // `enable`; unbinds them otherwise.
  void SetPageIntegration(IWebBrowser2* browser, bool enable);
  // Unbinds the sinks there are, making none: the panel's window is going.
  void Unbind();
  // The next enabling call marks the page again: it is a new one.
  void ForgetPage() { page_marked_ = false; }
  bool pageMarked() const { return page_marked_; }

 private:
  bool CreateSinks();
  void MarkDocuments(IDispatch* document);
  void AttachSinks(IDispatch* document);
  void MarkBody(IHTMLElement* body);
  void HookLeafSpans(IHTMLElement* element, const VARIANT& handler);

  HoverTarget* band_;
  ComRef<IEvtHandler> sinks_[kMaxDocuments];
  unsigned sink_count_ = 0;
  bool page_marked_ = false;
};

// A seam for the tests: how the sinks are made. By default through COM, so
// that the module's class object serves them; null restores that.
using SinkCreator = HRESULT (*)(IEvtHandler** sink);
void SetSinkCreator(SinkCreator create);

}  // namespace vordo

#endif  // VORDO_PAGE_PAGE_INTEGRATION_H_
