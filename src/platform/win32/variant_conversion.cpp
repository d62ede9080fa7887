#include "platform/win32/variant_conversion.h"

#include <cstring>

#include "platform/win32/text.h"

namespace windlock::win32 {

OwnedVariant::OwnedVariant(const Variant& value) : OwnedVariant() {
  if (value.is_number()) {
    value_.vt = VT_I4;
    value_.lVal = value.number();
  } else if (value.is_text()) {
    value_.vt = VT_BSTR;
    value_.bstrVal = Bstr(value.text()).Detach();
  } else if (value.is_bytes()) {
    const Variant::Bytes& bytes = value.bytes();
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return;
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
      if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
      SafeArrayUnaccessData(array);
    }
    value_.vt = VT_ARRAY | VT_UI1;
    value_.parray = array;
  }
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
      Variant::Bytes bytes;
      void* data = nullptr;
      LONG low = 0;
      LONG high = -1;
      SafeArrayGetLBound(inner->parray, 1, &low);
      SafeArrayGetUBound(inner->parray, 1, &high);
      if (high >= low && SUCCEEDED(SafeArrayAccessData(inner->parray, &data))) {
        const auto* first = static_cast<const uint8_t*>(data);
        bytes.assign(first, first + (high - low + 1));
        SafeArrayUnaccessData(inner->parray);
      }
      return Variant(std::move(bytes));
    }
    default:
      break;
  }
  VARIANT text;
  VariantInit(&text);
  Variant converted;
  if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(inner), 0, VT_BSTR)))
    converted = FromBstr(text.bstrVal);
  VariantClear(&text);
  return converted;
}

}  // namespace windlock::win32
