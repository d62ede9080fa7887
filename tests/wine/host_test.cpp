// WindlockHost.exe, the browser window that shows the bar: how it reads its command line and lays
// out its window, then the program itself, started as a person starts it and looked at from
// outside: its controls, the bar in its pane, showing and hiding the bar, and closing.
#include <windows.h>

#include <commctrl.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backends/win32/com/owned_variant.h"
#include "backends/win32/com/text.h"
#include "backends/win32/win32_registry.h"
#include "browser_emulation.h"
#include "command_line.h"
#include "commands.h"
#include "host_window.h"
#include "layout.h"
#include "start_settings.h"
#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/messages.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/stored_settings.h"
#include "support/window_checks.h"
#include "windlock/band_ids.h"
#include "window_threads.h"

namespace windlock_test {
namespace {

namespace host = windlock::host;
namespace win32 = windlock::win32;
using windlock::kBandClsid;
using windlock::Variant;

TEST(HostCommandLine, ReadsTheBarSwitchAndTheFirstPage) {
  const struct {
    const char* name;
    std::vector<std::wstring> arguments;
    bool show_bar;
    std::wstring url;
  } cases[] = {
      {"nothing", {}, false, L"about:blank"},
      {"the switch in capitals with a dash", {L"-BAR"}, true, L"about:blank"},
      {"a page before the switch", {L"http://a.example/", L"/bar"}, true, L"http://a.example/"},
      {"the first of two pages",
       {L"http://a.example/", L"http://b.example/"},
       false,
       L"http://a.example/"},
      {"a longer word is a page", {L"/barrier"}, false, L"/barrier"},
      {"an empty argument is no page", {L"", L"http://a.example/"}, false, L"http://a.example/"},
  };
  for (const auto& row : cases) {
    host::HostOptions options = host::ParseArguments(row.arguments);
    EXPECT_EQ(row.show_bar, options.show_bar) << row.name;
    EXPECT_EQ(Narrow(row.url), Narrow(options.url)) << row.name;
  }
}

TEST(HostLayout, GivesTheBarItsWidthAndTheBrowserTheRest) {
  const struct {
    const char* name;
    host::LayoutInput input;
    LONG bar_width;
    LONG browser_left;
  } cases[] = {
      {"bar hidden", {{1000, 700}, 22, 0, 96}, 0, 0},
      {"bar as wide as it asks", {{1000, 700}, 22, 350, 96}, 350, 354},
      {"narrow window keeps a third for the browser", {{450, 400}, 22, 350, 96}, 300, 304},
      {"tiny window", {{20, 10}, 22, 350, 96}, 13, 17},
      {"twice the dots per inch: the band's width stays", {{1000, 700}, 44, 350, 192}, 350, 358},
      {"a page's window without the toolbar", {{1000, 700}, 22, 0, 96, 0, false}, 0, 0},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const host::HostLayout layout = host::LayOut(row.input);
    for (const RECT& part :
         {layout.back, layout.forward, layout.reload, layout.address, layout.bar_button,
          layout.bar_title, layout.bar_pane, layout.browser}) {
      EXPECT_TRUE(part.right >= part.left && part.bottom >= part.top) << "a negative size";
    }
    EXPECT_EQ(row.bar_width, layout.bar_pane.right - layout.bar_pane.left);
    EXPECT_EQ(row.bar_width, layout.bar_title.right - layout.bar_title.left);
    EXPECT_EQ(layout.bar_title.bottom, layout.bar_pane.top);
    EXPECT_EQ(row.browser_left, layout.browser.left);
    EXPECT_EQ(!row.input.toolbar, layout.browser.top == 0) << "the panes start below the row";
    EXPECT_EQ(row.input.client.cx, layout.browser.right);
    EXPECT_EQ(std::max(layout.browser.top, row.input.client.cy - row.input.status_height),
              layout.browser.bottom);
  }
}

TEST(HostLayout, CentresTheAddressBoxInTheButtonRow) {
  // The height its font needs, never taller than the row; unknown (0), the row's.
  for (auto [asked, height] : {std::pair{20, 20}, std::pair{60, 26}, std::pair{0, 26}}) {
    const host::HostLayout layout = host::LayOut({{1000, 700}, 22, 0, 96, asked});
    EXPECT_EQ(height, layout.address.bottom - layout.address.top) << asked;
    EXPECT_EQ(layout.back.top + layout.back.bottom, layout.address.top + layout.address.bottom);
  }
}

LONG ClientHeight(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client.bottom;
}

// The host program run by a test. Every test ends by closing it as a person does (WM_CLOSE),
// which must end the process with exit code 0: the bar let go of without a crash.
class HostProgram : public testing::Test {
 protected:
  void TearDown() override {
    if (!window_) return;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, process_->Wait(30000)) << "exit code of the closed host";
  }

