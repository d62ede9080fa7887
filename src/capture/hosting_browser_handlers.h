#pragma once

#include "capture/capture_context.h"
#include "platform/browser.h"

namespace windlock {

// The bar's handlers of the hosting browser's events (CurrentIE): the new-window decision, the
// safe-shutdown step on document complete, and remembering the bar's visibility on quit.
class HostingBrowserHandlers : public BrowserEvents {
 public:
  explicit HostingBrowserHandlers(CaptureContext& context) : context_(context) {}

  // The hosting browser whose events arrive here; none while the bar is bound to no browser. An
  // event that is still running (inside its modal windows) goes on when the browser changes.
  void Bind(Browser* hosting) { hosting_ = hosting; }

  void NewWindow2(Browser*& ppDisp, bool& cancel) override;
  void DocumentComplete(const std::string& url) override;
  void OnQuit() override;

 private:
  void Decide(Browser*& ppDisp, bool& cancel);
  // Shows the alert or the prompt, unless one of them is up already; false when not shown.
  bool ShowDecisionWindow(void (*show)(Platform&, ModuleData&));
  // The capture alert, unless a decision window is up already.
  void Alert();
  // The alert when it is switched on, else only the screen reader's announcement of it.
  void Tell();
  void Capture(Browser*& ppDisp, bool& cancel);

  CaptureContext& context_;
  Browser* hosting_ = nullptr;
};

}  // namespace windlock
