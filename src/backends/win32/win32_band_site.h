#pragma once

#include <shlobj.h>

#include <memory>

#include "backends/win32/browser/win32_browser.h"
#include "backends/win32/com/com_ptr.h"
#include "platform/band_site.h"

namespace windlock::win32 {

// The object the browser passes to SetSite, through its IOleWindow, IServiceProvider and
// IInputObjectSite. `band` is what focus reports name as their sender.
class Win32BandSite : public BandSite, public InputObjectSite {
 public:
  Win32BandSite(ComPtr<IUnknown> site, IUnknown* band);

  bool HasWindow() override { return static_cast<bool>(ole_window_); }
  WindowHandle GetWindow() override;
  Browser& QueryBrowser() override;
  InputObjectSite* GetInputObjectSite() override;
  void OnFocusChangeIS(bool has_focus) override;

  IUnknown* site() const { return site_.get(); }

 private:
  ComPtr<IUnknown> site_;
  IUnknown* band_;
  ComPtr<IOleWindow> ole_window_;
  ComPtr<IInputObjectSite> input_object_site_;
  std::unique_ptr<Win32Browser> browser_;
};

}  // namespace windlock::win32
