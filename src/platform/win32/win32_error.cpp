#include "platform/win32/win32_error.h"

#include <string>

#include "platform/win32/text.h"

namespace windlock::win32 {

Error ErrorFromHresult(HRESULT result) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : L"Unknown error";
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return Error(static_cast<int32_t>(result), Narrow(text));
}

Error ErrorFromWin32(DWORD code) {
  return ErrorFromHresult(HRESULT_FROM_WIN32(code));
}

}  // namespace windlock::win32