  // Starts the host with `arguments` and waits until its window answers.
  void Start(const std::wstring& arguments) {
    process_ =
        std::make_unique<ChildProcess>(L"\"" + WindowsPath(WINDLOCK_HOST_EXE) + L"\" " + arguments);
    ASSERT_TRUE(process_->started());
    window_ = WaitForWindow(process_->id(), host::kHostWindowClass, 30000);
    ASSERT_NE(nullptr, window_) << "no host window";
  }

  HWND Child(WORD id) const { return GetDlgItem(window_, id); }
  HWND Pane() const { return Child(host::kBarPaneId); }
  // The bar's own window, which the band put into the pane.
  HWND BarWindow() const { return GetWindow(Pane(), GW_CHILD); }

  void Command(WORD command) {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0,
                                    SMTO_ABORTIFHUNG, 30000, &answer));
  }

  // The text of a part of the host's status line, read from the host's own memory: a status
  // bar hands out its parts' texts only into a buffer of its process.
  std::wstring StatusText(int part) {
    HWND status = Child(host::kStatusLineId);
    DWORD_PTR length_and_type = 0;
    SendMessageTimeoutW(status, SB_GETTEXTLENGTHW, part, 0, SMTO_ABORTIFHUNG, 5000,
                        &length_and_type);
    const std::size_t length = LOWORD(length_and_type);
    void* remote = VirtualAllocEx(process_->handle(), nullptr, (length + 1) * sizeof(wchar_t),
                                  MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return L"(cannot reach the host's memory)";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(status, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(remote),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    std::wstring text(length, L'\0');
    ReadProcessMemory(process_->handle(), remote, text.data(), length * sizeof(wchar_t), nullptr);
    VirtualFreeEx(process_->handle(), remote, 0, MEM_RELEASE);
    return text;
  }

  // The bar is shown: its window is in the visible pane, filling it, inside the host window.
  void ExpectBarShown() {
    ASSERT_TRUE(IsWindowVisible(Pane()));
    HWND bar = BarWindow();
    ASSERT_NE(nullptr, bar) << "no bar window in the pane";
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(window_, GetAncestor(bar, GA_ROOT));
    RECT pane{};
    GetClientRect(Pane(), &pane);
    const RECT placed = RectInParent(bar);
    EXPECT_TRUE(EqualRect(&pane, &placed)) << "the bar fills the pane";
    EXPECT_TRUE(ShowsInside(bar, window_));
    EXPECT_EQ(BST_CHECKED, SendMessageW(Child(host::kCommandToggleBar), BM_GETCHECK, 0, 0));
  }

  void ExpectBarHidden() {
    EXPECT_FALSE(IsWindowVisible(Pane()));
    HWND bar = BarWindow();
    EXPECT_TRUE(!bar || !IsWindowVisible(bar));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(Child(host::kCommandToggleBar), BM_GETCHECK, 0, 0));
  }

  std::unique_ptr<ChildProcess> process_;
  HWND window_ = nullptr;
};

class HostWithTheBar : public HostProgram {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }
};

