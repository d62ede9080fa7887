// The server's entry points, as LKIEWindlock.def exports them.
#include <windows.h>

#include <string>

#include "platform/win32/class_factory.h"
#include "platform/win32/module.h"
#include "platform/win32/registration.h"
#include "platform/win32/text.h"
#include "windlock/band_ids.h"

namespace {

windlock::win32::ClassFactory g_factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  CLSID band{};
  if (FAILED(CLSIDFromString(windlock::win32::Widen(windlock::kBandClsid).c_str(), &band)) ||
      clsid != band) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return g_factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return windlock::win32::ModuleInUse() ? S_FALSE : S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return windlock::win32::RegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return windlock::win32::UnregisterServer();
}

// regsvr32 /i (after DllRegisterServer) and regsvr32 /u /i (before DllUnregisterServer).
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR) {
  return install ? windlock::win32::InstallExplorerBar() : windlock::win32::UninstallExplorerBar();
}
