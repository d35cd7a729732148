#ifndef VORDO_COM_COM_OBJECT_H_
#define VORDO_COM_COM_OBJECT_H_

#include <windows.h>

#include "com/module_state.h"

namespace vordo {

// Reference counting for the module's COM objects: each live object holds
// a lock on the module, so that it is not unloaded under them.
class ComObjectCount {
 public:
  ComObjectCount() { LockModule(); }
  ~ComObjectCount() { UnlockModule(); }
  ComObjectCount(const ComObjectCount&) = delete;
  ComObjectCount& operator=(const ComObjectCount&) = delete;

  ULONG Add() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG Remove() { return static_cast<ULONG>(InterlockedDecrement(&references_)); }

 private:
  volatile LONG references_ = 1;
};

// Hands out `object`'s interface `iid` (through QueryInterface, which adds a
// reference) and drops the creator's own reference.
template <typename Object>
HRESULT HandOut(Object* object, REFIID iid, void** out) {
  HRESULT result = object->QueryInterface(iid, out);
  object->Release();
  return result;
}

}  // namespace vordo

#endif  // VORDO_COM_COM_OBJECT_H_
