#include "support/stored_settings.h"

#include "support/ids.h"
#include "support/registry.h"

namespace windlock_test {

StoredSettings& StoredSettings::Set(const std::wstring& name, SettingData data) {
  for (auto& [option, value] : options) {
    if (option == name) {
      value = std::move(data);
      return *this;
    }
  }
  options.emplace_back(name, std::move(data));
  return *this;
}

StoredSettings QuietSettings() {
  StoredSettings settings;
  settings.Set(L"Capture When Closed", DWORD{1})
      .Set(L"Show Visual Capture", DWORD{0})
      .Set(L"Prompt To Add", DWORD{0})
      .Set(L"Play Audio Capture", L"(none)")
      .Set(L"UpdateURL", L"http://updates.example/")
      .Set(L"BrowseSkinsURL", L"http://skins.example/")
      .Set(L"Popup Alert Message", L"Pop-up Captured")
      .Set(L"Popup Alert Font Name", L"Tahoma")
      .Set(L"Popup Alert Font Bold", DWORD{0})
      .Set(L"Popup Alert Font Italic", DWORD{0})
      .Set(L"Popup Alert Font Strikethrough", DWORD{0})
      .Set(L"Popup Alert Font Underline", DWORD{0})
      .Set(L"Popup Alert Font Size", DWORD{10})
      .Set(L"Popup Alert Display Time", DWORD{1000})
      .Set(L"AutoStart", DWORD{0})
      .Set(L"AutoStartVisible", DWORD{0})
      .Set(L"Visible", DWORD{0})
      .Set(L"DefaultSkin", L"Original");
  return settings;
}

void DeleteSettings() {
  DeleteTree(HKEY_CURRENT_USER, kSettingsKey);
}

void StoreSettings(const StoredSettings& settings) {
  DeleteSettings();
  for (const auto& [name, data] : settings.options) {
    if (const DWORD* number = std::get_if<DWORD>(&data)) {
      WriteDword(HKEY_CURRENT_USER, kOptionsKey, name, *number);
    } else {
      WriteString(HKEY_CURRENT_USER, kOptionsKey, name, std::get<std::wstring>(data));
    }
  }
  WriteDword(HKEY_CURRENT_USER, kTrustedSitesKey, L"",
             static_cast<DWORD>(settings.trusted_sites.size()));
  for (std::size_t i = 0; i < settings.trusted_sites.size(); ++i) {
    WriteString(HKEY_CURRENT_USER, kTrustedSitesKey, L"site" + std::to_wstring(i),
                settings.trusted_sites[i]);
  }
}

}  // namespace windlock_test
