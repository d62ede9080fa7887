#pragma once

#include <windows.h>

#include "common/error.h"

namespace windlock::win32 {

// The core's Error for a failed call: the HRESULT as number, the system's text as description.
Error ErrorFromHresult(HRESULT result);
Error ErrorFromWin32(DWORD code);

inline void ThrowIfFailed(HRESULT result) {
  if (FAILED(result)) throw ErrorFromHresult(result);
}

}  // namespace windlock::win32
