#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <string_view>

#include "backends/win32/com/unique_handle.h"

namespace windlock::win32 {

// The core speaks UTF-8; Windows speaks UTF-16.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

// Writes `text` into a buffer of fixed size that Windows hands out, cut to fit and always
// terminated; a character of two UTF-16 units is never cut in half.
void CopyToBuffer(std::string_view text, std::span<wchar_t> buffer);

// A BSTR of `text`.
Bstr ToBstr(std::string_view text);

// The text of a BSTR (which may be NULL), NULs and all.
std::string FromBstr(BSTR text);

}  // namespace windlock::win32
