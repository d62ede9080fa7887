// The bar's own windows, as a person sees them in the browser: the built-in look with its list,
// preview pane and buttons inside the band's window, the two browser panes, and captures that
// reach the list through the preview browser.
#include <windows.h>

#include <commctrl.h>
#include <exdisp.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/messages.h"
#include "support/screenshot.h"
#include "support/window_checks.h"

namespace windlock_test {
namespace {

constexpr int kBarWidth = 260;
constexpr int kBarHeight = 520;

LONG HeightOf(HWND window) {
  const RECT rect = RectInParent(window);
  return rect.bottom - rect.top;
}

// Whether a window's code (its class's procedure) comes from the side-by-side common controls
// a manifest asks for, not the system folder's older ones. (Wine's copy reports version 5.81 all
// the same, so the file is what tells.)
bool RunsSideBySideCommonControls(HWND window) {
  MEMORY_BASIC_INFORMATION memory{};
  VirtualQuery(reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_WNDPROC)), &memory,
               sizeof memory);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(static_cast<HMODULE>(memory.AllocationBase), path, MAX_PATH);
  std::wstring lower(path);
  for (wchar_t& letter : lower) letter = static_cast<wchar_t>(towlower(letter));
  return lower.find(L"microsoft.windows.common-controls") != std::wstring::npos;
}

class BarWindowsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(host_.Show());
    bar_ = host_.BarWindow();
    // The browser sizes the bar window to its pane.
    MoveWindow(bar_, 0, 0, kBarWidth, kBarHeight, TRUE);
    PumpMessages();
    list_ = FindDescendant(bar_, WC_LISTVIEWW);
    ASSERT_NE(nullptr, list_) << "no list view in the bar";
  }

  HWND Control(const wchar_t* window_class, const wchar_t* text) const {
    return FindDescendant(bar_, window_class, text);
  }

  // The preview pane's check box, whose caption is the label beside it.
  HWND CheckBox() const {
    for (HWND child : Descendants(bar_)) {
      if (ClassOf(child) == L"Button" && TextOf(child).empty()) return child;
    }
    return nullptr;
  }

  std::vector<std::wstring> Items() const {
    std::vector<std::wstring> items;
    for (int index = 0; index < SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0); ++index) {
      wchar_t text[512] = {};
      LVITEMW item{};
      item.pszText = text;
      item.cchTextMax = 512;
      SendMessageW(list_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
      items.push_back(text);
    }
    return items;
  }

  // A page of the hosting browser opens a window; the bar hands back its preview browser, and
  // the browser navigates that to the pop-up's address.
  void CapturePopup(const std::wstring& address) {
    ComPtr<IDispatch> window = host_.OpenPopup();
    ASSERT_TRUE(window) << "the pop-up was not captured";
    ComPtr<IWebBrowser2> preview = window.As<IWebBrowser2>();
    ASSERT_TRUE(preview);
    VARIANT url{};
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(address.c_str());
    VARIANT empty{};
    preview->Navigate2(&url, &empty, &empty, &empty, &empty);
    VariantClear(&url);
    const std::size_t before = Items().size();
    PumpUntil([&] { return Items().size() > before; }, 2000);
  }

  BandHost host_;
  HWND bar_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(BarWindowsTest, TheBuiltInLookShowsEveryControlInsideWithItsCaptionFitting) {
  for (const wchar_t* caption : {L"Open In This Window -->", L"Open In New Window",
                                 L"Remove From List", L"Help", L"Safe Shutdown"}) {
    HWND button = Control(L"Button", caption);
    ASSERT_NE(nullptr, button) << "no " << Narrow(caption);
    EXPECT_TRUE(IsWindowVisible(button)) << Narrow(caption);
  }
  EXPECT_TRUE(IsWindowVisible(Control(L"Static", L"Preview Window")));
  EXPECT_FALSE(IsWindowVisible(Control(L"Static", L"Bypass Enabled")))
      << "the bypass strip shows only while Shift is held";
  EXPECT_NE(nullptr, Control(ANIMATE_CLASSW, L"")) << "no loading clip";
  // The bar's own manifest gives it the system's look, whatever the hosting program asked for.
  EXPECT_TRUE(RunsSideBySideCommonControls(list_));

  const RECT look = RectInParent(GetParent(list_));
  EXPECT_EQ((std::vector<LONG>{0, 0, kBarWidth, kBarHeight}),
            (std::vector<LONG>{look.left, look.top, look.right, look.bottom}));
  ExpectChildrenInside(bar_);
  ExpectCaptionsFit(bar_);
  // The buttons run down the bottom, one under the other, below the list.
  const RECT open_here = RectInParent(Control(L"Button", L"Open In This Window -->"));
  EXPECT_EQ(open_here.bottom, RectInParent(Control(L"Button", L"Open In New Window")).top);
  EXPECT_LT(RectInParent(list_).bottom, open_here.top);

  SaveWindowScreenshot(bar_, ScreenshotPath("bar.png"));
}

