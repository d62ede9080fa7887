#pragma once

#include <windows.h>

#include <mshtmhst.h>
#include <oaidl.h>
#include <ocidl.h>
#include <oleidl.h>

#include <optional>
#include <utility>

#include "backends/win32/browser/web_browser_frame.h"
#include "backends/win32/com/com_object.h"

namespace windlock::win32 {

// Everything a hosted WebBrowser control asks of its container: where it lives (client and
// in-place site, the frame), how its pages look and what they reach (IDocHostUIHandler) and the
// ambient properties (IDispatch), of which the container answers the download control.
class WebBrowserSite
    : public ComObject<WebBrowserSite, IOleClientSite, Implements<IOleInPlaceSite, IOleWindow>,
                       IOleControlSite, IDocHostUIHandler, IDispatch> {
 public:
  // The control lives in `window` at `rect`, in the window's client coordinates.
  WebBrowserSite(HWND window, const RECT& rect);

  void set_rect(const RECT& rect) { rect_ = rect; }
  void set_window(HWND window) { window_ = window; }
  void set_download_control(DWORD flags) { download_control_ = flags; }
  void set_external(ComPtr<IDispatch> external) { external_ = std::move(external); }
  const WebBrowserFrame& frame() const { return *frame_.get(); }

  // IOleClientSite
  STDMETHODIMP SaveObject() noexcept override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) noexcept override;
  STDMETHODIMP GetContainer(IOleContainer** container) noexcept override;
  STDMETHODIMP ShowObject() noexcept override;
  STDMETHODIMP OnShowWindow(BOOL show) noexcept override;
  STDMETHODIMP RequestNewObjectLayout() noexcept override;

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) noexcept override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter_mode) noexcept override;

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() noexcept override;
  STDMETHODIMP OnInPlaceActivate() noexcept override;
  STDMETHODIMP OnUIActivate() noexcept override;
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                LPRECT position, LPRECT clip,
                                LPOLEINPLACEFRAMEINFO info) noexcept override;
  STDMETHODIMP Scroll(SIZE extent) noexcept override;
  STDMETHODIMP OnUIDeactivate(BOOL undoable) noexcept override;
  STDMETHODIMP OnInPlaceDeactivate() noexcept override;
  STDMETHODIMP DiscardUndoState() noexcept override;
  STDMETHODIMP DeactivateAndUndo() noexcept override;
  STDMETHODIMP OnPosRectChange(LPCRECT position) noexcept override;

  // IOleControlSite
  STDMETHODIMP OnControlInfoChanged() noexcept override;
  STDMETHODIMP LockInPlaceActive(BOOL lock) noexcept override;
  STDMETHODIMP GetExtendedControl(IDispatch** control) noexcept override;
  STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) noexcept override;
  STDMETHODIMP TranslateAccelerator(MSG* message, DWORD modifiers) noexcept override;
  STDMETHODIMP OnFocus(BOOL got_focus) noexcept override;
  STDMETHODIMP ShowPropertyFrame() noexcept override;

  // IDocHostUIHandler
  STDMETHODIMP ShowContextMenu(DWORD id, POINT* point, IUnknown* command_target,
                               IDispatch* object) noexcept override;
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) noexcept override;
  STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active_object,
                      IOleCommandTarget* command_target, IOleInPlaceFrame* frame,
                      IOleInPlaceUIWindow* document) noexcept override;
  STDMETHODIMP HideUI() noexcept override;
  STDMETHODIMP UpdateUI() noexcept override;
  STDMETHODIMP EnableModeless(BOOL enable) noexcept override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) noexcept override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) noexcept override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window,
                            BOOL frame_window) noexcept override;
  STDMETHODIMP TranslateAccelerator(LPMSG message, const GUID* group,
                                    DWORD command) noexcept override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) noexcept override;
  STDMETHODIMP GetDropTarget(IDropTarget* target, IDropTarget** replacement) noexcept override;
  STDMETHODIMP GetExternal(IDispatch** external) noexcept override;
  STDMETHODIMP TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) noexcept override;
  STDMETHODIMP FilterDataObject(IDataObject* data, IDataObject** replacement) noexcept override;

  // IDispatch: the ambient properties.
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                      UINT*) noexcept override;

 protected:
  ~WebBrowserSite() override = default;

 private:
  HWND window_;
  RECT rect_;
  ComPtr<WebBrowserFrame> frame_;
  // Without flags the control keeps its own defaults.
  std::optional<DWORD> download_control_;
  ComPtr<IDispatch> external_;
};

}  // namespace windlock::win32
