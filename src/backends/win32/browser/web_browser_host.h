#pragma once

#include <windows.h>

#include <exdisp.h>
#include <oleidl.h>

#include <utility>

#include "backends/win32/browser/web_browser_site.h"
#include "backends/win32/com/com_ptr.h"

namespace windlock::win32 {

// A WebBrowser control hosted as an OLE object in a window of the owner's: activated in place
// at a rectangle, moved, shown or hidden, focused and handed keys; torn down when this goes, so
// that the control and its site hold nothing of each other.
class WebBrowserHost {
 public:
  // Creates the control and activates it in place inside `parent` at `rect`, in the parent's
  // client coordinates.
  WebBrowserHost(HWND parent, const RECT& rect);
  ~WebBrowserHost();
  WebBrowserHost(const WebBrowserHost&) = delete;
  WebBrowserHost& operator=(const WebBrowserHost&) = delete;

  // The control as a browser to navigate and listen to.
  const ComPtr<IWebBrowser2>& browser() const { return browser_; }
  // The site the control was given.
  IUnknown* site() const { return static_cast<IOleClientSite*>(site_.get()); }

  // What pages of this pane may download and run; read by the control as an ambient property.
  void SetDownloadControl(DWORD flags);
  // The object pages reach as window.external; none gives them none.
  void SetExternal(ComPtr<IDispatch> external) { site_->set_external(std::move(external)); }

  void Move(const RECT& rect);
  // Moves the control into another window of the owner's, at `rect` in its client coordinates.
  void Reparent(HWND parent, const RECT& rect);
  void Show(bool shown);
  // The control's window, which holds the page.
  HWND window() const;
  // UI-activates the control, which takes the keyboard focus.
  void Focus();
  // Offers a key message to the UI-active object; true when it used it.
  bool TranslateAccelerator(MSG& message);
  // Whether `window` is the control's window or one inside it.
  bool Contains(HWND window) const;

 private:
  void Activate();
  void TearDown() noexcept;

  HWND parent_;
  RECT rect_;
  ComPtr<WebBrowserSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IOleInPlaceObject> in_place_;
  ComPtr<IWebBrowser2> browser_;
};

}  // namespace windlock::win32
