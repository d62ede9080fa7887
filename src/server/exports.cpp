// The server's entry points, as LKIEWindlock.def exports them.
#include <windows.h>

#include <string>

#include "platform/win32/module.h"
#include "platform/win32/text.h"
#include "server/class_factory.h"
#include "server/registration.h"
#include "windlock/band_ids.h"

namespace {

windlock::server::ClassFactory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}

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
  return windlock::server::RegisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return windlock::server::UnregisterServer();
}

// regsvr32 /i (after DllRegisterServer) and regsvr32 /u /i (before DllUnregisterServer).
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR) {
  return install ? windlock::server::InstallExplorerBar()
                 : windlock::server::UninstallExplorerBar();
}
