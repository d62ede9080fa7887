// The bar's modal windows as a person meets them while a page opens a pop-up: the capture alert,
// sized to its message and gone by itself, and the capture prompt, answered with a click. Each
// is driven from a timer of the test's own thread, since it runs inside the browser's event.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "support/band_host.h"
#include "support/dialogs.h"
#include "support/dll_under_test.h"
#include "support/messages.h"
#include "support/screenshot.h"
#include "support/stored_settings.h"
#include "support/window_checks.h"

namespace windlock_test {
namespace {

// What the timer does once the bar's window is up, one step a tick, on this thread, inside the
// bar's loop: keys a step sends reach the window through that loop before the next step looks.
using Step = std::function<void(HWND)>;
std::vector<Step> g_steps;
std::size_t g_next_step = 0;
HWND g_form = nullptr;
bool g_window_seen = false;

BOOL CALLBACK FindFormWindow(HWND window, LPARAM found) {
  const bool top_level = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0;
  if (ClassOf(window) == L"WindlockForm" && IsWindowVisible(window) && top_level) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK TakeNextStep(HWND, UINT, UINT_PTR timer, DWORD) {
  if (!g_form) {
    EnumThreadWindows(GetCurrentThreadId(), FindFormWindow, reinterpret_cast<LPARAM>(&g_form));
    if (!g_form) return;
    g_window_seen = true;
  }
  if (!IsWindow(g_form) || g_next_step == g_steps.size()) {
    KillTimer(nullptr, timer);
    return;
  }
  // A step that opens a window of its own ticks on inside that window's loop: it runs alone.
  static bool in_step = false;
  if (in_step) return;
  in_step = true;
  g_steps[g_next_step++](g_form);
  in_step = false;
}

// Keys pressed together, as the keyboard sends them: down in order, up in reverse.
void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (WORD key : keys) add(key, 0);
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
  ASSERT_EQ(inputs.size(),
            SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)));
}

// Every control in view is what the mouse finds at its centre: no sibling covers it (a tab strip
// over its pages, say), whatever the positions say. The tab strip itself lies under its page.
void ExpectControlsOnTop(HWND window) {
  for (HWND child : Descendants(window)) {
    if (!ShowsInside(child, window) || ClassOf(child) == WC_TABCONTROLW) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    HWND parent = GetParent(child);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(parent, &centre);
    EXPECT_EQ(child, ChildWindowFromPointEx(parent, centre, CWP_SKIPINVISIBLE))
        << Narrow(ClassOf(child) + L" " + TextOf(child));
  }
}

// The window as a person should find it: every control inside, every caption fitting, none
// covered, each named for a screen reader.
void ExpectTidy(HWND window) {
  ExpectEveryControlNamed(window);
  ExpectChildrenInside(window);
  ExpectCaptionsFit(window);
  ExpectControlsOnTop(window);
}

// What screen readers hear while it lives: the name of each object with the role of an alert
// that raised the alert event, on this process's threads.
class AlertsHeard {
 public:
  AlertsHeard()
      : hook_(SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, Hear,
                              GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT)) {
    heard_.clear();
  }
  ~AlertsHeard() { UnhookWinEvent(hook_); }
  AlertsHeard(const AlertsHeard&) = delete;
  AlertsHeard& operator=(const AlertsHeard&) = delete;

  const std::vector<std::wstring>& names() const { return heard_; }

 private:
  static void CALLBACK Hear(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                            DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF &&
        AccessibleRoleOf(window) == ROLE_SYSTEM_ALERT) {
      heard_.push_back(AccessibleNameOf(window));
    }
  }

  static inline std::vector<std::wstring> heard_;
  HWINEVENTHOOK hook_;
};

// The URL dialog opened from the options: a site typed, and OK.
void CALLBACK AnswerUrlDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(L"WindlockForm", L"Enter URL");
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  HWND text_box = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
  ASSERT_NE(nullptr, text_box);
  SetWindowTextW(text_box, L"www.trusted.example");
  // The dialog takes in the text from its own messages.
  PumpMessages();
  ExpectTidy(dialog);
  SaveWindowScreenshot(dialog, ScreenshotPath("url-dialog.png"));
  // Enter presses OK, the default button, with the keyboard in the text box.
  EXPECT_EQ(text_box, GetFocus());
  PressKeys({VK_RETURN});
}

class ModalFormsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  void Start(const StoredSettings& settings, std::vector<Step> steps) {
    StoreSettings(settings);
    ASSERT_NO_FATAL_FAILURE(host_.Show());
    g_window_seen = false;
    g_form = nullptr;
    g_steps = std::move(steps);
    g_next_step = 0;
    SetTimer(nullptr, 0, 50, TakeNextStep);
  }

  // The bar's menu command at `offset`, as the browser runs it.
  void RunMenuCommand(UINT offset) {
    CMINVOKECOMMANDINFO command = {};
    command.cbSize = sizeof(command);
    command.lpVerb = MAKEINTRESOURCEA(offset);
    command.nShow = SW_SHOWNORMAL;
    EXPECT_EQ(S_OK, host_.As<IContextMenu>()->InvokeCommand(&command));
  }

  BandHost host_;
};

// The tab strip's tab `index` clicked: selected, and its parent told.
void ClickTab(HWND tabs, int index) {
  SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR notice{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), TCN_SELCHANGE};
  SendMessageW(GetParent(tabs), WM_NOTIFY, notice.idFrom, reinterpret_cast<LPARAM>(&notice));
}

// Screen readers read the alert out as it shows.
TEST_F(ModalFormsTest, TheAlertShowsItsMessageAndGoesByItself) {
  ASSERT_NO_FATAL_FAILURE(Start(
      QuietSettings()
          .Set(L"Show Visual Capture", DWORD{1})
          .Set(L"Popup Alert Display Time", DWORD{1500}),
      {[](HWND alert) {
        EXPECT_NE(WS_CAPTION, GetWindowLongPtrW(alert, GWL_STYLE) & WS_CAPTION) << "a title bar";
        HWND message = FindDescendant(alert, L"", L"Pop-up Captured");
        ASSERT_NE(nullptr, message);
        ExpectTidy(alert);
        SaveWindowScreenshot(alert, ScreenshotPath("alert.png"));
      }}));
  AlertsHeard heard;
  const DWORD started = GetTickCount();
  EXPECT_TRUE(host_.OpenPopup());
  EXPECT_TRUE(g_window_seen) << "no alert";
  EXPECT_GE(GetTickCount() - started, 1000u) << "the alert closed before its time";
  EXPECT_EQ(std::vector<std::wstring>{L"Pop-up Captured"}, heard.names());
}

// With the alert switched off, screen readers still hear of each capture, from the bar.
TEST_F(ModalFormsTest, ACaptureWithTheAlertOffIsReadOut) {
  StoreSettings(QuietSettings().Set(L"Popup Alert Message", L"A window was stopped"));
  ASSERT_NO_FATAL_FAILURE(host_.Show());
  AlertsHeard heard;
  // The second is said by the window the first made.
  EXPECT_TRUE(host_.OpenPopup());
  EXPECT_TRUE(host_.OpenPopup());
  PumpMessages();
  EXPECT_EQ(std::vector<std::wstring>(2, L"A window was stopped"), heard.names());
}

TEST_F(ModalFormsTest, ThePromptAsksAboutTheSiteAndCaptureCaptures) {
  host_.browser().set_location_url(L"http://www.pages.example/news");
  ASSERT_NO_FATAL_FAILURE(
      Start(QuietSettings().Set(L"Prompt To Add", DWORD{1}), {[](HWND prompt) {
              EXPECT_EQ(L"Add URL To  List?", TextOf(prompt));
              for (const wchar_t* caption : {L"Trust", L"Do Not Trust", L"Capture", L"Open"}) {
                EXPECT_NE(nullptr, FindDescendant(prompt, L"", caption)) << Narrow(caption);
              }
              ExpectTidy(prompt);
              SaveWindowScreenshot(prompt, ScreenshotPath("prompt.png"));
              SendMessageW(FindDescendant(prompt, L"", L"Capture"), BM_CLICK, 0, 0);
            }}));
  EXPECT_TRUE(host_.OpenPopup()) << "Capture lets the bar capture the window";
  EXPECT_TRUE(g_window_seen) << "no prompt";
}

constexpr UINT kMenuOptions = 6;
constexpr UINT kMenuAbout = 8;

