#pragma once

namespace windlock::server {

// The class and its type library (regsvr32). Each fails with an Error.
void RegisterServer();
void UnregisterServer();
// The class as a vertical Explorer Bar, and the default settings when none are stored
// (regsvr32 /i); uninstalling removes the bar entries and leaves the user's settings.
void InstallExplorerBar();
void UninstallExplorerBar();

}  // namespace windlock::server
