#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace windlock_test {

// The registry view a key is looked up in: the program's own, or the one 32-bit programs see
// (which on 64-bit Windows is another view, and for a 32-bit program its own).
enum class View : REGSAM { kOwn = 0, k32Bit = KEY_WOW64_32KEY };

bool KeyExists(HKEY root, const std::wstring& path, View view = View::kOwn);
bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name);
// The value when it is a REG_SZ (or REG_EXPAND_SZ), resp. a REG_DWORD; nothing otherwise.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                       const std::wstring& name, View view = View::kOwn);
std::optional<DWORD> ReadDword(HKEY root, const std::wstring& path, const std::wstring& name);

// These fail the running test when the registry refuses.
void WriteString(HKEY root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value);
void WriteDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
// Removes a key with everything below it; a missing key is fine.
void DeleteTree(HKEY root, const std::wstring& path, View view = View::kOwn);

// Removes every trace a registration of the DLL leaves (the class, the type library, the Explorer
// Bar entry, the Active Setup entry), both where regsvr32 writes them and where a per-user
// registration would, in both registry views.
void RemoveRegistration();

// Case-insensitive comparison, as Windows compares paths.
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace windlock_test
