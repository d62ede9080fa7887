#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace windlock_test {

// A value under HKCU\Software\Larkspan\Windlock\Options: REG_DWORD or REG_SZ.
using SettingData = std::variant<DWORD, std::wstring>;

struct StoredSettings {
  std::vector<std::pair<std::wstring, SettingData>> options;
  // "Trusted Sites": the default value holds the count, site0.. the entries.
  std::vector<std::wstring> trusted_sites;

  // Replaces the option `name`, or adds it.
  StoredSettings& Set(const std::wstring& name, SettingData data);
};

// A complete set under which the bar opens no window of its own: no capture alert, no prompt, no
// sound, and captures also while the bar is hidden.
StoredSettings QuietSettings();

// Replaces everything stored under HKCU\Software\Larkspan\Windlock with `settings`.
void StoreSettings(const StoredSettings& settings);
void DeleteSettings();

}  // namespace windlock_test
