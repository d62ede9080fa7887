#pragma once

#include <windows.h>

#include <shobjidl.h>

#include "backends/win32/com/com_ptr.h"
#include "support/fake_browser.h"
#include "support/fake_site.h"
#include "support/identity.h"

namespace windlock_test {

// Registers the DLL's class (regsvr32 /s) and stores the quiet settings, so a band can be
// created and never opens a window of its own. Fails the running test (or suite) otherwise.
void PrepareForBands();

// The browser's side of one band, as the browser sets it up: a visible, active frame window that
// holds the band and a text box that can take the focus from it, the site, and the hosting
// browser at "http://host.example/page".
class BandHost {
 public:
  BandHost();
  // Lets the band go as the browser does (CloseDW, SetSite(NULL), Release) if the test has not.
  ~BandHost();
  BandHost(const BandHost&) = delete;
  BandHost& operator=(const BandHost&) = delete;

  HWND frame() const { return frame_; }
  HWND text_box() const { return text_box_; }
  FakeBrowser& browser() { return *browser_.get(); }
  FakeSite& site() { return *site_.get(); }

  // CoCreateInstance of the band's class through the registry, or from `factory`; fails the test
  // on error.
  void Create(IClassFactory* factory = nullptr);
  // Create and SetSite: the band as the browser sites it; fails the test on error.
  void CreateAndAttach(IClassFactory* factory = nullptr);
  // Then ShowDW(TRUE), and the first activation the bar posts itself handled: the band as the
  // browser shows it.
  void Show(IClassFactory* factory = nullptr);
  // A page opens a window, NewWindow2 through the connection point: the preview browser the bar
  // hands back for a window it captures, or nothing for one it lets through.
  ComPtr<IDispatch> OpenPopup();
  IDeskBand* band() const { return band_.get(); }
  template <typename T>
  ComPtr<T> As() const {
    return band_.template As<T>();
  }
  // The bar window (IOleWindow::GetWindow).
  HWND BarWindow() const;
  // CloseDW, SetSite(NULL) and the last Release, each checked.
  void Dismiss();
  // The last Release only, as a browser that forgets the rest would.
  void ReleaseBand() { band_.Reset(); }
  // The browser's last reference, to let go elsewhere.
  IDeskBand* TakeBand() { return band_.Detach(); }

 private:
  HWND frame_ = nullptr;
  HWND text_box_ = nullptr;
  ComPtr<FakeBrowser> browser_;
  ComPtr<FakeSite> site_;
  ComPtr<IDeskBand> band_;
};

}  // namespace windlock_test
