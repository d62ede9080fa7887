// The band in its site, driven through its interfaces as the browser drives a vertical Explorer
// Bar: the window it puts into the site's, its band information, showing, focus, its menu, the
// browser's events through the connection point, and letting go.
#include <windows.h>

#include <exdispid.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/ids.h"
#include "support/messages.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

class BandTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }
  // Whatever a test before stored, or a band saved.
  void SetUp() override { StoreSettings(QuietSettings()); }

  IUnknown* BandIdentity() const { return Identity(host_.band()); }

  BandHost host_;
};

// While it has the site the bar is a child of the site's window and listens to the browser;
// SetSite(NULL) lets go of both.
TEST_F(BandTest, SetSitePutsTheBarIntoTheSiteWindowUntilItIsTakenAway) {
  const ULONG site_references = ReferenceCount(host_.site());
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  HWND bar = host_.BarWindow();
  ASSERT_TRUE(IsWindow(bar));
  EXPECT_EQ(host_.frame(), GetAncestor(bar, GA_PARENT));
  const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
  EXPECT_EQ(WS_CHILD | WS_CLIPSIBLINGS, style & (WS_CHILD | WS_CLIPSIBLINGS));
  ComPtr<IUnknown> site;
  EXPECT_EQ(S_OK, host_.As<IObjectWithSite>()->GetSite(IID_IUnknown, site.PutVoid()));
  EXPECT_EQ(Identity(static_cast<IServiceProvider*>(&host_.site())), Identity(site.get()));
  site.Reset();
  EXPECT_EQ(1u, host_.browser().sink_count());

  EXPECT_EQ(S_OK, host_.As<IObjectWithSite>()->SetSite(nullptr));

  EXPECT_EQ(0u, host_.browser().sink_count()) << "unadvised with its own cookie";
  EXPECT_EQ(site_references, ReferenceCount(host_.site())) << "the site is still held";
}

TEST_F(BandTest, RefusesASiteItCannotLiveIn) {
  ASSERT_NO_FATAL_FAILURE(host_.Create());
  const struct {
    const char* name;
    bool gives_window;
    bool gives_browser;
    HRESULT expected;
  } cases[] = {
      {"no window", false, true, E_FAIL},
      // The failure the core raises comes back as the HRESULT the site gave it.
      {"no browser", true, false, E_NOINTERFACE},
  };
  ComPtr<IObjectWithSite> with_site = host_.As<IObjectWithSite>();
  for (const auto& c : cases) {
    ComPtr<FakeSite> site =
        FakeSite::Make(host_.frame(), c.gives_browser ? &host_.browser() : nullptr, c.gives_window);
    EXPECT_EQ(c.expected, with_site->SetSite(static_cast<IServiceProvider*>(site.get()))) << c.name;
    EXPECT_EQ(S_OK, with_site->SetSite(nullptr));
  }
}

// Which members are filled is the core's rule; here the answer crosses into DESKBANDINFO. The
// title buffer holds no terminating zero: the band must write the title, never read it.
TEST_F(BandTest, BandInfoReachesTheBrowsersStructure) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  const std::wstring garbage(std::size(DESKBANDINFO{}.wszTitle), L'#');
  for (DWORD mask : {DWORD{0}, DWORD{DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL |
                                     DBIM_TITLE | DBIM_MODEFLAGS | DBIM_BKCOLOR}}) {
    SCOPED_TRACE(mask ? "everything" : "nothing");
    DESKBANDINFO info = {};
    info.dwMask = mask;
    info.ptMinSize = info.ptMaxSize = info.ptIntegral = info.ptActual = {-7, -7};
    std::copy(garbage.begin(), garbage.end(), info.wszTitle);
    info.dwModeFlags = 0xFFFF;
    info.crBkgnd = RGB(1, 2, 3);

    EXPECT_EQ(S_OK, host_.band()->GetBandInfo(0, DBIF_VIEWMODE_VERTICAL, &info));

    auto text = [](POINTL p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
    EXPECT_EQ(mask ? "350,160 -1,-1 1,1 0,0" : "-7,-7 -7,-7 -7,-7 -7,-7",
              text(info.ptMinSize) + " " + text(info.ptMaxSize) + " " + text(info.ptIntegral) +
                  " " + text(info.ptActual));
    const std::wstring title(info.wszTitle, std::size(info.wszTitle));
    EXPECT_EQ(mask ? std::wstring(L"Larkspan", 9) : garbage, title.substr(0, mask ? 9 : 256));
    EXPECT_EQ(mask ? DWORD{DBIMF_VARIABLEHEIGHT} : DWORD{0xFFFF}, info.dwModeFlags);
    EXPECT_EQ(RGB(1, 2, 3), info.crBkgnd) << "the browser's own colour";
  }
}

