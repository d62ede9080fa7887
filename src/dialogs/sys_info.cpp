#include "dialogs/sys_info.h"

#include <optional>
#include <string>

#include "common/error.h"
#include "dialogs/registry_key_value.h"

namespace windlock {
namespace {

constexpr const char* kMachineRoot = "HKLM";
constexpr const char* kProgramKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kProgramValue = "PATH";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kFolderValue = "MSINFO";
constexpr const char* kProgramFile = "\\MSINFO32.EXE";

// Where System Information is installed; none when neither record leads to it.
std::optional<std::string> FindSysInfo(Platform& platform) {
  std::string path;
  if (GetKeyValue(platform.registry, kMachineRoot, kProgramKey, kProgramValue, path)) {
    return path;
  }
  std::string folder;
  if (GetKeyValue(platform.registry, kMachineRoot, kFolderKey, kFolderValue, folder) &&
      platform.files.FileExists(folder + kProgramFile)) {
    return folder + kProgramFile;
  }
  return std::nullopt;
}

}  // namespace

void StartSysInfo(Platform& platform) {
  try {
    if (std::optional<std::string> path = FindSysInfo(platform)) {
      platform.programs.Start(*path);
      return;
    }
  } catch (const Error&) {
    // Any failure on the way means the same to the user as finding nothing.
  }
  platform.ui.ShowMessageBox(kSysInfoUnavailable, std::nullopt, kMbOk);
}

}  // namespace windlock