TEST_F(HostWithTheBar, ShowsItsControlsAndTheBarBesideTheBrowserAndHidesItOnCommand) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, host::kBrowserEmulationKey, L"WindlockHost.exe");
  ASSERT_NO_FATAL_FAILURE(Start(L"/bar"));

  EXPECT_TRUE(TextOf(window_).ends_with(host::kHostCaption)) << Narrow(TextOf(window_));
  const struct {
    WORD id;
    const wchar_t* window_class;
    const wchar_t* text;
  } children[] = {
      {host::kCommandBack, L"Button", L"Back"},
      {host::kCommandForward, L"Button", L"Forward"},
      {host::kCommandReload, L"Button", L"Reload"},
      {host::kCommandToggleBar, L"Button", L"Windlock Bar"},
      {host::kAddressBoxId, L"Edit", L"about:blank"},
      {host::kStatusLineId, STATUSCLASSNAMEW, L""},
  };
  for (const auto& row : children) {
    HWND child = Child(row.id);
    ASSERT_NE(nullptr, child) << row.id;
    EXPECT_TRUE(IsWindowVisible(child)) << row.id;
    EXPECT_EQ(0, lstrcmpiW(row.window_class, ClassOf(child).c_str())) << Narrow(ClassOf(child));
    if (*row.text) {
      EXPECT_EQ(Narrow(row.text), Narrow(TextOf(child)));
    }
  }
  EXPECT_EQ(L"", StatusText(host::kStatusBarPart)) << "nothing to say about a bar that loaded";
  ExpectBarShown();
  EXPECT_TRUE(IsWindowVisible(Child(host::kBarTitleId)));
  // Written before the browser pane was made, under the program's file name.
  EXPECT_EQ(host::kNewestDocumentMode,
            ReadDword(HKEY_CURRENT_USER, host::kBrowserEmulationKey, L"WindlockHost.exe"));
  // What the bar and the host posted themselves is done; the screenshot paints the rest.
  EXPECT_EQ(0u, WaitForInputIdle(process_->handle(), 10000));
  SaveWindowScreenshot(window_, ScreenshotPath("host.png"));

  const LONG before = ClientHeight(Pane());
  ASSERT_TRUE(SetWindowPos(window_, nullptr, 0, 0, 640, 420, SWP_NOMOVE | SWP_NOZORDER));
  EXPECT_LT(ClientHeight(Pane()), before);
  ExpectBarShown();

  HWND first_bar = BarWindow();
  ASSERT_NO_FATAL_FAILURE(Command(host::kCommandToggleBar));
  ExpectBarHidden();
  ASSERT_NO_FATAL_FAILURE(Command(host::kCommandToggleBar));
  ExpectBarShown();
  EXPECT_EQ(first_bar, BarWindow()) << "a hidden band stays loaded until the window closes";
}

TEST_F(HostWithTheBar, StartsWithoutTheBarUnlessAskedAndOpensTheAddressTyped) {
  ASSERT_NO_FATAL_FAILURE(Start(L"file:///Z:/nowhere/page.htm"));
  HWND address = Child(host::kAddressBoxId);
  EXPECT_EQ("file:///Z:/nowhere/page.htm", Narrow(TextOf(address)));
  ExpectBarHidden();
  EXPECT_FALSE(IsWindowVisible(Child(host::kBarTitleId)));

  const std::wstring url = L"file:///Z:/nowhere/typed.htm";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(address, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()),
                                  SMTO_ABORTIFHUNG, 5000, &answer));
  // Posted, as a key press is: it passes the host's message loop.
  PostMessageW(address, WM_KEYDOWN, VK_RETURN, 1);
  // Wine cannot show the page, but the browser's events name it on the status line.
  std::wstring status;
  const ULONGLONG deadline = GetTickCount64() + 10000;
  do {
    Sleep(50);
    status = StatusText(host::kStatusBrowserPart);
  } while (status.find(url) == std::wstring::npos && GetTickCount64() < deadline);
  EXPECT_NE(std::wstring::npos, status.find(url)) << Narrow(status);
}

class HostWithoutTheBar : public HostProgram {
 protected:
  static void SetUpTestSuite() { RemoveRegistration(); }
};

TEST_F(HostWithoutTheBar, SaysHowToInstallTheBar) {
  ASSERT_NO_FATAL_FAILURE(Start(L"/bar"));
  EXPECT_EQ("The Windlock bar is not installed: run regsvr32 /i LKIEWindlock.dll",
            Narrow(StatusText(host::kStatusBarPart)));
  ExpectBarHidden();
  // Asking again says the same and still shows no bar.
  ASSERT_NO_FATAL_FAILURE(Command(host::kCommandToggleBar));
  ExpectBarHidden();
}

