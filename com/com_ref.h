#ifndef VORDO_COM_COM_REF_H_
#define VORDO_COM_COM_REF_H_

#include <unknwn.h>

namespace vordo {

// Holds one reference to a COM interface and releases it when it goes.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  // Moving hands the one reference over.
  ComRef(ComRef&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.pointer_;
      other.pointer_ = nullptr;
    }
    return *this;
  }

  // Takes a new reference to `pointer` (which may be null).
  void Assign(Interface* pointer) {
    if (pointer != nullptr) pointer->AddRef();
    Reset();
    pointer_ = pointer;
  }

  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }

  // For calls that hand out a reference: releases the held one first.
  Interface** Out() {
    Reset();
    return &pointer_;
  }
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace vordo

#endif  // VORDO_COM_COM_REF_H_
