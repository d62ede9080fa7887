// The two ways between the core and a page's script through IDispatch: window.external, whose
// script arguments become the core's values and whose errors reach the script as automation
// errors; and a page's function called by name, whose errors come back as the core's. Then the
// real bar's skin pane hands its pages window.external: the object the WebBrowser control gets
// from the pane's site reaches the bar where Windows takes part (the MSXML mirror of the list,
// the pop-up menu, MSXML documents and the skin's data file), and fails cleanly once the bar is
// gone. What each method does is the bar's own rule, checked in
// tests/unit/bar/script_bridge_test.cpp and tests/scenarios/script_bridge.scn. Wine has no HTML
// engine here, so the page's script object is a fake, and the tests call window.external as a
// page's script would.
#include <windows.h>

#include <mshtmhst.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "backends/win32/browser/script_call.h"
#include "backends/win32/browser/script_dispatch.h"
#include "backends/win32/browser/script_values.h"
#include "backends/win32/browser/win32_xml.h"
#include "backends/win32/com/com_object.h"
#include "backends/win32/com/variant_conversion.h"
#include "backends/win32/view/common_controls.h"
#include "backends/win32/win32_skin_browser.h"
#include "common/error.h"
#include "platform/script_external.h"
#include "server/thread_context.h"
#include "settings/settings_store.h"
#include "support/dialogs.h"
#include "support/dll_under_test.h"
#include "support/error_of.h"
#include "support/identity.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

using windlock::Error;
using windlock::Variant;
using windlock::win32::ComPtr;
using windlock::win32::OwnedVariant;
using windlock::win32::ScriptDispatch;

DISPID IdOf(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
  return id;
}

template <class Fill>
OwnedVariant Make(VARTYPE type, Fill fill) {
  OwnedVariant value;
  value.get()->vt = type;
  fill(*value.get());
  return value;
}

OwnedVariant Reference(VARIANT& target) {
  return Make(VT_BYREF | VT_VARIANT, [&](VARIANT& v) { v.pvarVal = &target; });
}

OwnedVariant Dispatch(IDispatch* object) {
  return Make(VT_DISPATCH, [&](VARIANT& v) {
    v.pdispVal = object;
    object->AddRef();
  });
}

// window.external's core side: records each call and answers as the test says.
class FakeExternal : public windlock::ScriptExternal {
 public:
  Variant Invoke(const std::string& method, std::vector<Variant>& args) override {
    methods.push_back(method);
    received.push_back(args);
    return answer(args);
  }

  std::function<Variant(std::vector<Variant>&)> answer = [](std::vector<Variant>&) {
    return Variant();
  };
  std::vector<std::string> methods;
  std::vector<std::vector<Variant>> received;
};

class ScriptDispatchTest : public testing::Test {
 protected:
  // Calls `name` as a script does, with `args` first to last.
  HRESULT Call(const wchar_t* name, const std::vector<VARIANT*>& args, VARIANT* result = nullptr,
               EXCEPINFO* exception = nullptr, UINT* argument_error = nullptr) {
    std::vector<VARIANT> last_first;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) last_first.push_back(**arg);
    DISPPARAMS params{last_first.data(), nullptr, static_cast<UINT>(last_first.size()), 0};
    return dispatch_->Invoke(IdOf(dispatch_.get(), name), IID_NULL, LOCALE_USER_DEFAULT,
                             DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, result, exception,
                             argument_error);
  }

  FakeExternal external_;
  ComPtr<ScriptDispatch> dispatch_ = ScriptDispatch::Make(external_);
};

