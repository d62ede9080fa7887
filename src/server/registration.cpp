#include "server/registration.h"

#include <windows.h>

#include <oleauto.h>

#include <string>

#include "platform/win32/com_ptr.h"
#include "platform/win32/module.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_registry.h"
#include "settings/settings_paths.h"
#include "settings/settings_store.h"
#include "windlock/band_ids.h"
#include "windlock/com_ids.h"

namespace windlock::server {
namespace {

// CATID_InfoBand: the component category of vertical Explorer Bars.
constexpr const wchar_t* kInfoBandCategory = L"{00021493-0000-0000-C000-000000000046}";
// The browser keeps lists of the category's classes; removing them makes it look again.
constexpr const wchar_t* kCategoryCaches[] = {
    L"Component Categories\\{00021493-0000-0000-C000-000000000046}\\Enum",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\PostSetup\\"
    L"Component Categories\\{00021493-0000-0000-C000-000000000046}\\Enum",
};
constexpr const wchar_t* kBandTitle = L"Larkspan";

std::wstring ClassKey() {
  return L"CLSID\\" + win32::Widen(kBandClsid);
}
std::wstring ExplorerBarKey() {
  return L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\" + win32::Widen(kBandClsid);
}
std::wstring CategoryKey() {
  return ClassKey() + L"\\Implemented Categories\\" + kInfoBandCategory;
}

void SetString(HKEY root, const std::wstring& key_path, const wchar_t* name,
               const std::wstring& value) {
  win32::RegistryKey key;
  LSTATUS status = RegCreateKeyExW(root, key_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   key.Put(), nullptr);
  if (status == ERROR_SUCCESS) {
    status =
        RegSetValueExW(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  if (status != ERROR_SUCCESS) throw win32::ErrorFromWin32(static_cast<DWORD>(status));
}

void CreateKey(HKEY root, const std::wstring& key_path) {
  win32::RegistryKey key;
  LSTATUS status =
      RegCreateKeyExW(root, key_path.c_str(), 0, nullptr, 0, KEY_READ, nullptr, key.Put(), nullptr);
  if (status != ERROR_SUCCESS) throw win32::ErrorFromWin32(static_cast<DWORD>(status));
}

// Removes a key and everything below it; a key that is not there is fine.
void DeleteTree(HKEY root, const std::wstring& key_path) {
  LSTATUS status = RegDeleteTreeW(root, key_path.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
    RegDeleteKeyW(root, key_path.c_str());
    return;
  }
  throw win32::ErrorFromWin32(static_cast<DWORD>(status));
}

// Removes a key left without subkeys or values.
void DeleteIfEmpty(HKEY root, const std::wstring& key_path) {
  win32::RegistryKey key;
  if (RegOpenKeyExW(root, key_path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return;
  DWORD subkeys = 0;
  DWORD values = 0;
  RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                   nullptr, nullptr, nullptr, nullptr);
  if (subkeys == 0 && values == 0) RegDeleteKeyW(root, key_path.c_str());
}

void ForgetCategoryCaches() {
  DeleteTree(HKEY_CLASSES_ROOT, kCategoryCaches[0]);
  DeleteTree(HKEY_CURRENT_USER, kCategoryCaches[1]);
}

bool SettingsStored() {
  win32::RegistryKey key;
  win32::KeyPath options = win32::SplitKeyPath(std::string(settings_path::kRoot) + "\\Options");
  return RegOpenKeyExW(options.root, options.subkey.c_str(), 0, KEY_READ, key.Put()) ==
         ERROR_SUCCESS;
}

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

GUID Guid(const char* braced) {
  GUID guid{};
  win32::ThrowIfFailed(CLSIDFromString(win32::Widen(braced).c_str(), &guid));
  return guid;
}

}  // namespace

void RegisterServer() {
  SetString(HKEY_CLASSES_ROOT, ClassKey(), nullptr, kBandTitle);
  SetString(HKEY_CLASSES_ROOT, ClassKey() + L"\\InprocServer32", nullptr, win32::ModulePath());
  SetString(HKEY_CLASSES_ROOT, ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  SetString(HKEY_CLASSES_ROOT, ClassKey() + L"\\TypeLib", nullptr, win32::Widen(kTypeLibraryId));
  win32::ComPtr<ITypeLib> library;
  win32::ThrowIfFailed(LoadTypeLibEx(win32::ModulePath().c_str(), REGKIND_REGISTER, library.Put()));
}

void UnregisterServer() {
  DeleteTree(HKEY_CLASSES_ROOT, ClassKey());
  win32::RegistryKey library_key;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (L"TypeLib\\" + win32::Widen(kTypeLibraryId)).c_str(), 0,
                    KEY_READ, library_key.Put()) != ERROR_SUCCESS) {
    return;
  }
  win32::ThrowIfFailed(UnRegisterTypeLib(Guid(kTypeLibraryId), 1, 0, LOCALE_NEUTRAL, kSysKind));
}

void InstallExplorerBar() {
  CreateKey(HKEY_CLASSES_ROOT, CategoryKey());
  CreateKey(HKEY_LOCAL_MACHINE, ExplorerBarKey());
  ForgetCategoryCaches();
  if (!SettingsStored()) {
    win32::Win32Registry registry;
    SaveSettings(DefaultSettings(), registry);
  }
}

void UninstallExplorerBar() {
  DeleteTree(HKEY_CLASSES_ROOT, CategoryKey());
  DeleteIfEmpty(HKEY_CLASSES_ROOT, ClassKey() + L"\\Implemented Categories");
  DeleteTree(HKEY_LOCAL_MACHINE, ExplorerBarKey());
  ForgetCategoryCaches();
}

}  // namespace windlock::server
