#pragma once

#include <shlobj.h>

#include <memory>

#include "host/band.h"
#include "platform/win32/module.h"
#include "platform/win32/win32_band_site.h"
#include "server/thread_context.h"

namespace windlock::server {

// The COM class IEBar: the browser's band protocol, translated to the core band.
class IEBar : public IDeskBand, public IObjectWithSite, public IInputObject, public IContextMenu {
 public:
  IEBar();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleWindow
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter_mode) override;

  // IDockingWindow
  STDMETHODIMP ShowDW(BOOL show) override;
  STDMETHODIMP CloseDW(DWORD reserved) override;
  STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* toolbar_site, BOOL reserved) override;

  // IDeskBand
  STDMETHODIMP GetBandInfo(DWORD band_id, DWORD view_mode, DESKBANDINFO* info) override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) override;
  STDMETHODIMP GetSite(REFIID iid, void** site) override;

  // IInputObject
  STDMETHODIMP UIActivateIO(BOOL activate, MSG* message) override;
  STDMETHODIMP HasFocusIO() override;
  STDMETHODIMP TranslateAcceleratorIO(MSG* message) override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index_menu, UINT id_cmd_first, UINT id_cmd_last,
                                UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  STDMETHODIMP GetCommandString(UINT_PTR id_cmd, UINT type, UINT* reserved, CHAR* name,
                                UINT max) override;

 protected:
  virtual ~IEBar();

 private:
  IUnknown* Identity() { return static_cast<IDeskBand*>(this); }

  LONG references_ = 1;
  win32::ModuleReference module_;
  ThreadContext& context_;
  std::unique_ptr<win32::Win32BandSite> site_;
  std::unique_ptr<Band> band_;
};

}  // namespace windlock::server
