#pragma once

#include <windows.h>

#include <unknwn.h>

#include <cstddef>
#include <utility>

namespace windlock::win32 {

// Owns one reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }

  // Takes over a reference the caller already holds.
  static ComPtr Adopt(T* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* pointer) {
    if (pointer) pointer->AddRef();
    return Adopt(pointer);
  }

  void Reset() {
    if (pointer_) std::exchange(pointer_, nullptr)->Release();
  }
  // Releases the current reference and hands out the slot for a function to fill.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(pointer_, nullptr); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // QueryInterface for U; empty when the object does not give it.
  template <typename U>
  ComPtr<U> As(HRESULT* result = nullptr) const {
    ComPtr<U> other;
    HRESULT hr = pointer_ ? pointer_->QueryInterface(__uuidof(U), other.PutVoid()) : E_POINTER;
    if (result) *result = hr;
    return other;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace windlock::win32
