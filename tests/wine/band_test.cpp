// The band in its site, driven as the browser drives a vertical Explorer Bar: the window it puts
// into the site's, its band information, showing, focus, its menu and closing.
#include <windows.h>

#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/identity.h"

namespace windlock_test {
namespace {

class BandTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  IUnknown* BandIdentity() const { return Identity(host_.band()); }

  BandHost host_;
};

TEST_F(BandTest, HasNoWindowBeforeItHasASite) {
  ASSERT_NO_FATAL_FAILURE(host_.Create());
  HWND window = reinterpret_cast<HWND>(&window);
  EXPECT_EQ(S_OK, host_.band()->GetWindow(&window));
  EXPECT_EQ(nullptr, window);

  void* site = &site;
  EXPECT_EQ(E_FAIL, host_.As<IObjectWithSite>()->GetSite(IID_IUnknown, &site));
  EXPECT_EQ(nullptr, site);
}

TEST_F(BandTest, SetSitePutsTheBarIntoTheSiteWindow) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  HWND bar = host_.BarWindow();
  ASSERT_TRUE(IsWindow(bar));
  EXPECT_EQ(host_.frame(), GetAncestor(bar, GA_PARENT));
  LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
  EXPECT_EQ(WS_CHILD, style & WS_CHILD);
  EXPECT_EQ(WS_CLIPSIBLINGS, style & WS_CLIPSIBLINGS);

  ComPtr<IUnknown> site;
  EXPECT_EQ(S_OK, host_.As<IObjectWithSite>()->GetSite(IID_IUnknown, site.PutVoid()));
  EXPECT_EQ(Identity(static_cast<IServiceProvider*>(&host_.site())), Identity(site.get()));
}

TEST_F(BandTest, ListensToTheBrowserWhileItHasTheSite) {
  const ULONG site_references = host_.site().reference_count();
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  EXPECT_EQ(1u, host_.browser().sink_count());
  ASSERT_EQ(1u, host_.browser().advised_cookies().size());

  EXPECT_EQ(S_OK, host_.As<IObjectWithSite>()->SetSite(nullptr));

  EXPECT_EQ(0u, host_.browser().sink_count());
  EXPECT_EQ(host_.browser().advised_cookies(), host_.browser().unadvised_cookies());
  EXPECT_EQ(0, host_.browser().bad_unadvise_count());
  EXPECT_EQ(site_references, host_.site().reference_count()) << "the site is still held";
  void* site = &site;
  EXPECT_EQ(E_FAIL, host_.As<IObjectWithSite>()->GetSite(IID_IUnknown, &site));
  EXPECT_EQ(nullptr, site);
}

TEST_F(BandTest, RefusesASiteItCannotLiveIn) {
  ASSERT_NO_FATAL_FAILURE(host_.Create());
  struct Case {
    const char* name;
    bool gives_window;
    bool gives_browser;
    HRESULT expected;
  };
  // Without a browser, the failure the core raises comes back as the HRESULT the site gave it.
  const Case cases[] = {
      {"no window", false, true, E_FAIL},
      {"no browser", true, false, E_NOINTERFACE},
  };
  ComPtr<IObjectWithSite> with_site = host_.As<IObjectWithSite>();
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    ComPtr<FakeSite> site = FakeSite::Make(
        host_.frame(), test.gives_browser ? &host_.browser() : nullptr, test.gives_window);
    EXPECT_EQ(test.expected, with_site->SetSite(static_cast<IServiceProvider*>(site.get())));
    EXPECT_EQ(S_OK, with_site->SetSite(nullptr));
  }
}

