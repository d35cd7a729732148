#ifndef VORDO_COM_TYPE_INFO_DISPATCH_H_
#define VORDO_COM_TYPE_INFO_DISPATCH_H_

#include <oaidl.h>
#include <oleauto.h>

namespace vordo {

// The type information of one of the module's interfaces, from the
// registered type library, or from the module's own TYPELIB resource when
// the library is not registered.
HRESULT LoadModuleTypeInfo(REFGUID interface_id, ITypeInfo** info);

// IDispatch of a dual interface, served from the module's type library:
// names and calls go through the interface's type information to the
// vtable methods of `Interface`.
template <typename Interface>
class TypeInfoDispatch : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    HRESULT result = EnsureTypeInfo();
    if (FAILED(result)) return result;
    type_info_->AddRef();
    *info = type_info_;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT result = EnsureTypeInfo();
    return FAILED(result) ? result : DispGetIDsOfNames(type_info_, names, count, ids);
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override {
    HRESULT loaded = EnsureTypeInfo();
    if (FAILED(loaded)) return loaded;
    return DispInvoke(static_cast<Interface*>(this), type_info_, member, flags, params, result,
                      exception, argument_error);
  }

 protected:
  TypeInfoDispatch() = default;
  virtual ~TypeInfoDispatch() {
    if (type_info_ != nullptr) type_info_->Release();
  }

 private:
  HRESULT EnsureTypeInfo() {
    return type_info_ != nullptr ? S_OK : LoadModuleTypeInfo(__uuidof(Interface), &type_info_);
  }

  ITypeInfo* type_info_ = nullptr;
};

}  // namespace vordo

#endif  // VORDO_COM_TYPE_INFO_DISPATCH_H_
