#include "server/home_thread.h"

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"

namespace windlock::server {
namespace {

constexpr const wchar_t* kHomeThreadClass = L"WindlockThread";
constexpr UINT kDestroyMessage = WM_APP + 1;

}  // namespace

HomeThread::HomeThread()
    : window_(win32::CreateMessageWindow(kHomeThreadClass, WindowProc, this)) {}

HomeThread::~HomeThread() {
  DestroyWindow(window_);
}

bool HomeThread::PostDestroy(void* object, void (*destroy)(void*)) const noexcept {
  return PostMessageW(window_, kDestroyMessage, reinterpret_cast<WPARAM>(object),
                      reinterpret_cast<LPARAM>(destroy)) != FALSE;
}

LRESULT CALLBACK HomeThread::WindowProc(HWND window, UINT message, WPARAM wparam,
                                        LPARAM lparam) noexcept {
  if (message != kDestroyMessage) return DefWindowProcW(window, message, wparam, lparam);
  // What is destroyed may be this window's own thread context: nothing here is touched after.
  return win32::GuardedMessage(
      [&]() -> LRESULT {
        win32::DestroyWhenCallsEnd(reinterpret_cast<void*>(wparam),
                                   reinterpret_cast<void (*)(void*)>(lparam));
        return 0;
      },
      0, win32::AfterCall::kNothing);
}

}  // namespace windlock::server
