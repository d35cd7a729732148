#ifndef VORDO_PAGE_EVT_HANDLER_H_
#define VORDO_PAGE_EVT_HANDLER_H_

#include <windows.h>
#include <mshtml.h>

#include <string>

#include "com/com_object.h"
#include "com/com_ref.h"
#include "com/inner_unknown.h"
#include "com/type_info_dispatch.h"
#include "com/vordo_idl.h"
#include "page/hover_target.h"

namespace vordo {

// The mouse-move handler of a document's word elements: a document calls
// its member 0 (Default) at every mouse move over a SPAN it hooked; after
// 400 ms of rest on the same spot the word is looked up. One handler serves
// one document, bound by Setup. It may be aggregated.
class EvtHandler final : public TypeInfoDispatch<IEvtHandler> {
 public:
  static constexpr UINT kHoverMilliseconds = 400;

  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return controlling_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return controlling_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return controlling_->Release(); }

  // Member 0 with an argument: newer document modes hand the handler the
  // event object; everything else is served from the type library.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument_error) override;

  HRESULT STDMETHODCALLTYPE Default() override;
  // Stops the timer and unbinds the handler; then binds it to `document`
  // for the panel at address `band`, if that panel is alive and owns this
  // handler (see sink_owners.h). Any other address leaves it unbound.
  HRESULT STDMETHODCALLTYPE Setup(IDispatch* document, LONG_PTR band) override;

  const std::string& word() const { return word_; }

 private:
  // What the non-delegating IUnknown (inner_) calls.
  friend class InnerUnknown<EvtHandler>;
  ULONG AddReference() { return count_.Add(); }
  ULONG RemoveReference();
  HRESULT QueryOwnInterface(REFIID iid, void** out);

  explicit EvtHandler(IUnknown* outer) : inner_(this), controlling_(outer != nullptr ? outer : &inner_) {}
  ~EvtHandler() override;

  // Notes the word under the mouse and (re)starts the 400 ms timer; the
  // event is `given`, or else the document window's current one.
  void OnMouseMove(IHTMLEventObj* given);
  static void CALLBACK HoverTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
  void CheckHover();
  void StopTimer();

  ComObjectCount count_;
  InnerUnknown<EvtHandler> inner_;
  IUnknown* controlling_;
  HoverTarget* band_ = nullptr;
  std::string word_;
  LONG last_screen_x_ = -1;
  LONG last_screen_y_ = -1;
  ComRef<IHTMLDocument2> document_;
};

}  // namespace vordo

#endif  // VORDO_PAGE_EVT_HANDLER_H_
