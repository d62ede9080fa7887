#pragma once

#include <windows.h>

#include <memory>

#include "backends/win32/view/hosted_controls.h"
#include "platform/control_factory.h"

namespace windlock::win32 {

class Win32ControlFactory : public ControlFactory {
 public:
  std::unique_ptr<PreviewControl> CreatePreviewControl(const Control& holder) override;
  std::unique_ptr<Browser> CreateSkinBrowser(const Control& holder) override;
  std::unique_ptr<SoundDevice> CreateSoundDevice() override;
  std::unique_ptr<BrowserCustomizer> CreateBrowserCustomizer() override;
  std::unique_ptr<Animation> CreateAnimation(const Control& holder) override;

  // Where the form windows of this thread find what this factory made.
  HostedControls& hosted() { return hosted_; }

 private:
  HostedControls hosted_;
};

}  // namespace windlock::win32
