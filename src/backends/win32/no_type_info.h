#pragma once

#include <windows.h>

#include <oaidl.h>

#include "backends/win32/com_guard.h"

namespace windlock::win32 {

// IDispatch's type-information methods for an object called only by DISPID (event sinks, a
// site's ambient properties, the script bridge): it has no type information to give.
inline HRESULT NoTypeInfoCount(UINT* count) noexcept {
  return ComGuard([&] {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  });
}

inline HRESULT NoTypeInfo(ITypeInfo** info) noexcept {
  return ComGuard([&] {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  });
}

}  // namespace windlock::win32
