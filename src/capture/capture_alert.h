#pragma once

#include "forms/form.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// frmSplashCapture: the borderless notice that a pop-up was captured. It ends on its timer, a
// character key or a click on its text.
class CaptureAlertForm : public Form {
 public:
  CaptureAlertForm(Platform& platform, const Settings& settings);

  // Sizes the window around the message and starts the display timer.
  void Load();
  void KeyPress(int ascii) override;

 private:
  Platform& platform_;
  const Settings& settings_;
  Control& label_;
  Timer& timer_;
};

// Shows the alert modally; returns when it has closed.
void ShowCaptureAlert(Platform& platform, const Settings& settings);

}  // namespace windlock
