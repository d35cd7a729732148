#ifndef VORDO_MODULE_CLASS_FACTORY_H_
#define VORDO_MODULE_CLASS_FACTORY_H_

#include <unknwn.h>

namespace vordo {

// The class object of one of the module's classes. The module caches one
// per class; a reference held outside the module locks the module.
class ClassFactory final : public IClassFactory {
 public:
  // Creates an object, inside `outer` when it is not null (aggregation).
  using Creator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

  explicit ClassFactory(Creator creator) : creator_(creator) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  ~ClassFactory() = default;

  Creator creator_;
  volatile LONG references_ = 1;  // the module's cache holds the first
};

}  // namespace vordo

#endif  // VORDO_MODULE_CLASS_FACTORY_H_
