#pragma once

#include <windows.h>

#include <exdisp.h>
#include <ocidl.h>

#include "backends/win32/com/com_object.h"
#include "event_relay.h"

namespace windlock::host {

// What the bar asks of its browser that a WebBrowser control does not do: the host window does
// it, once the call that asked has returned.
class BrowserRequests {
 public:
  virtual void RequestBar(bool shown) = 0;
  virtual void RequestQuit() = 0;

 protected:
  ~BrowserRequests() = default;
};

// The browser the host gives its bar, as a browser window gives its Explorer Bars its own
// object: everything is the pane's control's, except that showing or hiding the Windlock bar
// and quitting reach the host window, and the events reach the bar through the host, which acts
// on them after the bar.
class HostBrowser final
    : public win32::ComObject<
          HostBrowser, win32::Implements<IWebBrowser2, IDispatch, IWebBrowser, IWebBrowserApp>,
          IConnectionPointContainer> {
 public:
  HostBrowser(win32::ComPtr<IWebBrowser2> control, BrowserRequests* requests);

  // Hands an event of the control on to the bar.
  void Fire(DISPID id, DISPPARAMS& params) { relay_->Fire(id, params); }
  // The host window goes: later calls fail, and the bar's sinks are let go of.
  void Close() noexcept;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                             DISPID* ids) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* bad_argument) noexcept override;
  // IWebBrowser
  STDMETHODIMP GoBack() noexcept override;
  STDMETHODIMP GoForward() noexcept override;
  STDMETHODIMP GoHome() noexcept override;
  STDMETHODIMP GoSearch() noexcept override;
  STDMETHODIMP Navigate(BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post_data,
                        VARIANT* headers) noexcept override;
  STDMETHODIMP Refresh() noexcept override;
  STDMETHODIMP Refresh2(VARIANT* level) noexcept override;
  STDMETHODIMP Stop() noexcept override;
  STDMETHODIMP get_Application(IDispatch** value) noexcept override;
  STDMETHODIMP get_Parent(IDispatch** value) noexcept override;
  STDMETHODIMP get_Container(IDispatch** value) noexcept override;
  STDMETHODIMP get_Document(IDispatch** value) noexcept override;
  STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP get_Type(BSTR* value) noexcept override;
  STDMETHODIMP get_Left(LONG* value) noexcept override;
  STDMETHODIMP put_Left(LONG value) noexcept override;
  STDMETHODIMP get_Top(LONG* value) noexcept override;
  STDMETHODIMP put_Top(LONG value) noexcept override;
  STDMETHODIMP get_Width(LONG* value) noexcept override;
  STDMETHODIMP put_Width(LONG value) noexcept override;
  STDMETHODIMP get_Height(LONG* value) noexcept override;
  STDMETHODIMP put_Height(LONG value) noexcept override;
  STDMETHODIMP get_LocationName(BSTR* value) noexcept override;
  STDMETHODIMP get_LocationURL(BSTR* value) noexcept override;
  STDMETHODIMP get_Busy(VARIANT_BOOL* value) noexcept override;
  // IWebBrowserApp
  STDMETHODIMP Quit() noexcept override;
  STDMETHODIMP ClientToWindow(int* width, int* height) noexcept override;
  STDMETHODIMP PutProperty(BSTR name, VARIANT value) noexcept override;
  STDMETHODIMP GetProperty(BSTR name, VARIANT* value) noexcept override;
  STDMETHODIMP get_Name(BSTR* value) noexcept override;
  STDMETHODIMP get_HWND(SHANDLE_PTR* value) noexcept override;
  STDMETHODIMP get_FullName(BSTR* value) noexcept override;
  STDMETHODIMP get_Path(BSTR* value) noexcept override;
  STDMETHODIMP get_Visible(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_Visible(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_StatusBar(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_StatusBar(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_StatusText(BSTR* value) noexcept override;
  STDMETHODIMP put_StatusText(BSTR value) noexcept override;
  STDMETHODIMP get_ToolBar(int* value) noexcept override;
  STDMETHODIMP put_ToolBar(int value) noexcept override;
  STDMETHODIMP get_MenuBar(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_MenuBar(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_FullScreen(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_FullScreen(VARIANT_BOOL value) noexcept override;
  // IWebBrowser2
  STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* post_data,
                         VARIANT* headers) noexcept override;
  STDMETHODIMP QueryStatusWB(OLECMDID command, OLECMDF* status) noexcept override;
  STDMETHODIMP ExecWB(OLECMDID command, OLECMDEXECOPT option, VARIANT* in,
                      VARIANT* out) noexcept override;
  STDMETHODIMP ShowBrowserBar(VARIANT* bar, VARIANT* show, VARIANT* size) noexcept override;
  STDMETHODIMP get_ReadyState(READYSTATE* value) noexcept override;
  STDMETHODIMP get_Offline(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_Offline(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_Silent(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_Silent(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_TheaterMode(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_TheaterMode(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_AddressBar(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_AddressBar(VARIANT_BOOL value) noexcept override;
  STDMETHODIMP get_Resizable(VARIANT_BOOL* value) noexcept override;
  STDMETHODIMP put_Resizable(VARIANT_BOOL value) noexcept override;
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) noexcept override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) noexcept override;

 private:
  ~HostBrowser() override = default;

  // Runs `call` on the control, which is gone once the host window is.
  template <class Call>
  HRESULT Forward(Call&& call) noexcept;

  win32::ComPtr<IWebBrowser2> control_;
  BrowserRequests* requests_;
  win32::ComPtr<EventRelay> relay_;
};

}  // namespace windlock::host