TEST_F(ScriptDispatchTest, ArgumentsArriveConvertedInOrder) {
  OwnedVariant referenced{Variant(5)};
  struct Case {
    const char* what;
    OwnedVariant sent;
    Variant arrives;
  } cases[] = {
      {"empty", Make(VT_EMPTY, [](VARIANT&) {}), Variant()},
      {"null", Make(VT_NULL, [](VARIANT&) {}), Variant()},
      {"missing", Make(VT_ERROR, [](VARIANT& v) { v.scode = DISP_E_PARAMNOTFOUND; }), Variant()},
      {"short", Make(VT_I2, [](VARIANT& v) { v.iVal = -7; }), Variant(-7)},
      {"byte", Make(VT_UI1, [](VARIANT& v) { v.bVal = 200; }), Variant(200)},
      {"true", Make(VT_BOOL, [](VARIANT& v) { v.boolVal = VARIANT_TRUE; }), Variant(-1)},
      {"whole real", Make(VT_R8, [](VARIANT& v) { v.dblVal = 3.0; }), Variant(3)},
      {"text", Make(VT_BSTR, [](VARIANT& v) { v.bstrVal = SysAllocString(L"h\u00e9!"); }),
       Variant("h\xc3\xa9!")},
      {"bytes", OwnedVariant(Variant(Variant::Bytes{1, 0, 255})),
       Variant(Variant::Bytes{1, 0, 255})},
      {"by reference", Reference(*referenced.get()), Variant(5)},
  };
  std::vector<VARIANT*> args;
  for (Case& c : cases) args.push_back(c.sent.get());

  ASSERT_EQ(S_OK, Call(L"ListItemSELECT", args));

  ASSERT_EQ(1u, external_.received.size());
  EXPECT_EQ("listitemselect", external_.methods[0]) << "named in the core's letter case";
  ASSERT_EQ(std::size(cases), external_.received[0].size());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].arrives, external_.received[0][i]) << cases[i].what;
  }
}

TEST_F(ScriptDispatchTest, ArgumentWithoutCounterpartIsATypeMismatch) {
  struct Case {
    const char* what;
    OwnedVariant sent;
  } cases[] = {
      {"fraction", Make(VT_R8, [](VARIANT& v) { v.dblVal = 1.5; })},
      {"currency", Make(VT_CY, [](VARIANT& v) { v.cyVal.int64 = 10000; })},
      {"object not MSXML's", Dispatch(dispatch_.get())},
  };
  for (Case& c : cases) {
    OwnedVariant fine{Variant(1)};
    UINT argument_error = 99;
    EXPECT_EQ(DISP_E_TYPEMISMATCH,
              Call(L"ShowHelp", {c.sent.get(), fine.get()}, nullptr, nullptr, &argument_error))
        << c.what;
    // Its index in DISPPARAMS, which holds the arguments last first.
    EXPECT_EQ(1u, argument_error) << c.what;
  }
  EXPECT_TRUE(external_.received.empty());
}

// Only what the core changed is written back, into the variable's own type where it has one.
TEST_F(ScriptDispatchTest, ChangedByReferenceArgumentsAreWrittenBack) {
  external_.answer = [](std::vector<Variant>& args) {
    args[0] = "two";
    args[2] = 4;
    return Variant();
  };
  OwnedVariant changed;
  OwnedVariant untouched = Make(VT_R8, [](VARIANT& v) { v.dblVal = 2.0; });
  LONG typed = 0;
  OwnedVariant changed_ref = Reference(*changed.get());
  OwnedVariant untouched_ref = Reference(*untouched.get());
  OwnedVariant typed_ref = Make(VT_BYREF | VT_I4, [&](VARIANT& v) { v.plVal = &typed; });

  ASSERT_EQ(S_OK, Call(L"GetVersion", {changed_ref.get(), untouched_ref.get(), typed_ref.get()}));

  ASSERT_EQ(VT_BSTR, changed.get()->vt);
  EXPECT_STREQ(L"two", changed.get()->bstrVal);
  EXPECT_EQ(VT_R8, untouched.get()->vt);
  EXPECT_EQ(4, typed);
}