TEST_F(BarWindowsTest, CapturedPopupsReachTheListAndTheSelectionReachesTheBar) {
  const std::vector<std::wstring> addresses = {L"http://ads.example/one", L"http://ads.example/two",
                                               L"http://ads.example/three"};
  for (const std::wstring& address : addresses) ASSERT_NO_FATAL_FAILURE(CapturePopup(address));
  ASSERT_EQ(addresses, Items());

  // The user selects the second one: the bar's own list follows, so Remove takes that one.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  SetFocus(list_);
  PumpMessages();
  SaveWindowScreenshot(bar_, ScreenshotPath("bar-captured.png"));

  SendMessageW(Control(L"Button", L"Remove From List"), BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_EQ((std::vector<std::wstring>{addresses[0], addresses[2]}), Items());
  // The window keeps selections by position: the removed entry's must not pass to the next.
  EXPECT_EQ(0, SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
}

TEST_F(BarWindowsTest, TheCheckBoxFoldsThePreviewPaneAndTheListTakesItsRoom) {
  HWND pane = GetParent(Control(L"Static", L"Preview Window"));
  ASSERT_NE(nullptr, pane);
  const LONG open_height = HeightOf(pane);
  const LONG list_height = HeightOf(list_);
  HWND check_box = CheckBox();
  ASSERT_NE(nullptr, check_box);

  SendMessageW(check_box, BM_CLICK, 0, 0);
  PumpMessages();

  EXPECT_EQ(BST_UNCHECKED, SendMessageW(check_box, BM_GETCHECK, 0, 0));
  EXPECT_LT(HeightOf(pane), open_height / 4) << "only the title row stays";
  EXPECT_EQ(list_height + open_height - HeightOf(pane), HeightOf(list_));
}

// Tab, as the browser offers it to the band that has the focus.
HRESULT OfferTab(IInputObject& input) {
  MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  return input.TranslateAcceleratorIO(&tab);
}

// Tab goes through the bar's controls as they read, top to bottom and left to right, and
// Shift+Tab back; past either end the band gives the focus up and leaves it where it was, for
// the browser to pass on.
TEST_F(BarWindowsTest, TabMovesThroughTheControlsAndPastTheEndsLeavesTheBand) {
  ComPtr<IInputObject> input = host_.As<IInputObject>();
  HWND preview =
      FindDescendant(GetParent(Control(L"Static", L"Preview Window")), L"Shell Embedding");
  const std::vector<HWND> order = {list_,
                                   CheckBox(),
                                   preview,
                                   Control(L"Button", L"Open In This Window -->"),
                                   Control(L"Button", L"Open In New Window"),
                                   Control(L"Button", L"Remove From List"),
                                   Control(L"Button", L"Safe Shutdown"),
                                   Control(L"Button", L"Help")};
  SetFocus(bar_);
  host_.site().clear_focus_changes();
  for (bool back : {false, true}) {
    SCOPED_TRACE(back ? "Shift+Tab" : "Tab");
    HoldShift(back);
    for (std::size_t step = 0; step < order.size(); ++step) {
      ASSERT_EQ(S_OK, OfferTab(*input.get()));
      EXPECT_EQ(order[back ? order.size() - 1 - step : step], GetFocus()) << step;
      EXPECT_EQ(S_OK, input->HasFocusIO()) << "the focus is still the band's";
    }
    HWND last = GetFocus();
    EXPECT_EQ(S_OK, OfferTab(*input.get()));
    EXPECT_EQ(last, GetFocus());
    ASSERT_EQ(1u, host_.site().focus_changes().size());
    EXPECT_FALSE(host_.site().focus_changes().back().has_focus);
    SetFocus(bar_);
    host_.site().clear_focus_changes();
  }
  HoldShift(false);
}

TEST_F(BarWindowsTest, ScreenReadersReadEachControlByName) {
  HWND title = Control(L"Static", L"Preview Window");
  ASSERT_NE(nullptr, title);
  HWND preview_pane = GetParent(title);
  HWND preview = FindDescendant(preview_pane, L"Shell Embedding");
  HWND skin = nullptr;
  HWND check_box = CheckBox();
  for (HWND child : Descendants(bar_)) {
    if (ClassOf(child) == L"Shell Embedding" && child != preview) skin = child;
  }
  ASSERT_TRUE(preview && skin && check_box);
  const struct {
    HWND window;
    const wchar_t* name;
  } cases[] = {
      {bar_, L"Windlock"},
      {GetParent(list_), L"Pop-up stopper"},
      {list_, L"Captured pop-ups"},
      {Control(L"Button", L"Open In This Window -->"), L"Open In This Window"},
      {Control(L"Button", L"Safe Shutdown"), L"Safe Shutdown"},
      {Control(L"Static", L"Bypass Enabled"), L"Bypass Enabled"},
      {preview_pane, L"Preview pane"},
      {title, L"Preview Window"},
      {check_box, L"Show preview"},
      {GetParent(preview), L"Preview page"},
      {preview, L"Preview"},
      {GetParent(skin), L"Skin"},
      {skin, L"Skin page"},
      {Control(ANIMATE_CLASSW, L""), L"Loading"},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(Narrow(each.name));
    EXPECT_EQ(each.name, AccessibleNameOf(each.window));
  }
  ExpectEveryControlNamed(bar_);
}

// They go with the bar window, which band_test.cpp lets go of.
TEST_F(BarWindowsTest, ThePanesAreHostedInTheBar) {
  std::vector<HWND> panes;
  for (HWND child : Descendants(bar_)) {
    if (ClassOf(child) == L"Shell Embedding") panes.push_back(child);
  }
  ASSERT_EQ(2u, panes.size()) << "the preview and the skin pane";
  for (HWND pane : panes) EXPECT_EQ(L"WindlockFrame", ClassOf(GetParent(pane)));
  // The preview fills its holder in the built-in look.
  HWND preview =
      FindDescendant(GetParent(Control(L"Static", L"Preview Window")), L"Shell Embedding");
  ASSERT_NE(nullptr, preview);
  RECT holder{};
  GetClientRect(GetParent(preview), &holder);
  const RECT placed = RectInParent(preview);
  EXPECT_EQ((std::vector<LONG>{0, 0, holder.right, holder.bottom}),
            (std::vector<LONG>{placed.left, placed.top, placed.right, placed.bottom}));
}

}  // namespace
}  // namespace windlock_test