TEST_F(BandTest, ShowDWShowsAndHidesTheBar) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  for (BOOL show : {TRUE, FALSE, TRUE, TRUE, FALSE}) {
    EXPECT_EQ(S_OK, host_.band()->ShowDW(show));
    EXPECT_EQ(show != FALSE, (GetWindowLongPtrW(host_.BarWindow(), GWL_STYLE) & WS_VISIBLE) != 0);
  }
}

// The focus reaches the bar window as the window manager gives it (SetFocus), as a bare message,
// or as the browser asks the band for it (UIActivateIO); the band tells its site each way, and
// HasFocusIO follows.
TEST_F(BandTest, FocusChangesAreReportedToTheSite) {
  ASSERT_NO_FATAL_FAILURE(host_.Show());
  HWND bar = host_.BarWindow();
  HWND other = host_.text_box();
  ComPtr<IInputObject> input = host_.As<IInputObject>();
  for (std::string_view way : {"SetFocus", "WM_SETFOCUS and WM_KILLFOCUS", "UIActivateIO"}) {
    SCOPED_TRACE(std::string(way));
    const bool by_message = way.starts_with("WM_");
    // Wine may already have put the focus into the new child window.
    SetFocus(other);
    host_.site().clear_focus_changes();
    for (bool gain : {true, false}) {
      if (by_message) {
        SendMessageW(bar, gain ? WM_SETFOCUS : WM_KILLFOCUS, reinterpret_cast<WPARAM>(other), 0);
      } else if (gain && way == "UIActivateIO") {
        EXPECT_EQ(S_OK, input->UIActivateIO(TRUE, nullptr));
      } else {
        SetFocus(gain ? bar : other);
      }
      if (!by_message) {
        EXPECT_EQ(gain, GetFocus() == bar);
      }
      ASSERT_FALSE(host_.site().focus_changes().empty());
      EXPECT_EQ(BandIdentity(), host_.site().focus_changes().back().object);
      EXPECT_EQ(gain, host_.site().focus_changes().back().has_focus != FALSE);
      EXPECT_EQ(gain ? S_OK : S_FALSE, input->HasFocusIO());
    }
    EXPECT_EQ(2u, host_.site().focus_changes().size());
  }
}

// The largest command identifier in a menu and its submenus.
UINT LargestCommand(HMENU menu) {
  UINT largest = 0;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    HMENU submenu = GetSubMenu(menu, i);
    largest = std::max(largest, submenu ? LargestCommand(submenu) : GetMenuItemID(menu, i));
  }
  return largest;
}

// Which commands and skins the menu holds is the core's rule (tests/unit/bar/band_menu_test.cpp);
// here it is built into a real menu, and answers as the browser expects: one past the largest
// offset used.
TEST_F(BandTest, ContextMenuIsBuiltIntoTheBrowsersMenu) {
  ASSERT_NO_FATAL_FAILURE(host_.CreateAndAttach());
  HMENU menu = CreatePopupMenu();
  ComPtr<IContextMenu> context_menu = host_.As<IContextMenu>();
  const HRESULT added = context_menu->QueryContextMenu(menu, 0, 100, 200, CMF_NORMAL);
  ASSERT_EQ(6, GetMenuItemCount(menu));
  ASSERT_NE(nullptr, GetSubMenu(menu, 1)) << "no Skins submenu";
  EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, LargestCommand(menu) - 100 + 1), added);
  DestroyMenu(menu);

  // A verb given as text names no command; the separator's offset one that does nothing.
  CMINVOKECOMMANDINFO command = {};
  command.cbSize = sizeof(command);
  command.lpVerb = "open";
  EXPECT_EQ(E_INVALIDARG, context_menu->InvokeCommand(&command));
  command.lpVerb = MAKEINTRESOURCEA(4);
  EXPECT_EQ(S_OK, context_menu->InvokeCommand(&command));
}

