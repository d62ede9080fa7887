#include "server/registration.h"

#include <windows.h>

#include <oleauto.h>

#include <cwctype>
#include <string>
#include <string_view>

#include "backends/win32/com/com_ptr.h"
#include "backends/win32/com/module.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/registry_key_path.h"
#include "backends/win32/win32_registry.h"
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
// Active Setup's display name, shown while it runs the entry for a user.
constexpr const wchar_t* kProductName = L"Windlock";

std::wstring ClassKey() {
  return L"CLSID\\" + win32::Widen(kBandClsid);
}
std::wstring ExplorerBarKey() {
  return L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\" + win32::Widen(kBandClsid);
}
std::wstring CategoryKey() {
  return ClassKey() + L"\\Implemented Categories\\" + kInfoBandCategory;
}
// In the registry view of the DLL's own kind: on 64-bit Windows the x86 DLL has an entry of its
// own, and Windows runs both; each only fills in what is missing, so the second does nothing.
std::wstring ActiveSetupKey() {
  return L"Software\\Microsoft\\Active Setup\\Installed Components\\" + win32::Widen(kBandClsid);
}

void SetValue(HKEY root, const std::wstring& key_path, const wchar_t* name, DWORD type,
              const void* data, DWORD size) {
  win32::RegistryKey key;
  LSTATUS status = RegCreateKeyExW(root, key_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                   key.Put(), nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
  }
  if (status != ERROR_SUCCESS) throw win32::ErrorFromWin32(static_cast<DWORD>(status));
}

void SetString(HKEY root, const std::wstring& key_path, const wchar_t* name,
               const std::wstring& value, DWORD type = REG_SZ) {
  SetValue(root, key_path, name, type, value.c_str(),
           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
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

// The regsvr32 of the DLL's own kind, as Active Setup runs it in every user's session.
std::wstring Regsvr32Path() {
  BOOL wow64 = FALSE;
  if (kSysKind == SYS_WIN32 && IsWow64Process(GetCurrentProcess(), &wow64) && wow64) {
    return L"%SystemRoot%\\SysWOW64\\regsvr32.exe";
  }
  return L"%SystemRoot%\\System32\\regsvr32.exe";
}

void WriteActiveSetupEntry() {
  const std::wstring key = ActiveSetupKey();
  SetString(HKEY_LOCAL_MACHINE, key, nullptr, kProductName);
  SetString(HKEY_LOCAL_MACHINE, key, L"StubPath",
            L"\"" + Regsvr32Path() + L"\" /s /n /i:U \"" + win32::ModulePath() + L"\"",
            REG_EXPAND_SZ);
  // A later version runs the entry again for users who had the earlier one.
  SetString(HKEY_LOCAL_MACHINE, key, L"Version", WINDLOCK_VERSION_COMMAS);
  const DWORD installed = 1;
  SetValue(HKEY_LOCAL_MACHINE, key, L"IsInstalled", REG_DWORD, &installed, sizeof installed);
}

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

std::optional<InstallScope> ParseInstallCommandLine(const wchar_t* command_line) {
  std::wstring_view text = command_line ? command_line : L"";
  while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
  if (text.empty()) return InstallScope::kMachine;
  if (text == L"U" || text == L"u") return InstallScope::kUser;
  return std::nullopt;
}

void InstallExplorerBar() {
  CreateKey(HKEY_CLASSES_ROOT, CategoryKey());
  CreateKey(HKEY_LOCAL_MACHINE, ExplorerBarKey());
  ForgetCategoryCaches();
  WriteActiveSetupEntry();
  InstallUserDefaults();
}

void UninstallExplorerBar() {
  DeleteTree(HKEY_CLASSES_ROOT, CategoryKey());
  DeleteIfEmpty(HKEY_CLASSES_ROOT, ClassKey() + L"\\Implemented Categories");
  DeleteTree(HKEY_LOCAL_MACHINE, ExplorerBarKey());
  DeleteTree(HKEY_LOCAL_MACHINE, ActiveSetupKey());
  ForgetCategoryCaches();
}

void InstallUserDefaults() {
  if (!SettingsStored()) {
    win32::Win32Registry registry;
    SaveSettings(DefaultSettings(), registry);
  }
}

}  // namespace windlock::server
