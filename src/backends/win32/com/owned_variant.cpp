#include "backends/win32/com/owned_variant.h"

#include <cstring>
#include <new>

#include "backends/win32/com/text.h"
#include "backends/win32/com/win32_error.h"

namespace windlock::win32 {

OwnedVariant::OwnedVariant(const Variant& value) : OwnedVariant() {
  if (value.is_number()) {
    value_.vt = VT_I4;
    value_.lVal = value.number();
  } else if (value.is_text()) {
    value_.bstrVal = ToBstr(value.text()).Detach();
    value_.vt = VT_BSTR;
  } else if (value.is_bytes()) {
    const Variant::Bytes& bytes = value.bytes();
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) throw std::bad_alloc();
    value_.vt = VT_ARRAY | VT_UI1;
    value_.parray = array;
    void* data = nullptr;
    ThrowIfFailed(SafeArrayAccessData(array, &data));
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
  }
}

OwnedVariant OwnedVariant::Boolean(bool value) {
  OwnedVariant boolean;
  boolean.value_.vt = VT_BOOL;
  boolean.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return boolean;
}

}  // namespace windlock::win32
