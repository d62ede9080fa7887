#pragma once

#include <windows.h>

#include <oaidl.h>

#include <optional>

#include "backends/win32/com/variant_conversion.h"
#include "common/variant.h"

namespace windlock::win32 {

// The values a page's script hands window.external and gets back from it.

// An argument as the core takes it, read through a reference; none when its type has no
// counterpart (a fraction, an object that is not MSXML's).
std::optional<Variant> ScriptArgument(const VARIANT& value);

// The core's value as the script sees it; fails with an Error for an XML document or node that
// is not MSXML's.
OwnedVariant ScriptValue(const Variant& value);

// Stores the core's value where a by-reference argument points, converted to the type it points
// to.
void StoreThroughReference(const Variant& value, VARIANT& reference);

}  // namespace windlock::win32
