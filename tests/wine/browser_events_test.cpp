// The hosting browser's events as the band receives them through its connection point: the
// new-window decision and what it does when the browser quits.
#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/identity.h"
#include "support/ids.h"
#include "support/messages.h"
#include "support/process.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

class BrowserEventsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  // The band loads its settings when it is created, so they are stored first.
  void StartBand(const StoredSettings& settings) {
    StoreSettings(settings);
    ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
    ASSERT_EQ(S_OK, host_.band()->ShowDW(TRUE));
    // The bar's first activation comes from the message loop once it shows.
    PumpMessages();
    ASSERT_EQ(1u, host_.browser().sink_count()) << "the band is not listening";
  }

  BandHost host_;
};

// A page of `location` opens a window while `sites` are stored.
struct Opener {
  const char* name;
  std::vector<std::wstring> sites;
  const wchar_t* location;
  bool captured;
};

void PrintTo(const Opener& opener, std::ostream* out) {
  *out << opener.name;
}

class NewWindowTest : public BrowserEventsTest, public testing::WithParamInterface<Opener> {};

TEST_P(NewWindowTest, TrustedSitesOpenWindowsAndOthersAreCaptured) {
  StoredSettings settings = QuietSettings();
  settings.trusted_sites = GetParam().sites;
  ASSERT_NO_FATAL_FAILURE(StartBand(settings));
  host_.browser().set_location_url(GetParam().location);

  IDispatch* window = nullptr;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  host_.browser().FireNewWindow2(&window, &cancel);

  EXPECT_EQ(VARIANT_FALSE, cancel);
  if (!GetParam().captured) {
    EXPECT_EQ(nullptr, window) << "the window was captured";
    if (window) window->Release();
    return;
  }
  // The new window opens in the bar's preview browser.
  ASSERT_NE(nullptr, window) << "the window was let through";
  ComPtr<IDispatch> preview = ComPtr<IDispatch>::Adopt(window);
  ComPtr<IWebBrowser2> browser = preview.As<IWebBrowser2>();
  EXPECT_TRUE(browser);
  EXPECT_NE(Identity(static_cast<IWebBrowser2*>(&host_.browser())), Identity(preview.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Openers, NewWindowTest,
    testing::Values(
        Opener{"TrustedSite", {L"trust:a.example"}, L"http://a.example/page", false},
        Opener{"TrustedOverSecureAddress", {L"trust:a.example"}, L"https://a.example/x?y=1", false},
        Opener{"TrustedLastInTheList",
               {L"trust:b.example", L"notrust:a.example", L"trust:a.example"},
               L"http://a.example/",
               false},
        Opener{"TrustedWithPort", {L"trust:a.example:8080"}, L"http://a.example:8080/", false},
        Opener{"PortMakesAnotherSite", {L"trust:a.example"}, L"http://a.example:8080/", true},
        Opener{"SubdomainIsAnotherSite", {L"trust:a.example"}, L"http://www.a.example/", true},
        Opener{"OtherSite", {L"trust:a.example"}, L"http://b.example/", true},
        Opener{"MarkedUntrusted", {L"notrust:a.example"}, L"http://a.example/", true},
        Opener{"NothingTrusted", {}, L"http://a.example/", true}),
    [](const testing::TestParamInfo<Opener>& info) { return info.param.name; });

// What the band writes and asks for when the browser quits.
struct Quit {
  const char* name;
  DWORD auto_start;
  bool bar_shown;
  const char* visible_after;  // as reg shows it
  bool bar_asked_back;
};

void PrintTo(const Quit& quit, std::ostream* out) {
  *out << quit.name;
}

class QuitTest : public BrowserEventsTest, public testing::WithParamInterface<Quit> {};

TEST_P(QuitTest, AutoStartKeepsTheBarForTheNextWindow) {
  StoredSettings settings = QuietSettings();
  settings.Set(L"AutoStart", GetParam().auto_start).Set(L"Visible", DWORD{0});
  ASSERT_NO_FATAL_FAILURE(StartBand(settings));
  if (!GetParam().bar_shown) {
    ASSERT_EQ(S_OK, host_.band()->ShowDW(FALSE));
  }
  // The first activation has already hidden a bar that starts by itself and was hidden.
  const std::size_t asked_before = host_.browser().show_browser_bar_calls().size();

  host_.browser().FireOnQuit();

  std::optional<RegQueryValue> visible =
      RegQuery(std::wstring(L"HKCU\\") + kOptionsKey, L"Visible");
  ASSERT_TRUE(visible);
  EXPECT_EQ("REG_DWORD", visible->type);
  EXPECT_EQ(GetParam().visible_after, visible->data);

  const std::vector<ShowBrowserBarCall> calls(
      host_.browser().show_browser_bar_calls().begin() + static_cast<std::ptrdiff_t>(asked_before),
      host_.browser().show_browser_bar_calls().end());
  if (!GetParam().bar_asked_back) {
    EXPECT_TRUE(calls.empty());
    return;
  }
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ(VT_BSTR, calls[0].clsid_type);
  EXPECT_EQ(std::wstring(kBandClsidText), calls[0].clsid);
  EXPECT_EQ(VT_BOOL, calls[0].show_type);
  EXPECT_EQ(VARIANT_TRUE, calls[0].show);
  EXPECT_FALSE(calls[0].size_given);
}

INSTANTIATE_TEST_SUITE_P(Quits, QuitTest,
                         testing::Values(Quit{"AutoStartShown", 1, true, "0x1", true},
                                         Quit{"AutoStartHidden", 1, false, "0x0", true},
                                         Quit{"NoAutoStart", 0, true, "0x0", false}),
                         [](const testing::TestParamInfo<Quit>& info) { return info.param.name; });

// Owns the BSTRs of hand-built event arguments.
class Arguments {
 public:
  ~Arguments() {
    for (BSTR text : texts_) SysFreeString(text);
  }
  BSTR Text(const wchar_t* text) { return texts_.emplace_back(SysAllocString(text)); }

 private:
  std::vector<BSTR> texts_;
};

VARIANTARG Value(VARTYPE type) {
  VARIANTARG value;
  VariantInit(&value);
  value.vt = type;
  return value;
}

TEST_F(BrowserEventsTest, OtherEventsOfANavigationLeaveTheDecisionAlone) {
  ASSERT_NO_FATAL_FAILURE(StartBand(QuietSettings()));
  Arguments owned;
  auto* page = static_cast<IDispatch*>(static_cast<IWebBrowser2*>(&host_.browser()));
  VARIANT url = Value(VT_BSTR);
  url.bstrVal = owned.Text(L"http://host.example/page");
  VARIANT flags = Value(VT_I4);
  VARIANT frame = Value(VT_BSTR);
  frame.bstrVal = owned.Text(L"");
  VARIANT post_data = Value(VT_EMPTY);
  VARIANT headers = Value(VT_BSTR);
  headers.bstrVal = owned.Text(L"");
  VARIANT_BOOL cancel = VARIANT_FALSE;

  auto by_reference = [](VARIANT* value) {
    VARIANTARG argument = Value(VT_BYREF | VT_VARIANT);
    argument.pvarVal = value;
    return argument;
  };
  auto dispatch = [&] {
    VARIANTARG argument = Value(VT_DISPATCH);
    argument.pdispVal = page;
    return argument;
  };
  auto text = [&](const wchar_t* value) {
    VARIANTARG argument = Value(VT_BSTR);
    argument.bstrVal = owned.Text(value);
    return argument;
  };
  auto number = [](LONG value) {
    VARIANTARG argument = Value(VT_I4);
    argument.lVal = value;
    return argument;
  };
  VARIANTARG cancel_argument = Value(VT_BYREF | VT_BOOL);
  cancel_argument.pboolVal = &cancel;

  // Arguments last first, as DISPPARAMS holds them.
  struct Event {
    const char* name;
    DISPID id;
    std::vector<VARIANTARG> arguments;
  };
  const std::vector<Event> events = {
      {"BeforeNavigate2",
       DISPID_BEFORENAVIGATE2,
       {cancel_argument, by_reference(&headers), by_reference(&post_data), by_reference(&frame),
        by_reference(&flags), by_reference(&url), dispatch()}},
      {"StatusTextChange", DISPID_STATUSTEXTCHANGE, {text(L"Opening page")}},
      {"ProgressChange", DISPID_PROGRESSCHANGE, {number(100), number(50)}},
      {"NavigateComplete2", DISPID_NAVIGATECOMPLETE2, {by_reference(&url), dispatch()}},
      {"TitleChange", DISPID_TITLECHANGE, {text(L"Page")}},
      {"DocumentComplete", DISPID_DOCUMENTCOMPLETE, {by_reference(&url), dispatch()}},
  };
  for (const Event& event : events) {
    SCOPED_TRACE(event.name);
    host_.browser().Fire(event.id, event.arguments);
    EXPECT_EQ(VARIANT_FALSE, cancel);
    EXPECT_EQ(1u, host_.browser().sink_count());
  }

  IDispatch* window = nullptr;
  host_.browser().FireNewWindow2(&window, &cancel);
  EXPECT_NE(nullptr, window) << "the window was let through";
  if (window) window->Release();
}

// A browser window's whole life with the bar in it; afterwards the band holds nothing of the
// browser's and the DLL may be unloaded.
TEST_F(BrowserEventsTest, AWholeWindowLifeLeavesNothingBehind) {
  const ULONG site_references = host_.site().reference_count();
  const ULONG browser_references = host_.browser().reference_count();
  ASSERT_NO_FATAL_FAILURE(StartBand(QuietSettings()));
  for (int i = 0; i < 3; ++i) {
    IDispatch* window = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    host_.browser().FireNewWindow2(&window, &cancel);
    ASSERT_NE(nullptr, window);
    window->Release();
  }
  ASSERT_EQ(S_OK, host_.band()->ShowDW(FALSE));
  host_.Dismiss();

  EXPECT_EQ(0u, host_.browser().sink_count());
  EXPECT_EQ(site_references, host_.site().reference_count());
  EXPECT_EQ(browser_references, host_.browser().reference_count());
  EXPECT_EQ(S_OK, LoadedDllCanUnloadNow());
}

}  // namespace
}  // namespace windlock_test
