#pragma once

#include <cstdint>

#include "common/error.h"

namespace windlock::win32 {

// The errors a page's script meets, numbered as its engine reports them; the bar reports the
// same when it reaches the page from outside.

// A call of a method the object lacks.
inline constexpr int32_t kErrNoSuchMethod = 438;
// An element or option the page does not have.
inline constexpr int32_t kErrObjectRequired = 424;

inline Error NoSuchMethod() {
  return Error(kErrNoSuchMethod, "Object doesn't support this property or method");
}

inline Error ObjectRequired() {
  return Error(kErrObjectRequired, "Object required");
}

}  // namespace windlock::win32
