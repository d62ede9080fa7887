#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>
#include <vector>

#include "common/variant.h"

namespace windlock::win32 {

// Calls the method `name` of a script object (a page's window) with `args`, first to last, and
// hands back its result as the core's value. Fails with an Error: "Object doesn't support this
// property or method" (438) when the object has no such method, the script's own error when the
// call raises one, the HRESULT when the call fails otherwise.
Variant CallByName(IDispatch& object, const std::string& name, const std::vector<Variant>& args);

}  // namespace windlock::win32
