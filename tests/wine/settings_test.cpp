// The settings the DLL writes, read back with reg as a user or a support script would: each
// under its own path with its own type (REG_SZ for texts, REG_DWORD for numbers and switches).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/ids.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

// One value as reg shows it; a null `data` accepts any data of the type.
struct Expected {
  const wchar_t* key;  // under HKCU
  const char* name;    // kRegDefaultValueName for the key's unnamed value
  const char* type;
  const char* data;
};

// Also fails for a value the keys hold beyond `values`: a misspelt name shows as one missing and
// one too many.
void ExpectStoredExactly(const std::vector<Expected>& values) {
  std::map<std::wstring, std::optional<RegQueryValues>> keys;
  for (const Expected& value : values) {
    SCOPED_TRACE(Narrow(value.key) + " \\ " + value.name);
    auto key = keys.find(value.key);
    if (key == keys.end()) {
      key = keys.emplace(value.key, RegQueryKey(std::wstring(L"HKCU\\") + value.key)).first;
    }
    ASSERT_TRUE(key->second) << "no such key";
    auto stored = key->second->find(value.name);
    ASSERT_NE(key->second->end(), stored) << "not stored";
    EXPECT_EQ(value.type, stored->second.type);
    if (value.data) {
      EXPECT_EQ(value.data, stored->second.data);
    }
  }
  for (const auto& [key, stored] : keys) {
    if (!stored) continue;
    for (const auto& [name, value] : *stored) {
      bool expected = std::any_of(values.begin(), values.end(), [&](const Expected& e) {
        return e.key == key && e.name == name;
      });
      EXPECT_TRUE(expected) << "unexpected value " << Narrow(key) << " \\ " << name;
    }
  }
}

TEST(SettingsTest, InstallStoresTheDefaults) {
  RemoveRegistration();
  DeleteSettings();
  ProcessResult install = Regsvr32(L"/s /i");
  ASSERT_EQ(0u, install.exit_code) << install.output;

  ExpectStoredExactly({
      {kOptionsKey, "Capture When Closed", "REG_DWORD", "0x1"},
      {kOptionsKey, "Show Visual Capture", "REG_DWORD", "0x1"},
      {kOptionsKey, "Prompt To Add", "REG_DWORD", "0x0"},
      {kOptionsKey, "Play Audio Capture", "REG_SZ", "(none)"},
      {kOptionsKey, "UpdateURL", "REG_SZ", nullptr},
      {kOptionsKey, "BrowseSkinsURL", "REG_SZ", nullptr},
      {kOptionsKey, "Popup Alert Message", "REG_SZ", "Pop-up Captured"},
      {kOptionsKey, "Popup Alert Font Name", "REG_SZ", "Space Toaster"},
      {kOptionsKey, "Popup Alert Font Bold", "REG_DWORD", "0x0"},
      {kOptionsKey, "Popup Alert Font Italic", "REG_DWORD", "0x0"},
      {kOptionsKey, "Popup Alert Font Strikethrough", "REG_DWORD", "0x0"},
      {kOptionsKey, "Popup Alert Font Underline", "REG_DWORD", "0x0"},
      {kOptionsKey, "Popup Alert Font Size", "REG_DWORD", "0x12"},
      {kOptionsKey, "Popup Alert Display Time", "REG_DWORD", "0x3e8"},
      {kOptionsKey, "AutoStart", "REG_DWORD", "0x0"},
      {kOptionsKey, "AutoStartVisible", "REG_DWORD", "0x0"},
      {kOptionsKey, "Visible", "REG_DWORD", "0x0"},
      {kOptionsKey, "DefaultSkin", "REG_SZ", "Original"},
      {kTrustedSitesKey, kRegDefaultValueName, "REG_DWORD", "0x0"},
  });
}

// With AutoStart the band saves every setting when the browser quits. The stored settings are
// removed after the band has read them, so every value read back is one the band wrote.
TEST(SettingsTest, QuitSavesEverySetting) {
  ASSERT_NO_FATAL_FAILURE(PrepareForBands());
  StoredSettings settings = QuietSettings();
  settings.Set(L"Capture When Closed", DWORD{0})
      .Set(L"UpdateURL", L"http://updates.example/windlock")
      .Set(L"BrowseSkinsURL", L"http://skins.example/windlock")
      .Set(L"Popup Alert Message", L"Blocked: a pop-up")
      .Set(L"Popup Alert Font Name", L"Courier New")
      .Set(L"Popup Alert Font Bold", DWORD{1})
      .Set(L"Popup Alert Font Italic", DWORD{1})
      .Set(L"Popup Alert Font Strikethrough", DWORD{1})
      .Set(L"Popup Alert Font Underline", DWORD{1})
      .Set(L"Popup Alert Font Size", DWORD{24})
      // Longer than an alert may stay: read as the longest allowed, 5 s.
      .Set(L"Popup Alert Display Time", DWORD{9000})
      .Set(L"AutoStart", DWORD{1})
      .Set(L"AutoStartVisible", DWORD{0})
      .Set(L"Visible", DWORD{0})
      // No such skin is installed: the band uses, and saves, the original one.
      .Set(L"DefaultSkin", L"No Such Skin");
  settings.trusted_sites = {L"trust:a.example", L"notrust:b.example:8080"};
  StoreSettings(settings);
  BandHost host;
  ASSERT_NO_FATAL_FAILURE(host.CreateAndAttach());
  ASSERT_EQ(S_OK, host.band()->ShowDW(TRUE));
  DeleteSettings();

  host.browser().FireOnQuit();

  ExpectStoredExactly({
      {kOptionsKey, "Capture When Closed", "REG_DWORD", "0x0"},
      {kOptionsKey, "Show Visual Capture", "REG_DWORD", "0x0"},
      {kOptionsKey, "Prompt To Add", "REG_DWORD", "0x0"},
      {kOptionsKey, "Play Audio Capture", "REG_SZ", "(none)"},
      {kOptionsKey, "UpdateURL", "REG_SZ", "http://updates.example/windlock"},
      {kOptionsKey, "BrowseSkinsURL", "REG_SZ", "http://skins.example/windlock"},
      {kOptionsKey, "Popup Alert Message", "REG_SZ", "Blocked: a pop-up"},
      {kOptionsKey, "Popup Alert Font Name", "REG_SZ", "Courier New"},
      {kOptionsKey, "Popup Alert Font Bold", "REG_DWORD", "0x1"},
      {kOptionsKey, "Popup Alert Font Italic", "REG_DWORD", "0x1"},
      {kOptionsKey, "Popup Alert Font Strikethrough", "REG_DWORD", "0x1"},
      {kOptionsKey, "Popup Alert Font Underline", "REG_DWORD", "0x1"},
      {kOptionsKey, "Popup Alert Font Size", "REG_DWORD", "0x18"},
      {kOptionsKey, "Popup Alert Display Time", "REG_DWORD", "0x1388"},
      {kOptionsKey, "AutoStart", "REG_DWORD", "0x1"},
      {kOptionsKey, "AutoStartVisible", "REG_DWORD", "0x0"},
      {kOptionsKey, "Visible", "REG_DWORD", "0x1"},
      {kOptionsKey, "DefaultSkin", "REG_SZ", "Original"},
      {kTrustedSitesKey, kRegDefaultValueName, "REG_DWORD", "0x2"},
      {kTrustedSitesKey, "site0", "REG_SZ", "trust:a.example"},
      {kTrustedSitesKey, "site1", "REG_SZ", "notrust:b.example:8080"},
  });
}

}  // namespace
}  // namespace windlock_test
