#pragma once

#include <windows.h>

#include <string>

namespace windlock_test {

// The identifiers the DLL registers, written out here so a change on the DLL's side shows up
// as a failing test rather than following along.
inline constexpr CLSID kBandClsid = {
    0x9B8C099F, 0x697A, 0x45C4, {0xB6, 0x72, 0x8D, 0x13, 0xF9, 0x24, 0x6F, 0x87}};
inline constexpr GUID kTypeLibId = {
    0xC8819051, 0x801E, 0x4644, {0xB0, 0xC6, 0x86, 0x54, 0x83, 0xB8, 0x6A, 0xDA}};
inline constexpr IID kBandDispInterface = {
    0x58AF86A5, 0xECAC, 0x4152, {0xBF, 0xEC, 0xFC, 0xCA, 0xFD, 0x17, 0xFB, 0xFA}};

inline constexpr const wchar_t* kBandClsidText = L"{9B8C099F-697A-45C4-B672-8D13F9246F87}";
inline constexpr const wchar_t* kTypeLibIdText = L"{C8819051-801E-4644-B0C6-865483B86ADA}";
// CATID_InfoBand: the component category of vertical Explorer Bars.
inline constexpr const wchar_t* kVerticalBarCategoryText =
    L"{00021493-0000-0000-C000-000000000046}";

inline constexpr const wchar_t* kDllName = L"LKIEWindlock.dll";

// Registry paths, relative to their root key.
inline const std::wstring kClassKey = std::wstring(L"CLSID\\") + kBandClsidText;
inline const std::wstring kTypeLibKey = std::wstring(L"TypeLib\\") + kTypeLibIdText;
inline const std::wstring kCategoryKey =
    kClassKey + L"\\Implemented Categories\\" + kVerticalBarCategoryText;
inline constexpr const wchar_t* kExplorerBarsKey =
    L"Software\\Microsoft\\Internet Explorer\\Explorer Bars";
inline const std::wstring kBarKey = std::wstring(kExplorerBarsKey) + L"\\" + kBandClsidText;
inline const std::wstring kActiveSetupKey =
    std::wstring(L"Software\\Microsoft\\Active Setup\\Installed Components\\") + kBandClsidText;
inline constexpr const wchar_t* kSettingsKey = L"Software\\Larkspan\\Windlock";
inline constexpr const wchar_t* kOptionsKey = L"Software\\Larkspan\\Windlock\\Options";
inline constexpr const wchar_t* kTrustedSitesKey = L"Software\\Larkspan\\Windlock\\Trusted Sites";

}  // namespace windlock_test
