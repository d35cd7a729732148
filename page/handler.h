#ifndef VORDO_PAGE_HANDLER_H_
#define VORDO_PAGE_HANDLER_H_

#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <ocidl.h>

#include "module/com_object.h"
#include "module/com_ref.h"
#include "module/type_info_dispatch.h"
#include "module/vordo_idl.h"

namespace vordo {

// The toolbar button: the browser gives it its site and calls Exec when
// the user presses the button, which asks the browser to show the panel.
class Handler final : public TypeInfoDispatch<IHandler>,
                      public IObjectWithSite,
                      public IOleCommandTarget {
 public:
  static HRESULT Create(REFIID iid, void** out);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return count_.Add(); }
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
  HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** out) override;

  HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD* commands,
                                        OLECMDTEXT* text) override;
  HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                                 VARIANT* out) override;

 private:
  Handler() = default;
  ~Handler() override = default;

  ComObjectCount count_;
  ComRef<IUnknown> site_;
  ComRef<IWebBrowser2> browser_;
};

}  // namespace vordo

#endif  // VORDO_PAGE_HANDLER_H_
