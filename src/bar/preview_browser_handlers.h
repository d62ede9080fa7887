#pragma once

#include "platform/browser.h"

namespace windlock {

class BarForm;

// The preview browser's events (MyWeb): its first navigation after a capture is recorded, its
// pages are kept inside the pane (no new windows, no closing, no moving), and its title names
// the current entry.
class PreviewBrowserHandlers : public BrowserEvents {
 public:
  explicit PreviewBrowserHandlers(BarForm& form) : form_(form) {}

  void BeforeNavigate2(const NavigateRequest& request, bool& cancel) override;
  void DocumentComplete(const std::string& url) override;
  void NewWindow2(Browser*& ppDisp, bool& cancel) override;
  void TitleChange(const std::string& text) override;
  void WindowClosing(bool is_child_window, bool& cancel) override;
  void WindowSetPosition() override;

 private:
  void NameWindow();

  BarForm& form_;
};

// The skin browser's events (webImages): a completed page gets the selection box of captured
// pop-ups, and the last stage of a safe shutdown closes the window.
class SkinBrowserHandlers : public BrowserEvents {
 public:
  explicit SkinBrowserHandlers(BarForm& form) : form_(form) {}

  void DocumentComplete(const std::string& url) override;

 private:
  BarForm& form_;
};

}  // namespace windlock