TEST_F(BandTest, BandInfoFillsWhatTheMaskAsksFor) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  struct Case {
    const char* name;
    DWORD mask;
  };
  const Case cases[] = {
      {"nothing", 0},
      {"minimum size", DBIM_MINSIZE},
      {"maximum size", DBIM_MAXSIZE},
      {"integral", DBIM_INTEGRAL},
      {"actual size", DBIM_ACTUAL},
      {"title", DBIM_TITLE},
      {"mode flags", DBIM_MODEFLAGS},
      {"background colour", DBIM_BKCOLOR},
      {"everything", DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE |
                         DBIM_MODEFLAGS | DBIM_BKCOLOR},
  };
  // Values no answer has, so a field the band leaves alone shows. The title buffer holds no
  // terminating zero: the band must write the title, never read it.
  const POINTL untouched = {-7, -7};
  const COLORREF untouched_colour = RGB(1, 2, 3);
  const std::wstring garbage(std::size(DESKBANDINFO{}.wszTitle), L'#');
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    DESKBANDINFO info = {};
    info.dwMask = test.mask;
    info.ptMinSize = info.ptMaxSize = info.ptIntegral = info.ptActual = untouched;
    std::copy(garbage.begin(), garbage.end(), info.wszTitle);
    info.dwModeFlags = 0xFFFF;
    info.crBkgnd = untouched_colour;

    EXPECT_EQ(S_OK, host_.band()->GetBandInfo(0, DBIF_VIEWMODE_VERTICAL, &info));

    auto expect_point = [&](bool asked, POINTL actual, POINTL answer, const char* field) {
      POINTL expected = asked ? answer : untouched;
      EXPECT_EQ(expected.x, actual.x) << field;
      EXPECT_EQ(expected.y, actual.y) << field;
    };
    expect_point(test.mask & DBIM_MINSIZE, info.ptMinSize, {350, 160}, "minimum size");
    expect_point(test.mask & DBIM_MAXSIZE, info.ptMaxSize, {-1, -1}, "maximum size");
    expect_point(test.mask & DBIM_INTEGRAL, info.ptIntegral, {1, 1}, "integral");
    expect_point(test.mask & DBIM_ACTUAL, info.ptActual, {0, 0}, "actual size");
    std::wstring title(info.wszTitle, std::size(info.wszTitle));
    if (test.mask & DBIM_TITLE) {
      EXPECT_EQ(std::wstring(L"Larkspan", 9), title.substr(0, 9)) << "terminated";
    } else {
      EXPECT_EQ(garbage, title);
    }
    EXPECT_EQ(test.mask & DBIM_MODEFLAGS ? DWORD{DBIMF_VARIABLEHEIGHT} : DWORD{0xFFFF},
              info.dwModeFlags);
    EXPECT_EQ(untouched_colour, info.crBkgnd);
  }
}

TEST_F(BandTest, ShowDWShowsAndHidesTheBar) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  HWND bar = host_.BarWindow();
  for (BOOL show : {TRUE, FALSE, TRUE, TRUE, FALSE}) {
    SCOPED_TRACE(show ? "show" : "hide");
    EXPECT_EQ(S_OK, host_.band()->ShowDW(show));
    EXPECT_EQ(show != FALSE, (GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE) != 0);
  }
}

// The focus reaches the bar window either as the window manager gives it (SetFocus) or as a
// bare message; the band tells its site both ways.
struct FocusDelivery {
  const char* name;
  void (*gain)(HWND bar, HWND other);
  void (*lose)(HWND bar, HWND other);
};

void PrintTo(const FocusDelivery& delivery, std::ostream* out) {
  *out << delivery.name;
}

class BandFocusTest : public BandTest, public testing::WithParamInterface<FocusDelivery> {};

TEST_P(BandFocusTest, FocusChangesAreReportedToTheSite) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
  HWND bar = host_.BarWindow();
  // Wine may already have put the focus into the new child window.
  SetFocus(host_.text_box());
  host_.site().clear_focus_changes();
  ComPtr<IInputObject> input = host_.As<IInputObject>();
  ASSERT_TRUE(input);

  GetParam().gain(bar, host_.text_box());
  ASSERT_EQ(1u, host_.site().focus_changes().size());
  EXPECT_EQ(BandIdentity(), host_.site().focus_changes()[0].object);
  EXPECT_TRUE(host_.site().focus_changes()[0].has_focus);
  EXPECT_EQ(S_OK, input->HasFocusIO());

  GetParam().lose(bar, host_.text_box());
  ASSERT_EQ(2u, host_.site().focus_changes().size());
  EXPECT_EQ(BandIdentity(), host_.site().focus_changes()[1].object);
  EXPECT_FALSE(host_.site().focus_changes()[1].has_focus);
  EXPECT_EQ(S_FALSE, input->HasFocusIO());
}

INSTANTIATE_TEST_SUITE_P(
    Deliveries, BandFocusTest,
    testing::Values(FocusDelivery{"SetFocus", [](HWND bar, HWND) { SetFocus(bar); },
                                  [](HWND, HWND other) { SetFocus(other); }},
                    FocusDelivery{"SendMessage",
                                  [](HWND bar, HWND other) {
                                    SendMessageW(bar, WM_SETFOCUS, (WPARAM)other, 0);
                                  },
                                  [](HWND bar, HWND other) {
                                    SendMessageW(bar, WM_KILLFOCUS, (WPARAM)other, 0);
                                  }}),
    [](const testing::TestParamInfo<FocusDelivery>& info) { return info.param.name; });

TEST_F(BandTest, UIActivateIOGivesTheBarTheFocus) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
  SetFocus(host_.text_box());
  host_.site().clear_focus_changes();

  EXPECT_EQ(S_OK, host_.As<IInputObject>()->UIActivateIO(TRUE, nullptr));

  EXPECT_EQ(host_.BarWindow(), GetFocus());
  ASSERT_FALSE(host_.site().focus_changes().empty());
  EXPECT_TRUE(host_.site().focus_changes().back().has_focus);
}

