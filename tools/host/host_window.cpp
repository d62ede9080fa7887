#include "host_window.h"

#include <commctrl.h>
#include <exdisp.h>
#include <exdispid.h>

#include <algorithm>
#include <array>
#include <new>
#include <utility>

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"
#include "backends/win32/win32_registry.h"
#include "commands.h"
#include "common/scope_exit.h"
#include "layout.h"
#include "start_settings.h"
#include "window_metrics.h"
#include "window_threads.h"

namespace windlock::host {
namespace {

using win32::ThrowIfFailed;

// The bar asked to be shown (wparam 1) or hidden (0).
constexpr UINT kBarRequestMessage = WM_APP + 1;

constexpr const wchar_t* kBarNotInstalled =
    L"The Windlock bar is not installed: run regsvr32 /i LKIEWindlock.dll";

HINSTANCE Instance() {
  return GetModuleHandleW(nullptr);
}

void RegisterClasses(WNDPROC host_procedure) {
  static const bool registered = [&] {
    WNDCLASSEXW host = {};
    host.cbSize = sizeof(host);
    host.lpfnWndProc = host_procedure;
    host.hInstance = Instance();
    host.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    host.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    host.lpszClassName = kHostWindowClass;
    WNDCLASSEXW pane = host;
    pane.lpfnWndProc = DefWindowProcW;
    pane.hIcon = nullptr;
    pane.lpszClassName = kBarPaneClass;
    return RegisterClassExW(&host) != 0 && RegisterClassExW(&pane) != 0;
  }();
  if (!registered) throw win32::ErrorFromWin32(GetLastError());
}

void Place(HWND window, const RECT& rect) {
  MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring BarFailure(const Error& error) {
  if (error.number() == REGDB_E_CLASSNOTREG) return kBarNotInstalled;
  return L"The Windlock bar could not be loaded: " + win32::Widen(error.description());
}

std::wstring Hex(long number) {
  static constexpr const wchar_t* kDigits = L"0123456789ABCDEF";
  const auto value = static_cast<unsigned long>(number);
  std::wstring text = L"0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 0xF];
  return text;
}

}  // namespace

void ReportStartFailure(const std::wstring& reason) noexcept {
  try {
    const std::wstring text = L"Windlock Host cannot open a window: " + reason;
    MessageBoxW(nullptr, text.c_str(), L"Windlock Host", MB_OK | MB_ICONERROR);
  } catch (const std::bad_alloc&) {
    MessageBoxW(nullptr, L"Windlock Host cannot open a window.", L"Windlock Host",
                MB_OK | MB_ICONERROR);
  }
}

HostWindow::HostWindow(const HostOptions& options, int show_command, WindowThreads* threads)
    : threads_(threads), dpi_(ScreenDpi()), accelerators_(BuildAccelerators()) {
  RegisterClasses(&HostWindow::WindowProc);
  RECT place = FirstPlace(dpi_);
  CreateWindowExW(0, kHostWindowClass, kHostCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  place.left, place.top, place.right - place.left, place.bottom - place.top,
                  nullptr, BuildMainMenu(), Instance(), this);
  if (!window_) throw win32::ErrorFromWin32(GetLastError());
  {
    auto destroy = OnFailure([this] { DestroyWindow(window_); });
    // The screen the window opened on may have a DPI of its own.
    dpi_ = win32::WindowDpi(window_).y;
    font_ = win32::MessageFont(dpi_);
    MakeChildren();
    LayOutStatusParts();
    LayOutChildren();
  }
  ShowWindow(window_, show_command);
  UpdateWindow(window_);

  SetWindowTextW(address_, options.url.c_str());
  try {
    if (!options.url.empty()) Navigate(options.url);
  } catch (const Error& error) {
    ReportError(error);
  }
  win32::Win32Registry registry;
  if (options.show_bar || BarStartsItself(registry)) ShowBar(true);
  OnCommand(kCommandFocusAddress);
}

HostWindow::~HostWindow() {
  if (window_) DestroyWindow(window_);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

HWND HostWindow::MakeChild(const wchar_t* window_class, const wchar_t* text, DWORD style, WORD id,
                           DWORD ex_style) {
  HWND child =
      CreateWindowExW(ex_style, window_class, text, WS_CHILD | style, 0, 0, 0, 0, window_,
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Instance(), nullptr);
  if (!child) throw win32::ErrorFromWin32(GetLastError());
  if (font_) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return child;
}

void HostWindow::MakeChildren() {
  const DWORD button = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  back_ = MakeChild(L"BUTTON", L"Back", button | WS_DISABLED, kCommandBack);
  forward_ = MakeChild(L"BUTTON", L"Forward", button | WS_DISABLED, kCommandForward);
  reload_ = MakeChild(L"BUTTON", L"Reload", button, kCommandReload);
  address_ = MakeChild(L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, kAddressBoxId,
                       WS_EX_CLIENTEDGE);
  address_height_ = EditHeight(address_, dpi_);
  bar_button_ = MakeChild(L"BUTTON", L"Windlock Bar",
                          WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX | BS_PUSHLIKE, kCommandToggleBar);
  bar_title_ = MakeChild(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, kBarTitleId);
  bar_pane_ = MakeChild(kBarPaneClass, L"", WS_CLIPCHILDREN, kBarPaneId);
  status_ = MakeChild(STATUSCLASSNAMEW, L"", WS_VISIBLE | SBARS_SIZEGRIP, kStatusLineId);

  browser_ = std::make_unique<win32::WebBrowserHost>(window_, RECT{});
  host_browser_ = HostBrowser::Make(browser_->browser(), static_cast<BrowserRequests*>(this));
  events_ = BrowserEvents::Make(browser_->browser().get(), host_browser_, this);
  connection_ = std::make_unique<EventConnection>(
      browser_->browser().get(), DIID_DWebBrowserEvents2, static_cast<IDispatch*>(events_.get()));
}

void HostWindow::LayOutChildren() {
  if (!browser_) return;
  RECT client = {};
  GetClientRect(window_, &client);
  RECT status = {};
  GetWindowRect(status_, &status);
  HostLayout layout = LayOut({{client.right, client.bottom},
                              status_bar_ ? static_cast<int>(status.bottom - status.top) : 0,
                              BarShown() ? bar_->width() : 0,
                              dpi_,
                              address_height_,
                              toolbar_});
  Place(back_, layout.back);
  Place(forward_, layout.forward);
  Place(reload_, layout.reload);
  Place(address_, layout.address);
  Place(bar_button_, layout.bar_button);
  Place(bar_title_, layout.bar_title);
  Place(bar_pane_, layout.bar_pane);
  browser_->Move(layout.browser);
  if (BarShown()) bar_->Fit();
}

void HostWindow::FollowDpi(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  font_ = win32::MessageFont(dpi_);
  for (HWND child : {back_, forward_, reload_, address_, bar_button_, bar_title_, status_}) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  address_height_ = EditHeight(address_, dpi_);
  // The new size lays the children out again.
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void HostWindow::LayOutStatusParts() {
  RECT client = {};
  GetClientRect(status_, &client);
  int bar_part = 0;
  if (!bar_message_.empty()) {
    const SIZE extent = WithFontOf(status_, [&](HDC dc) {
      SIZE size = {};
      GetTextExtentPoint32W(dc, bar_message_.c_str(), static_cast<int>(bar_message_.size()), &size);
      return size;
    });
    // Room for the part's borders and the size grip.
    bar_part = extent.cx + MulDiv(32, dpi_, 96);
  }
  std::array<int, 2> edges = {std::max<int>(0, client.right - bar_part), -1};
  SendMessageW(status_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  SetStatus(kStatusBarPart, bar_message_);
}

bool HostWindow::FocusIn(HWND window) const {
  HWND focus = GetFocus();
  return focus && (focus == window || IsChild(window, focus));
}

bool HostWindow::PreTranslate(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  if (message.hwnd == address_ && message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
    try {
      Navigate(WindowText(address_));
    } catch (const Error& error) {
      ReportError(error);
    }
    return true;
  }
  if (BarShown() && bar_->HasFocus()) return bar_->TranslateKey(message);
  const bool in_host_controls = message.hwnd == address_ || message.hwnd == back_ ||
                                message.hwnd == forward_ || message.hwnd == reload_ ||
                                message.hwnd == bar_button_ || FocusIn(bar_pane_);
  if (!in_host_controls && browser_ && FocusIn(window_) && browser_->TranslateAccelerator(message))
    return true;
  return TranslateAcceleratorW(window_, accelerators_, &message) != 0;
}

void HostWindow::Navigate(const std::wstring& url) {
  win32::Bstr target = win32::ToBstr(win32::Narrow(url));
  ThrowIfFailed(browser_->browser()->Navigate(target.get(), nullptr, nullptr, nullptr, nullptr));
}

void HostWindow::SetStatus(int part, const std::wstring& text) {
  SendMessageW(status_, SB_SETTEXTW, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text.c_str()));
}

void HostWindow::ReportError(const Error& error) noexcept {
  // What the host could not do is said where the browser's own messages go; without the memory
  // to say it, it goes unsaid.
  try {
    SetStatus(kStatusBrowserPart, win32::Widen(error.description()));
  } catch (const std::bad_alloc&) {
  }
}

void HostWindow::OnCommand(WORD command) {
  switch (command) {
    case kCommandBack:
      // Fails when there is nowhere to go, which the disabled button already shows.
      browser_->browser()->GoBack();
      break;
    case kCommandForward:
      browser_->browser()->GoForward();
      break;
    case kCommandReload:
      browser_->browser()->Refresh();
      break;
    case kCommandToggleBar:
      ShowBar(!BarShown());
      break;
    case kCommandFocusAddress:
      SetFocus(address_);
      SendMessageW(address_, EM_SETSEL, 0, -1);
      break;
    case kCommandExit:
      PostMessageW(window_, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

// A bar hidden stays loaded, as a browser keeps its Explorer Bar until the window closes: it
// hears the window close (OnQuit) and remembers that it was hidden.
void HostWindow::ShowBar(bool shown) {
  if (shown == BarShown()) return;
  if (shown && !bar_) {
    try {
      bar_ = std::make_unique<ExplorerBar>(bar_pane_,
                                           win32::ComPtr<IWebBrowser2>::Share(host_browser_.get()),
                                           [this] { BarGaveUpFocus(); });
      bar_message_.clear();
    } catch (const Error& error) {
      bar_message_ = BarFailure(error);
    }
  } else if (shown) {
    bar_->Show(true);
  } else {
    const bool had_focus = FocusIn(bar_pane_);
    bar_->Show(false);
    if (had_focus) OnCommand(kCommandFocusAddress);
  }
  bar_shown_ = shown && bar_;
  SetWindowTextW(bar_title_, bar_shown_ ? (L" " + bar_->title()).c_str() : L"");
  LayOutStatusParts();
  LayOutChildren();
  ShowWindow(bar_title_, bar_shown_ ? SW_SHOWNA : SW_HIDE);
  ShowWindow(bar_pane_, bar_shown_ ? SW_SHOWNA : SW_HIDE);
  CheckMenuItem(GetMenu(window_), kCommandToggleBar, bar_shown_ ? MF_CHECKED : MF_UNCHECKED);
  SendMessageW(bar_button_, BM_SETCHECK, bar_shown_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void HostWindow::TearDown() noexcept {
  // The browser window closes: the bar hears it as from its browser, and keeps what it wants
  // to remember.
  if (bar_ && host_browser_) {
    DISPPARAMS none = {};
    host_browser_->Fire(DISPID_ONQUIT, none);
  }
  bar_.reset();
  connection_.reset();
  if (events_) events_->Disconnect();
  events_.Reset();
  if (host_browser_) host_browser_->Close();
  host_browser_.Reset();
  browser_.reset();
}

// Tab past the bar's last control goes on to the page, Shift+Tab before its first back to the
// address box; a bar that lost the focus to a click elsewhere leaves it there.
void HostWindow::BarGaveUpFocus() {
  if (!FocusIn(bar_pane_)) return;
  if (GetKeyState(VK_SHIFT) < 0) {
    OnCommand(kCommandFocusAddress);
  } else {
    browser_->Focus();
  }
}

IDispatch* HostWindow::page_browser() const {
  return browser_->browser().get();
}

// BrowserRequests: done once the bar's call has returned, never under it.

void HostWindow::RequestBar(bool shown) {
  PostMessageW(window_, kBarRequestMessage, shown ? 1 : 0, 0);
}

void HostWindow::RequestQuit() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

// BrowserListener

void HostWindow::StatusTextChanged(const std::wstring& text) {
  SetStatus(kStatusBrowserPart, text);
}

void HostWindow::TitleChanged(const std::wstring& title) {
  std::wstring caption = title.empty() ? kHostCaption : title + L" - " + kHostCaption;
  SetWindowTextW(window_, caption.c_str());
}

void HostWindow::Navigating(const std::wstring& url) {
  SetStatus(kStatusBrowserPart, L"Opening " + url);
}

void HostWindow::Navigated(const std::wstring& url) {
  if (!FocusIn(address_)) SetWindowTextW(address_, url.c_str());
}

void HostWindow::NavigationFailed(const std::wstring& url, long status) {
  SetStatus(kStatusBrowserPart, L"Cannot open " + url + L" (error " + Hex(status) + L")");
}

void HostWindow::CommandStateChanged(long command, bool enabled) {
  if (command == CSC_NAVIGATEBACK) EnableWindow(back_, enabled);
  if (command == CSC_NAVIGATEFORWARD) EnableWindow(forward_, enabled);
}

win32::ComPtr<IDispatch> HostWindow::NewWindowAsked() {
  if (!threads_) return {};
  // The new window has a bar as this one has, or as the settings start one.
  HostOptions options;
  options.url.clear();
  options.show_bar = BarShown();
  return threads_->OpenForPage(options);
}

void HostWindow::PlaceAsked(DISPID edge, long pixels) {
  RECT place = {};
  GetWindowRect(window_, &place);
  const LONG width = place.right - place.left;
  const LONG height = place.bottom - place.top;
  // A size below the window's smallest is raised to it by WM_GETMINMAXINFO.
  switch (edge) {
    case DISPID_WINDOWSETLEFT:
      SetWindowPos(window_, nullptr, pixels, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      break;
    case DISPID_WINDOWSETTOP:
      SetWindowPos(window_, nullptr, place.left, pixels, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      break;
    case DISPID_WINDOWSETWIDTH:
      SetWindowPos(window_, nullptr, 0, 0, std::max(0L, pixels), height, SWP_NOMOVE | SWP_NOZORDER);
      break;
    case DISPID_WINDOWSETHEIGHT:
      SetWindowPos(window_, nullptr, 0, 0, width, std::max(0L, pixels), SWP_NOMOVE | SWP_NOZORDER);
      break;
    default:
      break;
  }
}

void HostWindow::FeatureAsked(DISPID feature, bool wanted) {
  switch (feature) {
    case DISPID_WINDOWSETRESIZABLE: {
      const LONG_PTR frame = WS_THICKFRAME | WS_MAXIMIZEBOX;
      LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
      SetWindowLongPtrW(window_, GWL_STYLE, wanted ? style | frame : style & ~frame);
      SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
      break;
    }
    case DISPID_ONTOOLBAR:
      toolbar_ = wanted;
      for (HWND part : {back_, forward_, reload_, address_, bar_button_}) {
        ShowWindow(part, wanted ? SW_SHOWNA : SW_HIDE);
      }
      LayOutChildren();
      break;
    case DISPID_ONSTATUSBAR:
      status_bar_ = wanted;
      ShowWindow(status_, wanted ? SW_SHOWNA : SW_HIDE);
      LayOutChildren();
      break;
    default:
      break;
  }
}

void HostWindow::ClosingAsked() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

// The window's messages

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<HostWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (const Error& error) {
    self->ReportError(error);
  } catch (const std::bad_alloc&) {
    // The message is dropped: nothing may leave a window procedure.
  }
  return 0;
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_SIZE:
      // Sizes come while the window is made, before its children are.
      if (!browser_) break;
      SendMessageW(status_, WM_SIZE, 0, 0);
      LayOutStatusParts();
      LayOutChildren();
      return 0;
    case WM_DPICHANGED:
      FollowDpi(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMinTrackSize = {MulDiv(480, dpi_, 96), MulDiv(320, dpi_, 96)};
      return 0;
    }
    case WM_ACTIVATE:
      // The focus comes back where it was when the window is active again.
      if (LOWORD(wparam) == WA_INACTIVE && FocusIn(window_)) focus_ = GetFocus();
      break;
    case WM_SETFOCUS:
      if (!address_) break;
      if (focus_ && IsWindow(focus_) && IsChild(window_, focus_)) {
        SetFocus(focus_);
      } else {
        OnCommand(kCommandFocusAddress);
      }
      return 0;
    case kBarRequestMessage:
      ShowBar(wparam != 0);
      return 0;
    case WM_DESTROY:
      TearDown();
      // The window's thread ends with it.
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND window = std::exchange(window_, nullptr);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wparam, lparam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace windlock::host
