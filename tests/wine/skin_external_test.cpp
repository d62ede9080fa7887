// The real bar's skin pane hands its pages window.external: the object the WebBrowser control gets
// from the pane's site reaches the bar through IDispatch where Windows takes part (the MSXML
// mirror of the list, the pop-up menu, MSXML documents and the skin's data file), and fails
// cleanly once the bar is gone. What each method does is the bar's own rule, checked in
// tests/unit/bar/script_bridge_test.cpp and tests/scenarios/script_bridge.scn. Wine has no HTML
// engine, so the test calls it as a page's script would.
#include <windows.h>

#include <mshtmhst.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32/common_controls.h"
#include "platform/win32/script_values.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_xml.h"
#include "server/thread_context.h"
#include "settings/settings_store.h"
#include "support/dll_under_test.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

using windlock::Variant;
using windlock::win32::ComPtr;
using windlock::win32::OwnedVariant;

constexpr char kFirst[] = "http://one.example/";
constexpr char kSecond[] = "http://two.example/";
constexpr wchar_t kSkin[] = L"SkinExternalTest";
constexpr char kData[] = "<data><item>kept</item></data>";

// The skin's data file, in a skin folder beside this program (the bar's program folder here).
std::filesystem::path DataFile() {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path() / L"Skins" / kSkin /
         (std::wstring(kSkin) + L".xml");
}

std::string Trimmed(std::string text) {
  text.erase(text.find_last_not_of("\r\n") + 1);
  return text;
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream file(path);
  return Trimmed({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
}

std::string XmlOf(IDispatch* object) {
  ComPtr<IXMLDOMNode> node = ComPtr<IDispatch>::Share(object).As<IXMLDOMNode>();
  BSTR xml = nullptr;
  if (node) node->get_xml(&xml);
  std::string text = xml ? Narrow(xml) : "not XML";
  SysFreeString(xml);
  // Wine's MSXML indents what Windows' writes on one line.
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\t'; });
  return text;
}

// What a script sees of a value.
std::string Describe(const VARIANT& value) {
  switch (value.vt) {
    case VT_EMPTY:
      return "empty";
    case VT_I4:
      return std::to_string(value.lVal);
    case VT_BSTR:
      return Narrow(value.bstrVal);
    case VT_DISPATCH:
      return XmlOf(value.pdispVal);
  }
  return "type " + std::to_string(value.vt);
}

// The browser the bar belongs to.
class HostingBrowser : public windlock::Browser {
 public:
  std::string LocationURL() override { return "http://host.example/"; }
  void Navigate2(const windlock::NavigateRequest&) override {}
  void Stop() override {}
  void Quit() override {}
  void ShowBrowserBar(const std::string&, bool) override {}
  windlock::HtmlDocument* Document() override { return nullptr; }
  void Advise(windlock::BrowserEvents*) override {}
  void Unadvise(windlock::BrowserEvents*) override {}
};

// Notes the menus (by their items) that open on this thread and ends them, from a timer that
// first runs inside the menu's loop.
class MenuCloser {
 public:
  MenuCloser() { opened_ = &opened; }
  ~MenuCloser() {
    KillTimer(nullptr, timer_);
    opened_ = nullptr;
  }

  std::string opened;

 private:
  static void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowW(L"#32768", nullptr);
    if (!window || !IsWindowVisible(window)) return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    *opened_ += "; menu:";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      *opened_ += " " + Narrow(text);
    }
    ::EndMenu();
  }

  static inline std::string* opened_ = nullptr;
  UINT_PTR timer_ = SetTimer(nullptr, 0, 20, EndMenuTimer);
};

// The bar as a band makes it under quiet settings and the test's skin, bound to a hosting browser,
// with two captured pop-ups of which the first is selected; `external` is what its skin pane's
// site hands a page.
struct Bar {
  static windlock::BarForm& Load(windlock::Apartment& apartment) {
    windlock::LoadSettings(apartment.module().settings, apartment.platform());
    return apartment.LoadBarForm();
  }

  Bar() {
    form.SetCurrentIE(&hosting);
    for (const char* url : {kFirst, kSecond}) {
      form.flags().CapturePending = true;
      form.captured().PreviewNavigating(windlock::NavigateRequest::To(url));
    }
    form.URLList().SetSelected(0, true);
    form.captured().UpdateCapturedList(0);
    std::ofstream(DataFile()) << kData;
    auto& skin = dynamic_cast<windlock::win32::Win32SkinBrowser&>(form.webImages());
    ComPtr<IDocHostUIHandler> handler =
        ComPtr<IUnknown>::Share(skin.pane().host().site()).As<IDocHostUIHandler>();
    EXPECT_EQ(S_OK, handler->GetExternal(external.Put()));
  }

