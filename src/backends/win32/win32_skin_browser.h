#pragma once

#include <windows.h>

#include <memory>

#include "backends/win32/browser/win32_browser.h"
#include "backends/win32/browser_pane.h"

namespace windlock::win32 {

// The skin browser webImages.
class Win32SkinBrowser : public Win32Browser {
 public:
  explicit Win32SkinBrowser(std::unique_ptr<BrowserPane> pane);
  BrowserPane& pane() { return *pane_; }

 private:
  std::unique_ptr<BrowserPane> pane_;
};

}  // namespace windlock::win32
