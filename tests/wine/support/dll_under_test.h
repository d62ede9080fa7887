#pragma once

#include <windows.h>

#include <string>

namespace windlock_test {

// The DLL the tests drive, in Windows form. Each program gets the build tree's path as its
// first argument; a Unix path is turned into the path Wine shows for it.
void SetDllPath(const std::string& argument);
const std::wstring& DllPath();

// The path as a Windows program sees it; a Windows path is returned as it is.
std::wstring WindowsPath(const std::string& path);

// DllCanUnloadNow of the copy the COM runtime loaded into this process; E_UNEXPECTED when it is
// not loaded.
HRESULT LoadedDllCanUnloadNow();

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace windlock_test
