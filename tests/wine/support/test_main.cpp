// The entry point of every Windows test program: PROGRAM PATH-OF-LKIEWindlock.dll [gtest flags].
#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "support/dialogs.h"
#include "support/dll_under_test.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PATH-OF-LKIEWindlock.dll [gtest flags]\n", argv[0]);
    return 2;
  }
  windlock_test::SetDllPath(argv[1]);
  // Aware of each screen's DPI, as the browser is, so that Windows does not stretch the bar.
  using SetAwareness = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  if (auto set_awareness = reinterpret_cast<SetAwareness>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")))) {
    set_awareness(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  }
  if (GetFileAttributesW(windlock_test::DllPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "no DLL at %s\n", windlock_test::Narrow(windlock_test::DllPath()).c_str());
    return 2;
  }
  // A single-threaded apartment with OLE, as on the browser's band threads.
  if (FAILED(OleInitialize(nullptr))) {
    std::fprintf(stderr, "OleInitialize failed\n");
    return 2;
  }
  int result = 0;
  {
    windlock_test::ModalGuard guard;
    result = RUN_ALL_TESTS();
  }
  OleUninitialize();
  return result;
}
