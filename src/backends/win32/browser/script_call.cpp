#include "backends/win32/browser/script_call.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "backends/win32/browser/script_values.h"
#include "backends/win32/com/text.h"
#include "backends/win32/com/variant_conversion.h"
#include "backends/win32/com/win32_error.h"
#include "common/error.h"

namespace windlock::win32 {
namespace {

// What the callee reports of an error its script raised; the strings are freed when it goes.
class ScriptException {
 public:
  ScriptException() = default;
  ScriptException(const ScriptException&) = delete;
  ScriptException& operator=(const ScriptException&) = delete;
  ~ScriptException() {
    SysFreeString(info_.bstrSource);
    SysFreeString(info_.bstrDescription);
    SysFreeString(info_.bstrHelpFile);
  }

  EXCEPINFO* get() { return &info_; }

  // The error as the core's: an automation error number (which engines raise in the control
  // facility) as the number itself, any other failure code as it is.
  Error ToError() {
    if (info_.pfnDeferredFillIn) info_.pfnDeferredFillIn(&info_);
    int32_t number = DISP_E_EXCEPTION;
    if (FAILED(info_.scode)) {
      number = HRESULT_FACILITY(info_.scode) == FACILITY_CONTROL ? HRESULT_CODE(info_.scode)
                                                                 : info_.scode;
    } else if (info_.wCode != 0) {
      number = info_.wCode;
    }
    std::string description = FromBstr(info_.bstrDescription);
    if (description.empty()) {
      description = number < 0 ? ErrorFromHresult(number).description()
                               : "Application-defined or object-defined error";
    }
    return Error(number, description);
  }

 private:
  EXCEPINFO info_{};
};

// The result as the core keeps it; a value without a counterpart (a fraction, one of the
// script's own objects) as its text.
Variant ResultOf(const VARIANT& value) {
  if (std::optional<Variant> converted = ScriptArgument(value)) return *std::move(converted);
  return FromVariant(value);
}

}  // namespace

Variant CallByName(IDispatch& object, const std::string& name, const std::vector<Variant>& args) {
  std::wstring wide_name = Widen(name);
  LPOLESTR names[] = {wide_name.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT found = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (found == DISP_E_UNKNOWNNAME) throw NoSuchMethod();
  ThrowIfFailed(found);

  // DISPPARAMS holds the arguments last first; `owned` keeps them alive through the call.
  std::vector<OwnedVariant> owned;
  owned.reserve(args.size());
  for (auto arg = args.rbegin(); arg != args.rend(); ++arg) owned.push_back(ScriptValue(*arg));
  std::vector<VARIANT> last_first;
  last_first.reserve(owned.size());
  for (OwnedVariant& arg : owned) last_first.push_back(*arg.get());
  DISPPARAMS params{last_first.data(), nullptr, static_cast<UINT>(last_first.size()), 0};

  OwnedVariant result;
  ScriptException exception;
  UINT argument_error = 0;
  const HRESULT called = object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                       result.get(), exception.get(), &argument_error);
  if (called == DISP_E_EXCEPTION) throw exception.ToError();
  if (called == DISP_E_MEMBERNOTFOUND) throw NoSuchMethod();
  ThrowIfFailed(called);
  return ResultOf(*result.get());
}

}  // namespace windlock::win32
