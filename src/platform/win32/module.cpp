#include "platform/win32/module.h"

#include <atomic>

namespace windlock::win32 {
namespace {

HINSTANCE g_module = nullptr;
std::atomic<long> g_locks{0};

}  // namespace

HINSTANCE ModuleHandle() {
  return g_module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void LockModule() {
  ++g_locks;
}
void UnlockModule() {
  --g_locks;
}
bool ModuleInUse() {
  return g_locks > 0;
}

}  // namespace windlock::win32

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    windlock::win32::g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}
