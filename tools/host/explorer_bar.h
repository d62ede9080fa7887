#pragma once

#include <windows.h>

#include <exdisp.h>
#include <shobjidl.h>

#include <functional>
#include <string>

#include "backends/win32/com/com_ptr.h"
#include "bar_site.h"

namespace windlock::host {

// The registered Windlock band, loaded into a pane of the host's as a browser loads an Explorer
// Bar: created, sited, asked for its size and title, then shown. Going, it is hidden, closed and
// let go of its site before the last reference is released.
class ExplorerBar {
 public:
  // Creates the band's class, gives it `pane` and `browser` and shows it; throws Error (with the
  // HRESULT as its number: REGDB_E_CLASSNOTREG when the DLL is not registered) when the band cannot
  // be created or refuses the site.
  // `gave_up_focus` runs when the band gives the keyboard up.
  ExplorerBar(HWND pane, win32::ComPtr<IWebBrowser2> browser, std::function<void()> gave_up_focus);
  ~ExplorerBar();
  ExplorerBar(const ExplorerBar&) = delete;
  ExplorerBar& operator=(const ExplorerBar&) = delete;

  // The width the band asks for, in pixels, and its title.
  int width() const { return width_; }
  const std::wstring& title() const { return title_; }
  // The band's own window, inside the pane.
  HWND window() const { return window_; }

  // Tells the band the pane's size and moves its window to fill it: after every change of the
  // pane's size, the first time included.
  void Fit();
  // Shows or hides the band (ShowDW), which stays loaded.
  void Show(bool shown);
  bool HasFocus() const;
  // Offers a key message to the band, as a browser does while the band has the focus; true when
  // the band used it.
  bool TranslateKey(MSG& message);

 private:
  void Attach();
  void LetGo() noexcept;

  HWND pane_;
  win32::ComPtr<BarSite> site_;
  win32::ComPtr<IDeskBand> band_;
  HWND window_ = nullptr;
  int width_ = 0;
  std::wstring title_;
};

}  // namespace windlock::host
