#pragma once

#include <utility>
#include <vector>

#include "backends/sim/sim_browser.h"
#include "backends/sim/sim_trace.h"
#include "platform/band_site.h"

namespace windlock::sim {

// The browser's band site: its bar window, the hosting browser, and the focus reports it gets.
// A site made without a window gives no IOleWindow.
class SimBandSite : public BandSite, public InputObjectSite {
 public:
  SimBandSite(const SimTrace& trace, SimBrowser& browser, WindowHandle bar_window)
      : trace_(trace), browser_(browser), bar_window_(bar_window) {}

  bool HasWindow() override { return bar_window_ != 0; }
  WindowHandle GetWindow() override { return bar_window_; }
  Browser& QueryBrowser() override { return browser_; }
  InputObjectSite* GetInputObjectSite() override { return this; }
  void OnFocusChangeIS(bool has_focus) override;

  // The focus reports since the last call.
  std::vector<bool> TakeFocusReports() { return std::exchange(focus_reports_, {}); }

 private:
  const SimTrace& trace_;
  SimBrowser& browser_;
  WindowHandle bar_window_;
  std::vector<bool> focus_reports_;
};

}  // namespace windlock::sim
