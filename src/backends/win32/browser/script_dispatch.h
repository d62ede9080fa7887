#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "backends/win32/com/com_object.h"
#include "platform/script_external.h"

namespace windlock::win32 {

// window.external for the skin's pages: every name a script asks for is a method of the core's
// ScriptExternal, which decides at the call whether it has one.
class ScriptDispatch : public ComObject<ScriptDispatch, IDispatch> {
 public:
  explicit ScriptDispatch(ScriptExternal& external) : external_(&external) {}

  // A page may hold window.external longer than the bar lives; after this its calls fail.
  void Disconnect() { external_ = nullptr; }

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                             DISPID* ids) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argument_error) noexcept override;

 protected:
  ~ScriptDispatch() override = default;

 private:
  // The id of a name, new or handed out before; none once the table is full.
  std::optional<DISPID> IdOf(const std::string& name);

  static constexpr std::size_t kMostNames = 4096;
  ScriptExternal* external_;
  // The names handed out, without letter case; a name's id is its position plus one.
  std::vector<std::string> names_;
  std::unordered_map<std::string, DISPID> ids_;
};

}  // namespace windlock::win32
