#pragma once

#include "platform/platform.h"

namespace windlock {

inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Starts System Information from where its installer recorded it: the program path, else the
// shared tools folder when MSINFO32.EXE is there. When neither works, says so in a message box.
void StartSysInfo(Platform& platform);

}  // namespace windlock
