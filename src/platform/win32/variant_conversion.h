#pragma once

#include <windows.h>

#include <oaidl.h>

#include "common/variant.h"

namespace windlock::win32 {

// An owned VARIANT, cleared when it goes.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&value_); }
  explicit OwnedVariant(const Variant& value);
  OwnedVariant(const OwnedVariant&) = delete;
  OwnedVariant& operator=(const OwnedVariant&) = delete;
  ~OwnedVariant() { VariantClear(&value_); }
  VARIANT* get() { return &value_; }

 private:
  VARIANT value_;
};

// A request value as the core keeps it: BSTR as text, integers as numbers, byte arrays as
// bytes; anything else as its text form.
Variant FromVariant(const VARIANT& value);

}  // namespace windlock::win32