// Whether a site is trusted is the core's rule; here the decision crosses the connection point:
// a captured window opens in the bar's preview browser, handed back through NewWindow2.
TEST_F(BandTest, NewWindow2HandsBackThePreviewForACapturedWindowOnly) {
  StoredSettings settings = QuietSettings();
  settings.trusted_sites = {L"trust:a.example"};
  StoreSettings(settings);
  ASSERT_NO_FATAL_FAILURE(host_.Show());
  host_.browser().set_location_url(L"http://a.example/page");
  EXPECT_FALSE(host_.OpenPopup()) << "a trusted site's window was captured";

  host_.browser().set_location_url(L"http://b.example/page");
  ComPtr<IDispatch> preview = host_.OpenPopup();
  ASSERT_TRUE(preview) << "the window was let through";
  EXPECT_TRUE(preview.As<IWebBrowser2>());
  EXPECT_NE(Identity(static_cast<IWebBrowser2*>(&host_.browser())), Identity(preview.get()));
}

VARIANTARG Argument(VARTYPE type, void* value = nullptr) {
  VARIANTARG argument;
  VariantInit(&argument);
  argument.vt = type;
  // Every pointer the union holds (a BSTR, an IDispatch*, a reference) shares one place.
  argument.byref = value;
  return argument;
}

// NewWindow2 from a browser that gets its arguments wrong: a window the bar would take but cannot
// be handed is blocked, and without a Cancel to answer through the event fails; nothing opens
// unjudged that the bar could have blocked.
TEST_F(BandTest, MalformedNewWindow2IsBlockedOrFailedNeverOpenedUnjudged) {
  ASSERT_NO_FATAL_FAILURE(host_.Show());
  host_.browser().set_location_url(L"http://b.example/page");
  VARIANT_BOOL cancel = VARIANT_FALSE;
  IDispatch* window = nullptr;
  const struct {
    const char* what;
    VARIANTARG cancel;
    VARIANTARG window;
    HRESULT answer;
    VARIANT_BOOL cancelled;
  } cases[] = {
      {"window not by reference", Argument(VT_BYREF | VT_BOOL, &cancel), Argument(VT_DISPATCH),
       S_OK, VARIANT_TRUE},
      {"no place for the window", Argument(VT_BYREF | VT_BOOL, &cancel),
       Argument(VT_BYREF | VT_DISPATCH), S_OK, VARIANT_TRUE},
      {"Cancel not by reference", Argument(VT_BOOL), Argument(VT_BYREF | VT_DISPATCH, &window),
       DISP_E_TYPEMISMATCH, VARIANT_FALSE},
  };
  for (const auto& c : cases) {
    cancel = VARIANT_FALSE;
    EXPECT_EQ(c.answer, host_.browser().Fire(DISPID_NEWWINDOW2, {c.cancel, c.window})) << c.what;
    EXPECT_EQ(c.cancelled, cancel) << c.what;
    EXPECT_EQ(nullptr, window) << c.what;
  }
}

// The browser raises far more events than NewWindow2, each with its own arguments.
TEST_F(BandTest, OtherEventsOfANavigationLeaveTheDecisionAlone) {
  ASSERT_NO_FATAL_FAILURE(host_.Show());
  BSTR address = SysAllocString(L"http://host.example/page");
  VARIANT url = Argument(VT_BSTR, address);
  VARIANT empty = Argument(VT_EMPTY);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANTARG page = Argument(VT_DISPATCH, static_cast<IWebBrowser2*>(&host_.browser()));
  VARIANTARG by_reference = Argument(VT_BYREF | VT_VARIANT, &url);
  VARIANTARG nothing_by_reference = Argument(VT_BYREF | VT_VARIANT, &empty);
  // Arguments last first, as DISPPARAMS holds them.
  const std::pair<DISPID, std::vector<VARIANTARG>> events[] = {
      {DISPID_BEFORENAVIGATE2,
       {Argument(VT_BYREF | VT_BOOL, &cancel), nothing_by_reference, nothing_by_reference,
        nothing_by_reference, nothing_by_reference, by_reference, page}},
      {DISPID_STATUSTEXTCHANGE, {url}},
      {DISPID_NAVIGATECOMPLETE2, {by_reference, page}},
      {DISPID_TITLECHANGE, {url}},
      {DISPID_DOCUMENTCOMPLETE, {by_reference, page}},
  };
  for (const auto& [id, arguments] : events) {
    host_.browser().Fire(id, arguments);
    EXPECT_EQ(VARIANT_FALSE, cancel) << id;
    EXPECT_EQ(1u, host_.browser().sink_count()) << id;
  }
  SysFreeString(address);
  EXPECT_TRUE(host_.OpenPopup()) << "the window was let through";
}