  HostingBrowser hosting;
  windlock::server::ThreadContext::Reference context;
  windlock::BarForm& form = Load(context.apartment());
  ComPtr<IDispatch> external;
};

DISPID IdOf(IDispatch* external, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  EXPECT_EQ(S_OK, external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
  return id;
}

// Calls `name` as a script passes its variables, each by reference, and answers what the script
// sees: the result and the arguments after the call, or the failure.
std::string Call(IDispatch* external, const wchar_t* name, const std::vector<Variant>& args) {
  std::vector<OwnedVariant> values;
  for (const Variant& arg : args) values.push_back(windlock::win32::ScriptValue(arg));
  std::vector<VARIANT> references(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    // DISPPARAMS holds the arguments last first.
    references[args.size() - 1 - i].vt = VT_BYREF | VT_VARIANT;
    references[args.size() - 1 - i].pvarVal = values[i].get();
  }
  DISPPARAMS params{references.data(), nullptr, static_cast<UINT>(references.size()), 0};
  OwnedVariant result;
  EXCEPINFO exception{};
  const HRESULT code =
      external->Invoke(IdOf(external, name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                       &params, result.get(), &exception, nullptr);
  std::string answer = Describe(*result.get());
  if (!values.empty()) {
    std::string after;
    for (OwnedVariant& value : values)
      after += (after.empty() ? "" : ", ") + Describe(*value.get());
    answer += " (" + after + ")";
  }
  if (code != S_OK) answer = "hresult " + std::to_string(code);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrHelpFile);
  return answer;
}

std::shared_ptr<windlock::XmlDocument> Document(const std::string& root) {
  auto document = std::make_shared<windlock::win32::Win32XmlDocument>();
  if (!root.empty()) document->AppendRootElement(root);
  return document;
}

class SkinExternalTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    windlock::win32::InitCommonControlsOnce();
    std::filesystem::create_directories(DataFile().parent_path());
    StoreSettings(QuietSettings().Set(L"DefaultSkin", kSkin));
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(DataFile().parent_path());
    // The Skins folder too, unless something else is in it.
    std::error_code not_empty;
    std::filesystem::remove(DataFile().parent_path().parent_path(), not_empty);
  }
};

// The list as the bar's MSXML mirror holds it, the pop-up menu, and the skin's data file read into
// and written from the script's MSXML document.
TEST_F(SkinExternalTest, MethodsReachTheBarThroughWindowsParts) {
  struct Case {
    const wchar_t* name;
    std::vector<Variant> args;
    std::string answer;
    std::string data_file;
  } cases[] = {
      {L"ShowContextMenu",
       {},
       "0; menu: www.larkspan.com Skins &Options &Help &About Check For Updates",
       kData},
      {L"getXMLList",
       {},
       "<URLS><URL URLName=\"http://one.example/\" URLLocation=\"http://one.example/\" "
       "selected=\"true\" visible=\"true\"/><URL URLName=\"http://two.example/\" "
       "URLLocation=\"http://two.example/\" selected=\"false\" visible=\"true\"/></URLS>",
       kData},
      {L"LoadXMLDATA", {Document("")}, "-1 (" + std::string(kData) + ")", kData},
      {L"SaveXMLDATA", {Document("saved")}, "-1 (<saved/>)", "<saved/>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    Bar bar;
    MenuCloser closer;
    EXPECT_EQ(c.answer, Call(bar.external.get(), c.name, c.args) + closer.opened);
    EXPECT_EQ(c.data_file, FileText(DataFile()));
  }
}

TEST_F(SkinExternalTest, KeptAfterTheBarIsUnloadedItFailsInsteadOfCalling) {
  Bar bar;
  bar.context.apartment().UnloadBarForm();
  const std::string not_connected = "hresult " + std::to_string(CO_E_OBJNOTCONNECTED);
  for (const wchar_t* name : {L"ListItemRemove", L"GetVersion", L"ShowOptions"}) {
    EXPECT_EQ(not_connected, Call(bar.external.get(), name, {})) << Narrow(name);
  }
}

}  // namespace
}  // namespace windlock_test
