#include "settings/save_reporting.h"

#include "forms/error_message.h"
#include "settings/settings_store.h"

namespace windlock {

void SaveSettingsReporting(const Settings& settings, Platform& platform) {
  ReportFailure(platform.ui, "There Was An Error Saving The User Defined Options.",
                [&] { SaveSettings(settings, platform.registry); });
}

}  // namespace windlock
