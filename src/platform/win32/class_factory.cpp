#include "platform/win32/class_factory.h"

#include <new>

#include "common/error.h"
#include "common/hresult.h"
#include "platform/win32/ie_bar.h"
#include "platform/win32/win32_error.h"

namespace windlock::win32 {

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
  LockModule();
  return 2;
}

STDMETHODIMP_(ULONG) ClassFactory::Release() {
  UnlockModule();
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
    LockModule();
  } else {
    UnlockModule();
  }
  return S_OK;
}

}  // namespace windlock::win32
