#include "module/class_factory.h"

#include "com/module_state.h"

namespace vordo {
namespace {

constexpr LONG kCachedOnly = 1;

}  // namespace

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
  LONG references = InterlockedIncrement(&references_);
  if (references == kCachedOnly + 1) LockModule();  // the first reference from outside
  return static_cast<ULONG>(references);
}

ULONG ClassFactory::Release() {
  LONG references = InterlockedDecrement(&references_);
  if (references == kCachedOnly) UnlockModule();  // the last reference from outside
  if (references == 0) delete this;
  return static_cast<ULONG>(references);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  // An aggregated object hands out only its own, non-delegating IUnknown.
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return creator_(outer, iid, out);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}

}  // namespace vordo
