#pragma once

#include <optional>

namespace windlock::server {

// The class and its type library (regsvr32). Each fails with an Error.
void RegisterServer();
void UnregisterServer();

// What DllInstall's command line asks for: the whole installation (regsvr32 /i), or only the
// current user's part (regsvr32 /n /i:U), which the Active Setup entry runs once for every user.
enum class InstallScope { kMachine, kUser };
// Nothing for a command line DllInstall does not know.
std::optional<InstallScope> ParseInstallCommandLine(const wchar_t* command_line);

// The class as a vertical Explorer Bar, the Active Setup entry that gives every user of the
// machine the default settings, and the installing user's defaults when none are stored;
// uninstalling removes the bar and the Active Setup entry and leaves every user's settings.
void InstallExplorerBar();
void UninstallExplorerBar();
// The default settings for the current user, when none are stored.
void InstallUserDefaults();

}  // namespace windlock::server
