#pragma once

#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// SaveSettings for a handler that goes on after a failed save: the failure is shown in the
// common form and the record in memory keeps the user's change.
void SaveSettingsReporting(const Settings& settings, Platform& platform);

}  // namespace windlock
