#pragma once

#include <cstdint>

#include "common/error.h"

namespace windlock {

// The COM results the band protocol reports.
using HResult = int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057);

// A success code that carries a count (MAKE_HRESULT(SEVERITY_SUCCESS, 0, count)).
inline constexpr HResult SuccessWithCount(uint16_t count) {
  return count;
}

// What a COM method returns for a failure: the error's number when it is a failure code, else
// E_FAIL.
inline HResult HResultFromError(const Error& error) {
  return error.number() < 0 ? error.number() : kEFail;
}

}  // namespace windlock
