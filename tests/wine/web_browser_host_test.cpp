// The bar's browser panes: a WebBrowser control hosted in a window of the bar's, activated in
// place where the owner lays it out, restricted through its ambient download control, driven
// through its events, and torn down without a reference left on either side. Wine has no HTML
// engine here: a navigation gets as far as BeforeNavigate2 and the address, and no document
// exists, so the DOM operations themselves are not exercised.
#include <windows.h>

#include <exdisp.h>
#include <mshtmdid.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "backends/win32/browser/web_browser_host.h"
#include "backends/win32/browser/win32_browser.h"
#include "platform/browser.h"
#include "support/dll_under_test.h"
#include "support/messages.h"

namespace windlock_test {
namespace {

using windlock::win32::ComPtr;
using windlock::win32::WebBrowserHost;
using windlock::win32::Win32Browser;

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A shipped page, as a file: URL with a drive (Wine needs the drive form) and as its path.
std::string PagePath() {
  return Narrow(WindowsPath(WINDLOCK_DATA_DIR "/safeshutdown.htm"));
}
std::string PageUrl() {
  std::string url = "file:///" + PagePath();
  for (char& c : url) {
    if (c == '\\') c = '/';
  }
  return url;
}

// Records the navigations a browser announces and cancels them or not.
class Navigations : public windlock::BrowserEvents {
 public:
  explicit Navigations(bool cancel) : cancel_(cancel) {}
  void BeforeNavigate2(const windlock::NavigateRequest& request, bool& cancel) override {
    urls_.push_back(request.url.ToText());
    cancel = cancel_;
  }
  const std::vector<std::string>& urls() const { return urls_; }

 private:
  bool cancel_;
  std::vector<std::string> urls_;
};

class WebBrowserHostTest : public testing::Test {
 protected:
  WebBrowserHostTest()
      : parent_(CreateWindowExW(0, L"STATIC", L"Windlock pane test",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

  HWND parent() const { return parent_.get(); }
  // The control's own window, which in-place activation puts inside the parent.
  HWND Embedding() const { return FindWindowExW(parent(), nullptr, L"Shell Embedding", nullptr); }
  // Where a child window is, in the parent's client coordinates.
  std::vector<LONG> PlaceOf(HWND window) const {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
  }

 private:
  OwnedWindow parent_;
};

TEST_F(WebBrowserHostTest, ActivatesInPlaceWhereTheOwnerLaysItOut) {
  ASSERT_NE(nullptr, parent());
  WebBrowserHost host(parent(), {10, 20, 310, 220});
  ASSERT_TRUE(host.browser());
  HWND embedding = Embedding();
  ASSERT_NE(nullptr, embedding);
  EXPECT_EQ((std::vector<LONG>{10, 20, 310, 220}), PlaceOf(embedding));
  EXPECT_TRUE(IsWindowVisible(embedding));

  host.Move({30, 40, 230, 140});
  EXPECT_EQ((std::vector<LONG>{30, 40, 230, 140}), PlaceOf(embedding));
  host.Show(false);
  EXPECT_FALSE(IsWindowVisible(embedding));
  host.Show(true);
  EXPECT_TRUE(IsWindowVisible(embedding));
  // Showing nothing, it has no HTML document for the core.
  EXPECT_EQ(nullptr, Win32Browser(host.browser()).Document());
}

// Wine's control never asks for this ambient property (its reader on Windows is the HTML
// engine, which Wine lacks here), so it is read as that engine reads it.
TEST_F(WebBrowserHostTest, AnswersTheDownloadControlTheOwnerSets) {
  WebBrowserHost host(parent(), {0, 0, 200, 100});
  ComPtr<IDispatch> ambient = ComPtr<IUnknown>::Share(host.site()).As<IDispatch>();
  ASSERT_TRUE(ambient);
  auto read = [&](VARIANT& value) {
    DISPPARAMS none{};
    return ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, LOCALE_SYSTEM_DEFAULT,
                           DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
  };
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, read(value)) << "unset, the control keeps its defaults";

  host.SetDownloadControl(DLCTL_SILENT | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS |
                          DLCTL_NO_JAVA | DLCTL_NO_SCRIPTS | DLCTL_DLIMAGES);
  ASSERT_EQ(S_OK, read(value));
  EXPECT_EQ(VT_I4, value.vt);
  EXPECT_EQ(0x40000790, value.lVal);
}

// The core may cancel what the control announces; torn down, the host leaves no reference on
// either side.
TEST_F(WebBrowserHostTest, BeforeNavigate2ReachesTheCoreAndTeardownLeavesNoReference) {
  for (bool cancel : {false, true}) {
    SCOPED_TRACE(cancel ? "cancelled" : "let through");
    ComPtr<IUnknown> site;
    ComPtr<IWebBrowser2> control;
    {
      WebBrowserHost host(parent(), {0, 0, 200, 100});
      site = ComPtr<IUnknown>::Share(host.site());
      control = host.browser();
      Win32Browser browser(host.browser());
      Navigations navigations(cancel);
      browser.Advise(&navigations);
      host.Focus();
      browser.Navigate2(windlock::NavigateRequest::To(PageUrl()));
      ASSERT_TRUE(PumpUntil([&] { return !navigations.urls().empty(); }, 5000));
      ASSERT_EQ(1u, navigations.urls().size());
      // Wine reports a file: URL as the file's path.
      EXPECT_TRUE(navigations.urls()[0] == PageUrl() || navigations.urls()[0] == PagePath())
          << navigations.urls()[0];
      EXPECT_EQ(!cancel, PumpUntil([&] { return !browser.LocationURL().empty(); }, 500));
    }
    EXPECT_EQ(nullptr, Embedding());
    EXPECT_EQ(0u, site.Detach()->Release()) << "the control still holds its site";
    EXPECT_EQ(0u, control.Detach()->Release()) << "the control outlived its host";
  }
}

}  // namespace
}  // namespace windlock_test
