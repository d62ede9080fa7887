#pragma once

#include <unknwn.h>

#include "backends/win32/com/com_ptr.h"

namespace windlock_test {

using windlock::win32::ComPtr;

// The object's identity: the IUnknown pointer QueryInterface gives. Used only for comparing, so
// no reference is kept.
inline IUnknown* Identity(IUnknown* object) {
  IUnknown* identity = nullptr;
  if (!object || FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
    return nullptr;
  identity->Release();
  return identity;
}

// How many references a COM object of the tests' own has now.
template <class Object>
ULONG ReferenceCount(Object& object) {
  object.AddRef();
  return object.Release();
}

}  // namespace windlock_test