TEST(HostStart, StartsTheBarAsTheUsersSettingsSay) {
  const struct {
    const char* name;
    std::vector<std::pair<std::wstring, SettingData>> options;
    bool starts;
  } cases[] = {
      {"not by itself", {}, false},
      {"by itself, shown last time", {{L"AutoStart", DWORD{1}}, {L"Visible", DWORD{1}}}, true},
      {"by itself, always visible",
       {{L"AutoStart", DWORD{1}}, {L"AutoStartVisible", DWORD{1}}},
       true},
      {"by itself, hidden last time", {{L"AutoStart", DWORD{1}}}, false},
      {"a setting of the wrong type", {{L"AutoStart", L"1"}, {L"Visible", DWORD{1}}}, false},
  };
  win32::Win32Registry registry;
  for (const auto& row : cases) {
    StoredSettings settings = QuietSettings();
    for (const auto& [name, data] : row.options) settings.Set(name, data);
    StoreSettings(settings);
    EXPECT_EQ(row.starts, host::BarStartsItself(registry)) << row.name;
  }
  DeleteSettings();
  EXPECT_FALSE(host::BarStartsItself(registry)) << "no settings";
}

BOOL CALLBACK CollectHostWindow(HWND window, LPARAM windows) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && ClassOf(window) == host::kHostWindowClass)
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// The host windows of this process.
std::vector<HWND> HostWindows() {
  std::vector<HWND> windows;
  EnumWindows(&CollectHostWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND BarIn(HWND host_window) {
  return GetWindow(GetDlgItem(host_window, host::kBarPaneId), GW_CHILD);
}

// The pop-ups the bar of a host window has captured: its list's items.
int CapturedIn(HWND host_window) {
  HWND list = FindDescendant(BarIn(host_window), WC_LISTVIEWW);
  return list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

const UINT kRunWorkMessage = RegisterWindowMessageW(L"WindlockHostTestRunWork");
const std::function<void()>* g_work = nullptr;
bool g_work_done = false;

LRESULT CALLBACK RunWorkHook(int code, WPARAM removed, LPARAM lparam) {
  auto* message = reinterpret_cast<MSG*>(lparam);
  if (code == HC_ACTION && removed == PM_REMOVE && message->message == kRunWorkMessage) {
    message->message = WM_NULL;
    (*g_work)();
    g_work_done = true;
  }
  return CallNextHookEx(nullptr, code, removed, lparam);
}

// Runs `work` on the thread of `window`, as that window's own page would, and waits for it.
void RunOnThreadOf(HWND window, const std::function<void()>& work) {
  g_work = &work;
  g_work_done = false;
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &RunWorkHook, nullptr,
                                 GetWindowThreadProcessId(window, nullptr));
  ASSERT_NE(nullptr, hook);
  PostMessageW(window, kRunWorkMessage, 0, 0);
  EXPECT_TRUE(PumpUntil([] { return g_work_done; }, 10000));
  UnhookWindowsHookEx(hook);
  g_work = nullptr;
}

// A host window made in this process on the test's thread, with the bar shown, and the windows
// its pages open on threads of their own; the test plays its pane's control, firing the
// control's events into the host.
class HostInProcess : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  void SetUp() override {
    StoreSettings(QuietSettings().Set(L"AutoStart", DWORD{1}).Set(L"Visible", DWORD{1}));
    host::HostOptions options;
    options.show_bar = true;
    window_ = std::make_unique<host::HostWindow>(options, SW_SHOWNORMAL, &threads_);
    PumpMessages();
    ASSERT_NE(nullptr, BarIn(window_->window()));
  }

  void TearDown() override {
    HoldShift(false);
    window_.reset();
    for (HWND other : HostWindows()) PostMessageW(other, WM_CLOSE, 0, 0);
    threads_.WaitUntilAllClosed();
  }

  // The page of the window opens a window, as the control tells its sinks.
  static win32::ComPtr<IDispatch> PageOpensWindow(host::HostWindow& window, VARIANT_BOOL& cancel) {
    IDispatch* opened = nullptr;
    cancel = VARIANT_FALSE;
    std::vector<VARIANTARG> arguments(2);
    arguments[0].vt = VT_BYREF | VT_BOOL;
    arguments[0].pboolVal = &cancel;
    arguments[1].vt = VT_BYREF | VT_DISPATCH;
    arguments[1].ppdispVal = &opened;
    Fire(window, DISPID_NEWWINDOW2, arguments);
    return win32::ComPtr<IDispatch>::Adopt(opened);
  }

  // The page opens a window that the bar captures; the preview it hands back loads the pop-up.
  static void PageOpensCapturedWindow(host::HostWindow& window) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    win32::ComPtr<IDispatch> preview = PageOpensWindow(window, cancel);
    ASSERT_TRUE(preview) << "not captured";
    const int before = CapturedIn(window.window());
    win32::OwnedVariant url{Variant("http://pop.up.example/")};
    win32::OwnedVariant empty;
    preview.As<IWebBrowser2>()->Navigate2(url.get(), empty.get(), empty.get(), empty.get(),
                                          empty.get());
    // The list may show it a moment later, in a storm of captures.
    PumpUntil([&] { return CapturedIn(window.window()) > before; }, 5000);
  }

  static void Fire(host::HostWindow& window, DISPID event, std::vector<VARIANTARG> arguments) {
    DISPPARAMS parameters = {arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    EXPECT_EQ(S_OK,
              window.control_events()->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                              &parameters, nullptr, nullptr, nullptr));
    PumpMessages();
  }

  void FireNumber(DISPID event, LONG number) {
    VARIANTARG argument = {};
    argument.vt = VT_I4;
    argument.lVal = number;
    Fire(*window_, event, {argument});
  }

  // The page closes its window.
  static void PageClosesWindow(host::HostWindow& window) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANTARG closing[2] = {};
    closing[0].vt = VT_BYREF | VT_BOOL;
    closing[0].pboolVal = &cancel;
    closing[1].vt = VT_BOOL;
    closing[1].boolVal = VARIANT_FALSE;
    Fire(window, DISPID_WINDOWCLOSING, {closing[0], closing[1]});
  }

  HRESULT ShowBrowserBar(const std::string& clsid, bool show) {
    win32::OwnedVariant bar{Variant(clsid)};
    win32::OwnedVariant shown = win32::OwnedVariant::Boolean(show);
    win32::OwnedVariant size;
    HRESULT result = window_->bar_browser()->ShowBrowserBar(bar.get(), shown.get(), size.get());
    PumpMessages();
    return result;
  }

  host::WindowThreads threads_;
  std::unique_ptr<host::HostWindow> window_;
};

