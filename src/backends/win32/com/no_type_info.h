#pragma once

#include <windows.h>

#include <oaidl.h>

#include "backends/win32/com/guarded_call.h"

namespace windlock::win32 {

// IDispatch's type-information methods for an object called only by DISPID (event sinks, a
// site's ambient properties, the script bridge): it has no type information to give.
inline HRESULT NoTypeInfoCount(UINT* count) noexcept {
  return GuardedCall(
      [&] {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
      },
      AfterCall::kNothing);
}

inline HRESULT NoTypeInfo(ITypeInfo** info) noexcept {
  return GuardedCall(
      [&] {
        if (info) *info = nullptr;
        return E_NOTIMPL;
      },
      AfterCall::kNothing);
}

}  // namespace windlock::win32
