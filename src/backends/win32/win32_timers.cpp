#include "backends/win32/win32_timers.h"

#include <mmsystem.h>

#include "backends/win32/com/guarded_call.h"
#include "backends/win32/com/module.h"

namespace windlock::win32 {
namespace {

constexpr const wchar_t* kTimerClass = L"WindlockTimers";

}  // namespace

Win32Timers::Win32Timers() : window_(CreateMessageWindow(kTimerClass, WindowProc, this)) {}

Win32Timers::~Win32Timers() {
  if (window_) DestroyWindow(window_);
}

TimerService::Id Win32Timers::Create(std::function<void()> on_tick) {
  Id id = next_id_++;
  timers_[id] = std::move(on_tick);
  return id;
}

void Win32Timers::Schedule(Id id, uint32_t interval) {
  if (interval == 0) {
    KillTimer(window_, id);
  } else {
    SetTimer(window_, id, interval, nullptr);
  }
}

void Win32Timers::Destroy(Id id) {
  KillTimer(window_, id);
  timers_.erase(id);
}

uint32_t Win32Timers::TimeGetTime() {
  return timeGetTime();
}

LRESULT CALLBACK Win32Timers::WindowProc(HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam) noexcept {
  if (message != WM_TIMER) return DefWindowProcW(window, message, wparam, lparam);
  return GuardedMessage(
      [&]() -> LRESULT {
        auto* timers = reinterpret_cast<Win32Timers*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!timers) return 0;
        auto timer = timers->timers_.find(static_cast<Id>(wparam));
        if (timer == timers->timers_.end()) return 0;
        // The tick may stop or destroy its own timer.
        std::function<void()> on_tick = timer->second;
        on_tick();
        return 0;
      },
      0);
}

}  // namespace windlock::win32