// A positive number is an automation error (the control facility); a negative one an HRESULT.
TEST_F(ScriptDispatchTest, CoreErrorsReachTheScriptWithTheirDescription) {
  const struct {
    Error error;
    HRESULT scode;
  } cases[] = {
      {Error(438, "Object doesn't support this property or method"),
       static_cast<HRESULT>(0x800A01B6)},
      {Error(static_cast<int32_t>(E_ACCESSDENIED), "Access is denied."), E_ACCESSDENIED},
  };
  for (const auto& c : cases) {
    external_.answer = [&](std::vector<Variant>&) -> Variant { throw c.error; };
    EXCEPINFO exception{};
    EXPECT_EQ(DISP_E_EXCEPTION, Call(L"NoSuchMethod", {}, nullptr, &exception));
    EXPECT_EQ(0, exception.wCode);
    EXPECT_EQ(c.scode, exception.scode);
    EXPECT_EQ(c.error.description(), Narrow(exception.bstrDescription));
    EXPECT_STREQ(L"Windlock", exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
  }
}

// What a hostile page may send gets an error, never a call, a crash, a hang or a table that grows
// without end.
TEST_F(ScriptDispatchTest, HostileCallsAreRefused) {
  const DISPID known = IdOf(dispatch_.get(), L"SafeShutdown");
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            dispatch_->Invoke(known, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                              nullptr, nullptr, nullptr))
      << "a property read runs the method";
  DISPPARAMS missing_arguments{nullptr, nullptr, 2, 0};
  EXPECT_EQ(E_POINTER, dispatch_->Invoke(known, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                         &missing_arguments, nullptr, nullptr, nullptr));
  VARIANT self{};
  self.vt = VT_BYREF | VT_VARIANT;
  self.pvarVal = &self;
  EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(L"SafeShutdown", {&self}));
  EXPECT_TRUE(external_.received.empty());

  LPOLESTR no_name[] = {nullptr};
  DISPID id = 0;
  EXPECT_EQ(DISP_E_UNKNOWNNAME,
            dispatch_->GetIDsOfNames(IID_NULL, no_name, 1, LOCALE_USER_DEFAULT, &id));
  HRESULT made_up = S_OK;
  for (int n = 0; n < 5000 && made_up == S_OK; ++n) {
    std::wstring name = L"madeUp" + std::to_wstring(n);
    LPOLESTR names[] = {name.data()};
    made_up = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  }
  EXPECT_EQ(DISP_E_UNKNOWNNAME, made_up) << "the name table has no end";
  EXPECT_EQ(known, IdOf(dispatch_.get(), L"safeshutdown")) << "names known before stay known";
}

TEST_F(ScriptDispatchTest, MsxmlDocumentsAndNodesPassThrough) {
  windlock::win32::Win32XmlDocument document;
  document.AppendRootElement("list");
  document.AppendToRoot("a");
  ComPtr<IXMLDOMElement> root;
  ASSERT_EQ(S_OK, document.get()->get_documentElement(root.Put()));
  OwnedVariant sent_document = Dispatch(document.get());
  OwnedVariant sent_node = Dispatch(root.get());
  external_.answer = [&](std::vector<Variant>& args) {
    args[1].node()->AppendCopyOfRoot(*args[0].document());
    return args[0];
  };
  OwnedVariant result;

  ASSERT_EQ(S_OK, Call(L"SaveXMLDATA", {sent_document.get(), sent_node.get()}, result.get()));

  EXPECT_EQ(2u, document.RootChildren().size());
  ASSERT_EQ(VT_DISPATCH, result.get()->vt);
  EXPECT_EQ(Identity(document.get()), Identity(result.get()->pdispVal));
}

// A page's script object: has the functions the test names, records each call and answers as
// the test says.
class FakeScript : public windlock::win32::ComObject<FakeScript, IDispatch> {
 public:
  struct Call {
    DISPID id = DISPID_UNKNOWN;
    WORD flags = 0;
    UINT named = 0;
    std::vector<Variant> last_first;
  };
  using Answer = std::function<HRESULT(VARIANT& result, EXCEPINFO& exception)>;

