// WindlockHost.exe, the browser window that shows the bar: how it reads its command line and lays
// out its window, then the program itself, started as a person starts it and looked at from
// outside: its controls, the bar in its pane, showing and hiding the bar, and closing.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "browser_emulation.h"
#include "command_line.h"
#include "commands.h"
#include "layout.h"
#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/screenshot.h"
#include "support/window_checks.h"

namespace windlock_test {
namespace {

namespace host = windlock::host;

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
  EXPECT_FALSE(IsWindow(first_bar)) << "the band was closed and its window went with it";
  ASSERT_NO_FATAL_FAILURE(Command(host::kCommandToggleBar));
  ExpectBarShown();
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

}  // namespace
}  // namespace windlock_test
