// The document a browser shows, as the core reaches it: none where the browser shows nothing or
// nothing HTML. Wine has no HTML engine here, so no document exists and the DOM operations
// themselves are not exercised.
#include <windows.h>

#include <exdisp.h>

#include <gtest/gtest.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_browser.h"
#include "platform/win32/win32_html_document.h"
#include "support/fake_browser.h"

namespace windlock_test {
namespace {

using windlock::win32::ComPtr;
using windlock::win32::CurrentDocument;
using windlock::win32::Win32Browser;

TEST(CurrentDocumentTest, NothingOrAnythingButHtmlIsNoDocument) {
  CurrentDocument current;
  EXPECT_EQ(nullptr, current.Update(nullptr));
  ComPtr<FakeBrowser> not_html = FakeBrowser::Make();
  EXPECT_EQ(nullptr, current.Update(not_html.get()));
}

TEST(Win32BrowserDocumentTest, BrowserThatGivesNoDocumentHasNone) {
  ComPtr<FakeBrowser> refusing = FakeBrowser::Make();
  Win32Browser browser(ComPtr<IWebBrowser2>::Share(refusing.get()));
  EXPECT_EQ(nullptr, browser.Document());
}

TEST(Win32BrowserDocumentTest, WineWebBrowserShowingNothingHasNone) {
  ComPtr<IWebBrowser2> control;
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWebBrowser2, control.PutVoid()));
  Win32Browser browser(control);
  EXPECT_EQ(nullptr, browser.Document());
  EXPECT_EQ(nullptr, browser.Document()) << "asked again";
}

}  // namespace
}  // namespace windlock_test
