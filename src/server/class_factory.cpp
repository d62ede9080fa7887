#include "server/class_factory.h"

#include <new>

#include "common/error.h"
#include "common/hresult.h"
#include "platform/win32/module.h"
#include "server/ie_bar.h"

namespace windlock::server {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

// The factory is static: its references keep the module loaded, as a lock does.
STDMETHODIMP_(ULONG) ClassFactory::AddRef() {
  win32::LockModule();
  return 2;
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
  win32::UnlockModule();
  return 1;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  try {
    IEBar* band = new IEBar();
    HRESULT result = band->QueryInterface(iid, object);
    band->Release();
    return result;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const Error& error) {
    return HResultFromError(error);
  }
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    win32::LockModule();
  } else {
    win32::UnlockModule();
  }
  return S_OK;
}

}  // namespace windlock::server
