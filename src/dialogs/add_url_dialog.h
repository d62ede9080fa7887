#pragma once

#include "forms/form.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// addURLDialog, the capture prompt: trust or distrust the site in DialogURL, let this one window
// open, or let it be captured. "added" in DialogURL lets the window open.
class AddUrlDialog : public Form {
 public:
  AddUrlDialog(Platform& platform, ModuleData& module);

  void Load();

 private:
  void AddSite(const char* prefix);

  Platform& platform_;
  ModuleData& module_;
  Control& url_box_;
  Control& ask_again_;
};

void ShowAddUrlDialog(Platform& platform, ModuleData& module);

}  // namespace windlock
