#pragma once

#include <windows.h>

#include <string>

namespace windlock::win32 {

// The module this code is linked into (the server DLL): its handle and its file.
HINSTANCE ModuleHandle();
std::wstring ModulePath();

}  // namespace windlock::win32
