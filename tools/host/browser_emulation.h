#pragma once

#include <string>

namespace windlock::host {

// The registry key where a program asks the WebBrowser control for a document mode, by its
// executable's file name, and the mode this host asks for: the newest standards mode (11001).
inline constexpr const wchar_t* kBrowserEmulationKey =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
inline constexpr unsigned long kNewestDocumentMode = 11001;

// The file name part of this program's path ("WindlockHost.exe").
std::wstring ProgramFileName();

// Writes this program's entry under HKEY_CURRENT_USER; it must be there before the first
// WebBrowser control of the process is made, which reads it once. Throws Error when the
// registry refuses.
void OptIntoNewestDocumentMode();

}  // namespace windlock::host
