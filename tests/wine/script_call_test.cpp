// Reaching a page's script: a function called by name with the core's values, last argument
// first as COM passes them, its result and its errors brought back as the core's. Wine has no HTML
// engine here, so the script object is a fake.
#include <windows.h>

#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "platform/win32/com_object.h"
#include "platform/win32/script_call.h"
#include "platform/win32/variant_conversion.h"

namespace windlock_test {
namespace {

using windlock::Error;
using windlock::Variant;
using windlock::win32::CallByName;
using windlock::win32::ComObject;
using windlock::win32::ComPtr;
using windlock::win32::OwnedVariant;

// A page's script object: has the functions the test names, records each call and answers as
// the test says.
class FakeScript : public ComObject<FakeScript, IDispatch> {
 public:
  struct Call {
    DISPID id = DISPID_UNKNOWN;
    WORD flags = 0;
    UINT named = 0;
    // As DISPPARAMS holds them.
    std::vector<Variant> last_first;
  };
  using Answer = std::function<HRESULT(VARIANT& result, EXCEPINFO& exception)>;

  std::vector<std::wstring> functions;
  Answer answer = [](VARIANT&, EXCEPINFO&) { return S_OK; };
  std::vector<Call> calls;

  // IDispatch
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
  CallByNameTest() { script_->functions = {L"OnUpdateList", L"moveTo"}; }

  Variant Call(const std::string& name, const std::vector<Variant>& args = {}) {
    return CallByName(*script_.get(), name, args);
  }
  // The error the call fails with; none when it succeeds.
  std::optional<Error> FailureOf(const std::string& name) {
    try {
      Call(name);
    } catch (const Error& error) {
      return error;
    }
    return std::nullopt;
  }

  ComPtr<FakeScript> script_ = FakeScript::Make();
};

TEST_F(CallByNameTest, ArgumentsArriveLastFirstAsAMethodCall) {
  Call("moveTo", {0, "two", Variant::Bytes{3, 0}, Variant(), 400});

  ASSERT_EQ(1u, script_->calls.size());
  const FakeScript::Call& call = script_->calls[0];
  EXPECT_EQ(101, call.id);
  EXPECT_EQ(DISPATCH_METHOD, call.flags);
  EXPECT_EQ(0u, call.named);
  EXPECT_EQ((std::vector<Variant>{400, Variant(), Variant::Bytes{3, 0}, "two", 0}),
            call.last_first);
}

TEST_F(CallByNameTest, NoArgumentsIsACallWithNone) {
  Call("OnUpdateList");
  ASSERT_EQ(1u, script_->calls.size());
  EXPECT_TRUE(script_->calls[0].last_first.empty());
}

TEST_F(CallByNameTest, ResultComesBackAsTheCoreValue) {
  struct Case {
    const char* what;
    std::function<void(VARIANT&)> fill;
    Variant expected;
  } cases[] = {
      {"nothing", [](VARIANT&) {}, Variant()},
      {"null", [](VARIANT& v) { v.vt = VT_NULL; }, Variant()},
      {"number", [](VARIANT& v) { v.vt = VT_I4, v.lVal = -12; }, Variant(-12)},
      {"text",
       [](VARIANT& v) {
         v.vt = VT_BSTR;
         v.bstrVal = SysAllocString(L"d\u00e9j\u00e0");
       },
       Variant("d\xc3\xa9j\xc3\xa0")},
      {"true", [](VARIANT& v) { v.vt = VT_BOOL, v.boolVal = VARIANT_TRUE; }, Variant(-1)},
      {"whole real", [](VARIANT& v) { v.vt = VT_R8, v.dblVal = 7.0; }, Variant(7)},
      {"fraction", [](VARIANT& v) { v.vt = VT_R8, v.dblVal = 2.5; }, Variant("2.5")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script_->answer = [&](VARIANT& result, EXCEPINFO&) {
      c.fill(result);
      return S_OK;
    };
    EXPECT_EQ(c.expected, Call("OnUpdateList"));
  }
}

TEST_F(CallByNameTest, FunctionThePageLacksIsNoSuchMethod) {
  std::optional<Error> unknown = FailureOf("onupdatelist");
  ASSERT_TRUE(unknown) << "names are matched as the script writes them";
  EXPECT_EQ(438, unknown->number());
  EXPECT_EQ("Object doesn't support this property or method", unknown->description());
  EXPECT_TRUE(script_->calls.empty());

  script_->answer = [](VARIANT&, EXCEPINFO&) { return DISP_E_MEMBERNOTFOUND; };
  std::optional<Error> not_callable = FailureOf("OnUpdateList");
  ASSERT_TRUE(not_callable);
  EXPECT_EQ(438, not_callable->number());
}

HRESULT STDAPICALLTYPE FillInLater(EXCEPINFO* exception) {
  exception->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5009);
  exception->bstrDescription = SysAllocString(L"'list' is undefined");
  return S_OK;
}

TEST_F(CallByNameTest, ScriptErrorsKeepTheirNumberAndDescription) {
  struct Case {
    const char* what;
    FakeScript::Answer answer;
    int32_t number;
    // Empty: any text will do, as long as there is one.
    std::string description;
  } cases[] = {
      {"automation error",
       [](VARIANT&, EXCEPINFO& e) {
         e.scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13);
         e.bstrDescription = SysAllocString(L"Type mismatch");
         e.bstrSource = SysAllocString(L"Microsoft JScript runtime error");
         return DISP_E_EXCEPTION;
       },
       13, "Type mismatch"},
      {"failure code",
       [](VARIANT&, EXCEPINFO& e) {
         e.scode = E_ACCESSDENIED;
         e.bstrDescription = SysAllocString(L"Permission denied");
         return DISP_E_EXCEPTION;
       },
       static_cast<int32_t>(E_ACCESSDENIED), "Permission denied"},
      {"the callee's own code",
       [](VARIANT&, EXCEPINFO& e) {
         e.wCode = 1001;
         e.bstrDescription = SysAllocString(L"Not now");
         return DISP_E_EXCEPTION;
       },
       1001, "Not now"},
      {"filled in on demand",
       [](VARIANT&, EXCEPINFO& e) {
         e.pfnDeferredFillIn = FillInLater;
         return DISP_E_EXCEPTION;
       },
       5009, "'list' is undefined"},
      {"no description",
       [](VARIANT&, EXCEPINFO& e) {
         e.scode = E_OUTOFMEMORY;
         return DISP_E_EXCEPTION;
       },
       static_cast<int32_t>(E_OUTOFMEMORY), ""},
      {"nothing said", [](VARIANT&, EXCEPINFO&) { return DISP_E_EXCEPTION; },
       static_cast<int32_t>(DISP_E_EXCEPTION), ""},
      {"failed call", [](VARIANT&, EXCEPINFO&) { return DISP_E_TYPEMISMATCH; },
       static_cast<int32_t>(DISP_E_TYPEMISMATCH), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script_->answer = c.answer;
    std::optional<Error> error = FailureOf("OnUpdateList");
    ASSERT_TRUE(error);
    EXPECT_EQ(c.number, error->number());
    if (c.description.empty()) {
      EXPECT_FALSE(error->description().empty());
    } else {
      EXPECT_EQ(c.description, error->description());
    }
  }
}

}  // namespace
}  // namespace windlock_test
