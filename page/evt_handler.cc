#include "page/evt_handler.h"

#include <new>

#include "page/sink_owners.h"
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
  // The timer runs on the window of the panel bound until now, which is
  // alive: a panel unbinds its sinks before it goes.
  StopTimer();
  document_.Reset();
  band_ = nullptr;
  if (document == nullptr) return S_OK;
  HoverTarget* owner = SinkOwnerAt(static_cast<IEvtHandler*>(this), band);
  if (owner == nullptr || FAILED(document->QueryInterface(IID_IHTMLDocument2, document_.OutVoid()))) {
    document_.Reset();
    return S_OK;
  }
  band_ = owner;
  return S_OK;
}

HRESULT EvtHandler::Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argument_error) {
  if (member != DISPID_VALUE || (flags & DISPATCH_METHOD) == 0 || params == nullptr || params->cArgs == 0 ||
      params->rgvarg == nullptr) {
    return TypeInfoDispatch::Invoke(member, iid, locale, flags, params, result, exception, argument_error);
  }
  // The first argument stands last.
  const VARIANT& argument = params->rgvarg[params->cArgs - 1];
  IDispatch* dispatch = nullptr;
  if (argument.vt == VT_DISPATCH) {
    dispatch = argument.pdispVal;
  } else if (argument.vt == (VT_DISPATCH | VT_BYREF) && argument.ppdispVal != nullptr) {
    dispatch = *argument.ppdispVal;
  }
  ComRef<IHTMLEventObj> event;
  if (dispatch != nullptr && FAILED(dispatch->QueryInterface(IID_IHTMLEventObj, event.OutVoid()))) {
    event.Reset();
  }
  OnMouseMove(event.get());
  if (result != nullptr) VariantInit(result);
  return S_OK;
}

HRESULT EvtHandler::Default() {
  OnMouseMove(nullptr);
  return S_OK;
}

void EvtHandler::OnMouseMove(IHTMLEventObj* given) {
  if (!document_ || band_ == nullptr) return;
  ComRef<IHTMLEventObj> event;
  if (given != nullptr) {
    event.Assign(given);
  } else {
    ComRef<IHTMLWindow2> window;
    if (FAILED(document_->get_parentWindow(window.Out())) || !window || FAILED(window->get_event(event.Out()))) {
      return;
    }
  }
  if (!event) return;
  long x = 0, y = 0;
  event->get_screenX(&x);
  event->get_screenY(&y);
  last_screen_x_ = x;
  last_screen_y_ = y;
  ComRef<IHTMLElement> source;
  if (FAILED(event->get_srcElement(source.Out())) || !source) return;
  BSTR tag = nullptr;
  bool is_span = SUCCEEDED(source->get_tagName(&tag)) && tag != nullptr && lstrcmpW(tag, L"SPAN") == 0;
  SysFreeString(tag);
  if (!is_span) return;
  BSTR text = nullptr;
  source->get_innerText(&text);
  // The word is Windows-1250 whatever the system's code page.
  word_ = text == nullptr ? std::string()
                          : WideToNarrow(std::u16string_view(reinterpret_cast<const char16_t*>(text),
                                                             SysStringLen(text)));
  SysFreeString(text);
  // Without its window the panel has no timers: a timer on no window would
  // get an identifier of the system's choosing, not this handler's.
  HWND window = band_->HoverWindow();
  if (window == nullptr) return;
  // A timer with the same window and identifier replaces the running one:
  // the 400 ms count from the last move.
  SetTimer(window, reinterpret_cast<UINT_PTR>(this), kHoverMilliseconds, HoverTimerProc);
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
