#pragma once

#include "platform/browser.h"
#include "platform/window_system.h"

namespace windlock {

// IInputObjectSite: where the band reports that it gained or lost the keyboard focus.
class InputObjectSite {
 public:
  virtual ~InputObjectSite() = default;
  virtual void OnFocusChangeIS(bool has_focus) = 0;
};

// The object the browser hands the band in SetSite. Real: the shell's band site, reached through
// IOleWindow, IServiceProvider and IInputObjectSite (win32). Fake: SimBandSite.
class BandSite {
 public:
  virtual ~BandSite() = default;

  // Whether the site gives IOleWindow.
  virtual bool HasWindow() = 0;
  // The browser's bar window (IOleWindow::GetWindow); fails with an Error.
  virtual WindowHandle GetWindow() = 0;
  // The hosting browser (QueryService for IWebBrowser2); fails with an Error.
  virtual Browser& QueryBrowser() = 0;
  // The site's IInputObjectSite, or none.
  virtual InputObjectSite* GetInputObjectSite() = 0;
};

}  // namespace windlock
