#pragma once

#include <shlobj.h>

#include <memory>

#include "backends/win32/com/com_object.h"
#include "backends/win32/win32_band_site.h"
#include "host/band.h"
#include "server/thread_context.h"

namespace windlock::server {

// The COM class IEBar: the browser's band protocol, translated to the core band.
class IEBar
    : public win32::ComObject<IEBar, win32::Implements<IDeskBand, IDockingWindow, IOleWindow>,
                              IObjectWithSite, IInputObject, IContextMenu> {
  using ComObject =
      win32::ComObject<IEBar, win32::Implements<IDeskBand, IDockingWindow, IOleWindow>,
                       IObjectWithSite, IInputObject, IContextMenu>;

 public:
  IEBar();

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) noexcept override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter_mode) noexcept override;

  // IDockingWindow
  STDMETHODIMP ShowDW(BOOL show) noexcept override;
  STDMETHODIMP CloseDW(DWORD reserved) noexcept override;
  STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* toolbar_site,
                              BOOL reserved) noexcept override;

  // IDeskBand
  STDMETHODIMP GetBandInfo(DWORD band_id, DWORD view_mode, DESKBANDINFO* info) noexcept override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) noexcept override;
  STDMETHODIMP GetSite(REFIID iid, void** site) noexcept override;

  // IInputObject
  STDMETHODIMP UIActivateIO(BOOL activate, MSG* message) noexcept override;
  STDMETHODIMP HasFocusIO() noexcept override;
  STDMETHODIMP TranslateAcceleratorIO(MSG* message) noexcept override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index_menu, UINT id_cmd_first, UINT id_cmd_last,
                                UINT flags) noexcept override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) noexcept override;
  STDMETHODIMP GetCommandString(UINT_PTR id_cmd, UINT type, UINT* reserved, CHAR* name,
                                UINT max) noexcept override;

 protected:
  ~IEBar() override = default;
  // The bar's windows and its thread's context can only go on the thread that made them.
  void Destroy() noexcept override;

 private:
  // Declared in the order they are made; they go in reverse: the band, its site, the context.
  ThreadContext::Reference context_;
  std::unique_ptr<win32::Win32BandSite> site_;
  std::unique_ptr<Band> band_;
};

}  // namespace windlock::server