TEST_F(ModalFormsTest, TheOptionsShowEachTabsPageInItsPlace) {
  ASSERT_NO_FATAL_FAILURE(Start(
      QuietSettings(), {[](HWND options) {
        EXPECT_EQ(L"Larkspan Windlock Options", TextOf(options));
        const std::vector<HWND> children = Descendants(options);
        HWND tabs = FindDescendant(options, WC_TABCONTROLW);
        ASSERT_NE(nullptr, tabs);
        const struct {
          int tab;
          const char* screenshot;
          const wchar_t* shown;  // the start of a caption only that page has
        } pages[] = {
            {1, "options-skins.png", L"Apply Selected Skin"},
            {2, "options-trusted.png", L"Here is where you may add or remove sites from trusted"},
            {3, "options-untrusted.png", L"Here is where you may add or remove sites from the Un"},
            {0, "options-general.png", L"Change Font"}};
        for (const auto& page : pages) {
          ClickTab(tabs, page.tab);
          // The dialog brings its windows up to date from its own messages.
          PumpMessages();
          UpdateWindow(options);
          HWND only_here = FindDescendant(options, L"", page.shown);
          ASSERT_NE(nullptr, only_here) << page.screenshot;
          EXPECT_TRUE(ShowsInside(only_here, options)) << page.screenshot;
          ExpectTidy(options);
          SaveWindowScreenshot(options, ScreenshotPath(page.screenshot));
        }
        // A site added through the URL dialog, opened over the options from the trusted page.
        ClickTab(tabs, 2);
        PumpMessages();
        // Each site page has its own Add URL and list: the ones on the page in view.
        HWND add = nullptr;
        HWND list = nullptr;
        for (HWND child : children) {
          if (!ShowsInside(child, options)) continue;
          if (TextOf(child) == L"Add URL") add = child;
          if (ClassOf(child) == L"ListBox") list = child;
        }
        ASSERT_TRUE(add && list);
        SetTimer(nullptr, 0, 50, AnswerUrlDialog);
        SendMessageW(add, BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_EQ(1, SendMessageW(list, LB_GETCOUNT, 0, 0))
            << "the site is not on the trusted page";
        SendMessageW(FindDescendant(options, L"", L"Cancel"), BM_CLICK, 0, 0);
      }}));
  RunMenuCommand(kMenuOptions);
  EXPECT_TRUE(g_window_seen) << "no options dialog";
}

// The logo in the About box: its 183 x 146 pixels at 96 DPI, scaled with the screen's DPI, and
// drawn, read back from the screen at the points of a grid over it: an empty picture shows one
// colour, the logo many.
void ExpectLogoDrawn(HWND about) {
  HWND logo = FindDescendant(about, L"WindlockFrame");
  ASSERT_NE(nullptr, logo);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  RECT rect{};
  GetWindowRect(logo, &rect);
  EXPECT_NEAR(MulDiv(183, dpi, 96), rect.right - rect.left, 1);
  EXPECT_NEAR(MulDiv(146, dpi, 96), rect.bottom - rect.top, 1);
  std::set<COLORREF> colours;
  constexpr int kGrid = 16;
  for (int row = 0; row < kGrid; ++row) {
    for (int column = 0; column < kGrid; ++column) {
      colours.insert(GetPixel(screen,
                              rect.left + (rect.right - rect.left) * (2 * column + 1) / (2 * kGrid),
                              rect.top + (rect.bottom - rect.top) * (2 * row + 1) / (2 * kGrid)));
    }
  }
  ReleaseDC(nullptr, screen);
  EXPECT_GE(colours.size(), 20u) << "the logo is not drawn";
}

TEST_F(ModalFormsTest, TheAboutBoxShowsTheVersion) {
  ASSERT_NO_FATAL_FAILURE(Start(QuietSettings(), {[](HWND about) {
                                  EXPECT_EQ(L"Larkspan Pop-Up Window Stopper", TextOf(about));
                                  ExpectTidy(about);
                                  SaveWindowScreenshot(about, ScreenshotPath("about.png"));
                                  ExpectLogoDrawn(about);
                                  SendMessageW(FindDescendant(about, L"", L"OK"), BM_CLICK, 0, 0);
                                }}));
  RunMenuCommand(kMenuAbout);
  EXPECT_TRUE(g_window_seen) << "no About box";
}

// The last step of a window a key should have closed: reached only when it did not.
Step StillOpen(const char* what) {
  return [what](HWND window) {
    ADD_FAILURE() << what << " left the window open";
    PostMessageW(window, WM_CLOSE, 0, 0);
  };
}

TEST_F(ModalFormsTest, EnterTrustsTheSiteFromThePrompt) {
  host_.browser().set_location_url(L"http://www.pages.example/news");
  ASSERT_NO_FATAL_FAILURE(Start(QuietSettings().Set(L"Prompt To Add", DWORD{1}),
                                {[](HWND) { PressKeys({VK_RETURN}); }, StillOpen("Enter")}));
  EXPECT_FALSE(host_.OpenPopup()) << "Trust lets the site's window open";
  EXPECT_TRUE(g_window_seen) << "no prompt";
}

// The browser's events go on under the alert (another pop-up is captured, without a second
// alert), and the browser may close the bar before the alert ends: the pop-up waiting on it then
// opens, as no bar is left to keep it, and nothing touches the bar that went. The alert has no
// display time, so only the key ends it.
TEST_F(ModalFormsTest, TheBrowserGoesOnUnderTheAlertAndMayCloseTheBar) {
  static BandHost* host = nullptr;
  host = &host_;
  ASSERT_NO_FATAL_FAILURE(
      Start(QuietSettings()
                .Set(L"Show Visual Capture", DWORD{1})
                .Set(L"Popup Alert Display Time", DWORD{0}),
            {[](HWND) { EXPECT_TRUE(host->OpenPopup()) << "a pop-up under the alert"; },
             [](HWND) {
               host->Dismiss();
               PressKeys({'X'});
             },
             StillOpen("a key after the bar closed")}));
  EXPECT_FALSE(host_.OpenPopup()) << "the bar closed under the alert kept the pop-up";
  EXPECT_TRUE(g_window_seen) << "no alert";
}

// The keyboard and the system's dialogs as a person uses them on the options: Tab in reading
// order, Ctrl+Tab to the next page, the font and the sound file chosen, Escape to close.
TEST_F(ModalFormsTest, TheOptionsAnswerTheKeyboardAndTheSystemsDialogs) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring sound = std::wstring(folder) + L"captured.wav";
  CloseHandle(CreateFileW(sound.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  // The system's font and file dialogs: OK on the font as it stands, the file's name typed.
  std::wstring answered;
  DialogAnswers answers([&](HWND dialog) {
    answered += L"[" + TextOf(dialog) + L"]";
    // cmb13: the file name box of the Explorer-style open dialog.
    if (TextOf(dialog) != L"Font") SetDlgItemTextW(dialog, 0x47c, sound.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  ASSERT_NO_FATAL_FAILURE(Start(
      QuietSettings().Set(L"Show Visual Capture", DWORD{1}),
      {[](HWND) {
         EXPECT_EQ(L"Always start when IE starts.", TextOf(GetFocus()));
         PressKeys({VK_TAB});
       },
       [&sound](HWND options) {
         EXPECT_EQ(L"Always Start Visible", TextOf(GetFocus()));
         HWND apply = FindWindowExW(options, nullptr, L"Button", L"Apply");
         EXPECT_FALSE(IsWindowEnabled(apply));
         SendMessageW(FindDescendant(options, L"", L"Change Font"), BM_CLICK, 0, 0);
         PumpMessages();
         EXPECT_TRUE(IsWindowEnabled(apply)) << "a font chosen is a change";
         SendMessageW(FindDescendant(options, L"", L"..."), BM_CLICK, 0, 0);
         PumpMessages();
         EXPECT_NE(nullptr, FindDescendant(options, L"", sound)) << "the sound file is not shown";
         PressKeys({VK_CONTROL, VK_TAB});
       },
       [](HWND options) {
         HWND tabs = FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr);
         EXPECT_EQ(1, SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) << "Ctrl+Tab";
         EXPECT_TRUE(ShowsInside(FindDescendant(options, L"", L"Apply Selected Skin"), options));
         // The keyboard leaves the page that went out of view.
         EXPECT_TRUE(IsChild(options, GetFocus()) && IsWindowVisible(GetFocus()));
         PressKeys({VK_ESCAPE});
       },
       StillOpen("Escape")}));
  RunMenuCommand(kMenuOptions);
  EXPECT_TRUE(g_window_seen) << "no options dialog";
  EXPECT_EQ(L"[Font][Select Sound File To Play On Notification]", answered);
  DeleteFileW(sound.c_str());
}

}  // namespace
}  // namespace windlock_test
