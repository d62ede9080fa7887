#include "backends/win32/web_browser_site.h"
#include "backends/win32/no_type_info.h"

#include <mshtmdid.h>

namespace windlock::win32 {
namespace {

// A plain pane: no sunken border; scroll bars only where the page's content or style asks.
constexpr DWORD kHostFlags = DOCHOSTUIFLAG_NO3DBORDER;

}  // namespace

WebBrowserSite::WebBrowserSite(HWND window, const RECT& rect)
    : window_(window), rect_(rect), frame_(WebBrowserFrame::Make(window)) {}

// IOleClientSite: the pane stores nothing and lives in no document of its own.

STDMETHODIMP WebBrowserSite::SaveObject() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) noexcept {
  return ComGuard([&] {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  });
}

STDMETHODIMP WebBrowserSite::GetContainer(IOleContainer** container) noexcept {
  return ComGuard([&] {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  });
}

STDMETHODIMP WebBrowserSite::ShowObject() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::OnShowWindow(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::RequestNewObjectLayout() noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

// IOleWindow

STDMETHODIMP WebBrowserSite::GetWindow(HWND* window) noexcept {
  return ComGuard([&] {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  });
}

STDMETHODIMP WebBrowserSite::ContextSensitiveHelp(BOOL) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

// IOleInPlaceSite

STDMETHODIMP WebBrowserSite::CanInPlaceActivate() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::OnInPlaceActivate() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::OnUIActivate() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::GetWindowContext(IOleInPlaceFrame** frame,
                                              IOleInPlaceUIWindow** document, LPRECT position,
                                              LPRECT clip, LPOLEINPLACEFRAMEINFO info) noexcept {
  return ComGuard([&] {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    *frame = ComPtr<WebBrowserFrame>(frame_).Detach();
    // The frame is the document window too.
    *document = nullptr;
    *position = rect_;
    *clip = rect_;
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  });
}

STDMETHODIMP WebBrowserSite::Scroll(SIZE) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

STDMETHODIMP WebBrowserSite::OnUIDeactivate(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::OnInPlaceDeactivate() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::DiscardUndoState() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::DeactivateAndUndo() noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

STDMETHODIMP WebBrowserSite::OnPosRectChange(LPCRECT) noexcept {
  // The owner lays the pane out: the control keeps the rectangle it was given.
  return ComGuard([] { return S_OK; });
}

// IOleControlSite

STDMETHODIMP WebBrowserSite::OnControlInfoChanged() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::LockInPlaceActive(BOOL) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

STDMETHODIMP WebBrowserSite::GetExtendedControl(IDispatch** control) noexcept {
  return ComGuard([&] {
    if (control) *control = nullptr;
    return E_NOTIMPL;
  });
}

STDMETHODIMP WebBrowserSite::TransformCoords(POINTL*, POINTF*, DWORD) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

STDMETHODIMP WebBrowserSite::TranslateAccelerator(MSG*, DWORD) noexcept {
  // The container has no accelerators: the control handles the key itself.
  return ComGuard([] { return S_FALSE; });
}

STDMETHODIMP WebBrowserSite::OnFocus(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::ShowPropertyFrame() noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

// IDocHostUIHandler: the browser's own menus, keys and drop handling, in a plain pane.

STDMETHODIMP WebBrowserSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) noexcept {
  return ComGuard([] { return S_FALSE; });
}

STDMETHODIMP WebBrowserSite::GetHostInfo(DOCHOSTUIINFO* info) noexcept {
  return ComGuard([&] {
    if (!info) return E_POINTER;
    info->dwFlags = kHostFlags;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
  });
}

STDMETHODIMP WebBrowserSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                    IOleInPlaceFrame*, IOleInPlaceUIWindow*) noexcept {
  // The pane shows no menus or toolbars of the browser's.
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::HideUI() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::UpdateUI() noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::EnableModeless(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::OnDocWindowActivate(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::OnFrameWindowActivate(BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) noexcept {
  return ComGuard([] { return S_OK; });
}

STDMETHODIMP WebBrowserSite::TranslateAccelerator(LPMSG, const GUID*, DWORD) noexcept {
  return ComGuard([] { return S_FALSE; });
}

STDMETHODIMP WebBrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) noexcept {
  return ComGuard([&] {
    if (key) *key = nullptr;
    return S_FALSE;
  });
}

STDMETHODIMP WebBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** replacement) noexcept {
  return ComGuard([&] {
    if (replacement) *replacement = nullptr;
    return E_NOTIMPL;
  });
}

STDMETHODIMP WebBrowserSite::GetExternal(IDispatch** external) noexcept {
  return ComGuard([&] {
    if (!external) return E_POINTER;
    *external = ComPtr<IDispatch>(external_).Detach();
    return *external ? S_OK : S_FALSE;
  });
}

STDMETHODIMP WebBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) noexcept {
  return ComGuard([&] {
    if (translated) *translated = nullptr;
    return S_FALSE;
  });
}

STDMETHODIMP WebBrowserSite::FilterDataObject(IDataObject*, IDataObject** replacement) noexcept {
  return ComGuard([&] {
    if (replacement) *replacement = nullptr;
    return S_FALSE;
  });
}

// IDispatch

STDMETHODIMP WebBrowserSite::GetTypeInfoCount(UINT* count) noexcept {
  return NoTypeInfoCount(count);
}

STDMETHODIMP WebBrowserSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  return NoTypeInfo(info);
}

STDMETHODIMP WebBrowserSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
  return ComGuard([] { return E_NOTIMPL; });
}

STDMETHODIMP WebBrowserSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                    VARIANT* result, EXCEPINFO*, UINT*) noexcept {
  return ComGuard([&] {
    // An ambient property the container does not answer leaves the control's default.
    if (id != DISPID_AMBIENT_DLCONTROL || !download_control_ || !(flags & DISPATCH_PROPERTYGET))
      return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    result->vt = VT_I4;
    result->lVal = static_cast<LONG>(*download_control_);
    return S_OK;
  });
}

}  // namespace windlock::win32
