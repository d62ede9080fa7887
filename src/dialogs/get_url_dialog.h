#pragma once

#include "forms/form.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// getURLDialog, the URL entry dialog: OK leaves the entered site, reduced to its root domain,
// in DialogURL; Cancel and the close box leave "cancel".
class GetUrlDialog : public Form {
 public:
  GetUrlDialog(Platform& platform, ModuleData& module);

  void Load();
  void CloseBox() override;

 private:
  Platform& platform_;
  ModuleData& module_;
  Control& text_;
};

void ShowGetUrlDialog(Platform& platform, ModuleData& module);

}  // namespace windlock
