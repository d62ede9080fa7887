#pragma once

#include <memory>

#include "platform/animation.h"
#include "platform/browser.h"
#include "platform/script_external.h"
#include "platform/sound_device.h"

namespace windlock {

class Control;

// The platform controls a bar form holds, each shown where the form's control `holder` lies.
// Real: ActiveX and common controls hosted in the bar window (win32). Fake: SimControlFactory,
// which lets the scenario runner reach what it made.
class ControlFactory {
 public:
  virtual ~ControlFactory() = default;
  virtual std::unique_ptr<PreviewControl> CreatePreviewControl(const Control& holder) = 0;
  virtual std::unique_ptr<Browser> CreateSkinBrowser(const Control& holder) = 0;
  virtual std::unique_ptr<SoundDevice> CreateSoundDevice() = 0;
  virtual std::unique_ptr<BrowserCustomizer> CreateBrowserCustomizer() = 0;
  virtual std::unique_ptr<Animation> CreateAnimation(const Control& holder) = 0;
};

}  // namespace windlock
