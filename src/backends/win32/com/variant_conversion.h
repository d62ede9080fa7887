#pragma once

#include <windows.h>

#include <oaidl.h>

#include "backends/win32/com/owned_variant.h"
#include "common/variant.h"

namespace windlock::win32 {

// A request value as the core keeps it: BSTR as text, integers as numbers, byte arrays as
// bytes; anything else as its text form.
Variant FromVariant(const VARIANT& value);

}  // namespace windlock::win32
