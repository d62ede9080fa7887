#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace windlock::win32 {

// The core speaks UTF-8; Windows speaks UTF-16.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// Writes `text` into a buffer of fixed size that Windows hands out, cut to fit and always
// terminated; a character of two UTF-16 units is never cut in half.
void CopyToBuffer(std::string_view text, std::span<wchar_t> buffer);

// An owned BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(std::string_view text);
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }

  BSTR get() const { return value_; }
  // Frees the string held and hands out the slot for a function to fill.
  BSTR* Put() {
    SysFreeString(std::exchange(value_, nullptr));
    return &value_;
  }
  // Hands the string to the caller.
  BSTR Detach() { return std::exchange(value_, nullptr); }

 private:
  BSTR value_ = nullptr;
};

// The text of a BSTR (which may be NULL), NULs and all.
std::string FromBstr(BSTR text);

}  // namespace windlock::win32
