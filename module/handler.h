#ifndef VORDO_MODULE_HANDLER_H_
#define VORDO_MODULE_HANDLER_H_

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <ocidl.h>

#include "com/com_object.h"
#include "com/com_ref.h"
#include "com/inner_unknown.h"
#include "com/type_info_dispatch.h"
#include "com/vordo_idl.h"

namespace vordo {

// The toolbar button: the browser gives it its site and calls Exec when
// the user presses the button, which asks the browser to show the panel.
// It may be aggregated: its IUnknown calls then go to the outer object,
// which holds the handler through its non-delegating IUnknown.
class Handler final : public TypeInfoDispatch<IHandler>,
                      public IObjectWithSite,
                      public IOleCommandTarget {
 public:
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    return controlling_->QueryInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return controlling_->AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return controlling_->Release(); }

  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) override;

  HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                        OLECMDTEXT* text) override;
  HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                                 VARIANT* out) override;

 private:
  // What the non-delegating IUnknown (inner_) calls.
  friend class InnerUnknown<Handler>;
  ULONG AddReference() { return count_.Add(); }
  ULONG RemoveReference();
  HRESULT QueryOwnInterface(REFIID iid, void** out);

  explicit Handler(IUnknown* outer) : inner_(this), controlling_(outer != nullptr ? outer : &inner_) {}
  ~Handler() override = default;

  ComObjectCount count_;
  InnerUnknown<Handler> inner_;
  IUnknown* controlling_;  // the outer object, or inner_ when not aggregated
  ComRef<IUnknown> site_;
  ComRef<IWebBrowser2> browser_;
};

}  // namespace vordo

#endif  // VORDO_MODULE_HANDLER_H_
