#include "support/run_tests.h"

#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "support/dialogs.h"
#include "support/dll_under_test.h"

namespace windlock_test {

int RunTestsAgainst(const char* program, const char* dll_path) {
  SetDllPath(dll_path);
  // Aware of each screen's DPI, as the browser is, so that Windows does not stretch the bar.
  using SetAwareness = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  if (auto set_awareness = reinterpret_cast<SetAwareness>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
    set_awareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  }
  if (GetFileAttributesW(DllPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "%s: no DLL at %s\n", program, Narrow(DllPath()).c_str());
    return 2;
  }
  if (FAILED(OleInitialize(nullptr))) {
    std::fprintf(stderr, "%s: OleInitialize failed\n", program);
    return 2;
  }
  int result = 0;
  {
    ModalGuard guard;
    result = RUN_ALL_TESTS();
  }
  OleUninitialize();
  return result;
}

}  // namespace windlock_test
