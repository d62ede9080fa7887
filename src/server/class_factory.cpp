#include "server/class_factory.h"

#include "server/ie_bar.h"

namespace windlock::server {

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept {
  return win32::GuardedCall([&] {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return IEBar::Make()->QueryInterface(iid, object);
  });
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) noexcept {
  return win32::GuardedCall([&] {
    if (lock) {
      win32::LockModule();
    } else {
      win32::UnlockModule();
    }
  });
}

}  // namespace windlock::server
