#pragma once

#include <atomic>

namespace windlock::win32 {

// The count of live COM objects and server locks that keep the module loaded: DllCanUnloadNow
// answers from it. One count per module: the variable is inline, defined once in each image.
inline std::atomic<long> g_module_locks{0};

inline void LockModule() noexcept {
  ++g_module_locks;
}
inline void UnlockModule() noexcept {
  --g_module_locks;
}
inline bool ModuleInUse() noexcept {
  return g_module_locks > 0;
}

// Counts one live object for as long as it exists.
class ModuleReference {
 public:
  ModuleReference() noexcept { LockModule(); }
  ModuleReference(const ModuleReference&) noexcept : ModuleReference() {}
  ModuleReference& operator=(const ModuleReference&) = default;
  ~ModuleReference() { UnlockModule(); }
};

}  // namespace windlock::win32
