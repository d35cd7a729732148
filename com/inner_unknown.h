#ifndef VORDO_COM_INNER_UNKNOWN_H_
#define VORDO_COM_INNER_UNKNOWN_H_

#include <unknwn.h>

namespace vordo {

// The non-delegating IUnknown of an object that may be aggregated: it owns
// the object's life and answers for its interfaces, while the object's own
// IUnknown methods go to the controlling unknown (the outer object, or this
// one). `Object` provides AddReference, RemoveReference (deleting itself at
// zero) and QueryOwnInterface (for every interface but IUnknown).
template <typename Object>
class InnerUnknown final : public IUnknown {
 public:
  explicit InnerUnknown(Object* object) : object_(object) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return object_->QueryOwnInterface(iid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return object_->AddReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return object_->RemoveReference(); }

 private:
  Object* object_;
};

}  // namespace vordo

#endif  // VORDO_COM_INNER_UNKNOWN_H_