  std::vector<std::wstring> functions = {L"OnUpdateList", L"moveTo"};
  Answer answer = [](VARIANT&, EXCEPINFO&) { return S_OK; };
  std::vector<Call> calls;

  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                             DISPID* ids) noexcept override {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    for (std::size_t i = 0; i < functions.size(); ++i) {
      if (count == 1 && functions[i] == names[0]) {
        ids[0] = static_cast<DISPID>(i) + 100;
        return S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT*) noexcept override {
    Call call{id, flags, params->cNamedArgs, {}};
    for (UINT i = 0; i < params->cArgs; ++i) {
      call.last_first.push_back(windlock::win32::FromVariant(params->rgvarg[i]));
    }
    calls.push_back(std::move(call));
    return answer(*result, *exception);
  }

 protected:
  ~FakeScript() override = default;
};

class CallByNameTest : public testing::Test {
 protected:
  Variant Call(const std::string& name, const std::vector<Variant>& args = {}) {
    return windlock::win32::CallByName(*script_.get(), name, args);
  }

  ComPtr<FakeScript> script_ = FakeScript::Make();
};

TEST_F(CallByNameTest, ArgumentsArriveLastFirstAsAMethodCallAndTheResultComesBack) {
  script_->answer = [](VARIANT& result, EXCEPINFO&) {
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocString(L"d\u00e9j\u00e0");
    return S_OK;
  };
  EXPECT_EQ(Variant("d\xc3\xa9j\xc3\xa0"), Call("moveTo", {0, "two", Variant(), 400}));
  Call("OnUpdateList");

  ASSERT_EQ(2u, script_->calls.size());
  EXPECT_EQ(101, script_->calls[0].id);
  EXPECT_EQ(DISPATCH_METHOD, script_->calls[0].flags);
  EXPECT_EQ(0u, script_->calls[0].named);
  EXPECT_EQ((std::vector<Variant>{400, Variant(), "two", 0}), script_->calls[0].last_first);
  EXPECT_TRUE(script_->calls[1].last_first.empty());
}

TEST_F(CallByNameTest, FunctionThePageLacksIsNoSuchMethod) {
  std::optional<Error> unknown = ErrorOf([&] { Call("onupdatelist"); });
  ASSERT_TRUE(unknown) << "names are matched as the script writes them";
  EXPECT_EQ(438, unknown->number());
  EXPECT_EQ("Object doesn't support this property or method", unknown->description());
  EXPECT_TRUE(script_->calls.empty());

  script_->answer = [](VARIANT&, EXCEPINFO&) { return DISP_E_MEMBERNOTFOUND; };
  std::optional<Error> not_callable = ErrorOf([&] { Call("OnUpdateList"); });
  ASSERT_TRUE(not_callable);
  EXPECT_EQ(438, not_callable->number());
}

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* exception) {
  exception->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5009);
  exception->bstrDescription = SysAllocString(L"'list' is undefined");
  return S_OK;
}

