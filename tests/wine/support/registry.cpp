#include "support/registry.h"

#include <gtest/gtest.h>

#include "support/dll_under_test.h"
#include "support/ids.h"

namespace windlock_test {
namespace {

std::string Describe(const std::wstring& path, const std::wstring& name) {
  return Narrow(path) + (name.empty() ? std::string(" (default value)") : " \\ " + Narrow(name));
}

}  // namespace

bool KeyExists(HKEY root, const std::wstring& path, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | static_cast<REGSAM>(view), &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool ValueExists(HKEY root, const std::wstring& path, const std::wstring& name) {
  return RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path,
                                       const std::wstring& name, View view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | static_cast<REGSAM>(view), &key) !=
      ERROR_SUCCESS)
    return std::nullopt;
  wchar_t value[1024] = {};
  DWORD size = sizeof(value);
  LSTATUS status =
      RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                   nullptr, value, &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

std::optional<DWORD> ReadDword(HKEY root, const std::wstring& path, const std::wstring& name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegGetValueW(root, path.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void WriteString(HKEY root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value) {
  LSTATUS status = RegSetKeyValueW(root, path.c_str(), name.c_str(), REG_SZ, value.c_str(),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  EXPECT_EQ(ERROR_SUCCESS, status) << "writing " << Describe(path, name);
}

void WriteDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value) {
  LSTATUS status =
      RegSetKeyValueW(root, path.c_str(), name.c_str(), REG_DWORD, &value, sizeof(value));
  EXPECT_EQ(ERROR_SUCCESS, status) << "writing " << Describe(path, name);
}

void DeleteTree(HKEY root, const std::wstring& path, View view) {
  HKEY key = nullptr;
  LSTATUS status =
      RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | static_cast<REGSAM>(view), &key);
  if (status == ERROR_SUCCESS) {
    status = RegDeleteTreeW(key, nullptr);
    RegCloseKey(key);
    if (status == ERROR_SUCCESS) {
      status = RegDeleteKeyExW(root, path.c_str(), static_cast<REGSAM>(view), 0);
    }
  }
  EXPECT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
      << "deleting " << Narrow(path) << ": error " << status;
}

void RemoveRegistration() {
  for (View view : {View::kOwn, View::k32Bit}) {
    for (HKEY classes : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      DeleteTree(classes, L"Software\\Classes\\" + kClassKey, view);
      DeleteTree(classes, L"Software\\Classes\\" + kTypeLibKey, view);
    }
    DeleteTree(HKEY_LOCAL_MACHINE, kBarKey, view);
    DeleteTree(HKEY_CURRENT_USER, kBarKey, view);
    DeleteTree(HKEY_LOCAL_MACHINE, kActiveSetupKey, view);
  }
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace windlock_test
