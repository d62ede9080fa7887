#pragma once

#include <memory>

#include "capture/bar_flags.h"
#include "capture/bypass_indicator.h"
#include "capture/capture_context.h"
#include "capture/capture_sound.h"
#include "capture/hosting_browser_handlers.h"
#include "common/form.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace windlock {

// frmBand, the window that fills the Explorer Bar: it owns the preview and skin browsers, the
// sound device, the bar's flags and timers, and is bound to the hosting browser (CurrentIE).
class BarForm : public Form {
 public:
  BarForm(Platform& platform, ModuleData& module);
  ~BarForm() override;

  // Start-up: flags cleared, the preview browser (MyWeb, bound from construction) restricted,
  // the bypass indicator running.
  void Load();

  // Connects the hosting browser's events to the bar (none disconnects them).
  void SetCurrentIE(Browser* browser);
  Browser* CurrentIE() const { return current_ie_; }

  // Whether the bar window is showing.
  bool showing() const { return showing_; }
  void SetShowing(bool showing) { showing_ = showing; }

  BarFlags& flags() { return flags_; }
  Browser& MyWeb() { return *my_web_; }
  Browser& webImages() { return *web_images_; }

 private:
  Platform& platform_;
  std::unique_ptr<PreviewControl> my_web2_;
  Browser* my_web_;
  std::unique_ptr<Browser> web_images_;
  std::unique_ptr<SoundDevice> mm_control1_;
  CaptureSound sound_;
  BarFlags flags_;
  bool showing_ = false;
  BypassIndicator bypass_;
  CaptureContext context_;
  Browser* current_ie_ = nullptr;
  std::unique_ptr<HostingBrowserHandlers> current_ie_events_;
};

}  // namespace windlock
