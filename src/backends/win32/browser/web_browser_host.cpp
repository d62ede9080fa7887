#include "backends/win32/browser/web_browser_host.h"

#include <mshtmdid.h>
#include <ocidl.h>

#include "backends/win32/com/win32_error.h"
#include "common/scope_exit.h"

namespace windlock::win32 {

WebBrowserHost::WebBrowserHost(HWND parent, const RECT& rect)
    : parent_(parent), rect_(rect), site_(WebBrowserSite::Make(parent, rect)) {
  ThrowIfFailed(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                 object_.PutVoid()));
  auto tear_down = OnFailure([this] { TearDown(); });
  Activate();
}

WebBrowserHost::~WebBrowserHost() {
  TearDown();
}

void WebBrowserHost::Activate() {
  // The control wants its site before it is initialised (OLEMISC_SETCLIENTSITEFIRST).
  ThrowIfFailed(object_->SetClientSite(site_.get()));
  if (auto persist = object_.As<IPersistStreamInit>()) ThrowIfFailed(persist->InitNew());
  ThrowIfFailed(
      object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, parent_, &rect_));
  HRESULT result = S_OK;
  in_place_ = object_.As<IOleInPlaceObject>(&result);
  ThrowIfFailed(result);
  browser_ = object_.As<IWebBrowser2>(&result);
  ThrowIfFailed(result);
}

void WebBrowserHost::TearDown() noexcept {
  // Deactivating also ends UI activation, which takes the active object back from the frame.
  if (in_place_) in_place_->InPlaceDeactivate();
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
}

void WebBrowserHost::SetDownloadControl(DWORD flags) {
  site_->set_download_control(flags);
  if (auto control = object_.As<IOleControl>())
    ThrowIfFailed(control->OnAmbientPropertyChange(DISPID_AMBIENT_DLCONTROL));
}

void WebBrowserHost::Move(const RECT& rect) {
  rect_ = rect;
  site_->set_rect(rect);
  ThrowIfFailed(in_place_->SetObjectRects(&rect_, &rect_));
}

void WebBrowserHost::Reparent(HWND parent, const RECT& rect) {
  if (!::SetParent(window(), parent)) throw ErrorFromWin32(GetLastError());
  parent_ = parent;
  site_->set_window(parent);
  Move(rect);
}

void WebBrowserHost::Show(bool shown) {
  HWND own = window();
  // A hidden pane keeps no focus; a control that cannot give it up is hidden all the same.
  if (!shown) in_place_->UIDeactivate();
  ShowWindow(own, shown ? SW_SHOWNA : SW_HIDE);
}

HWND WebBrowserHost::window() const {
  HWND own = nullptr;
  ThrowIfFailed(in_place_->GetWindow(&own));
  return own;
}

void WebBrowserHost::Focus() {
  ThrowIfFailed(object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, parent_, &rect_));
  // A control already active, or one without a document yet, may leave the focus where it was:
  // its window takes it then.
  if (!Contains(GetFocus())) SetFocus(window());
}

bool WebBrowserHost::TranslateAccelerator(MSG& message) {
  // Held for the call: the object may leave the frame while it handles the key.
  ComPtr<IOleInPlaceActiveObject> active = site_->frame().active_object();
  return active && active->TranslateAccelerator(&message) == S_OK;
}

bool WebBrowserHost::Contains(HWND window) const {
  HWND own = nullptr;
  if (!window || FAILED(in_place_->GetWindow(&own))) return false;
  return window == own || IsChild(own, window);
}

}  // namespace windlock::win32
