#pragma once

#include <windows.h>

namespace windlock::win32 {

// Makes the module's own activation context (its manifest, resource 2) the thread's while it
// lives, so that the windows made meanwhile are of the common controls the module asks for, not
// the ones the hosting program chose. Without such a manifest it does nothing.
class ModuleActivation {
 public:
  ModuleActivation();
  ~ModuleActivation();
  ModuleActivation(const ModuleActivation&) = delete;
  ModuleActivation& operator=(const ModuleActivation&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace windlock::win32
