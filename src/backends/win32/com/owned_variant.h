#pragma once

#include <windows.h>

#include <oaidl.h>

#include "common/variant.h"

namespace windlock::win32 {

// An owned VARIANT, cleared when it goes.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&value_); }
  // Numbers as VT_I4, text as VT_BSTR, bytes as a VT_UI1 array; empty stays VT_EMPTY.
  explicit OwnedVariant(const Variant& value);
  static OwnedVariant Boolean(bool value);
  OwnedVariant(OwnedVariant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  OwnedVariant& operator=(OwnedVariant&&) = delete;
  ~OwnedVariant() { VariantClear(&value_); }

  VARIANT* get() { return &value_; }
  // Hands the value to the caller, who clears it.
  VARIANT Detach() {
    VARIANT value = value_;
    VariantInit(&value_);
    return value;
  }

 private:
  VARIANT value_;
};

}  // namespace windlock::win32
