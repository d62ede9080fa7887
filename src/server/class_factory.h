#pragma once

#include <unknwn.h>

namespace windlock::server {

// Makes IEBar objects; one static instance serves DllGetClassObject.
class ClassFactory : public IClassFactory {
 public:
  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IClassFactory
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;
};

}  // namespace windlock::server