// When the browser quits, a bar that starts by itself saves the settings into the real registry,
// with whether it was showing, and asks the browser, through ShowBrowserBar's variants, to show
// it in the next window.
TEST_F(BandTest, QuitWithAutoStartSavesTheSettingsAndAsksForTheBarBack) {
  StoredSettings settings = QuietSettings();
  settings.Set(L"AutoStart", DWORD{1}).Set(L"Popup Alert Message", L"Blocked: a pop-up");
  for (BOOL shown : {TRUE, FALSE}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    StoreSettings(settings);
    BandHost host;
    ASSERT_NO_FATAL_FAILURE(host.Show());
    ASSERT_EQ(S_OK, host.band()->ShowDW(shown));
    // Whatever is read back now is what the band wrote.
    DeleteSettings();

    host.browser().Fire(DISPID_ONQUIT);

    EXPECT_EQ(DWORD(shown), ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Visible"));
    EXPECT_EQ(std::wstring(L"Blocked: a pop-up"),
              ReadString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message"));
    ASSERT_FALSE(host.browser().show_browser_bar_calls().empty());
    const ShowBrowserBarCall& call = host.browser().show_browser_bar_calls().back();
    EXPECT_EQ(VT_BSTR, call.clsid_type);
    EXPECT_EQ(std::wstring(kBandClsidText), call.clsid);
    EXPECT_EQ(VT_BOOL, call.show_type);
    EXPECT_EQ(VARIANT_TRUE, call.show);
    EXPECT_FALSE(call.size_given);
  }
}

// A browser window's whole life with the bar in it, let go as the browser does (CloseDW takes the
// bar window), without CloseDW, or by the last Release alone on another thread (the bar then goes
// on its own thread): afterwards the band holds nothing of the browser's and the DLL may be
// unloaded.
TEST_F(BandTest, LettingGoLeavesNothingBehind) {
  for (std::string_view way :
       {"CloseDW, SetSite(NULL), Release", "SetSite(NULL), Release", "Release on another thread"}) {
    SCOPED_TRACE(std::string(way));
    const bool close_first = way.starts_with("CloseDW");
    BandHost host;
    const ULONG site_references = ReferenceCount(host.site());
    const ULONG browser_references = ReferenceCount(host.browser());
    ASSERT_NO_FATAL_FAILURE(host.Show());
    HWND bar = host.BarWindow();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(host.OpenPopup());
    if (close_first) {
      EXPECT_EQ(S_OK, host.band()->CloseDW(0));
      EXPECT_FALSE(IsWindow(bar));
      host.Dismiss();
    } else if (way.starts_with("SetSite")) {
      ASSERT_EQ(S_OK, host.As<IObjectWithSite>()->SetSite(nullptr));
      host.ReleaseBand();
    } else {
      std::thread([band = host.TakeBand()] { band->Release(); }).join();
      EXPECT_EQ(S_FALSE, LoadedDllCanUnloadNow()) << "gone before its thread knew";
      PumpUntil([&] { return !IsWindow(bar); }, 2000);
    }
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_EQ(0u, host.browser().sink_count());
    EXPECT_EQ(site_references, ReferenceCount(host.site()));
    EXPECT_EQ(browser_references, ReferenceCount(host.browser()));
    EXPECT_EQ(S_OK, LoadedDllCanUnloadNow());
  }
}

// A copy of the DLL loaded by hand, used and unloaded again, as a browser that loads it anew
// would: the window classes it registered go with it.
TEST_F(BandTest, AnUnloadedCopyLeavesNoWindowClassOfItsOwn) {
  const std::filesystem::path copy = std::filesystem::temp_directory_path() / L"WindlockCopy.dll";
  std::filesystem::copy_file(DllPath(), copy, std::filesystem::copy_options::overwrite_existing);
  HMODULE module = LoadLibraryW(copy.c_str());
  ASSERT_NE(nullptr, module);
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get_class_object = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, get_class_object(kBandClsid, IID_IClassFactory, factory.PutVoid()));
  {
    BandHost host;
    ASSERT_NO_FATAL_FAILURE(host.Show(factory.get()));
  }
  factory.Reset();
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetClassInfoExW(module, L"WindlockForm", &info)) << "the test names no class of its";
  ASSERT_TRUE(FreeLibrary(module));
  ASSERT_EQ(nullptr, GetModuleHandleW(copy.c_str())) << "the copy is still loaded";

  for (const wchar_t* name : {L"WindlockForm", L"WindlockFrame", L"WindlockThread"}) {
    EXPECT_FALSE(GetClassInfoExW(module, name, &info)) << Narrow(name);
  }
  std::filesystem::remove(copy);
}

}  // namespace
}  // namespace windlock_test
