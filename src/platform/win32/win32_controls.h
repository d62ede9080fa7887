#pragma once

#include "platform/control_factory.h"
#include "platform/win32/win32_browser.h"

namespace windlock::win32 {

// The preview browser: a WebBrowser object of the bar's own. Placing it in the bar window (and
// applying the download restrictions as its ambient property) comes with the Windows forms.
class Win32PreviewControl : public PreviewControl {
 public:
  Win32PreviewControl();
  void SetDownloadControl(int32_t flags) override { download_control_ = flags; }
  Browser& InnerBrowser() override { return browser_; }

 private:
  Win32Browser browser_;
  int32_t download_control_ = 0;
};

// Keeps the skin browser's window.external until the skin browser's site hands it to pages.
class Win32BrowserCustomizer : public BrowserCustomizer {
 public:
  void SetBrowser(Browser* browser) override { browser_ = browser; }
  void SetExternal(ScriptExternal* external) override { external_ = external; }
  void SetOption(bool on) override { option_ = on; }

 private:
  Browser* browser_ = nullptr;
  ScriptExternal* external_ = nullptr;
  bool option_ = false;
};

class Win32ControlFactory : public ControlFactory {
 public:
  std::unique_ptr<PreviewControl> CreatePreviewControl() override;
  std::unique_ptr<Browser> CreateSkinBrowser() override;
  std::unique_ptr<SoundDevice> CreateSoundDevice() override;
  std::unique_ptr<BrowserCustomizer> CreateBrowserCustomizer() override;
  std::unique_ptr<Animation> CreateAnimation() override;
};

}  // namespace windlock::win32
