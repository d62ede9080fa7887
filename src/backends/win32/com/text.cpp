#include "backends/win32/com/text.h"

#include <algorithm>
#include <new>

namespace windlock::win32 {

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                      nullptr, nullptr);
  return narrow;
}

void CopyToBuffer(std::string_view text, std::span<wchar_t> buffer) {
  if (buffer.empty()) return;
  std::wstring wide = Widen(text);
  std::size_t length = std::min(wide.size(), buffer.size() - 1);
  if (length > 0 && length < wide.size() && IS_HIGH_SURROGATE(wide[length - 1])) --length;
  std::copy_n(wide.begin(), length, buffer.begin());
  buffer[length] = L'\0';
}

Bstr ToBstr(std::string_view text) {
  std::wstring wide = Widen(text);
  Bstr value(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
  if (!value) throw std::bad_alloc();
  return value;
}

std::string FromBstr(BSTR text) {
  if (!text) return {};
  return Narrow(std::wstring_view(text, SysStringLen(text)));
}

}  // namespace windlock::win32