TEST_F(BandTest, TranslateAcceleratorIOTakesEveryKey) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  HWND bar = host_.BarWindow();
  struct Key {
    const char* name;
    UINT message;
    WPARAM key;
  };
  const Key keys[] = {
      {"Backspace down", WM_KEYDOWN, VK_BACK},
      {"End down", WM_KEYDOWN, VK_END},
      {"Tab down", WM_KEYDOWN, VK_TAB},
      {"F5 down", WM_KEYDOWN, VK_F5},
      {"A down", WM_KEYDOWN, 'A'},
      {"A up", WM_KEYUP, 'A'},
      {"a typed", WM_CHAR, 'a'},
  };
  ComPtr<IInputObject> input = host_.As<IInputObject>();
  for (const Key& key : keys) {
    SCOPED_TRACE(key.name);
    MSG message = {bar, key.message, key.key, 1, static_cast<DWORD>(GetMessageTime()), {0, 0}};
    EXPECT_EQ(S_OK, input->TranslateAcceleratorIO(&message));
  }
}

TEST_F(BandTest, MembersWithoutAUseSayNotImplemented) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  RECT border = {0, 0, 100, 100};
  char text[64] = {};
  EXPECT_EQ(E_NOTIMPL, host_.band()->ContextSensitiveHelp(TRUE));
  EXPECT_EQ(E_NOTIMPL, host_.band()->ResizeBorderDW(&border, nullptr, FALSE));
  EXPECT_EQ(E_NOTIMPL,
            host_.As<IContextMenu>()->GetCommandString(0, GCS_VERBA, nullptr, text, sizeof(text)));
}

// The skin folders beside the DLL, each of which takes an identifier in the Skins submenu.
int SkinFolders() {
  std::wstring skins = DllPath().substr(0, DllPath().find_last_of(L'\\')) + L"\\Skins\\*";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(skins.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do {
    std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
      ++count;
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

TEST_F(BandTest, ContextMenuClaimsItsCommandIdentifiers) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  HMENU menu = CreatePopupMenu();
  ASSERT_NE(nullptr, menu);
  // Ten commands, "Original", and one a skin.
  EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, 11 + SkinFolders()),
            host_.As<IContextMenu>()->QueryContextMenu(menu, 0, 100, 200, CMF_NORMAL));
  // The Skins submenu holds "Original" and the skins.
  MENUITEMINFOW popup = {};
  popup.cbSize = sizeof(popup);
  popup.fMask = MIIM_SUBMENU;
  int items = GetMenuItemCount(menu);
  ASSERT_EQ(6, items);
  ASSERT_TRUE(GetMenuItemInfoW(menu, 1, TRUE, &popup));
  EXPECT_EQ(1 + SkinFolders(), GetMenuItemCount(popup.hSubMenu));
  DestroyMenu(menu);
}

TEST_F(BandTest, MenuCommandBeforeASiteIsNotImplemented) {
  ASSERT_NO_FATAL_FAILURE(host_.Create());
  CMINVOKECOMMANDINFO command = {};
  command.cbSize = sizeof(command);
  command.lpVerb = MAKEINTRESOURCEA(0);
  command.nShow = SW_SHOWNORMAL;
  EXPECT_EQ(E_NOTIMPL, host_.As<IContextMenu>()->InvokeCommand(&command));
}

TEST_F(BandTest, MenuCommandGivenAsAVerbRunsNothing) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  CMINVOKECOMMANDINFO command = {};
  command.cbSize = sizeof(command);
  command.lpVerb = "open";
  command.nShow = SW_SHOWNORMAL;
  EXPECT_EQ(E_INVALIDARG, host_.As<IContextMenu>()->InvokeCommand(&command));
  // The separator's offset names a command that does nothing.
  command.lpVerb = MAKEINTRESOURCEA(4);
  EXPECT_EQ(S_OK, host_.As<IContextMenu>()->InvokeCommand(&command));
}

TEST_F(BandTest, CloseDWDestroysTheBarWindowOnce) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
  HWND bar = host_.BarWindow();
  ASSERT_TRUE(IsWindow(bar));

  EXPECT_EQ(S_OK, host_.band()->CloseDW(0));
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(S_OK, host_.band()->CloseDW(0));
}

TEST_F(BandTest, ReleasedWithoutCloseDWTheBarWindowGoesToo) {
  const ULONG site_references = host_.site().reference_count();
  const ULONG browser_references = host_.browser().reference_count();
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
  HWND bar = host_.BarWindow();
  ASSERT_EQ(S_OK, host_.As<IObjectWithSite>()->SetSite(nullptr));

  host_.ReleaseBand();

  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(site_references, host_.site().reference_count());
  EXPECT_EQ(browser_references, host_.browser().reference_count());
  EXPECT_EQ(S_OK, LoadedDllCanUnloadNow());
}

}  // namespace
}  // namespace windlock_test