TEST_F(HostInProcess, ShowsAndHidesTheBarAndClosesAsTheBarAsks) {
  HWND window = window_->window();
  HWND bar = BarIn(window);
  EXPECT_EQ(S_OK, ShowBrowserBar(kBandClsid, false));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, host::kBarPaneId)));
  EXPECT_FALSE(IsWindowVisible(bar));
  EXPECT_EQ(S_OK, ShowBrowserBar(kBandClsid, true));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, host::kBarPaneId)));
  EXPECT_TRUE(IsWindowVisible(bar));
  ShowBrowserBar("{00000000-0000-0000-0000-000000000001}", false);
  EXPECT_TRUE(IsWindowVisible(bar)) << "another bar is the control's business";

  // Hidden, then the safe shutdown's last step: the window closes, and the bar, told by OnQuit,
  // remembers that it was hidden.
  EXPECT_EQ(S_OK, ShowBrowserBar(kBandClsid, false));
  EXPECT_EQ(S_OK, window_->bar_browser()->Quit());
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 10000));
  EXPECT_EQ(DWORD{0},
            ReadDword(HKEY_CURRENT_USER, L"Software\\Larkspan\\Windlock\\Options", L"Visible"));
}

// Tab through the bar goes on to the page past its last control; Shift+Tab before its first goes
// back to the address box.
TEST_F(HostInProcess, TabLeavesTheBarForThePageAndShiftTabForTheAddressBox) {
  HWND window = window_->window();
  HWND pane = GetDlgItem(window, host::kBarPaneId);
  auto in_bar = [&] { return IsChild(pane, GetFocus()) != FALSE; };
  for (bool back : {false, true}) {
    SCOPED_TRACE(back ? "Shift+Tab" : "Tab");
    SetFocus(BarIn(window));
    HoldShift(back);
    for (int step = 0; step < 20 && in_bar(); ++step) {
      MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
      EXPECT_TRUE(window_->PreTranslate(tab));
      PumpMessages();
    }
    HoldShift(false);
    EXPECT_FALSE(in_bar());
    HWND address = GetDlgItem(window, host::kAddressBoxId);
    if (back) {
      EXPECT_EQ(address, GetFocus());
    } else {
      EXPECT_TRUE(IsChild(window, GetFocus()));
      EXPECT_EQ(L"Shell Embedding", ClassOf(GetFocus())) << "the page has it";
    }
  }
}

