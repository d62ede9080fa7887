#include "backends/win32/view/common_controls.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "backends/win32/com/win32_error.h"
#include "backends/win32/view/activation_context.h"
#include "common/scope_exit.h"

namespace windlock::win32 {

void InitCommonControlsOnce() {
  // Not std::call_once: with winpthread a call_once after one that threw never returns. A set-up
  // that failed is tried again by the next bar.
  static SRWLOCK lock = SRWLOCK_INIT;
  static bool done = false;
  AcquireSRWLockExclusive(&lock);
  ScopeExit release([] { ReleaseSRWLockExclusive(&lock); });
  if (done) return;
  // The version the module's manifest names, loaded inside its activation context (the
  // loader does not bind a DLL's own imports through it everywhere); kept for the process,
  // whose windows may outlive any one bar.
  ModuleActivation activation;
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  if (!controls) throw ErrorFromWin32(GetLastError());
  using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto initialise = reinterpret_cast<Initialise>(
      reinterpret_cast<void*>(GetProcAddress(controls, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS |
                                                   ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                   ICC_STANDARD_CLASSES};
  if (!initialise || !initialise(&classes)) throw ErrorFromHresult(E_FAIL);
  done = true;
}

}  // namespace windlock::win32
