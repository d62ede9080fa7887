#pragma once

#include <windows.h>

#include <string>

namespace windlock::win32 {

// The module this code is linked into (the server DLL): its handle, its file and the count of
// objects and locks that keep it loaded.
HINSTANCE ModuleHandle();
std::wstring ModulePath();
void LockModule();
void UnlockModule();
bool ModuleInUse();

// Counts one live COM object of the server for as long as it exists.
class ModuleReference {
 public:
  ModuleReference() { LockModule(); }
  ModuleReference(const ModuleReference&) : ModuleReference() {}
  ModuleReference& operator=(const ModuleReference&) = default;
  ~ModuleReference() { UnlockModule(); }
};

}  // namespace windlock::win32
