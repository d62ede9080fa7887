#include "backends/win32/browser/web_browser_site.h"
#include "backends/win32/com/no_type_info.h"

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
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) noexcept {
  return GuardedCall(
      [&] {
        if (moniker) *moniker = nullptr;
        return E_NOTIMPL;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetContainer(IOleContainer** container) noexcept {
  return GuardedCall(
      [&] {
        if (container) *container = nullptr;
        return E_NOINTERFACE;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::ShowObject() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnShowWindow(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::RequestNewObjectLayout() noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

// IOleWindow

STDMETHODIMP WebBrowserSite::GetWindow(HWND* window) noexcept {
  return GuardedCall(
      [&] {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::ContextSensitiveHelp(BOOL) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

// IOleInPlaceSite

STDMETHODIMP WebBrowserSite::CanInPlaceActivate() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnInPlaceActivate() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnUIActivate() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetWindowContext(IOleInPlaceFrame** frame,
                                              IOleInPlaceUIWindow** document, LPRECT position,
                                              LPRECT clip, LPOLEINPLACEFRAMEINFO info) noexcept {
  return GuardedCall(
      [&] {
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
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::Scroll(SIZE) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnUIDeactivate(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnInPlaceDeactivate() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::DiscardUndoState() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::DeactivateAndUndo() noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnPosRectChange(LPCRECT) noexcept {
  // The owner lays the pane out: the control keeps the rectangle it was given.
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

// IOleControlSite

STDMETHODIMP WebBrowserSite::OnControlInfoChanged() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::LockInPlaceActive(BOOL) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetExtendedControl(IDispatch** control) noexcept {
  return GuardedCall(
      [&] {
        if (control) *control = nullptr;
        return E_NOTIMPL;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::TransformCoords(POINTL*, POINTF*, DWORD) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::TranslateAccelerator(MSG*, DWORD) noexcept {
  // The container has no accelerators: the control handles the key itself.
  return GuardedCall([] { return S_FALSE; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnFocus(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::ShowPropertyFrame() noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

// IDocHostUIHandler: the browser's own menus, keys and drop handling, in a plain pane.

STDMETHODIMP WebBrowserSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) noexcept {
  return GuardedCall([] { return S_FALSE; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetHostInfo(DOCHOSTUIINFO* info) noexcept {
  return GuardedCall(
      [&] {
        if (!info) return E_POINTER;
        info->dwFlags = kHostFlags;
        info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                    IOleInPlaceFrame*, IOleInPlaceUIWindow*) noexcept {
  // The pane shows no menus or toolbars of the browser's.
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::HideUI() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::UpdateUI() noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::EnableModeless(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnDocWindowActivate(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::OnFrameWindowActivate(BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) noexcept {
  return GuardedCall([] { return S_OK; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::TranslateAccelerator(LPMSG, const GUID*, DWORD) noexcept {
  return GuardedCall([] { return S_FALSE; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) noexcept {
  return GuardedCall(
      [&] {
        if (key) *key = nullptr;
        return S_FALSE;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** replacement) noexcept {
  return GuardedCall(
      [&] {
        if (replacement) *replacement = nullptr;
        return E_NOTIMPL;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::GetExternal(IDispatch** external) noexcept {
  return GuardedCall(
      [&] {
        if (!external) return E_POINTER;
        *external = ComPtr<IDispatch>(external_).Detach();
        return *external ? S_OK : S_FALSE;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) noexcept {
  return GuardedCall(
      [&] {
        if (translated) *translated = nullptr;
        return S_FALSE;
      },
      AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::FilterDataObject(IDataObject*, IDataObject** replacement) noexcept {
  return GuardedCall(
      [&] {
        if (replacement) *replacement = nullptr;
        return S_FALSE;
      },
      AfterCall::kNothing);
}

// IDispatch

STDMETHODIMP WebBrowserSite::GetTypeInfoCount(UINT* count) noexcept {
  return NoTypeInfoCount(count);
}

STDMETHODIMP WebBrowserSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  return NoTypeInfo(info);
}

STDMETHODIMP WebBrowserSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept {
  return GuardedCall([] { return E_NOTIMPL; }, AfterCall::kNothing);
}

STDMETHODIMP WebBrowserSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                    VARIANT* result, EXCEPINFO*, UINT*) noexcept {
  return GuardedCall(
      [&] {
        // An ambient property the container does not answer leaves the control's default.
        if (id != DISPID_AMBIENT_DLCONTROL || !download_control_ || !(flags & DISPATCH_PROPERTYGET))
          return DISP_E_MEMBERNOTFOUND;
        if (!result) return E_POINTER;
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(*download_control_);
        return S_OK;
      },
      AfterCall::kNothing);
}

}  // namespace windlock::win32
