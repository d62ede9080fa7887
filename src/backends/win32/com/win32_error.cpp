#include "backends/win32/com/win32_error.h"

#include <string>

#include "backends/win32/com/text.h"
#include "backends/win32/com/unique_handle.h"

namespace windlock::win32 {

Error ErrorFromHresult(HRESULT result) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  // The system allocated the text for us.
  LocalMemory owned(buffer);
  std::wstring text = length ? std::wstring(buffer, length) : L"Unknown error";
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return Error(static_cast<int32_t>(result), Narrow(text));
}

Error ErrorFromWin32(DWORD code) {
  return ErrorFromHresult(HRESULT_FROM_WIN32(code));
}

}  // namespace windlock::win32
