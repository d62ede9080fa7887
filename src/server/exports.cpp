// The server's entry points, as LKIEWindlock.def exports them.
#include <windows.h>

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"
#include "backends/win32/com/module_lock.h"
#include "backends/win32/com/text.h"
#include "server/class_factory.h"
#include "server/registration.h"
#include "windlock/band_ids.h"

using windlock::win32::GuardedCall;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) noexcept {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  // Unloaded by FreeLibrary (reserved null), not by the process ending.
  if (reason == DLL_PROCESS_DETACH && !reserved) windlock::win32::UnregisterModuleClasses();
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid,
                                                    void** object) noexcept {
  return GuardedCall([&] {
    if (!object) return E_POINTER;
    *object = nullptr;
    CLSID band{};
    if (FAILED(CLSIDFromString(windlock::win32::Widen(windlock::kBandClsid).c_str(), &band)) ||
        clsid != band) {
      return CLASS_E_CLASSNOTAVAILABLE;
    }
    return windlock::server::ClassFactory::Make()->QueryInterface(iid, object);
  });
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() noexcept {
  return GuardedCall([] { return windlock::win32::ModuleInUse() ? S_FALSE : S_OK; });
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() noexcept {
  return GuardedCall([] { windlock::server::RegisterServer(); });
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() noexcept {
  return GuardedCall([] { windlock::server::UnregisterServer(); });
}

// regsvr32 /i (after DllRegisterServer) and regsvr32 /u /i (before DllUnregisterServer); with
// /n /i:U, the current user's part alone. Uninstalling leaves every user's settings, so for the
// user's part it has nothing to do.
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR command_line) noexcept {
  return GuardedCall([&] {
    using windlock::server::InstallScope;
    std::optional<InstallScope> scope = windlock::server::ParseInstallCommandLine(command_line);
    if (!scope) return E_INVALIDARG;
    if (*scope == InstallScope::kUser) {
      if (install) windlock::server::InstallUserDefaults();
    } else if (install) {
      windlock::server::InstallExplorerBar();
    } else {
      windlock::server::UninstallExplorerBar();
    }
    return S_OK;
  });
}
