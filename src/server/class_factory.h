#pragma once

#include <unknwn.h>

#include "backends/win32/com/com_object.h"

namespace windlock::server {

// Makes IEBar objects; DllGetClassObject hands out a new one each time.
class ClassFactory : public win32::ComObject<ClassFactory, IClassFactory> {
 public:
  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;
  STDMETHODIMP LockServer(BOOL lock) noexcept override;

 protected:
  ~ClassFactory() override = default;
};

}  // namespace windlock::server
