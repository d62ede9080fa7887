#include "backends/win32/com/variant_conversion.h"

#include <cstring>

#include "backends/win32/com/text.h"

namespace windlock::win32 {
namespace {

constexpr int kMostReferenceSteps = 8;

}  // namespace

Variant FromVariant(const VARIANT& value) {
  // A reference is followed a few steps, never round a cycle.
  const VARIANT* inner = &value;
  for (int step = 0;
       step < kMostReferenceSteps && inner->vt == (VT_BYREF | VT_VARIANT) && inner->pvarVal;
       ++step) {
    inner = inner->pvarVal;
  }
  if (inner->vt == (VT_BYREF | VT_VARIANT)) return {};
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
