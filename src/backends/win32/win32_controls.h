#pragma once

#include <windows.h>

#include <memory>

#include "backends/win32/com_ptr.h"
#include "backends/win32/hosted_control.h"
#include "backends/win32/script_dispatch.h"
#include "backends/win32/web_browser_host.h"
#include "backends/win32/win32_browser.h"
#include "platform/control_factory.h"

namespace windlock::win32 {

// A WebBrowser control hosted where a form's control lies: one of the bar's two panes.
class BrowserPane : public HostedControl {
 public:
  BrowserPane(HostedControls& registry, const Control& holder);
  WebBrowserHost& host() { return host_; }
  void Place(HWND parent, const RECT& rect) override { host_.Reparent(parent, rect); }
  void Show(bool shown) override { host_.Show(shown); }
  // A key for the page that has the focus goes to it first (its shortcuts, Tab within it).
  bool TranslateAccelerator(MSG& message) override {
    return host_.Contains(message.hwnd) && host_.TranslateAccelerator(message);
  }

 private:
  WebBrowserHost host_;
  HostedRegistration registration_;
};

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

// The skin browser webImages.
class Win32SkinBrowser : public Win32Browser {
 public:
  explicit Win32SkinBrowser(std::unique_ptr<BrowserPane> pane);
  BrowserPane& pane() { return *pane_; }

 private:
  std::unique_ptr<BrowserPane> pane_;
};

// Gives the skin browser's pages the form's script bridge as window.external, through the
// hosted control's IDocHostUIHandler::GetExternal.
class Win32BrowserCustomizer : public BrowserCustomizer {
 public:
  ~Win32BrowserCustomizer() override;
  void SetBrowser(Browser* browser) override;
  void SetExternal(ScriptExternal* external) override;
  void SetOption(bool on) override { option_ = on; }

 private:
  void Connect();
  void Disconnect();

  Win32SkinBrowser* browser_ = nullptr;
  ScriptExternal* external_ = nullptr;
  ComPtr<ScriptDispatch> dispatch_;
  bool option_ = false;
};

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
