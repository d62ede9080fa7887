#pragma once

#include <windows.h>

#include <new>
#include <type_traits>

#include "common/error.h"
#include "common/hresult.h"

namespace windlock::win32 {

// The body of every COM method the server implements: nothing thrown may reach the caller, so
// the core's Error becomes its HRESULT, a failed allocation E_OUTOFMEMORY and anything else
// E_UNEXPECTED. A body that returns nothing succeeds with S_OK.
template <class Body>
HRESULT ComGuard(Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Body&>>) {
      body();
      return S_OK;
    } else {
      return body();
    }
  } catch (const Error& error) {
    return HResultFromError(error);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace windlock::win32
