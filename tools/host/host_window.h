#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "backends/win32/browser/web_browser_host.h"
#include "backends/win32/com/com_ptr.h"
#include "backends/win32/view/gdi.h"
#include "backends/win32/view/window_dpi.h"
#include "browser_events.h"
#include "command_line.h"
#include "event_connection.h"
#include "explorer_bar.h"
#include "host_browser.h"

namespace windlock::host {

class WindowThreads;

// Tells the user why a host window could not be made.
void ReportStartFailure(const std::wstring& reason) noexcept;

// The host's main window: a row of buttons with the address box, the browser pane, the status
// line, and the pane at the left where the Windlock bar is loaded while it is shown.
class HostWindow final : public BrowserListener, public BrowserRequests {
 public:
  // Creates and shows the window at `options.url` (an empty one opens nothing: a page's new window
  // is opened by its browser), with the bar when asked or when the user's settings start it;
  // throws Error when the window or its browser pane cannot be made. The windows pages open are
  // opened by `threads`.
  HostWindow(const HostOptions& options, int show_command, WindowThreads* threads);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // Offers a message of the loop before it is dispatched: Enter in the address box, the keys of
  // the bar or the browser pane (whichever has the focus), the host's own keys. True when used.
  bool PreTranslate(MSG& message);

  HWND window() const { return window_; }
  // The pane's browser control, which a page's new window is handed.
  IDispatch* page_browser() const;
  // The browser the bar is given.
  IWebBrowser2* bar_browser() const { return host_browser_.get(); }
  // The sink the pane's control fires its events into.
  IDispatch* control_events() const { return events_.get(); }

  // BrowserRequests
  void RequestBar(bool shown) override;
  void RequestQuit() override;

  // BrowserListener
  void StatusTextChanged(const std::wstring& text) override;
  void TitleChanged(const std::wstring& title) override;
  void Navigating(const std::wstring& url) override;
  void Navigated(const std::wstring& url) override;
  void NavigationFailed(const std::wstring& url, long status) override;
  void CommandStateChanged(long command, bool enabled) override;
  win32::ComPtr<IDispatch> NewWindowAsked() override;
  void PlaceAsked(DISPID edge, long pixels) override;
  void FeatureAsked(DISPID feature, bool wanted) override;
  void ClosingAsked() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  HWND MakeChild(const wchar_t* window_class, const wchar_t* text, DWORD style, WORD id,
                 DWORD ex_style = 0);
  void MakeChildren();
  void LayOutChildren();
  void LayOutStatusParts();
  // Moved to a screen of `dpi` pixels per inch: the children's font and the layout at that DPI,
  // the window at the place Windows suggests for it.
  void FollowDpi(int dpi, const RECT& suggested);
  void OnCommand(WORD command);
  void ShowBar(bool shown);
  bool BarShown() const { return bar_ && bar_shown_; }
  void BarGaveUpFocus();
  void Navigate(const std::wstring& url);
  void SetStatus(int part, const std::wstring& text);
  void ReportError(const Error& error) noexcept;
  bool FocusIn(HWND window) const;
  void TearDown() noexcept;

  WindowThreads* threads_;
  HWND window_ = nullptr;
  HWND back_ = nullptr;
  HWND forward_ = nullptr;
  HWND reload_ = nullptr;
  HWND address_ = nullptr;
  HWND bar_button_ = nullptr;
  HWND bar_title_ = nullptr;
  HWND bar_pane_ = nullptr;
  HWND status_ = nullptr;
  HWND focus_ = nullptr;
  int dpi_ = 96;
  int address_height_ = 0;
  // What the page asked of its window.
  bool toolbar_ = true;
  bool status_bar_ = true;
  win32::OwnedFont font_;
  HACCEL accelerators_ = nullptr;
  std::wstring bar_message_;
  std::unique_ptr<win32::WebBrowserHost> browser_;
  win32::ComPtr<HostBrowser> host_browser_;
  win32::ComPtr<BrowserEvents> events_;
  std::unique_ptr<EventConnection> connection_;
  std::unique_ptr<ExplorerBar> bar_;
  bool bar_shown_ = false;
};

}  // namespace windlock::host
