#include "backends/win32/browser/script_dispatch.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "backends/win32/browser/script_values.h"
#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/no_type_info.h"
#include "backends/win32/com/text.h"
#include "common/error.h"

namespace windlock::win32 {
namespace {

// The core compares method names the same way.
std::string Folded(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

// What the script's error object shows: the core's number and description.
// The script engine shows an automation error number (438, 5, ...) as err.number when it
// arrives in the control facility, as the automation runtime raises it.
void Describe(const Error& error, EXCEPINFO& exception) {
  exception = EXCEPINFO{};
  exception.scode = error.number() < 0 ? error.number()
                                       : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL,
                                                      static_cast<uint16_t>(error.number()));
  exception.bstrSource = ToBstr("Windlock").Detach();
  exception.bstrDescription = ToBstr(error.description()).Detach();
}

}  // namespace

STDMETHODIMP ScriptDispatch::GetTypeInfoCount(UINT* count) noexcept {
  return NoTypeInfoCount(count);
}

STDMETHODIMP ScriptDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  return GuardedCall(
      [&] {
        if (!info) return E_POINTER;
        *info = nullptr;
        return DISP_E_BADINDEX;
      },
      AfterCall::kNothing);
}

std::optional<DISPID> ScriptDispatch::IdOf(const std::string& name) {
  std::string folded = Folded(name);
  if (auto found = ids_.find(folded); found != ids_.end()) return found->second;
  // A page that makes up names without end gets no more ids: a real skin asks for a few dozen.
  if (names_.size() >= kMostNames) return std::nullopt;
  names_.push_back(folded);
  const auto id = static_cast<DISPID>(names_.size());
  ids_.emplace(std::move(folded), id);
  return id;
}

STDMETHODIMP ScriptDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                           DISPID* ids) noexcept {
  return GuardedCall(
      [&] {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!names || !ids) return E_POINTER;
        if (count == 0) return S_OK;
        std::optional<DISPID> id = names[0] ? IdOf(Narrow(names[0])) : std::nullopt;
        if (!id) {
          std::fill(ids, ids + count, DISPID_UNKNOWN);
          return DISP_E_UNKNOWNNAME;
        }
        ids[0] = *id;
        // The methods have no named parameters.
        std::fill(ids + 1, ids + count, DISPID_UNKNOWN);
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
      },
      AfterCall::kNothing);
}

STDMETHODIMP ScriptDispatch::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                    VARIANT* result, EXCEPINFO* exception,
                                    UINT* argument_error) noexcept {
  return GuardedCall([&] {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<std::size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    // Every name is a method: reading one as a property (a page testing whether the bar has it)
    // runs nothing, as with the browser's own objects.
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (!params) return E_POINTER;
    if (params->cArgs > 0 && !params->rgvarg) return E_POINTER;
    if (!external_) return CO_E_OBJNOTCONNECTED;
    if (params->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
    // DISPPARAMS holds the arguments last first.
    const UINT count = params->cArgs;
    std::vector<Variant> args;
    args.reserve(count);
    for (UINT position = count; position-- > 0;) {
      std::optional<Variant> arg = ScriptArgument(params->rgvarg[position]);
      if (!arg) {
        if (argument_error) *argument_error = position;
        return DISP_E_TYPEMISMATCH;
      }
      args.push_back(std::move(*arg));
    }
    try {
      // Kept to write back only what the core changed, so an untouched argument keeps its type.
      const std::vector<Variant> passed = args;
      const Variant value = external_->Invoke(names_[id - 1], args);
      for (UINT i = 0; i < count && i < args.size(); ++i) {
        VARIANT& arg = params->rgvarg[count - 1 - i];
        if ((arg.vt & VT_BYREF) && !(args[i] == passed[i])) StoreThroughReference(args[i], arg);
      }
      if (result) *result = ScriptValue(value).Detach();
      return S_OK;
    } catch (const Error& error) {
      if (exception) Describe(error, *exception);
      return DISP_E_EXCEPTION;
    }
  });
}

}  // namespace windlock::win32
