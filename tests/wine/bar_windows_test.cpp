// The bar's own windows, as a person sees them in the browser: the built-in look with its list,
// preview pane and buttons inside the band's window, the two browser panes, captures that reach
// the list, and nothing left behind when the browser lets the bar go.
#include <windows.h>

#include <commctrl.h>
#include <exdisp.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/messages.h"
#include "support/screenshot.h"
#include "support/window_text.h"

namespace windlock_test {
namespace {

constexpr int kBarWidth = 260;
constexpr int kBarHeight = 520;

BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindDescendant(HWND window, const std::wstring& window_class, const std::wstring& text = {}) {
  for (HWND child : Descendants(window)) {
    if (ClassOf(child) == window_class && (text.empty() || TextOf(child) == text)) return child;
  }
  return nullptr;
}

// A child's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE TextExtent(HWND window, const std::wstring& text) {
  HDC dc = GetDC(window);
  auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return extent;
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
    ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
    ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
    bar_ = host_.BarWindow();
    // The browser sizes the bar window to its pane.
    MoveWindow(bar_, 0, 0, kBarWidth, kBarHeight, TRUE);
    PumpMessages();
    list_ = FindDescendant(bar_, WC_LISTVIEWW);
    ASSERT_NE(nullptr, list_) << "no list view in the bar";
  }

  int ItemCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

  std::wstring ItemText(int index) const {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    return text;
  }

  // A page of the hosting browser opens a window; the bar hands back its preview browser, and
  // the browser navigates that to the pop-up's address.
  void CapturePopup(const std::wstring& address) {
    IDispatch* window = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    host_.browser().FireNewWindow2(&window, &cancel);
    ASSERT_NE(nullptr, window) << "the pop-up was not captured";
    ComPtr<IDispatch> held = ComPtr<IDispatch>::Adopt(window);
    ComPtr<IWebBrowser2> preview = held.As<IWebBrowser2>();
    ASSERT_TRUE(preview);
    VARIANT url;
    VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(address.c_str());
    VARIANT empty;
    VariantInit(&empty);
    preview->Navigate2(&url, &empty, &empty, &empty, &empty);
    VariantClear(&url);
    const int before = ItemCount();
    for (int wait = 0; wait < 100 && ItemCount() == before; ++wait) {
      PumpMessages();
      Sleep(20);
    }
  }

