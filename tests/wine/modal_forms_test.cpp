// The bar's modal windows as a person meets them while a page opens a pop-up: the capture alert,
// sized to its message and gone by itself, and the capture prompt, answered with a click. Each
// is driven from a timer of the test's own thread, since it runs inside the browser's event.
#include <windows.h>

#include <commctrl.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/messages.h"
#include "support/screenshot.h"
#include "support/stored_settings.h"
#include "support/window_text.h"

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
  SaveWindowScreenshot(dialog, ScreenshotPath("url-dialog.png"));
  // Enter presses OK, the default button, with the keyboard in the text box.
  EXPECT_EQ(text_box, GetFocus());
  PressKeys({VK_RETURN});
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

HWND ChildWithText(HWND window, const std::wstring& text) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (TextOf(child).starts_with(text)) return child;
  }
  return nullptr;
}

// Whether a control shows within the window's client area on the screen.
bool ShowsInside(HWND control, HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT rect{};
  GetWindowRect(control, &rect);
  return IsWindowVisible(control) && rect.left >= client.left && rect.right <= client.right &&
         rect.top >= client.top && rect.bottom <= client.bottom;
}

// Every child lies inside the window's client area, but for pages parked out of sight to the left.
void ExpectChildrenInside(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (GetParent(child) != window) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.right < 0) continue;
    SCOPED_TRACE(Narrow(ClassOf(child) + L" " + TextOf(child)));
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, client.right);
    EXPECT_LE(rect.bottom, client.bottom);
  }
}

// Every control in view is what the mouse finds at its centre: no sibling covers it (a tab strip
// over its pages, say), whatever the positions say. The tab strip itself lies under its page.
void ExpectControlsOnTop(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
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

// Every button's and check box's caption fits it in its own font, with room for the box or the
// button's edges (an ampersand marks the access key and takes no room).
void ExpectCaptionsFit(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (ClassOf(child) != L"Button" || !ShowsInside(child, window)) continue;
    std::wstring caption = TextOf(child);
    std::erase(caption, L'&');
    const LONG type = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
    const int room = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ? 20 : 8;
    HDC dc = GetDC(child);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(child, dc);
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_LE(extent.cx + room, client.right) << Narrow(caption);
  }
}

class ModalFormsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  void Start(const StoredSettings& settings, std::vector<Step> steps) {
    StoreSettings(settings);
    ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
    ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
    PumpMessages();
    g_window_seen = false;
    g_form = nullptr;
    g_steps = std::move(steps);
    g_next_step = 0;
    SetTimer(nullptr, 0, 50, TakeNextStep);
  }

  // A page opens a window; returns whether the bar captured it.
  bool OpenPopup() {
    IDispatch* window = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    host_.browser().FireNewWindow2(&window, &cancel);
    if (window) window->Release();
    return window != nullptr;
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

TEST_F(ModalFormsTest, TheAlertShowsItsMessageAndGoesByItself) {
  StoredSettings settings = QuietSettings();
  settings.Set(L"Show Visual Capture", DWORD{1}).Set(L"Popup Alert Display Time", DWORD{1500});
  ASSERT_NO_FATAL_FAILURE(Start(
      settings, {[](HWND alert) {
        EXPECT_NE(WS_CAPTION, GetWindowLongPtrW(alert, GWL_STYLE) & WS_CAPTION) << "a title bar";
        HWND message = ChildWithText(alert, L"Pop-up Captured");
        ASSERT_NE(nullptr, message);
        ExpectChildrenInside(alert);
        SaveWindowScreenshot(alert, ScreenshotPath("alert.png"));
      }}));
  const DWORD started = GetTickCount();
  EXPECT_TRUE(OpenPopup());
  EXPECT_TRUE(g_window_seen) << "no alert";
  EXPECT_GE(GetTickCount() - started, 1000u) << "the alert closed before its time";
}

TEST_F(ModalFormsTest, ThePromptAsksAboutTheSiteAndCaptureCaptures) {
  StoredSettings settings = QuietSettings();
  settings.Set(L"Prompt To Add", DWORD{1});
  host_.browser().set_location_url(L"http://www.pages.example/news");
  ASSERT_NO_FATAL_FAILURE(
      Start(settings, {[](HWND prompt) {
              EXPECT_EQ(L"Add URL To  List?", TextOf(prompt));
              for (const wchar_t* caption : {L"Trust", L"Do Not Trust", L"Capture", L"Open"}) {
                EXPECT_NE(nullptr, ChildWithText(prompt, caption)) << Narrow(caption);
              }
              ExpectChildrenInside(prompt);
              ExpectCaptionsFit(prompt);
              SaveWindowScreenshot(prompt, ScreenshotPath("prompt.png"));
              SendMessageW(ChildWithText(prompt, L"Capture"), BM_CLICK, 0, 0);
            }}));
  EXPECT_TRUE(OpenPopup()) << "Capture lets the bar capture the window";
  EXPECT_TRUE(g_window_seen) << "no prompt";
}

constexpr UINT kMenuOptions = 6;
constexpr UINT kMenuAbout = 8;

TEST_F(ModalFormsTest, TheOptionsShowEachTabsPageInItsPlace) {
  ASSERT_NO_FATAL_FAILURE(Start(
      QuietSettings(), {[](HWND options) {
        EXPECT_EQ(L"Larkspan Windlock Options", TextOf(options));
        std::vector<HWND> children;
        EnumChildWindows(options, CollectChild, reinterpret_cast<LPARAM>(&children));
        HWND tabs = nullptr;
        for (HWND child : children) {
          if (ClassOf(child) == WC_TABCONTROLW) tabs = child;
        }
        ASSERT_NE(nullptr, tabs);
        ExpectChildrenInside(options);
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
          HWND only_here = ChildWithText(options, page.shown);
          ASSERT_NE(nullptr, only_here) << page.screenshot;
          EXPECT_TRUE(ShowsInside(only_here, options)) << page.screenshot;
          ExpectCaptionsFit(options);
          ExpectControlsOnTop(options);
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
        SendMessageW(ChildWithText(options, L"Cancel"), BM_CLICK, 0, 0);
      }}));
  RunMenuCommand(kMenuOptions);
  EXPECT_TRUE(g_window_seen) << "no options dialog";
}

TEST_F(ModalFormsTest, TheAboutBoxShowsTheVersion) {
  ASSERT_NO_FATAL_FAILURE(Start(QuietSettings(), {[](HWND about) {
                                  EXPECT_EQ(L"Larkspan Pop-Up Window Stopper", TextOf(about));
                                  ExpectChildrenInside(about);
                                  ExpectCaptionsFit(about);
                                  SaveWindowScreenshot(about, ScreenshotPath("about.png"));
                                  SendMessageW(ChildWithText(about, L"OK"), BM_CLICK, 0, 0);
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

TEST_F(ModalFormsTest, AKeyClosesTheAlert) {
  StoredSettings settings = QuietSettings();
  // No display time: only the user ends the alert.
  settings.Set(L"Show Visual Capture", DWORD{1}).Set(L"Popup Alert Display Time", DWORD{0});
  ASSERT_NO_FATAL_FAILURE(Start(settings, {[](HWND) { PressKeys({'X'}); }, StillOpen("a key")}));
  EXPECT_TRUE(OpenPopup());
  EXPECT_TRUE(g_window_seen) << "no alert";
}

TEST_F(ModalFormsTest, EnterTrustsTheSiteFromThePrompt) {
  StoredSettings settings = QuietSettings();
  settings.Set(L"Prompt To Add", DWORD{1});
  host_.browser().set_location_url(L"http://www.pages.example/news");
  ASSERT_NO_FATAL_FAILURE(
      Start(settings, {[](HWND) { PressKeys({VK_RETURN}); }, StillOpen("Enter")}));
  EXPECT_FALSE(OpenPopup()) << "Trust lets the site's window open";
  EXPECT_TRUE(g_window_seen) << "no prompt";
  EXPECT_FALSE(OpenPopup()) << "the site is trusted from now on, without asking";
}

// Answers the system's font and file dialogs (ahead of the program's guard against dialog
// boxes): OK on the font as it stands, and `file` typed as the file's name.
class CommonDialogAnswers {
 public:
  explicit CommonDialogAnswers(std::wstring file)
      : hook_(SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId())) {
    file_ = std::move(file);
    answered_.clear();
  }
  ~CommonDialogAnswers() { UnhookWindowsHookEx(hook_); }
  CommonDialogAnswers(const CommonDialogAnswers&) = delete;
  CommonDialogAnswers& operator=(const CommonDialogAnswers&) = delete;

  static std::wstring answered() { return answered_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lparam);
    if (code != HC_ACTION || call->message != WM_INITDIALOG || ClassOf(call->hwnd) != L"#32770") {
      return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    const std::wstring title = TextOf(call->hwnd);
    answered_ += L"[" + title + L"]";
    // cmb13: the file name box of the Explorer-style open dialog.
    if (title != L"Font") SetDlgItemTextW(call->hwnd, 0x47c, file_.c_str());
    PostMessageW(call->hwnd, WM_COMMAND, IDOK, 0);
    return 0;
  }

  HHOOK hook_;
  static inline std::wstring file_;
  static inline std::wstring answered_;
};

// The keyboard and the system's dialogs as a person uses them on the options: Tab in reading
// order, Ctrl+Tab to the next page, the font and the sound file chosen, Escape to close.
TEST_F(ModalFormsTest, TheOptionsAnswerTheKeyboardAndTheSystemsDialogs) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  const std::wstring sound = std::wstring(folder) + L"captured.wav";
  CloseHandle(CreateFileW(sound.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  static std::wstring chosen;
  chosen = sound;
  CommonDialogAnswers answers(sound);
  StoredSettings settings = QuietSettings();
  settings.Set(L"Show Visual Capture", DWORD{1});
  ASSERT_NO_FATAL_FAILURE(
      Start(settings,
            {[](HWND) {
               EXPECT_EQ(L"Always start when IE starts.", TextOf(GetFocus()));
               PressKeys({VK_TAB});
             },
             [](HWND options) {
               EXPECT_EQ(L"Always Start Visible", TextOf(GetFocus()));
               HWND apply = FindWindowExW(options, nullptr, L"Button", L"Apply");
               EXPECT_FALSE(IsWindowEnabled(apply));
               SendMessageW(ChildWithText(options, L"Change Font"), BM_CLICK, 0, 0);
               PumpMessages();
               EXPECT_TRUE(IsWindowEnabled(apply)) << "a font chosen is a change";
               SendMessageW(ChildWithText(options, L"..."), BM_CLICK, 0, 0);
               PumpMessages();
               EXPECT_NE(nullptr, ChildWithText(options, chosen)) << "the sound file is not shown";
               PressKeys({VK_CONTROL, VK_TAB});
             },
             [](HWND options) {
               HWND tabs = FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr);
               EXPECT_EQ(1, SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) << "Ctrl+Tab";
               EXPECT_TRUE(ShowsInside(ChildWithText(options, L"Apply Selected Skin"), options));
               // The keyboard leaves the page that went out of view.
               EXPECT_TRUE(IsChild(options, GetFocus()) && IsWindowVisible(GetFocus()));
               PressKeys({VK_ESCAPE});
             },
             StillOpen("Escape")}));
  RunMenuCommand(kMenuOptions);
  EXPECT_TRUE(g_window_seen) << "no options dialog";
  EXPECT_EQ(L"[Font][Select Sound File To Play On Notification]", CommonDialogAnswers::answered());
  DeleteFileW(sound.c_str());
}

}  // namespace
}  // namespace windlock_test
