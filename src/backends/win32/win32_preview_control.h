#pragma once

#include <windows.h>

#include "backends/win32/browser/win32_browser.h"
#include "backends/win32/browser_pane.h"
#include "platform/control_factory.h"

namespace windlock::win32 {

// The preview browser MyWeb2, its pages restricted through the download-control ambient
// property.
class Win32PreviewControl : public PreviewControl {
 public:
  Win32PreviewControl(HostedControls& registry, const Control& holder);
  void SetDownloadControl(int32_t flags) override {
    pane_.host().SetDownloadControl(static_cast<DWORD>(flags));
  }
  Browser& InnerBrowser() override { return browser_; }

 private:
  // Before the browser, which is the pane's control: its events are let go first.
  BrowserPane pane_;
  Win32Browser browser_;
};

}  // namespace windlock::win32
