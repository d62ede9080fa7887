#include "capture/capture_alert.h"

#include <algorithm>

namespace windlock {
namespace {

constexpr float kLabelMargin = 60;
constexpr float kExtraWidth = 240;
constexpr float kExtraHeight = 120;

}  // namespace

CaptureAlertForm::CaptureAlertForm(Platform& platform, const Settings& settings)
    : Form("frmSplashCapture"),
      platform_(platform),
      settings_(settings),
      label_(AddControl("Label1", ControlKind::kLabel)),
      timer_(AddTimer(platform.timers, "Timer1", [this] { Unload(); })) {
  border = Border::kNone;
  alert = true;
  label_.caption = "Pop-Up Captured";
  label_.left = kLabelMargin;
  label_.top = kLabelMargin;
  label_.on_click = [this] { Unload(); };
}

void CaptureAlertForm::Load() {
  const std::string& message = settings_.PopupAlertMessage;
  TextSize text = platform_.text.Measure(message, settings_.PopupAlertFont);
  width = text.width + kExtraWidth;
  height = text.height + kExtraHeight;
  label_.width = width - 2 * label_.left;
  label_.height = height - 2 * label_.top;
  label_.caption = message;
  accessible_name = message;
  label_.font = settings_.PopupAlertFont;
  ScreenSize screen = platform_.ui.Screen();
  CenterOn(screen.width, screen.height);
  MarkLoaded();
  // A negative stored time waits for the user, as 0 does.
  timer_.SetInterval(static_cast<uint32_t>(std::max(settings_.PopupAlertDisplayTime, 0)));
}

void CaptureAlertForm::KeyPress(int /*ascii*/) {
  Unload();
}

void ShowCaptureAlert(Platform& platform, const Settings& settings) {
  CaptureAlertForm alert(platform, settings);
  alert.Load();
  platform.ui.RunModal(alert);
}

}  // namespace windlock
