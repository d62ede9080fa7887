#include "backends/win32/variant_conversion.h"

#include <cstring>
#include <new>

#include "backends/win32/text.h"
#include "backends/win32/win32_error.h"

namespace windlock::win32 {

OwnedVariant::OwnedVariant(const Variant& value) : OwnedVariant() {
  if (value.is_number()) {
    value_.vt = VT_I4;
    value_.lVal = value.number();
  } else if (value.is_text()) {
    value_.bstrVal = Bstr(value.text()).Detach();
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

Variant FromVariant(const VARIANT& value) {
  const VARIANT* inner = &value;
  while (inner->vt == (VT_BYREF | VT_VARIANT) && inner->pvarVal) inner = inner->pvarVal;
  switch (inner->vt) {
    case VT_EMPTY:
    case VT_NULL:
      return {};
    case VT_I4:
      return Variant(static_cast<int32_t>(inner->lVal));
    case VT_BSTR:
      return Variant(FromBstr(inner->bstrVal));
    case VT_ARRAY | VT_UI1: {
      LONG low = 0;
      LONG high = -1;
      SafeArrayGetLBound(inner->parray, 1, &low);
      SafeArrayGetUBound(inner->parray, 1, &high);
      // Allocated before the array is locked, so nothing can throw while it is.
      Variant::Bytes bytes(high >= low ? static_cast<std::size_t>(high - low) + 1 : 0);
      void* data = nullptr;
      if (!bytes.empty() && SUCCEEDED(SafeArrayAccessData(inner->parray, &data))) {
        std::memcpy(bytes.data(), data, bytes.size());
        SafeArrayUnaccessData(inner->parray);
      }
      return Variant(std::move(bytes));
    }
    default:
      break;
  }
  OwnedVariant text;
  if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(inner), 0, VT_BSTR))) return {};
  return Variant(FromBstr(text.get()->bstrVal));
}

}  // namespace windlock::win32