  BandHost host_;
  HWND bar_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(BarWindowsTest, TheBuiltInLookShowsEveryControlWithItsCaption) {
  struct Expected {
    const wchar_t* window_class;
    const wchar_t* text;
  };
  for (const Expected& expected :
       {Expected{L"Button", L"Open In This Window -->"}, Expected{L"Button", L"Open In New Window"},
        Expected{L"Button", L"Remove From List"}, Expected{L"Button", L"Help"},
        Expected{L"Button", L"Safe Shutdown"}, Expected{L"Static", L"Preview Window"}}) {
    HWND control = FindDescendant(bar_, expected.window_class, expected.text);
    ASSERT_NE(nullptr, control) << "no " << Narrow(expected.text);
    EXPECT_TRUE(IsWindowVisible(control)) << Narrow(expected.text);
    // The caption fits the control in the control's own font, with room for a button's edges.
    RECT client{};
    GetClientRect(control, &client);
    const int edges = ClassOf(control) == L"Button" ? 2 * GetSystemMetrics(SM_CXEDGE) + 4 : 0;
    EXPECT_LE(TextExtent(control, expected.text).cx + edges, client.right) << Narrow(expected.text);
  }
  EXPECT_FALSE(IsWindowVisible(FindDescendant(bar_, L"Static", L"Bypass Enabled")))
      << "the bypass strip shows only while Shift is held";
  EXPECT_NE(nullptr, FindDescendant(bar_, ANIMATE_CLASSW)) << "no loading clip";
  // The bar's own manifest gives it the system's look, whatever the hosting program asked for.
  EXPECT_TRUE(RunsSideBySideCommonControls(list_));

  SaveWindowScreenshot(bar_, ScreenshotPath("bar-empty.png"));
}

TEST_F(BarWindowsTest, EveryControlOfTheBuiltInLookLiesInsideItsParent) {
  HWND look = GetParent(list_);
  RECT look_rect = RectInParent(look);
  EXPECT_EQ(0, look_rect.left);
  EXPECT_EQ(0, look_rect.top);
  EXPECT_EQ(kBarWidth, look_rect.right);
  EXPECT_EQ(kBarHeight, look_rect.bottom);
  for (HWND child : Descendants(look)) {
    if (!IsWindowVisible(child) || ClassOf(GetParent(child)) == WC_LISTVIEWW) continue;
    RECT parent{};
    GetClientRect(GetParent(child), &parent);
    RECT rect = RectInParent(child);
    SCOPED_TRACE(Narrow(ClassOf(child) + L" " + TextOf(child)));
    EXPECT_GE(rect.left, 0);
    EXPECT_GE(rect.top, 0);
    EXPECT_LE(rect.right, parent.right);
    EXPECT_LE(rect.bottom, parent.bottom);
  }
  // The buttons run down the bottom, one under the other, the full width less the margins.
  HWND open_here = FindDescendant(bar_, L"Button", L"Open In This Window -->");
  HWND open_new = FindDescendant(bar_, L"Button", L"Open In New Window");
  EXPECT_EQ(RectInParent(open_here).bottom, RectInParent(open_new).top);
  EXPECT_LT(RectInParent(list_).bottom, RectInParent(open_here).top);
}

TEST_F(BarWindowsTest, CapturedPopupsReachTheListAndTheSelection) {
  const std::wstring addresses[] = {L"http://ads.example/one", L"http://ads.example/two",
                                    L"http://ads.example/three"};
  for (const std::wstring& address : addresses) {
    ASSERT_NO_FATAL_FAILURE(CapturePopup(address));
  }
  ASSERT_EQ(3, ItemCount());
  for (int index = 0; index < 3; ++index) {
    EXPECT_EQ(addresses[index], ItemText(index));
  }

  // The user selects the second one: the bar's own list follows, so Remove takes that one.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  SetFocus(list_);
  PumpMessages();
  SaveWindowScreenshot(bar_, ScreenshotPath("bar-captured.png"));

  SendMessageW(FindDescendant(bar_, L"Button", L"Remove From List"), BM_CLICK, 0, 0);
  PumpMessages();
  ASSERT_EQ(2, ItemCount());
  EXPECT_EQ(addresses[0], ItemText(0));
  EXPECT_EQ(addresses[2], ItemText(1));
  // The window keeps selections by position: the removed entry's must not pass to the next.
  EXPECT_EQ(0, SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
}

TEST_F(BarWindowsTest, TheCheckBoxFoldsThePreviewPaneAndTheListTakesItsRoom) {
  HWND title = FindDescendant(bar_, L"Static", L"Preview Window");
  ASSERT_NE(nullptr, title);
  HWND pane = GetParent(title);
  const LONG open_height = RectInParent(pane).bottom - RectInParent(pane).top;
  const LONG list_height = RectInParent(list_).bottom - RectInParent(list_).top;

  HWND check_box = nullptr;
  for (HWND child : Descendants(pane)) {
    if (ClassOf(child) == L"Button" && TextOf(child).empty()) check_box = child;
  }
  ASSERT_NE(nullptr, check_box);
  SendMessageW(check_box, BM_CLICK, 0, 0);
  PumpMessages();

  EXPECT_EQ(BST_UNCHECKED, SendMessageW(check_box, BM_GETCHECK, 0, 0));
  const LONG folded_height = RectInParent(pane).bottom - RectInParent(pane).top;
  EXPECT_LT(folded_height, open_height / 4) << "only the title row stays";
  EXPECT_EQ(list_height + open_height - folded_height,
            RectInParent(list_).bottom - RectInParent(list_).top);
}

TEST_F(BarWindowsTest, ThePanesAreHostedAndLetGoWithTheBar) {
  std::vector<HWND> panes;
  for (HWND child : Descendants(bar_)) {
    if (ClassOf(child) == L"Shell Embedding") panes.push_back(child);
  }
  ASSERT_EQ(2u, panes.size()) << "the preview and the skin pane";
  for (HWND pane : panes) {
    EXPECT_EQ(L"WindlockFrame", ClassOf(GetParent(pane)));
  }
  // The preview fills its holder in the built-in look.
  HWND title = FindDescendant(bar_, L"Static", L"Preview Window");
  ASSERT_NE(nullptr, title);
  HWND preview = FindDescendant(GetParent(title), L"Shell Embedding");
  ASSERT_NE(nullptr, preview);
  RECT holder{};
  GetClientRect(GetParent(preview), &holder);
  RECT placed = RectInParent(preview);
  EXPECT_EQ(0, placed.left);
  EXPECT_EQ(0, placed.top);
  EXPECT_EQ(holder.right, placed.right);
  EXPECT_EQ(holder.bottom, placed.bottom);

  host_.Dismiss();
  PumpMessages();
  for (HWND pane : panes) EXPECT_FALSE(IsWindow(pane));
  EXPECT_EQ(S_OK, LoadedDllCanUnloadNow());
}

}  // namespace
}  // namespace windlock_test
