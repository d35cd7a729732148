#include "page/evt_handler.h"

#include <new>

#include "platform/platform.h"

namespace vordo {

HRESULT EvtHandler::Create(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  // An aggregating object must ask for the inner IUnknown.
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  EvtHandler* handler = new (std::nothrow) EvtHandler(outer);
  if (handler == nullptr) return E_OUTOFMEMORY;
  return HandOut(&handler->inner_, iid, out);
}

HRESULT EvtHandler::QueryOwnInterface(REFIID iid, void** out) {
  if (!IsEqualIID(iid, IID_IEvtHandler) && !IsEqualIID(iid, IID_IDispatch)) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  *out = static_cast<IEvtHandler*>(this);
  // Through the interface, which counts on the controlling unknown.
  AddRef();
  return S_OK;
}

ULONG EvtHandler::RemoveReference() {
  ULONG references = count_.Remove();
  if (references == 0) delete this;
  return references;
}

EvtHandler::~EvtHandler() { StopTimer(); }

void EvtHandler::StopTimer() {
  if (band_ != nullptr && band_->HoverWindow() != nullptr) {
    KillTimer(band_->HoverWindow(), reinterpret_cast<UINT_PTR>(this));
  }
}

HRESULT EvtHandler::Setup(IDispatch* document, LONG_PTR band) {
  document_.Reset();
  if (document != nullptr && FAILED(document->QueryInterface(IID_IHTMLDocument2, document_.OutVoid()))) {
    document_.Reset();
  }
  band_ = reinterpret_cast<HoverTarget*>(band);
  StopTimer();
  // An unbound handler does nothing, so it keeps no band: it may stay on a
  // page's elements long after the band is gone.
  if (!document_) band_ = nullptr;
  return S_OK;
}

HRESULT EvtHandler::Default() {
  if (!document_ || band_ == nullptr) return S_OK;
  ComRef<IHTMLWindow2> window;
  ComRef<IHTMLEventObj> event;
  if (FAILED(document_->get_parentWindow(window.Out())) || !window ||
      FAILED(window->get_event(event.Out())) || !event) {
    return S_OK;
  }
  long x = 0, y = 0;
  event->get_screenX(&x);
  event->get_screenY(&y);
  last_screen_x_ = x;
  last_screen_y_ = y;
  ComRef<IHTMLElement> source;
  if (FAILED(event->get_srcElement(source.Out())) || !source) return S_OK;
  BSTR tag = nullptr;
  bool is_span = SUCCEEDED(source->get_tagName(&tag)) && tag != nullptr && lstrcmpW(tag, L"SPAN") == 0;
  SysFreeString(tag);
  if (!is_span) return S_OK;
  BSTR text = nullptr;
  source->get_innerText(&text);
  // The word is Windows-1250 whatever the system's code page.
  word_ = text == nullptr ? std::string()
                          : WideToNarrow(std::u16string_view(reinterpret_cast<const char16_t*>(text),
                                                             SysStringLen(text)));
  SysFreeString(text);
  // A timer with the same window and identifier replaces the running one:
  // the 400 ms count from the last move.
  SetTimer(band_->HoverWindow(), reinterpret_cast<UINT_PTR>(this), kHoverMilliseconds, HoverTimerProc);
  return S_OK;
}

void CALLBACK EvtHandler::HoverTimerProc(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  reinterpret_cast<EvtHandler*>(id)->CheckHover();
}

void EvtHandler::CheckHover() {
  POINT cursor;
  if (band_ == nullptr || !GetCursorPos(&cursor)) return;
  if (cursor.x != last_screen_x_ || cursor.y != last_screen_y_) return;  // moved on
  if (band_->PanelShown() && band_->InputField() != nullptr) {
    std::u16string wide = NarrowToWide(word_);
    SetWindowTextW(band_->InputField(), reinterpret_cast<const wchar_t*>(wide.c_str()));
  }
  band_->LookUpHovered(word_);
}

}  // namespace vordo
