#include "backends/win32/browser/script_values.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "backends/win32/browser/win32_xml.h"
#include "backends/win32/com/com_ptr.h"
#include "backends/win32/com/win32_error.h"
#include "common/error.h"

namespace windlock::win32 {
namespace {

// Integers, booleans (VARIANT_TRUE is -1) and whole reals: all exact as a double.
std::optional<Variant> WholeNumber(const VARIANT& value) {
  OwnedVariant real;
  if (FAILED(VariantChangeType(real.get(), const_cast<VARIANT*>(&value), 0, VT_R8))) {
    return std::nullopt;
  }
  const double number = real.get()->dblVal;
  if (number != std::trunc(number) || number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return Variant(static_cast<int32_t>(number));
}

std::optional<Variant> XmlArgument(IDispatch* object) {
  // VBScript's Nothing.
  if (!object) return Variant();
  auto held = ComPtr<IDispatch>::Share(object);
  if (auto document = held.As<IXMLDOMDocument>()) {
    return Variant(
        std::shared_ptr<XmlDocument>(std::make_shared<Win32XmlDocument>(std::move(document))));
  }
  if (auto node = held.As<IXMLDOMNode>()) {
    return Variant(std::shared_ptr<XmlNode>(std::make_shared<Win32XmlNode>(std::move(node))));
  }
  return std::nullopt;
}

// The MSXML object behind the core's document or node; null for a null one.
IDispatch* MsxmlObject(const Variant& value) {
  if (value.is_document()) {
    if (!value.document()) return nullptr;
    if (auto* document = dynamic_cast<const Win32XmlDocument*>(value.document().get())) {
      return document->get();
    }
  } else {
    if (!value.node()) return nullptr;
    if (auto* node = dynamic_cast<const Win32XmlNode*>(value.node().get())) return node->get();
  }
  throw Error(kErrTypeMismatch, "Type mismatch");
}

}  // namespace

std::optional<Variant> ScriptArgument(const VARIANT& value) {
  if (value.vt & VT_BYREF) {
    OwnedVariant plain;
    if (FAILED(VariantCopyInd(plain.get(), const_cast<VARIANT*>(&value)))) return std::nullopt;
    // A reference to a reference (to itself, maybe) is nothing a script passes.
    if (plain.get()->vt & VT_BYREF) return std::nullopt;
    return ScriptArgument(*plain.get());
  }
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return Variant();
    case VT_ERROR:
      // An optional argument the script left out.
      if (value.scode == DISP_E_PARAMNOTFOUND) return Variant();
      return std::nullopt;
    case VT_I4:
    case VT_BSTR:
    case VT_ARRAY | VT_UI1:
      return FromVariant(value);
    case VT_I1:
    case VT_I2:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UINT:
    case VT_BOOL:
    case VT_R4:
    case VT_R8:
      return WholeNumber(value);
    case VT_DISPATCH:
      return XmlArgument(value.pdispVal);
    default:
      return std::nullopt;
  }
}

OwnedVariant ScriptValue(const Variant& value) {
  if (!value.is_document() && !value.is_node()) return OwnedVariant(value);
  IDispatch* object = MsxmlObject(value);
  if (object) object->AddRef();
  OwnedVariant result;
  result.get()->vt = VT_DISPATCH;
  result.get()->pdispVal = object;
  return result;
}

void StoreThroughReference(const Variant& value, VARIANT& reference) {
  const VARTYPE type = reference.vt & ~VT_BYREF;
  if (type == VT_VARIANT && (reference.pvarVal->vt & VT_BYREF)) {
    StoreThroughReference(value, *reference.pvarVal);
    return;
  }
  OwnedVariant converted = ScriptValue(value);
  if (type == VT_VARIANT) {
    ThrowIfFailed(VariantClear(reference.pvarVal));
    *reference.pvarVal = converted.Detach();
    return;
  }
  OwnedVariant typed;
  ThrowIfFailed(VariantChangeType(typed.get(), converted.get(), 0, type));
  switch (type) {
    case VT_I2:
      *reference.piVal = typed.get()->iVal;
      break;
    case VT_I4:
      *reference.plVal = typed.get()->lVal;
      break;
    case VT_BOOL:
      *reference.pboolVal = typed.get()->boolVal;
      break;
    case VT_R8:
      *reference.pdblVal = typed.get()->dblVal;
      break;
    case VT_BSTR:
      SysFreeString(*reference.pbstrVal);
      *reference.pbstrVal = typed.Detach().bstrVal;
      break;
    default:
      throw Error(kErrTypeMismatch, "Type mismatch");
  }
}

}  // namespace windlock::win32
