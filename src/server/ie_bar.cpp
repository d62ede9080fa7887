#include "server/ie_bar.h"

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/text.h"
#include "backends/win32/view/common_controls.h"
#include "backends/win32/view/tab_order.h"

namespace windlock::server {

using win32::GuardedCall;

namespace {

BandPoint FromPoint(const POINTL& point) {
  return {point.x, point.y};
}
POINTL ToPoint(const BandPoint& point) {
  return {point.x, point.y};
}

}  // namespace

IEBar::IEBar() {
  // The process's first band readies the controls the bar's windows are made of.
  win32::InitCommonControlsOnce();
  band_ = std::make_unique<Band>(context_.apartment());
}

void IEBar::Destroy() noexcept {
  if (context_.home().IsCurrent()) return ComObject::Destroy();
  // A browser let go of its last reference on another thread. When the home thread has ended,
  // its windows went with it and the bar is left as it is.
  context_.home().PostDestroy(this,
                              [](void* bar) { static_cast<IEBar*>(bar)->ComObject::Destroy(); });
}

// IOleWindow

STDMETHODIMP IEBar::GetWindow(HWND* window) noexcept {
  return GuardedCall([&] {
    if (!window) return E_POINTER;
    WindowHandle handle = 0;
    HRESULT result = band_->GetWindow(handle);
    *window = reinterpret_cast<HWND>(handle);
    return result;
  });
}

STDMETHODIMP IEBar::ContextSensitiveHelp(BOOL enter_mode) noexcept {
  return GuardedCall([&] { return band_->ContextSensitiveHelp(enter_mode != FALSE); });
}

// IDockingWindow

STDMETHODIMP IEBar::ShowDW(BOOL show) noexcept {
  return GuardedCall([&] { return band_->ShowDW(show != FALSE); });
}

STDMETHODIMP IEBar::CloseDW(DWORD) noexcept {
  return GuardedCall([&] { return band_->CloseDW(); });
}

STDMETHODIMP IEBar::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) noexcept {
  return GuardedCall([&] { return band_->ResizeBorderDW(); });
}

// IDeskBand

STDMETHODIMP IEBar::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info) noexcept {
  return GuardedCall([&] {
    if (!info) return E_INVALIDARG;
    // The title is only written: what the browser's buffer holds may have no terminating zero.
    BandInfo band_info{info->dwMask,
                       FromPoint(info->ptMinSize),
                       FromPoint(info->ptMaxSize),
                       FromPoint(info->ptIntegral),
                       FromPoint(info->ptActual),
                       {},
                       info->dwModeFlags,
                       info->crBkgnd};
    HRESULT result = band_->GetBandInfo(band_info);
    info->ptMinSize = ToPoint(band_info.min_size);
    info->ptMaxSize = ToPoint(band_info.max_size);
    info->ptIntegral = ToPoint(band_info.integral);
    info->ptActual = ToPoint(band_info.actual);
    if (band_info.mask & kDbimTitle) win32::CopyToBuffer(band_info.title, info->wszTitle);
    info->dwModeFlags = band_info.mode_flags;
    return result;
  });
}

// IObjectWithSite

STDMETHODIMP IEBar::SetSite(IUnknown* site) noexcept {
  return GuardedCall([&] {
    if (!site) {
      HRESULT result = band_->SetSite(nullptr);
      site_.reset();
      return result;
    }
    // The core holds the new site from here on, even when it refuses it.
    auto new_site =
        std::make_unique<win32::Win32BandSite>(win32::ComPtr<IUnknown>::Share(site), identity());
    HRESULT result = band_->SetSite(new_site.get());
    site_ = std::move(new_site);
    return result;
  });
}

STDMETHODIMP IEBar::GetSite(REFIID iid, void** site) noexcept {
  return GuardedCall([&] {
    if (!site) return E_POINTER;
    *site = nullptr;
    if (!site_) return E_FAIL;
    return site_->site()->QueryInterface(iid, site);
  });
}

// IInputObject

STDMETHODIMP IEBar::UIActivateIO(BOOL activate, MSG*) noexcept {
  return GuardedCall([&] { return band_->UIActivateIO(activate != FALSE); });
}

STDMETHODIMP IEBar::HasFocusIO() noexcept {
  return GuardedCall([&] { return band_->HasFocusIO(); });
}

STDMETHODIMP IEBar::TranslateAcceleratorIO(MSG* message) noexcept {
  return GuardedCall([&]() -> HRESULT {
    if (!message) return S_OK;
    if (context_.hosted().TranslateAccelerator(*message)) return S_OK;
    HRESULT result =
        band_->TranslateAcceleratorIO({reinterpret_cast<WindowHandle>(message->hwnd),
                                       message->message, message->wParam, message->lParam});
    WindowHandle bar = 0;
    if (result != S_OK || FAILED(band_->GetWindow(bar)) || bar == 0) return result;
    // Tab moves among the bar's controls as in a dialog; past either end it leaves the band.
    if (win32::MoveFocusByTab(reinterpret_cast<HWND>(bar), *message) ==
        win32::TabMove::kPastTheEnd) {
      band_->GiveUpFocus();
    }
    return S_OK;
  });
}

// IContextMenu

STDMETHODIMP IEBar::QueryContextMenu(HMENU menu, UINT index_menu, UINT id_cmd_first,
                                     UINT id_cmd_last, UINT flags) noexcept {
  return GuardedCall([&] {
    return band_->QueryContextMenu(reinterpret_cast<MenuHandle>(menu), index_menu, id_cmd_first,
                                   id_cmd_last, flags);
  });
}

STDMETHODIMP IEBar::InvokeCommand(CMINVOKECOMMANDINFO* info) noexcept {
  return GuardedCall([&]() -> HRESULT {
    if (!info) return E_INVALIDARG;
    // A verb given as text names no command of this menu.
    if (!IS_INTRESOURCE(info->lpVerb)) return E_INVALIDARG;
    return band_->InvokeCommand(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
  });
}

STDMETHODIMP IEBar::GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) noexcept {
  return GuardedCall([&] { return band_->GetCommandString(); });
}

}  // namespace windlock::server
