#pragma once

#include <windows.h>

namespace windlock::server {

// The class and its type library (regsvr32).
HRESULT RegisterServer();
HRESULT UnregisterServer();
// The class as a vertical Explorer Bar, and the default settings when none are stored
// (regsvr32 /i); uninstalling removes the bar entries and leaves the user's settings.
HRESULT InstallExplorerBar();
HRESULT UninstallExplorerBar();

}  // namespace windlock::server
