#include "backends/win32/win32_error.h"

#include <memory>
#include <string>

#include "backends/win32/text.h"

namespace windlock::win32 {
namespace {

// Frees what the system allocated with LocalAlloc for the caller.
struct LocalFreer {
  void operator()(wchar_t* text) const noexcept { LocalFree(text); }
};

}  // namespace

Error ErrorFromHresult(HRESULT result) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::unique_ptr<wchar_t, LocalFreer> owned(buffer);
  std::wstring text = length ? std::wstring(owned.get(), length) : L"Unknown error";
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  return Error(static_cast<int32_t>(result), Narrow(text));
}

Error ErrorFromWin32(DWORD code) {
  return ErrorFromHresult(HRESULT_FROM_WIN32(code));
}

}  // namespace windlock::win32
