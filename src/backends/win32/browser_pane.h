#pragma once

#include <windows.h>

#include "backends/win32/browser/web_browser_host.h"
#include "backends/win32/view/hosted_registration.h"
#include "forms/control.h"

namespace windlock::win32 {

// A WebBrowser control hosted where a form's control lies: one of the bar's two panes.
class BrowserPane : public HostedControl {
 public:
  BrowserPane(HostedControls& registry, const Control& holder);
  WebBrowserHost& host() { return host_; }
  void Place(HWND parent, const RECT& rect) override { host_.Reparent(parent, rect); }
  void Show(bool shown) override { host_.Show(shown); }
  HWND window() const override { return host_.window(); }
  // A key for the page that has the focus goes to it first (its shortcuts, Tab within it).
  bool TranslateAccelerator(MSG& message) override {
    return host_.Contains(message.hwnd) && host_.TranslateAccelerator(message);
  }

 private:
  WebBrowserHost host_;
  HostedRegistration registration_;
};

}  // namespace windlock::win32
