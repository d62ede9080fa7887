#pragma once

#include <unknwn.h>

#include "platform/win32/com_ptr.h"

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

}  // namespace windlock_test
