// window.external for the skin's pages: names in any letter case, script arguments converted to
// the core's values in order, by-reference arguments written back, the core's errors raised in
// the script, MSXML documents and nodes handed through, and no call after the bar lets go.
#include <windows.h>

#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/error.h"
#include "platform/script_external.h"
#include "platform/win32/script_dispatch.h"
#include "platform/win32/variant_conversion.h"
#include "platform/win32/win32_xml.h"
#include "support/dll_under_test.h"

namespace windlock_test {
namespace {

using windlock::Variant;
using windlock::win32::ComPtr;
using windlock::win32::OwnedVariant;
using windlock::win32::ScriptDispatch;

// Records each call and answers as the test says.
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

class ScriptDispatchTest : public testing::Test {
 protected:
  DISPID IdOf(const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    return id;
  }

  // Calls `name` as a script does, with `args` first to last.
  HRESULT Call(const wchar_t* name, const std::vector<VARIANT*>& args, VARIANT* result = nullptr,
               EXCEPINFO* exception = nullptr, UINT* argument_error = nullptr) {
    std::vector<VARIANT> last_first;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) last_first.push_back(**arg);
    DISPPARAMS params{last_first.data(), nullptr, static_cast<UINT>(last_first.size()), 0};
    return dispatch_->Invoke(IdOf(name), IID_NULL, LOCALE_USER_DEFAULT,
                             DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params, result, exception,
                             argument_error);
  }

  FakeExternal external_;
  ComPtr<ScriptDispatch> dispatch_ = ScriptDispatch::Make(external_);
};

TEST_F(ScriptDispatchTest, NamesInAnyLetterCaseShareOneId) {
  const DISPID id = IdOf(L"LoadXMLDATA");
  for (const wchar_t* name : {L"loadxmldata", L"LOADXMLDATA", L"LoadXmlData"}) {
    EXPECT_EQ(id, IdOf(name)) << Narrow(name);
  }
  EXPECT_NE(id, IdOf(L"SaveXMLDATA"));

  LPOLESTR names[] = {const_cast<LPOLESTR>(L"GetVersion"), const_cast<LPOLESTR>(L"major")};
  DISPID ids[2] = {};
  EXPECT_EQ(DISP_E_UNKNOWNNAME,
            dispatch_->GetIDsOfNames(IID_NULL, names, 2, LOCALE_USER_DEFAULT, ids));
  EXPECT_EQ(IdOf(L"getversion"), ids[0]);
  EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

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

  ASSERT_EQ(S_OK, Call(L"listitemselect", args));

  ASSERT_EQ(1u, external_.received.size());
  EXPECT_EQ("listitemselect", external_.methods[0]);
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
      {"object not MSXML's", Make(VT_DISPATCH,
                                  [&](VARIANT& v) {
                                    v.pdispVal = dispatch_.get();
                                    dispatch_->AddRef();
                                  })},
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

TEST_F(ScriptDispatchTest, ChangedByReferenceArgumentsAreWrittenBack) {
  external_.answer = [](std::vector<Variant>& args) {
    args[0] = 1;
    args[1] = "two";
    args[3] = 4;
    return Variant("1.2.3");
  };
  OwnedVariant first;
  OwnedVariant second;
  OwnedVariant untouched = Make(VT_R8, [](VARIANT& v) { v.dblVal = 2.0; });
  LONG typed = 0;
  OwnedVariant first_ref = Reference(*first.get());
  OwnedVariant second_ref = Reference(*second.get());
  OwnedVariant untouched_ref = Reference(*untouched.get());
  OwnedVariant typed_ref = Make(VT_BYREF | VT_I4, [&](VARIANT& v) { v.plVal = &typed; });
  OwnedVariant result;

  ASSERT_EQ(S_OK, Call(L"GetVersion",
                       {first_ref.get(), second_ref.get(), untouched_ref.get(), typed_ref.get()},
                       result.get()));

  EXPECT_EQ(VT_I4, first.get()->vt);
  EXPECT_EQ(1, first.get()->lVal);
  ASSERT_EQ(VT_BSTR, second.get()->vt);
  EXPECT_STREQ(L"two", second.get()->bstrVal);
  EXPECT_EQ(VT_R8, untouched.get()->vt);
  EXPECT_EQ(4, typed);
  ASSERT_EQ(VT_BSTR, result.get()->vt);
  EXPECT_STREQ(L"1.2.3", result.get()->bstrVal);
}

TEST_F(ScriptDispatchTest, CoreErrorsReachTheScriptWithTheirDescription) {
  struct Case {
    windlock::Error error;
    HRESULT scode;
  } cases[] = {
      {windlock::Error(438, "Object doesn't support this property or method"),
       static_cast<HRESULT>(0x800A01B6)},
      {windlock::Error(static_cast<int32_t>(E_ACCESSDENIED), "Access is denied."), E_ACCESSDENIED},
  };
  for (const Case& c : cases) {
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

TEST_F(ScriptDispatchTest, CallsAfterDisconnectNeverReachTheCore) {
  dispatch_->Disconnect();
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, Call(L"ShowHelp", {}));
  EXPECT_TRUE(external_.received.empty());
}

TEST_F(ScriptDispatchTest, MsxmlDocumentsAndNodesPassThrough) {
  windlock::win32::Win32XmlDocument document;
  document.AppendRootElement("list");
  document.AppendToRoot("a");
  document.AppendToRoot("b");
  ComPtr<IXMLDOMElement> root;
  ASSERT_EQ(S_OK, document.get()->get_documentElement(root.Put()));
  OwnedVariant sent_document = Make(VT_DISPATCH, [&](VARIANT& v) {
    v.pdispVal = document.get();
    v.pdispVal->AddRef();
  });
  OwnedVariant sent_node = Make(VT_DISPATCH, [&](VARIANT& v) {
    v.pdispVal = root.get();
    v.pdispVal->AddRef();
  });
  std::size_t children = 0;
  external_.answer = [&](std::vector<Variant>& args) {
    children = args[0].document()->RootChildren().size();
    args[1].node()->AppendCopyOfRoot(*args[0].document());
    return args[0];
  };
  OwnedVariant result;

  ASSERT_EQ(S_OK, Call(L"SaveXMLDATA", {sent_document.get(), sent_node.get()}, result.get()));

  EXPECT_EQ(2u, children);
  EXPECT_EQ(3u, document.RootChildren().size());
  ASSERT_EQ(VT_DISPATCH, result.get()->vt);
  ComPtr<IUnknown> returned;
  ComPtr<IUnknown> original;
  result.get()->pdispVal->QueryInterface(IID_IUnknown, returned.PutVoid());
  document.get()->QueryInterface(IID_IUnknown, original.PutVoid());
  EXPECT_EQ(original.get(), returned.get());
}

}  // namespace
}  // namespace windlock_test