// The forms a script engine's error takes in EXCEPINFO, and a call that fails outright. Without a
// description any text will do, as long as there is one.
TEST_F(CallByNameTest, ScriptErrorsKeepTheirNumberAndDescription) {
  const struct {
    const char* what;
    HRESULT returned;
    SCODE scode;
    WORD code;
    const wchar_t* description;
    bool deferred;
    int32_t number;
  } cases[] = {
      {"automation error", DISP_E_EXCEPTION, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13), 0,
       L"Type mismatch", false, 13},
      {"failure code", DISP_E_EXCEPTION, E_ACCESSDENIED, 0, L"Permission denied", false,
       E_ACCESSDENIED},
      {"the callee's own code", DISP_E_EXCEPTION, 0, 1001, L"Not now", false, 1001},
      {"filled in on demand", DISP_E_EXCEPTION, 0, 0, L"'list' is undefined", true, 5009},
      {"nothing said", DISP_E_EXCEPTION, 0, 0, nullptr, false, DISP_E_EXCEPTION},
      {"failed call", DISP_E_TYPEMISMATCH, 0, 0, nullptr, false, DISP_E_TYPEMISMATCH},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    script_->answer = [&](VARIANT&, EXCEPINFO& e) {
      e.scode = c.scode;
      e.wCode = c.code;
      if (c.deferred) {
        e.pfnDeferredFillIn = FillInLater;
      } else if (c.description) {
        e.bstrDescription = SysAllocString(c.description);
      }
      return c.returned;
    };
    std::optional<Error> error = ErrorOf([&] { Call("OnUpdateList"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(c.number, error->number());
    EXPECT_FALSE(error->description().empty());
    if (c.description) {
      EXPECT_EQ(Narrow(c.description), error->description());
    }
  }
}

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

// Calls `name` as a script passes its variables, each by reference, and answers what the script
// sees: the result and the arguments after the call, or the failure.
std::string CallByReference(IDispatch* external, const wchar_t* name,
                            const std::vector<Variant>& args) {
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
    EXPECT_EQ(c.answer, CallByReference(bar.external.get(), c.name, c.args) + closer.opened);
    EXPECT_EQ(c.data_file, FileText(DataFile()));
  }
}

TEST_F(SkinExternalTest, KeptAfterTheBarIsUnloadedItFailsInsteadOfCalling) {
  Bar bar;
  bar.context.apartment().UnloadBarForm();
  const std::string not_connected = "hresult " + std::to_string(CO_E_OBJNOTCONNECTED);
  for (const wchar_t* name : {L"ListItemRemove", L"GetVersion", L"ShowOptions"}) {
    EXPECT_EQ(not_connected, CallByReference(bar.external.get(), name, {})) << Narrow(name);
  }
}

// What a hostile page may hand window.external as one argument (valid VARIANTs only: a script
// engine makes no other), held in `kept` until the call is over.
VARIANT* RandomArgument(std::mt19937& random, IDispatch* external, std::deque<OwnedVariant>& kept,
                        int depth = 0) {
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  VARIANT value;
  VariantInit(&value);
  switch (pick(depth < 3 ? 12 : 8)) {
    case 0:
      value.vt = static_cast<VARTYPE>(pick(2) ? VT_EMPTY : VT_NULL);
      break;
    case 1:
    case 2: {
      // Any bits: reals include NaN and the infinities.
      const VARTYPE numbers[] = {VT_I4, VT_R8,  VT_I2,  VT_BOOL, VT_CY,  VT_DATE,
                                 VT_I8, VT_UI8, VT_UI4, VT_UI1,  VT_INT, VT_R4};
      value.vt = numbers[pick(12)];
      value.llVal = static_cast<LONGLONG>((uint64_t{random()} << 32) | random());
      break;
    }
    case 3: {
      std::wstring text(static_cast<std::size_t>(pick(4) == 0 ? 70000 : pick(20)), L'x');
      value.vt = VT_BSTR;
      value.bstrVal =
          pick(5) ? SysAllocStringLen(text.data(), static_cast<UINT>(text.size())) : nullptr;
      break;
    }
    case 4:
      value.vt = VT_ERROR;
      value.scode = pick(2) ? DISP_E_PARAMNOTFOUND : E_FAIL;
      break;
    case 5:
      value.vt = static_cast<VARTYPE>(pick(2) ? VT_DISPATCH : VT_UNKNOWN);
      value.pdispVal = pick(2) ? external : nullptr;
      if (value.pdispVal) value.pdispVal->AddRef();
      break;
    case 6: {
      std::shared_ptr<windlock::XmlDocument> document =
          std::make_shared<windlock::win32::Win32XmlDocument>();
      return kept.emplace_back(windlock::win32::ScriptValue(Variant(document))).get();
    }
    case 7: {
      const VARTYPE element = pick(2) ? VT_UI1 : VT_VARIANT;
      value.vt = VT_ARRAY | element;
      value.parray = SafeArrayCreateVector(element, 0, static_cast<ULONG>(pick(5)));
      break;
    }
    case 8:
    case 9: {
      value.vt = VT_BYREF | VT_VARIANT;
      value.pvarVal = RandomArgument(random, external, kept, depth + 1);
      break;
    }
    case 10: {
      // A reference to itself.
      OwnedVariant& self = kept.emplace_back();
      self.get()->vt = VT_BYREF | VT_VARIANT;
      self.get()->pvarVal = self.get();
      return self.get();
    }
    default: {
      OwnedVariant& target = kept.emplace_back();
      target.get()->vt = VT_BSTR;
      target.get()->bstrVal = SysAllocString(L"by reference");
      value.vt = VT_BYREF | VT_BSTR;
      value.pbstrVal = &target.get()->bstrVal;
      break;
    }
  }
  OwnedVariant& owner = kept.emplace_back();
  *owner.get() = value;
  return owner.get();
}

// Seeded random calls of window.external on the real bar, as a hostile page makes them: known
// and made-up names, any flags, counts and types. Each answers S_OK or an automation error.
// WINDLOCK_FUZZ_SEED and WINDLOCK_FUZZ_CALLS choose another run.
TEST_F(SkinExternalTest, RandomCallsGetAnAnswerNeverACrash) {
  const char* seed_text = std::getenv("WINDLOCK_FUZZ_SEED");
  const char* calls_text = std::getenv("WINDLOCK_FUZZ_CALLS");
  const unsigned seed = seed_text ? static_cast<unsigned>(std::strtoul(seed_text, nullptr, 10)) : 1;
  const long calls = calls_text ? std::strtol(calls_text, nullptr, 10) : 3000;
  SCOPED_TRACE("WINDLOCK_FUZZ_SEED=" + std::to_string(seed));
  std::mt19937 random(seed);
  std::wistringstream words(
      L"defaultLKCaptureListLarkspanUpdate ListItemSelect ListItemUnSelect ListItemPreview "
      L"ListItemRemove ListItemHere ListItemNew getXMLList LoadXMLDATA SaveXMLDATA GetVersion "
      L"ShowOptions madeUp");
  const std::vector<std::wstring> names{std::istream_iterator<std::wstring, wchar_t>(words), {}};
  const WORD flags[] = {DISPATCH_METHOD, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                        DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT, 0};
  // The bar reports a failed call in a message box, as it does for a page's own failures.
  DialogAnswers answers([](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
  Bar bar;
  for (long call = 0; call < calls; ++call) {
    std::deque<OwnedVariant> kept;
    std::vector<VARIANT> args(random() % 5);
    for (VARIANT& arg : args) arg = *RandomArgument(random, bar.external.get(), kept);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{args.data(), random() % 4 == 0 ? &named : nullptr,
                      static_cast<UINT>(args.size()), 0};
    if (params.rgdispidNamedArgs) params.cNamedArgs = 1;
    const DISPID id = random() % 8 == 0
                          ? static_cast<DISPID>(random())
                          : IdOf(bar.external.get(), names[random() % names.size()].c_str());
    OwnedVariant result;
    EXCEPINFO exception{};
    UINT argument_error = 0;
    const HRESULT answer =
        bar.external->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags[random() % 5], &params,
                             result.get(), &exception, &argument_error);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    ASSERT_TRUE(answer == S_OK || HRESULT_FACILITY(answer) == FACILITY_DISPATCH)
        << "call " << call << " answered " << std::hex << answer;
  }
}

}  // namespace
}  // namespace windlock_test
