#include "support/dll_under_test.h"

#include <algorithm>

#include "support/ids.h"

namespace windlock_test {
namespace {

std::wstring& StoredDllPath() {
  static std::wstring path;
  return path;
}

}  // namespace

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

std::wstring WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return Widen(path);
  // Wine's own conversion knows the drive mappings of the prefix.
  using ToDos = WCHAR* (*)(const char*);
  auto to_dos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (to_dos) {
    if (WCHAR* converted = to_dos(path.c_str())) {
      std::wstring result = converted;
      HeapFree(GetProcessHeap(), 0, converted);
      return result;
    }
  }
  std::wstring result = L"Z:" + Widen(path);
  std::replace(result.begin(), result.end(), L'/', L'\\');
  return result;
}

void SetDllPath(const std::string& argument) {
  StoredDllPath() = WindowsPath(argument);
}

const std::wstring& DllPath() {
  return StoredDllPath();
}

HRESULT LoadedDllCanUnloadNow() {
  HMODULE module = GetModuleHandleW(kDllName);
  if (!module) return E_UNEXPECTED;
  using CanUnloadNow = HRESULT(WINAPI*)();
  auto can_unload_now = reinterpret_cast<CanUnloadNow>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return can_unload_now ? can_unload_now() : E_UNEXPECTED;
}

}  // namespace windlock_test