class HostWindowsOfTheirOwn : public HostInProcess, public testing::WithParamInterface<bool> {};

// Which of the two windows the pages close first: the opener, or the window it opened.
INSTANTIATE_TEST_SUITE_P(ClosedInEitherOrder, HostWindowsOfTheirOwn, testing::Bool(),
                         [](const auto& info) {
                           return info.param ? "OpenerFirst" : "OpenedFirst";
                         });

TEST_P(HostWindowsOfTheirOwn, OpenTheWindowsPagesOpenWithBarsThatCaptureEachForItself) {
  const bool opener_first = GetParam();
  HWND first = window_->window();
  VARIANT_BOOL cancel = VARIANT_FALSE;
  HoldShift(true);
  win32::ComPtr<IDispatch> opened = PageOpensWindow(*window_, cancel);
  HoldShift(false);
  ASSERT_TRUE(opened) << "Shift lets the window through, into a host window";
  EXPECT_EQ(VARIANT_FALSE, cancel);
  EXPECT_TRUE(opened.As<IWebBrowser2>()) << "what the page's window opens in is a browser";
  std::vector<HWND> windows = HostWindows();
  ASSERT_EQ(2u, windows.size());
  HWND second = windows[0] == first ? windows[1] : windows[0];
  EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(second, nullptr));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(BarIn(second)); }, 10000))
      << "the new window has a bar of its own";
  EXPECT_NE(BarIn(first), BarIn(second));
  opened.Reset();

  // Without Shift each bar captures its own page's windows, and no window opens.
  auto& other = *reinterpret_cast<host::HostWindow*>(GetWindowLongPtrW(second, GWLP_USERDATA));
  PageOpensCapturedWindow(*window_);
  RunOnThreadOf(second, [&] { PageOpensCapturedWindow(other); });
  RunOnThreadOf(second, [&] { PageOpensCapturedWindow(other); });
  EXPECT_EQ(1, CapturedIn(first));
  EXPECT_EQ(2, CapturedIn(second));
  EXPECT_EQ(2u, HostWindows().size());

  if (opener_first) {
    // The page's size and features, then both windows side by side.
    FireNumber(DISPID_WINDOWSETWIDTH, 640);
    FireNumber(DISPID_WINDOWSETHEIGHT, 440);
    FireNumber(DISPID_ONSTATUSBAR, 0);
    RECT place = {};
    GetWindowRect(first, &place);
    EXPECT_EQ(640, place.right - place.left);
    EXPECT_EQ(440, place.bottom - place.top);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(first, host::kStatusLineId)));
    SetWindowPos(first, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(second, nullptr, 650, 0, 640, 440, SWP_NOZORDER);
    PumpUntil([&] { return false; }, 1000);
    SaveWindowScreenshot(GetDesktopWindow(), ScreenshotPath("host-two-windows.png"));
  }

  // One page closes its window; the other window lives on with its bar and its captures.
  HWND closed = opener_first ? first : second;
  HWND left = opener_first ? second : first;
  if (opener_first) {
    PageClosesWindow(*window_);
  } else {
    RunOnThreadOf(second, [&] { PageClosesWindow(other); });
  }
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(closed); }, 10000));
  ASSERT_TRUE(IsWindow(left));
  EXPECT_TRUE(IsWindowVisible(BarIn(left)));
  EXPECT_EQ(opener_first ? 2 : 1, CapturedIn(left));
}

}  // namespace
}  // namespace windlock_test
