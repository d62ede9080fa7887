#pragma once

#include <windows.h>

#include <oleauto.h>

#include <utility>

namespace windlock::win32 {

// Owns one handle that Windows hands out, and gives it back with `Close` when it goes: one
// template for keys, strings, fonts, device contexts and memory, as ComPtr is for interfaces,
// and with ComPtr's names.
template <class Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Takes over a handle the caller holds.
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.Detach();
    }
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Handle{}; }

  void Reset() noexcept {
    if (handle_ != Handle{}) Close(std::exchange(handle_, Handle{}));
  }
  // Closes the handle held and hands out the slot for a function to fill.
  Handle* Put() noexcept {
    Reset();
    return &handle_;
  }
  // Hands the handle to the caller.
  Handle Detach() noexcept { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

using Bstr = UniqueHandle<BSTR, &SysFreeString>;
using RegistryKey = UniqueHandle<HKEY, &RegCloseKey>;
using LocalMemory = UniqueHandle<HLOCAL, &LocalFree>;
using KernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using GlobalMemory = UniqueHandle<HGLOBAL, &GlobalFree>;

}  // namespace windlock::win32
